// DirectSound: the device, its primary buffer's format and static secondary buffers.
#pragma once

#include <memory>

#include "platform/com.h"
#include "platform/wintypes.h"

inline constexpr DWORD DSSCL_EXCLUSIVE = 3;
inline constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
inline constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
inline constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
inline constexpr HRESULT DSERR_BUFFERLOST = MakeResult(0x88780096);
inline constexpr WORD WAVE_FORMAT_PCM = 1;

// The basic wave format header as it lies in a RIFF "fmt " chunk (little-endian, packed).
#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag = 0;
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    WORD nBlockAlign = 0;
    WORD wBitsPerSample = 0;
    WORD cbSize = 0;
};
#pragma pack(pop)

struct DSBUFFERDESC {
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwBufferBytes = 0;
    DWORD dwReserved = 0;
    // The format block; it may point into a resource at any alignment and be as short as the
    // 14-byte basic header, so the device copies the bytes it needs.
    const void* lpwfxFormat = nullptr;
};

namespace platform {
struct SoundBufferState;
struct SoundDeviceState;
}  // namespace platform

class IDirectSoundBuffer {
  public:
    explicit IDirectSoundBuffer(std::unique_ptr<platform::SoundBufferState> state);
    IDirectSoundBuffer(const IDirectSoundBuffer&) = delete;
    IDirectSoundBuffer& operator=(const IDirectSoundBuffer&) = delete;

    ULONG AddRef();
    ULONG Release();
    HRESULT GetStatus(DWORD* status);
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    HRESULT Stop();
    HRESULT SetCurrentPosition(DWORD position);
    HRESULT SetFormat(const WAVEFORMATEX* format);
    HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes, void** second,
                 DWORD* secondBytes, DWORD flags);
    HRESULT Unlock(void* first, DWORD firstBytes, void* second, DWORD secondBytes);
    HRESULT Restore();

    platform::SoundBufferState& State() { return *state_; }

  private:
    ~IDirectSoundBuffer();
    std::unique_ptr<platform::SoundBufferState> state_;
    ULONG references_ = 1;
};

class IDirectSound {
  public:
    IDirectSound();
    IDirectSound(const IDirectSound&) = delete;
    IDirectSound& operator=(const IDirectSound&) = delete;

    ULONG AddRef();
    ULONG Release();
    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer);
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate);

    platform::SoundDeviceState& State() { return *state_; }

  private:
    ~IDirectSound();
    std::unique_ptr<platform::SoundDeviceState> state_;
    ULONG references_ = 1;
};

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** sound, void* outer);
