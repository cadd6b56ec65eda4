// COM start-up and the creation of the DirectMusic objects.
#include "platform/com.h"

#include "platform/dmusic.h"
#include "platform/services.h"

HRESULT CoInitialize(void*) {
    return platform::System().Take(platform::Fault::CoInitialize) ? E_FAIL : S_OK;
}

void CoUninitialize() {}

HRESULT CoCreateInstance(REFCLSID clsid, void*, DWORD, REFIID iid, void** object) {
    *object = nullptr;
    auto& sys = platform::System();
    if (clsid == CLSID_DirectMusicPerformance && iid == IID_IDirectMusicPerformance) {
        if (sys.noMusic || sys.Take(platform::Fault::MusicPerformance) ||
            !platform::MusicAvailable()) {
            return E_FAIL;
        }
        *object = new IDirectMusicPerformance();
        return S_OK;
    }
    if (clsid == CLSID_DirectMusicLoader && iid == IID_IDirectMusicLoader) {
        if (sys.Take(platform::Fault::MusicLoader)) {
            return E_FAIL;
        }
        *object = new IDirectMusicLoader();
        return S_OK;
    }
    return E_NOINTERFACE;
}
