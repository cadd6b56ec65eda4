// The base form: starting DirectDraw, DirectSound and DirectMusic, the frame clock and flipping.
#include "media/dxform.h"

#include <new>

#include "platform/api/cursor.h"
#include "platform/api/msgbox.h"
#include "platform/api/timer.h"

namespace {

constexpr DWORD kMinimumVideoMemoryForTwoBackBuffers = 6'000'000;

}  // namespace

TDirectXForm::TDirectXForm() {
    if (FAILED(CoInitialize(nullptr))) {
        throw Exception("Unable to start COM interfaces");
    }
}

TDirectXForm::~TDirectXForm() {
    if (Performance != nullptr) {
        platform::ReleaseInterface(Loader);
        Performance->Stop(nullptr, nullptr, 0, 0);
        Performance->CloseDown();
        platform::ReleaseInterface(Performance);
    }
    platform::ReleaseInterface(DirectSound);
    platform::ReleaseInterface(BackBuffer);
    platform::ReleaseInterface(Primary);
    platform::ReleaseInterface(DirectDraw);
    CoUninitialize();
}

void TDirectXForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
}

void TDirectXForm::StartDirectDraw() {
    IDirectDraw* first = nullptr;
    if (FAILED(DirectDrawCreate(nullptr, &first, nullptr))) {
        ShowPlainFailure("DirectDrawCreate failed");
    }
    void* second = nullptr;
    const HRESULT query = first->QueryInterface(IID_IDirectDraw2, &second);
    first->Release();
    if (FAILED(query)) {
        ShowPlainFailure("QueryInterface failed");
    }
    DirectDraw = static_cast<IDirectDraw2*>(second);
    DirectDrawStarted = true;
    Application.OnException = [this](const std::exception& error) { HandleAppException(error); };
    if (FAILED(DirectDraw->SetCooperativeLevel(Handle(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) {
        ShowFailure("SetCooperativeLevel failed");
    }
    if (FAILED(DirectDraw->SetDisplayMode(640, 480, 16, 0, 0))) {
        ShowFailure("SetDisplayMode failed");
    }
    CreateFlippingSurfaces();
}

void TDirectXForm::CreateFlippingSurfaces() {
    DDSCAPS caps{DDSCAPS_VIDEOMEMORY};
    DWORD total = 0;
    DWORD free = 0;
    if (FAILED(DirectDraw->GetAvailableVidMem(&caps, &total, &free))) {
        throw Exception("Failed attempting to determine free memory");
    }
    if (total > kMinimumVideoMemoryForTwoBackBuffers) {
        BackBufferCount = 2;
    }
    DDSURFACEDESC desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = static_cast<DWORD>(BackBufferCount);
    IDirectDrawSurface* first = nullptr;
    if (FAILED(DirectDraw->CreateSurface(&desc, &first, nullptr))) {
        throw Exception("Failed attempting to create primary surface");
    }
    void* primary = nullptr;
    const HRESULT query = first->QueryInterface(IID_IDirectDrawSurface3, &primary);
    first->Release();
    if (FAILED(query)) {
        ShowFailure("QueryInterface failed");
    }
    Primary = static_cast<IDirectDrawSurface3*>(primary);
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    if (FAILED(Primary->GetAttachedSurface(&backCaps, &BackBuffer))) {
        ShowFailure("GetAttachedSurface failed");
    }
    if (Primary == nullptr) {
        ShowFailure("Primary NULL");
    }
    if (BackBuffer == nullptr) {
        ShowFailure("Attached NULL");
    }
}

void TDirectXForm::StartDirectSound() {
    if (FAILED(DirectSoundCreate(nullptr, &DirectSound, nullptr))) {
        ShowFailure("Failure initializing DirectSound");
    }
    if (FAILED(DirectSound->SetCooperativeLevel(Handle(), DSSCL_EXCLUSIVE))) {
        ShowFailure("Failure setting DirectSound cooperative level");
    }
    DSBUFFERDESC desc;
    desc.dwSize = 36;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    if (FAILED(DirectSound->CreateSoundBuffer(&desc, &primary, nullptr))) {
        ShowFailure("Unable to access primary sound buffer");
    }
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 22050;
    format.wBitsPerSample = 8;
    format.nBlockAlign = static_cast<WORD>(format.wBitsPerSample / 8 * format.nChannels);
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    const HRESULT formatted = primary->SetFormat(&format);
    primary->Release();
    if (FAILED(formatted)) {
        ShowFailure("Unable to set sound format");
    }
    DirectSoundStarted = true;
}

void TDirectXForm::StartDirectMusic() {
    if (!DirectSoundStarted) {
        StartDirectSound();
    }
    void* performance = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IDirectMusicPerformance, &performance))) {
        Performance = nullptr;
        ShowInformation("Cannot start DirectMusic; music disabled");
        return;
    }
    Performance = static_cast<IDirectMusicPerformance*>(performance);
    if (FAILED(Performance->Init(nullptr, DirectSound, Handle()))) {
        throw Exception("Unable to Initialize DirectMusic");
    }
    if (FAILED(Performance->AddPort(nullptr))) {
        throw Exception("Unable to add music port");
    }
    void* loader = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IDirectMusicLoader, &loader))) {
        throw Exception("Unable to create MIDI loader");
    }
    Loader = static_cast<IDirectMusicLoader*>(loader);
    const LONG masterVolume = DMUS_VOLUME_MAX;
    Performance->SetGlobalParam(GUID_PerfMasterVolume, &masterVolume, sizeof(masterVolume));
}

std::uint64_t TDirectXForm::ReadClock() const {
    if (HighResTimer) {
        LARGE_INTEGER count{};
        QueryPerformanceCounter(&count);
        return static_cast<std::uint64_t>(count.QuadPart);
    }
    return timeGetTime();
}

void TDirectXForm::StartTimer() {
    LARGE_INTEGER frequency{};
    if (QueryPerformanceFrequency(&frequency) != FALSE) {
        HighResTimer = true;
        SecondsPerTick = 1.0 / static_cast<double>(frequency.QuadPart);
    } else {
        HighResTimer = false;
        SecondsPerTick = 0.001;
    }
    LastCount = ReadClock();
}

void TDirectXForm::UpdateTimer() {
    NowCount = ReadClock();
    // A clock that did not advance, or a wrapped millisecond clock, keeps the last step.
    if (NowCount > LastCount) {
        Elapsed = static_cast<double>(NowCount - LastCount) * SecondsPerTick;
    }
    LastCount = NowCount;
}

bool TDirectXForm::FlipSurfaces(DWORD flags) {
    const HRESULT result = Primary->Flip(nullptr, flags);
    if (SUCCEEDED(result)) {
        return true;
    }
    if (result == DDERR_SURFACELOST) {
        RestoreSurfaces();
        return false;
    }
    if (result == DDERR_WASSTILLDRAWING) {
        return false;
    }
    throw Exception("Error flipping surfaces");
}

void TDirectXForm::RestoreSurfaces() {
    if (Primary != nullptr) {
        Primary->Restore();
    }
    if (BackBuffer != nullptr) {
        BackBuffer->Restore();
    }
}

void TDirectXForm::ShowFailure(const std::string& message) {
    if (DirectDraw != nullptr) {
        DirectDraw->FlipToGDISurface();
    }
    ShowCursor(TRUE);
    MessageBoxA(Handle(), message.c_str(), "Failure", MB_OK);
    Close();
    // Nothing can run without the device that failed: the start-up ends here, silently, since
    // the player has just been told why.
    throw EAbort();
}

void TDirectXForm::ShowPlainFailure(const std::string& message) {
    MessageBoxA(Handle(), message.c_str(), "Zintrel", MB_OK);
    Close();
    throw EAbort();
}

void TDirectXForm::ShowInformation(const std::string& message) {
    if (DirectDraw != nullptr) {
        DirectDraw->FlipToGDISurface();
    }
    ShowCursor(TRUE);
    MessageBoxA(Handle(), message.c_str(), "Information", MB_OK);
    ShowCursor(FALSE);
}

void TDirectXForm::HandleAppException(const std::exception& error) {
    if (DirectDrawStarted && DirectDraw != nullptr) {
        DirectDraw->FlipToGDISurface();
        ClipCursor(nullptr);
        ShowCursor(TRUE);
    }
    Application.ShowException(error);
    Close();
}
