// Dxsfx: wave resources copied into static DirectSound buffers, several copies per effect.
#include "media/dxsfx.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kWaveType = "WAV";
constexpr DWORD kBasicFormatBytes = 14;
constexpr DWORD kRiffHeaderBytes = 12;
constexpr DWORD kChunkHeaderBytes = 8;
constexpr DWORD kStaticBufferFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                     DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;

DWORD ReadDword(const BYTE* at) {
    return DWORD{at[0]} | DWORD{at[1]} << 8 | DWORD{at[2]} << 16 | DWORD{at[3]} << 24;
}

bool IsTag(const BYTE* at, const char* tag) {
    return std::memcmp(at, tag, 4) == 0;
}

// A failing status read counts as no status at all.
DWORD StatusOf(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    return SUCCEEDED(buffer->GetStatus(&status)) ? status : 0;
}

}  // namespace

bool FindWave(HMODULE module, const char* name, const void** format, const BYTE** data,
              DWORD* size) {
    HRSRC resource = FindResourceA(module, name, kWaveType);
    if (resource == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) {
        return false;
    }
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) {
        return false;
    }
    return ParseWave(bytes, SizeofResource(module, resource), format, data, size);
}

bool ParseWave(const void* riff, DWORD length, const void** format, const BYTE** data,
               DWORD* size) {
    if (format != nullptr) {
        *format = nullptr;
    }
    if (data != nullptr) {
        *data = nullptr;
    }
    if (size != nullptr) {
        *size = 0;
    }
    const auto* bytes = static_cast<const BYTE*>(riff);
    if (bytes == nullptr || length < kRiffHeaderBytes || !IsTag(bytes, "RIFF") ||
        !IsTag(bytes + 8, "WAVE")) {
        return false;
    }
    // The RIFF length gives the end, which never lies past the resource's real size.
    const std::uint64_t end =
        std::min<std::uint64_t>(8 + std::uint64_t{ReadDword(bytes + 4)}, length);
    const bool wantFormat = format != nullptr;
    const bool wantData = data != nullptr || size != nullptr;
    bool formatFound = false;
    bool dataFound = false;
    std::uint64_t at = kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= end) {
        const BYTE* chunk = bytes + at;
        const DWORD chunkLength = ReadDword(chunk + 4);
        const BYTE* body = chunk + kChunkHeaderBytes;
        const bool bodyInside = at + kChunkHeaderBytes + chunkLength <= end;
        if (wantFormat && !formatFound && IsTag(chunk, "fmt ")) {
            if (chunkLength < kBasicFormatBytes || !bodyInside) {
                return false;
            }
            *format = body;
            formatFound = true;
            if (!wantData || dataFound) {
                return true;
            }
        } else if (wantData && !dataFound && IsTag(chunk, "data")) {
            if (!bodyInside) {
                return false;
            }
            if (data != nullptr) {
                *data = body;
            }
            if (size != nullptr) {
                *size = chunkLength;
            }
            dataFound = true;
            if (!wantFormat || formatFound) {
                return true;
            }
        }
        at += kChunkHeaderBytes + std::uint64_t{chunkLength} + (chunkLength & 1);
    }
    return false;
}

IDirectSoundBuffer* LoadBuffer(IDirectSound* device, const char* name) {
    const void* format = nullptr;
    const BYTE* data = nullptr;
    DWORD size = 0;
    if (!FindWave(nullptr, name, &format, &data, &size)) {
        return nullptr;
    }
    DSBUFFERDESC desc;
    desc.dwSize = kDsBufferDescSize;
    desc.dwFlags = kStaticBufferFlags;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&desc, &buffer, nullptr))) {
        return nullptr;
    }
    if (!FillBuffer(buffer, data, size)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}

bool FillBuffer(IDirectSoundBuffer* buffer, const BYTE* data, DWORD size) {
    if (buffer == nullptr || data == nullptr || size == 0) {
        return false;
    }
    void* first = nullptr;
    DWORD firstBytes = 0;
    if (FAILED(buffer->Lock(0, size, &first, &firstBytes, nullptr, nullptr, 0))) {
        return false;
    }
    std::memcpy(first, data, firstBytes);
    buffer->Unlock(first, firstBytes, nullptr, 0);
    return true;
}

SoundSetPtr CreateSet(IDirectSound* device, const char* name, int copies) {
    SoundSetPtr set(new SoundSet);
    if (!FindWave(nullptr, name, nullptr, &set->WaveData, &set->WaveSize)) {
        return nullptr;
    }
    set->Copies = std::max(copies, 1);
    set->Buffers.assign(static_cast<std::size_t>(set->Copies), nullptr);
    set->Buffers[0] = LoadBuffer(device, name);
    for (std::size_t i = 1; i < set->Buffers.size(); ++i) {
        if (FAILED(device->DuplicateSoundBuffer(set->Buffers[0], &set->Buffers[i]))) {
            set->Buffers[i] = LoadBuffer(device, name);
            if (set->Buffers[i] == nullptr) {
                return nullptr;
            }
        }
    }
    return set;
}

void DestroySet(SoundSet* set) {
    if (set == nullptr) {
        return;
    }
    for (IDirectSoundBuffer* buffer : set->Buffers) {
        if (buffer != nullptr) {
            buffer->Release();
        }
    }
    delete set;
}

IDirectSoundBuffer* FreeBuffer(SoundSet* set) {
    IDirectSoundBuffer* buffer = set->Buffers[static_cast<std::size_t>(set->Current)];
    if (buffer == nullptr) {
        return nullptr;
    }
    DWORD status = StatusOf(buffer);
    if ((status & DSBSTATUS_PLAYING) != 0) {
        if (set->Copies < 2) {
            return nullptr;
        }
        set->Current = (set->Current + 1) % set->Copies;
        buffer = set->Buffers[static_cast<std::size_t>(set->Current)];
        status = StatusOf(buffer);
        if ((status & DSBSTATUS_PLAYING) != 0) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
    if ((status & DSBSTATUS_BUFFERLOST) != 0 &&
        (FAILED(buffer->Restore()) || !FillBuffer(buffer, set->WaveData, set->WaveSize))) {
        return nullptr;
    }
    return buffer;
}

bool PlaySet(SoundSet* set) {
    IDirectSoundBuffer* buffer = FreeBuffer(set);
    return buffer != nullptr && SUCCEEDED(buffer->Play(0, 0, 0));
}

void TDXSound::Create(IDirectSound* device, const char* name, int copies) {
    Set.reset();
    if (device == nullptr || name == nullptr) {
        return;
    }
    Set = CreateSet(device, name, copies);
}

void TDXSound::Play() {
    if (Set != nullptr) {
        PlaySet(Set.get());
    }
}
