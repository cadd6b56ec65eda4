// Dxmidi: loading, starting, stopping and watching a MIDI tune, and the list of tunes for play.
#include "media/dxmidi.h"

#include <strings.h>

#include <algorithm>

#include "platform/api/files.h"

IDirectMusicPerformance* MusicPerformance = nullptr;
IDirectMusicLoader* MusicLoader = nullptr;

namespace {

constexpr DWORD kAllTrackGroups = 0xFFFFFFFF;
constexpr DWORD kPlayFlags =
    DMUS_SEGF_AFTERPREPARETIME | DMUS_SEGF_MEASURE | DMUS_SEGF_NOINVALIDATE;
constexpr const char* kTitleTune = "zntitle.mid";

int g_tunes = 0;  // tunes alive; the module state lasts as long as there are any

template <typename T>
void Borrow(T*& state, T* object) {
    if (state == nullptr && object != nullptr) {
        state = object;
        state->AddRef();
    }
}

}  // namespace

TDXMidi::TDXMidi(IDirectMusicPerformance* performance, IDirectMusicLoader* loader) {
    ++g_tunes;
    Borrow(MusicPerformance, performance);
    Borrow(MusicLoader, loader);
}

TDXMidi::~TDXMidi() {
    Unload();
    // The last tune gives the form's objects back, so a form made later starts afresh.
    if (--g_tunes == 0) {
        platform::ReleaseInterface(MusicPerformance);
        platform::ReleaseInterface(MusicLoader);
    }
}

void TDXMidi::Unload() {
    if (Segment != nullptr) {
        Segment->SetParam(GUID_Unload, kAllTrackGroups, 0, 0, MusicPerformance);
        Segment->Release();
        Segment = nullptr;
    }
}

bool TDXMidi::Load(const std::string& fileName) {
    if (MusicPerformance == nullptr || MusicLoader == nullptr) {
        return false;
    }
    if (!platform::FileExists(fileName)) {
        return false;
    }
    Unload();
    // The loader searches the one folder of the game's folders that holds the tune.
    const std::u16string directory = platform::AnsiToWide(platform::FolderHolding(fileName));
    if (FAILED(
            MusicLoader->SetSearchDirectory(GUID_DirectMusicAllTypes, directory.c_str(), FALSE))) {
        return false;
    }
    DMUS_OBJECTDESC desc;
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME;
    desc.guidClass = &CLSID_DirectMusicSegment;
    const std::u16string name = platform::AnsiToWide(fileName);
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), DMUS_MAX_FILENAME - 1),
                desc.wszFileName);
    void* segment = nullptr;
    if (FAILED(MusicLoader->GetObject(&desc, IID_IDirectMusicSegment, &segment))) {
        return false;
    }
    Segment = static_cast<IDirectMusicSegment*>(segment);
    if (FAILED(Segment->SetParam(GUID_StandardMIDIFile, kAllTrackGroups, 0, 0, nullptr))) {
        return false;
    }
    return SUCCEEDED(Segment->SetParam(GUID_Download, kAllTrackGroups, 0, 0, MusicPerformance));
}

void TDXMidi::Play() {
    if (MusicPerformance != nullptr && Segment != nullptr) {
        MusicPerformance->PlaySegment(Segment, kPlayFlags, 0, nullptr);
        StartPending = true;
    }
}

void TDXMidi::Stop() {
    if (MusicPerformance != nullptr && Segment != nullptr) {
        MusicPerformance->Stop(Segment, nullptr, 0, 0);
        StartPending = false;
    }
}

bool TDXMidi::IsPlaying() {
    if (MusicPerformance == nullptr || Segment == nullptr) {
        return false;
    }
    if (MusicPerformance->IsPlaying(Segment, nullptr) == S_OK) {
        StartPending = false;
        return true;
    }
    return StartPending;
}

std::vector<std::string> FindMusicFiles() {
    std::vector<std::string> files;
    for (const std::string& name : platform::FindFiles("*.mid")) {
        if (strcasecmp(name.c_str(), kTitleTune) != 0) {
            files.push_back(name);
        }
    }
    const std::vector<std::string> rmi = platform::FindFiles("*.rmi");
    files.insert(files.end(), rmi.begin(), rmi.end());
    if (files.empty()) {
        files.emplace_back(kTitleTune);
    }
    return files;
}
