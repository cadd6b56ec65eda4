// COM start-up and the creation of the DirectMusic objects.
#include "platform/api/com.h"

#include "platform/api/dmusic.h"
#include "platform/api/services.h"

HRESULT CoInitialize(void*) {
    return platform::System().Fails(platform::Fault::CoInitialize) ? E_FAIL : S_OK;
}

void CoUninitialize() {}

HRESULT CoCreateInstance(REFCLSID clsid, void*, DWORD, REFIID iid, void** object) {
    *object = nullptr;
    auto& sys = platform::System();
    if (clsid == CLSID_DirectMusicPerformance && iid == IID_IDirectMusicPerformance) {
        if (sys.Fails(platform::Fault::MusicPerformance) || !platform::MusicAvailable()) {
            return E_FAIL;
        }
        *object = new IDirectMusicPerformance();
        return S_OK;
    }
    if (clsid == CLSID_DirectMusicLoader && iid == IID_IDirectMusicLoader) {
        if (sys.Fails(platform::Fault::MusicLoader)) {
            return E_FAIL;
        }
        *object = new IDirectMusicLoader();
        return S_OK;
    }
    return E_NOINTERFACE;
}
