// The blit queue: up to 256 pending blits of one frame, flushed to the back buffer without
// waiting, resumable where the blitter was still busy.
#pragma once

#include <array>
#include <cstdint>

#include "platform/api/ddraw.h"

struct BltEntry {
    std::uint8_t Kind = 0;  // 0: Blt, 1: BltFast
    RECT Source;
    RECT Dest;
    DWORD FastFlags = 0;
    DWORD BlitFlags = 0;
    IDirectDrawSurface3* SourceSurface = nullptr;  // borrowed
};

class BltQueue {
  public:
    static constexpr std::int32_t kCapacity = 256;
    static constexpr std::uint8_t kBlt = 0;
    static constexpr std::uint8_t kBltFast = 1;

    void Reset();
    // False when the queue is already full: the blit is dropped.
    bool Add(const RECT& source, const RECT& dest, DWORD fastFlags, DWORD blitFlags,
             IDirectDrawSurface3* sourceSurface, std::uint8_t kind);
    // True once every queued entry is drawn; false when the blitter was still busy, leaving the
    // entry that met it for the next call.
    bool Flush(IDirectDrawSurface3* destination);

    std::array<BltEntry, kCapacity> Entries{};
    BltEntry* Cursor = nullptr;
    std::int32_t Count = 0;
    std::int32_t Position = 0;
};
