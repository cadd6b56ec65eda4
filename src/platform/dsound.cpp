// DirectSound emulation (minimal): the device and its primary buffer's format.
#include "platform/dsound.h"

#include "platform/services.h"

namespace platform {
struct SoundBufferState {
    bool primary = false;
    WAVEFORMATEX format;
};
struct SoundDeviceState {
    WAVEFORMATEX primaryFormat;
};
}  // namespace platform

using platform::Fault;
using platform::System;

IDirectSoundBuffer::IDirectSoundBuffer(std::unique_ptr<platform::SoundBufferState> state)
    : state_(std::move(state)) {}
IDirectSoundBuffer::~IDirectSoundBuffer() = default;
ULONG IDirectSoundBuffer::AddRef() {
    return ++references_;
}
ULONG IDirectSoundBuffer::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}
HRESULT IDirectSoundBuffer::GetStatus(DWORD* status) {
    *status = 0;
    return S_OK;
}
HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD) {
    return E_NOTIMPL;
}
HRESULT IDirectSoundBuffer::Stop() {
    return S_OK;
}
HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD) {
    return S_OK;
}
HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format) {
    if (format == nullptr || !state_->primary || System().Take(Fault::SoundFormat)) {
        return E_INVALIDARG;
    }
    state_->format = *format;
    return S_OK;
}
HRESULT IDirectSoundBuffer::Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) {
    return E_NOTIMPL;
}
HRESULT IDirectSoundBuffer::Unlock(void*, DWORD, void*, DWORD) {
    return E_NOTIMPL;
}
HRESULT IDirectSoundBuffer::Restore() {
    return S_OK;
}

IDirectSound::IDirectSound() : state_(std::make_unique<platform::SoundDeviceState>()) {}
IDirectSound::~IDirectSound() = default;
ULONG IDirectSound::AddRef() {
    return ++references_;
}
ULONG IDirectSound::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}
HRESULT IDirectSound::SetCooperativeLevel(HWND, DWORD) {
    return System().Take(Fault::SoundCooperativeLevel) ? E_FAIL : S_OK;
}
HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                        void*) {
    *buffer = nullptr;
    if (desc == nullptr || (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) == 0) {
        return E_NOTIMPL;
    }
    if (System().Take(Fault::PrimarySoundBuffer)) {
        return E_FAIL;
    }
    auto state = std::make_unique<platform::SoundBufferState>();
    state->primary = true;
    *buffer = new IDirectSoundBuffer(std::move(state));
    return S_OK;
}
HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer*, IDirectSoundBuffer** duplicate) {
    *duplicate = nullptr;
    return E_NOTIMPL;
}

HRESULT DirectSoundCreate(const GUID*, IDirectSound** sound, void*) {
    *sound = nullptr;
    if (System().Take(Fault::DirectSoundCreate)) {
        return E_FAIL;
    }
    *sound = new IDirectSound();
    return S_OK;
}
