// DirectMusic on the audio device's music stream: standard MIDI files, found by the loader.
#include "platform/api/dmusic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "levelformat/files.h"
#include "platform/api/audio.h"
#include "platform/api/files.h"
#include "platform/api/services.h"

const CLSID CLSID_DirectMusicPerformance{"DirectMusicPerformance"};
const CLSID CLSID_DirectMusicLoader{"DirectMusicLoader"};
const CLSID CLSID_DirectMusicSegment{"DirectMusicSegment"};
const IID IID_IDirectMusicPerformance{"IDirectMusicPerformance"};
const IID IID_IDirectMusicLoader{"IDirectMusicLoader"};
const IID IID_IDirectMusicSegment{"IDirectMusicSegment"};
const GUID GUID_PerfMasterVolume{"PerfMasterVolume"};
const GUID GUID_DirectMusicAllTypes{"DirectMusicAllTypes"};
const GUID GUID_StandardMIDIFile{"StandardMIDIFile"};
const GUID GUID_Download{"Download"};
const GUID GUID_Unload{"Unload"};

using platform::Fault;
using platform::System;

namespace platform {

namespace {

// Segments start a prepare time after they are queued. The stream starts at once; the
// performance reports the segment as playing only from then, on the platform's clock.
constexpr std::uint64_t kPrepareMicros = 100'000;

constexpr LONG kMinVolume = -20000;

constexpr std::uint16_t kEscapedByte = 0xDC00;  // bytes that are not UTF-8: U+DC80 to U+DCFF

const MusicSegmentState* g_current = nullptr;  // the segment the music stream plays
std::uint64_t g_reportMicros = 0;              // from when the current segment counts as playing
double g_masterVolume = 1.0;                   // the performance's, from its master volume

std::uint32_t ReadLittle32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

std::uint32_t ReadBig32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           std::uint32_t{at[3]};
}

bool HasTag(const std::vector<std::uint8_t>& bytes, std::size_t at, const char* tag) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

// The standard MIDI file in a file's bytes: the whole file, or the "data" chunk of a RIFF
// "RMID" file. Empty when there is none or its header chunk is cut short.
std::vector<std::uint8_t> StandardMidi(std::vector<std::uint8_t> bytes) {
    if (HasTag(bytes, 0, "RIFF") && HasTag(bytes, 8, "RMID")) {
        std::vector<std::uint8_t> found;
        for (std::size_t at = 12; at + 8 <= bytes.size();) {
            const std::size_t length = ReadLittle32(bytes.data() + at + 4);
            if (length > bytes.size() - at - 8) {
                break;
            }
            if (HasTag(bytes, at, "data")) {
                found.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
                break;
            }
            at += 8 + length + (length & 1);
        }
        bytes = std::move(found);
    }
    constexpr std::uint32_t kHeaderLength = 6;
    if (!HasTag(bytes, 0, "MThd") || bytes.size() < 8 ||
        ReadBig32(bytes.data() + 4) < kHeaderLength || bytes.size() < 8 + kHeaderLength) {
        return {};
    }
    return bytes;
}

// The master volume's gain: full at its top, a tenth for every 20 decibels below.
double MusicVolume(LONG hundredthsOfDecibel) {
    const LONG volume = std::clamp<LONG>(hundredthsOfDecibel, kMinVolume, DMUS_VOLUME_MAX);
    return std::pow(10.0, (volume - DMUS_VOLUME_MAX) / 2000.0);
}

}  // namespace

// At the player's music volume 0 the stream is silent: no tune is synthesised.
bool MusicSilenced() {
    return System().musicVolume <= 0.0;
}

void ApplyMusicVolume(AudioDevice& device) {
    device.SetMusicVolume(g_masterVolume * System().musicVolume);
}

// A segment plays on the device it was loaded on.
struct MusicSegmentState {
    explicit MusicSegmentState(AudioDevice& audio) : device(audio) { device.Acquire(); }
    ~MusicSegmentState() {
        if (g_current == this) {
            device.HaltMusic();
            g_current = nullptr;
        }
        music.reset();
        device.Release();
    }
    MusicSegmentState(const MusicSegmentState&) = delete;
    MusicSegmentState& operator=(const MusicSegmentState&) = delete;

    AudioDevice& device;
    std::unique_ptr<Music> music;
};

void SetPlayerVolumes(double effects, double music) {
    Services& sys = System();
    const bool wasSilenced = MusicSilenced();
    sys.effectsVolume = std::clamp(effects, 0.0, 1.0);
    sys.musicVolume = std::clamp(music, 0.0, 1.0);
    if (g_current == nullptr) {
        return;
    }
    AudioDevice& device = g_current->device;
    ApplyMusicVolume(device);
    if (MusicSilenced() && !wasSilenced) {
        device.HaltMusic();
    } else if (!MusicSilenced() && wasSilenced && g_current->music != nullptr) {
        device.PlayMusic(*g_current->music, false);
    }
}

bool MusicAvailable() {
    return System().audio->PlaysMidi();
}

std::u16string AnsiToWide(std::string_view text) {
    std::u16string wide;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4 && at + length <= text.size());
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= kSmallest[length] && code <= 0x10FFFF &&
                (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            wide.push_back(static_cast<char16_t>(kEscapedByte + lead));
            ++at;
            continue;
        }
        if (code >= 0x10000) {
            wide.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(code));
        }
        at += length;
    }
    return wide;
}

std::string WideToAnsi(std::u16string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::uint32_t code = text[at];
        if (code >= 0xD800 && code < 0xDC00 && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00u);
        } else if (code >= kEscapedByte + 0x80 && code <= kEscapedByte + 0xFF) {
            out.push_back(static_cast<char>(code - kEscapedByte));
            continue;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | code >> 12));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | code >> 18));
            out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

}  // namespace platform

IDirectMusicSegment::IDirectMusicSegment(std::unique_ptr<platform::MusicSegmentState> state)
    : state_(std::move(state)) {}
IDirectMusicSegment::~IDirectMusicSegment() = default;
HRESULT IDirectMusicSegment::SetParam(REFGUID type, DWORD, DWORD, MUSIC_TIME, void* data) {
    if (type == GUID_StandardMIDIFile) {
        return S_OK;  // the segment was read as a standard MIDI file already
    }
    if (type == GUID_Download || type == GUID_Unload) {
        // The synthesizer loads the soundfont's instruments with the stream.
        return data != nullptr ? S_OK : E_INVALIDARG;
    }
    return E_NOTIMPL;
}

IDirectMusicPerformance::IDirectMusicPerformance() : device_(*System().audio) {
    platform::g_masterVolume = 1.0;
    device_.Acquire();
}
IDirectMusicPerformance::~IDirectMusicPerformance() {
    CloseDown();
    device_.Release();
}
HRESULT IDirectMusicPerformance::Init(void** music, IDirectSound*, HWND) {
    if (music != nullptr) {
        *music = nullptr;
    }
    if (initialized_ || System().Fails(Fault::MusicInit)) {
        return E_FAIL;
    }
    initialized_ = true;
    return S_OK;
}

HRESULT IDirectMusicPerformance::AddPort(void*) {
    if (!initialized_ || System().Fails(Fault::MusicPort)) {
        return E_FAIL;
    }
    portAdded_ = true;
    return S_OK;
}

HRESULT IDirectMusicPerformance::SetGlobalParam(REFGUID type, const void* data, DWORD size) {
    if (type != GUID_PerfMasterVolume) {
        return E_NOTIMPL;
    }
    if (data == nullptr || size != sizeof(LONG)) {
        return E_INVALIDARG;
    }
    LONG volume = 0;
    std::memcpy(&volume, data, sizeof volume);
    platform::g_masterVolume = platform::MusicVolume(volume);
    platform::ApplyMusicVolume(device_);
    return S_OK;
}

HRESULT IDirectMusicPerformance::PlaySegment(IDirectMusicSegment* segment, DWORD, REFERENCE_TIME,
                                             IDirectMusicSegmentState** state) {
    if (state != nullptr) {
        *state = nullptr;
    }
    if (segment == nullptr) {
        return E_INVALIDARG;
    }
    platform::MusicSegmentState& played = segment->State();
    platform::ApplyMusicVolume(played.device);
    if (!portAdded_ || played.music == nullptr ||
        (!platform::MusicSilenced() && !played.device.PlayMusic(*played.music, false))) {
        return E_FAIL;
    }
    platform::g_current = &played;
    platform::g_reportMicros = platform::NowMicros() + platform::kPrepareMicros;
    return S_OK;
}

HRESULT IDirectMusicPerformance::Stop(IDirectMusicSegment* segment, IDirectMusicSegmentState*,
                                      MUSIC_TIME, DWORD) {
    if (platform::g_current != nullptr &&
        (segment == nullptr || &segment->State() == platform::g_current)) {
        platform::g_current->device.HaltMusic();
        platform::g_current = nullptr;
    }
    return S_OK;
}

HRESULT IDirectMusicPerformance::IsPlaying(IDirectMusicSegment* segment,
                                           IDirectMusicSegmentState*) {
    if (segment == nullptr) {
        return E_INVALIDARG;
    }
    // A silenced tune plays on for the game, without end.
    const bool sounding =
        &segment->State() == platform::g_current &&
        (platform::MusicSilenced() || platform::g_current->device.MusicPlaying()) &&
        platform::NowMicros() >= platform::g_reportMicros;
    return sounding ? S_OK : S_FALSE;
}

HRESULT IDirectMusicPerformance::CloseDown() {
    Stop(nullptr, nullptr, 0, 0);
    initialized_ = false;
    portAdded_ = false;
    return S_OK;
}

IDirectMusicLoader::IDirectMusicLoader() = default;
IDirectMusicLoader::~IDirectMusicLoader() = default;
HRESULT IDirectMusicLoader::SetSearchDirectory(REFGUID, const WCHAR* path, BOOL) {
    if (path == nullptr) {
        return E_INVALIDARG;
    }
    std::u16string_view wide(path);
    std::string directory = platform::WideToAnsi(wide);
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error)) {
        return E_FAIL;
    }
    directory_ = std::move(directory);
    return S_OK;
}

HRESULT IDirectMusicLoader::GetObject(const DMUS_OBJECTDESC* desc, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    *object = nullptr;
    if (iid != IID_IDirectMusicSegment) {
        return E_NOINTERFACE;
    }
    if (desc == nullptr || (desc->dwValidData & DMUS_OBJ_FILENAME) == 0 ||
        ((desc->dwValidData & DMUS_OBJ_CLASS) != 0 &&
         (desc->guidClass == nullptr || *desc->guidClass != CLSID_DirectMusicSegment))) {
        return E_INVALIDARG;
    }
    const WCHAR* end = std::find(std::begin(desc->wszFileName), std::end(desc->wszFileName), 0);
    const std::string name =
        platform::WideToAnsi(std::u16string_view(desc->wszFileName, end - desc->wszFileName));
    const std::filesystem::path directory = directory_.empty() ? "." : directory_;
    const std::optional<std::vector<std::uint8_t>> bytes =
        name.empty()
            ? std::nullopt
            : levelformat::ReadFileBytes(platform::ResolveFileName(name, directory.string()));
    if (!bytes) {
        return E_FAIL;
    }
    auto state = std::make_unique<platform::MusicSegmentState>(*System().audio);
    std::vector<std::uint8_t> midi = platform::StandardMidi(*bytes);
    if (midi.empty() || !state->device.Open()) {
        return E_FAIL;
    }
    state->music = state->device.LoadMidi(std::move(midi));
    if (state->music == nullptr) {
        return E_FAIL;
    }
    *object = new IDirectMusicSegment(std::move(state));
    return S_OK;
}
