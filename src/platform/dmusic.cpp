// DirectMusic emulation (minimal): object identities and a performance that plays nothing yet.
#include "platform/dmusic.h"

#include "platform/services.h"

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

bool platform::MusicAvailable() {
    return false;
}

IDirectMusicPerformance::IDirectMusicPerformance() = default;
IDirectMusicPerformance::~IDirectMusicPerformance() = default;
ULONG IDirectMusicPerformance::AddRef() {
    return ++references_;
}
ULONG IDirectMusicPerformance::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}
HRESULT IDirectMusicPerformance::Init(void**, IDirectSound*, HWND) {
    return System().Take(Fault::MusicInit) ? E_FAIL : S_OK;
}
HRESULT IDirectMusicPerformance::AddPort(void*) {
    return System().Take(Fault::MusicPort) ? E_FAIL : S_OK;
}
HRESULT IDirectMusicPerformance::SetGlobalParam(REFGUID, const void*, DWORD) {
    return S_OK;
}
HRESULT IDirectMusicPerformance::PlaySegment(IDirectMusicSegment*, DWORD, REFERENCE_TIME,
                                             IDirectMusicSegmentState**) {
    return E_NOTIMPL;
}
HRESULT IDirectMusicPerformance::Stop(IDirectMusicSegment*, IDirectMusicSegmentState*, MUSIC_TIME,
                                      DWORD) {
    return S_OK;
}
HRESULT IDirectMusicPerformance::IsPlaying(IDirectMusicSegment*, IDirectMusicSegmentState*) {
    return S_FALSE;
}
HRESULT IDirectMusicPerformance::CloseDown() {
    return S_OK;
}

IDirectMusicLoader::IDirectMusicLoader() = default;
IDirectMusicLoader::~IDirectMusicLoader() = default;
ULONG IDirectMusicLoader::AddRef() {
    return ++references_;
}
ULONG IDirectMusicLoader::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}
HRESULT IDirectMusicLoader::SetSearchDirectory(REFGUID, const WCHAR*, BOOL) {
    return S_OK;
}
HRESULT IDirectMusicLoader::GetObject(const DMUS_OBJECTDESC*, REFIID, void** object) {
    *object = nullptr;
    return E_NOTIMPL;
}
