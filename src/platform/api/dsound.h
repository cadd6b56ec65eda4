// DirectSound: the device, its primary buffer's format and static secondary buffers.
#pragma once

#include <memory>

#include "platform/api/com.h"
#include "platform/api/refcounted.h"
#include "platform/api/wintypes.h"

inline constexpr DWORD DSSCL_EXCLUSIVE = 3;
inline constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
inline constexpr DWORD DSBSIZE_MIN = 4;
inline constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
inline constexpr HRESULT DSERR_BUFFERLOST = MakeResult(0x88780096);
inline constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
inline constexpr HRESULT DSERR_INVALIDCALL = MakeResult(0x88780032);
inline constexpr HRESULT DSERR_PRIOLEVELNEEDED = MakeResult(0x88780046);
inline constexpr HRESULT DSERR_BADFORMAT = MakeResult(0x88780064);
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
    // 14-byte basic header, so the device copies those 14 bytes and takes the sample size from
    // the block alignment.
    const void* lpwfxFormat = nullptr;
};

// The two descriptor sizes the device accepts: the original layout and the later one with a
// 3D algorithm identifier.
inline constexpr DWORD kDsBufferDescSizeV1 = 20;
inline constexpr DWORD kDsBufferDescSize = 36;

namespace platform {
struct SoundBufferState;
struct SoundDeviceState;
// Loses every secondary buffer, as when another program takes the sound device: their samples
// turn to silence and they answer DSERR_BUFFERLOST until restored and refilled.
void LoseSoundBuffers();
// The format the device mixes in (16-bit PCM at the device's own rate); zero while it is closed.
WAVEFORMATEX SoundDeviceFormat();
}  // namespace platform

class IDirectSoundBuffer : public platform::RefCounted<IDirectSoundBuffer> {
  public:
    explicit IDirectSoundBuffer(std::unique_ptr<platform::SoundBufferState> state);
    IDirectSoundBuffer(const IDirectSoundBuffer&) = delete;
    IDirectSoundBuffer& operator=(const IDirectSoundBuffer&) = delete;

    HRESULT GetStatus(DWORD* status);
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    HRESULT Stop();
    HRESULT SetCurrentPosition(DWORD position);
    // The play position in bytes of the buffer's own format; the write position is the same.
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write);
    HRESULT SetFormat(const WAVEFORMATEX* format);
    // The game locks a whole buffer to fill it, so a lock never wraps past the end: `second` and
    // `secondBytes`, when given, are always cleared.
    HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes, void** second,
                 DWORD* secondBytes, DWORD flags);
    HRESULT Unlock(void* first, DWORD firstBytes, void* second, DWORD secondBytes);
    HRESULT Restore();

    platform::SoundBufferState& State() { return *state_; }

  private:
    friend class platform::RefCounted<IDirectSoundBuffer>;
    ~IDirectSoundBuffer();
    std::unique_ptr<platform::SoundBufferState> state_;
};

class IDirectSound : public platform::RefCounted<IDirectSound> {
  public:
    IDirectSound();
    IDirectSound(const IDirectSound&) = delete;
    IDirectSound& operator=(const IDirectSound&) = delete;

    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer);
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate);

    platform::SoundDeviceState& State() { return *state_; }

  private:
    friend class platform::RefCounted<IDirectSound>;
    ~IDirectSound();
    std::unique_ptr<platform::SoundDeviceState> state_;
};

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** sound, void* outer);
