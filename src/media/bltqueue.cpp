// The blit queue's filling and its resumable flush.
#include "media/bltqueue.h"

#include "media/dxerrors.h"

void BltQueue::Reset() {
    Cursor = Entries.data();
    Count = 0;
    Position = 0;
}

bool BltQueue::Add(const RECT& source, const RECT& dest, DWORD fastFlags, DWORD blitFlags,
                   IDirectDrawSurface3* sourceSurface, std::uint8_t kind) {
    if (Count >= kCapacity) {
        return false;
    }
    Entries[Count] = BltEntry{kind, source, dest, fastFlags, blitFlags, sourceSurface};
    ++Count;
    return true;
}

bool BltQueue::Flush(IDirectDrawSurface3* destination) {
    // A flush after a completed one starts a new, empty frame.
    if (Cursor == nullptr || Position >= Count) {
        Reset();
    }
    while (Position < Count) {
        BltEntry& entry = *Cursor;
        const HRESULT result =
            entry.Kind == kBlt
                ? destination->Blt(&entry.Dest, entry.SourceSurface, &entry.Source, entry.BlitFlags,
                                   nullptr)
                : destination->BltFast(static_cast<DWORD>(entry.Dest.left),
                                       static_cast<DWORD>(entry.Dest.top), entry.SourceSurface,
                                       &entry.Source, entry.FastFlags);
        if (result == DDERR_WASSTILLDRAWING) {
            return false;
        }
        if (result == DDERR_SURFACELOST) {
            throw XSurfaceLost();
        }
        if (FAILED(result)) {
            throw XDXException(result, "BltQueue");
        }
        ++Position;
        ++Cursor;
    }
    return true;
}
