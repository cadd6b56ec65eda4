// DirectSound on the audio device: the primary buffer's format and static buffers, each on a
// channel of the device.
#include "platform/api/dsound.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "platform/api/audio.h"
#include "platform/api/services.h"

using platform::AudioDevice;
using platform::Fault;
using platform::System;

namespace platform {

namespace {

constexpr DWORD kMinRate = 100;
constexpr DWORD kMaxRate = 200000;
constexpr std::size_t kBasicFormatBytes = 14;  // the wave format header without the sample size

bool ValidPcm(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM &&
           (format.nChannels == 1 || format.nChannels == 2) &&
           (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
           format.nSamplesPerSec >= kMinRate && format.nSamplesPerSec <= kMaxRate;
}

// A format block as a buffer descriptor gives it: only the basic header is read, and for PCM
// the sample size follows from the block alignment.
WAVEFORMATEX ReadFormat(const void* block) {
    WAVEFORMATEX format;
    std::memcpy(static_cast<void*>(&format), block, kBasicFormatBytes);
    format.wBitsPerSample =
        format.nChannels == 0 ? 0 : static_cast<WORD>(format.nBlockAlign * 8 / format.nChannels);
    return format;
}

}  // namespace

struct SoundBufferState;

// The samples of a buffer and its duplicates: the bytes Lock hands out, in the buffer's own
// format, and the same samples converted for the device.
struct SampleData {
    SampleData(AudioDevice& audio, const WAVEFORMATEX& waveFormat, DWORD size);
    ~SampleData();
    SampleData(const SampleData&) = delete;
    SampleData& operator=(const SampleData&) = delete;

    // Converts the bytes for the device. The buffers playing from the old conversion are
    // stopped first and rewound, so the mixer never reads samples being replaced.
    void Convert();
    void Silence();
    DWORD Frames() const { return static_cast<DWORD>(bytes.size()) / format.nBlockAlign; }
    DWORD DeviceFrames() const {
        return static_cast<DWORD>(converted.size() /
                                  static_cast<std::size_t>(device.DeviceFormat().FrameBytes()));
    }

    AudioDevice& device;
    WAVEFORMATEX format;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> converted;
    bool lost = false;
    std::vector<SoundBufferState*> users;
};

namespace {
std::set<SampleData*> g_samples;  // every live sample set, for losing them all at once
}

// A buffer lives on the device it was made on.
struct SoundBufferState {
    explicit SoundBufferState(AudioDevice& audio) : device(audio) { device.Acquire(); }
    ~SoundBufferState();
    SoundBufferState(const SoundBufferState&) = delete;
    SoundBufferState& operator=(const SoundBufferState&) = delete;

    void Attach(std::shared_ptr<SampleData> samples);
    // A buffer whose channel ran to the end stops and returns to the start.
    void Settle();
    DWORD PlayPosition();
    void Halt();
    HRESULT Start();

    AudioDevice& device;
    bool primary = false;
    WAVEFORMATEX format;  // the primary buffer's format
    std::shared_ptr<SampleData> data;
    int channel = -1;
    DWORD position = 0;
    bool started = false;
    std::uint64_t startFrame = 0;
};

struct SoundDeviceState {
    explicit SoundDeviceState(AudioDevice& audio) : device(audio) { device.Acquire(); }
    ~SoundDeviceState() { device.Release(); }
    SoundDeviceState(const SoundDeviceState&) = delete;
    SoundDeviceState& operator=(const SoundDeviceState&) = delete;
    AudioDevice& device;
    DWORD level = 0;
};

SampleData::SampleData(AudioDevice& audio, const WAVEFORMATEX& waveFormat, DWORD size)
    : device(audio), format(waveFormat), bytes(size) {
    Silence();
    g_samples.insert(this);
}

SampleData::~SampleData() {
    g_samples.erase(this);
}

void SampleData::Silence() {
    std::fill(bytes.begin(), bytes.end(), format.wBitsPerSample == 8 ? 0x80 : 0x00);
    Convert();
}

void SampleData::Convert() {
    for (SoundBufferState* user : users) {
        user->Halt();
        user->position = 0;
    }
    const AudioDevice::Format own{format.wBitsPerSample, format.nChannels,
                                  static_cast<int>(format.nSamplesPerSec)};
    converted = device.Convert(own, bytes.data(), std::size_t{Frames()} * format.nBlockAlign);
}

SoundBufferState::~SoundBufferState() {
    if (data != nullptr) {
        device.FreeChannel(channel);
        std::erase(data->users, this);
    }
    device.Release();
}

void SoundBufferState::Attach(std::shared_ptr<SampleData> samples) {
    data = std::move(samples);
    data->users.push_back(this);
}

void SoundBufferState::Settle() {
    if (started && !device.Playing(channel)) {
        started = false;
        position = 0;
    }
}

DWORD SoundBufferState::PlayPosition() {
    Settle();
    if (!started || data->DeviceFrames() == 0) {
        return position;
    }
    // The frames mixed since the start, mapped back onto the buffer's own frames.
    const std::uint64_t startDevice =
        std::uint64_t{position / data->format.nBlockAlign} * data->DeviceFrames() / data->Frames();
    const std::uint64_t viewFrames = data->DeviceFrames() - startDevice;
    std::uint64_t played = device.MixedFrames() - startFrame;
    played = std::min(played, viewFrames - 1);
    const std::uint64_t bytes =
        position + played * data->Frames() / data->DeviceFrames() * data->format.nBlockAlign;
    return static_cast<DWORD>(std::min<std::uint64_t>(bytes, data->bytes.size() - 1));
}

void SoundBufferState::Halt() {
    if (started) {
        device.Halt(channel);
        started = false;
    }
}

HRESULT SoundBufferState::Start() {
    const int frameBytes = device.DeviceFormat().FrameBytes();
    const std::size_t offset = std::size_t{position / data->format.nBlockAlign} *
                               data->DeviceFrames() / std::max<DWORD>(data->Frames(), 1) *
                               static_cast<std::size_t>(frameBytes);
    if (offset >= data->converted.size()) {
        return E_FAIL;
    }
    if (!device.Play(channel, data->converted.data() + offset, data->converted.size() - offset,
                     System().effectsVolume)) {
        return E_FAIL;
    }
    startFrame = device.MixedFrames();
    started = true;
    return S_OK;
}

void LoseSoundBuffers() {
    for (SampleData* samples : g_samples) {
        samples->lost = true;
        samples->Silence();
    }
}

WAVEFORMATEX SoundDeviceFormat() {
    WAVEFORMATEX format;
    const AudioDevice::Format device = System().audio->DeviceFormat();
    if (System().audio->Open()) {
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = static_cast<WORD>(device.channels);
        format.nSamplesPerSec = static_cast<DWORD>(device.rate);
        format.nBlockAlign = static_cast<WORD>(device.FrameBytes());
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
        format.wBitsPerSample = static_cast<WORD>(device.bits);
    }
    return format;
}

}  // namespace platform

IDirectSoundBuffer::IDirectSoundBuffer(std::unique_ptr<platform::SoundBufferState> state)
    : state_(std::move(state)) {}
IDirectSoundBuffer::~IDirectSoundBuffer() = default;
HRESULT IDirectSoundBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *status = 0;
    if (state_->primary) {
        return S_OK;
    }
    if (state_->data->lost) {
        *status = DSBSTATUS_BUFFERLOST;
        return S_OK;
    }
    state_->Settle();
    if (state_->started) {
        *status = DSBSTATUS_PLAYING;
    }
    return S_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD) {
    if (state_->primary) {
        return S_OK;  // the primary buffer is the mix, which always plays
    }
    if (state_->data->lost) {
        return DSERR_BUFFERLOST;
    }
    state_->Settle();
    if (state_->started) {
        return S_OK;  // playing on from where it is
    }
    return state_->Start();
}

HRESULT IDirectSoundBuffer::Stop() {
    if (!state_->primary) {
        state_->position = state_->PlayPosition();
        state_->Halt();
    }
    return S_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position) {
    if (state_->primary) {
        return DSERR_INVALIDCALL;
    }
    if (position >= state_->data->bytes.size()) {
        return DSERR_INVALIDPARAM;
    }
    state_->Settle();
    const bool playing = state_->started;
    state_->Halt();
    state_->position = position - position % state_->data->format.nBlockAlign;
    return playing ? state_->Start() : S_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD* play, DWORD* write) {
    const DWORD position = state_->primary ? 0 : state_->PlayPosition();
    if (play != nullptr) {
        *play = position;
    }
    if (write != nullptr) {
        *write = position;
    }
    return S_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format) {
    if (!state_->primary) {
        return DSERR_INVALIDCALL;
    }
    if (format == nullptr || !platform::ValidPcm(*format)) {
        return DSERR_BADFORMAT;
    }
    if (System().Fails(Fault::SoundFormat)) {
        return E_FAIL;
    }
    state_->format = *format;
    return S_OK;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes,
                                 void** second, DWORD* secondBytes, DWORD) {
    if (state_->primary) {
        return DSERR_INVALIDCALL;
    }
    if (state_->data->lost) {
        return DSERR_BUFFERLOST;
    }
    std::vector<std::uint8_t>& samples = state_->data->bytes;
    const DWORD size = static_cast<DWORD>(samples.size());
    if (first == nullptr || firstBytes == nullptr || offset >= size || bytes == 0 ||
        bytes > size - offset) {
        return DSERR_INVALIDPARAM;
    }
    *first = samples.data() + offset;
    *firstBytes = bytes;
    if (second != nullptr) {
        *second = nullptr;
    }
    if (secondBytes != nullptr) {
        *secondBytes = 0;
    }
    return S_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* first, DWORD firstBytes, void* second, DWORD) {
    if (state_->primary) {
        return DSERR_INVALIDCALL;
    }
    if (state_->data->lost) {
        return DSERR_BUFFERLOST;
    }
    // Only the region Lock handed out: within the samples, and no second one.
    const std::uint8_t* begin = state_->data->bytes.data();
    const std::uint8_t* end = begin + state_->data->bytes.size();
    const auto* at = static_cast<const std::uint8_t*>(first);
    if (at == nullptr || second != nullptr || at < begin || at > end ||
        firstBytes > static_cast<std::size_t>(end - at)) {
        return DSERR_INVALIDPARAM;
    }
    state_->data->Convert();
    return S_OK;
}

HRESULT IDirectSoundBuffer::Restore() {
    if (!state_->primary) {
        state_->data->lost = false;
    }
    return S_OK;
}

IDirectSound::IDirectSound()
    : state_(std::make_unique<platform::SoundDeviceState>(*System().audio)) {}
IDirectSound::~IDirectSound() = default;
HRESULT IDirectSound::SetCooperativeLevel(HWND, DWORD level) {
    if (level < 1 || level > 4) {
        return DSERR_INVALIDPARAM;
    }
    if (System().Fails(Fault::SoundCooperativeLevel)) {
        return E_FAIL;
    }
    state_->level = level;
    return S_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                        void* outer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (desc == nullptr || outer != nullptr ||
        (desc->dwSize != kDsBufferDescSizeV1 && desc->dwSize != kDsBufferDescSize)) {
        return DSERR_INVALIDPARAM;
    }
    if (state_->level == 0) {
        return DSERR_PRIOLEVELNEEDED;
    }
    AudioDevice& device = state_->device;
    auto state = std::make_unique<platform::SoundBufferState>(device);
    if ((desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr) {
            return DSERR_INVALIDPARAM;
        }
        if (System().Fails(Fault::PrimarySoundBuffer)) {
            return E_FAIL;
        }
        state->primary = true;
        *buffer = new IDirectSoundBuffer(std::move(state));
        return S_OK;
    }
    if (desc->lpwfxFormat == nullptr || desc->dwBufferBytes < DSBSIZE_MIN ||
        desc->dwBufferBytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    const WAVEFORMATEX format = platform::ReadFormat(desc->lpwfxFormat);
    if (!platform::ValidPcm(format)) {
        return DSERR_BADFORMAT;
    }
    if (System().Fails(Fault::SoundBuffer) || !device.Open()) {
        return E_FAIL;
    }
    state->channel = device.AllocateChannel();
    if (state->channel < 0) {
        return E_OUTOFMEMORY;
    }
    state->Attach(std::make_shared<platform::SampleData>(device, format, desc->dwBufferBytes));
    *buffer = new IDirectSoundBuffer(std::move(state));
    return S_OK;
}

HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                           IDirectSoundBuffer** duplicate) {
    if (duplicate == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = nullptr;
    if (original == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (original->State().primary) {
        return DSERR_INVALIDCALL;
    }
    if (System().Fails(Fault::DuplicateSoundBuffer)) {
        return E_FAIL;
    }
    AudioDevice& device = original->State().device;
    auto state = std::make_unique<platform::SoundBufferState>(device);
    state->channel = device.AllocateChannel();
    if (state->channel < 0) {
        return E_OUTOFMEMORY;
    }
    state->Attach(original->State().data);
    *duplicate = new IDirectSoundBuffer(std::move(state));
    return S_OK;
}

HRESULT DirectSoundCreate(const GUID*, IDirectSound** sound, void*) {
    if (sound == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *sound = nullptr;
    if (System().Fails(Fault::DirectSoundCreate)) {
        return E_FAIL;
    }
    auto* device = new IDirectSound();
    if (!device->State().device.Open()) {
        device->Release();
        return E_FAIL;
    }
    *sound = device;
    return S_OK;
}
