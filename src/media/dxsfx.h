// Dxsfx: one sound effect (TDXSound) and the set of static buffers that let it sound overlapped.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/api/dsound.h"
#include "platform/api/resources.h"
#include "platform/api/wintypes.h"

// The buffers of one effect: entry 0 holds the wave, the others are duplicates sharing its data.
struct SoundSet {
    const BYTE* WaveData =
        nullptr;  // inside the locked resource, which lives as long as the program
    DWORD WaveSize = 0;
    std::int32_t Copies = 1;
    std::int32_t Current = 0;
    std::vector<IDirectSoundBuffer*> Buffers;  // owned
};

void DestroySet(SoundSet* set);

struct SoundSetDeleter {
    void operator()(SoundSet* set) const { DestroySet(set); }
};
using SoundSetPtr = std::unique_ptr<SoundSet, SoundSetDeleter>;

// Finds the "WAV" resource of that name and parses it. Outputs as for ParseWave.
bool FindWave(HMODULE module, const char* name, const void** format, const BYTE** data,
              DWORD* size);
// Walks the RIFF chunks of a wave file of `length` bytes for the format block and the sample
// data; any output may be null when not wanted. Every chunk must lie inside the bytes.
bool ParseWave(const void* riff, DWORD length, const void** format, const BYTE** data, DWORD* size);
// A static buffer holding the named wave, or null.
IDirectSoundBuffer* LoadBuffer(IDirectSound* device, const char* name);
// Copies the sample data into the buffer.
bool FillBuffer(IDirectSoundBuffer* buffer, const BYTE* data, DWORD size);
SoundSetPtr CreateSet(IDirectSound* device, const char* name, int copies);
// The buffer to play next: the current copy when it is free, else the next one, cut off and
// rewound when it still sounds; null when a single copy is still sounding.
IDirectSoundBuffer* FreeBuffer(SoundSet* set);
bool PlaySet(SoundSet* set);

class TDXSound {
  public:
    TDXSound() = default;
    virtual ~TDXSound() = default;
    TDXSound(const TDXSound&) = delete;
    TDXSound& operator=(const TDXSound&) = delete;

    void Create(IDirectSound* device, const char* name, int copies);
    void Play();

    SoundSetPtr Set;
};
