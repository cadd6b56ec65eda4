// TDirectXForm: the base form owning the display, sound and music devices and the frame clock.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "platform/api/ddraw.h"
#include "platform/api/dmusic.h"
#include "platform/api/dsound.h"
#include "platform/api/forms.h"

// Raised after a start-up failure has been shown to the player: the program ends without
// showing it a second time.
class StartupFailed : public std::exception {
  public:
    const char* what() const noexcept override { return "start-up failed"; }
};

class TDirectXForm : public TForm {
  public:
    TDirectXForm();
    ~TDirectXForm() override;

    void CreateParams(TCreateParams& params) override;

    void StartDirectDraw();
    void CreateFlippingSurfaces();
    void StartDirectSound();
    void StartDirectMusic();
    void StartTimer();
    void UpdateTimer();
    // Shows the back buffer; false when the frame was dropped (lost surfaces, or still drawing
    // with flags 0) and must be drawn again.
    bool FlipSurfaces(DWORD flags);
    virtual void RestoreSurfaces();

    [[noreturn]] void ShowFailure(const std::string& message);
    void ShowInformation(const std::string& message);
    void HandleAppException(const std::exception& error);

    bool DirectDrawStarted = false;
    bool DirectSoundStarted = false;
    std::int32_t BackBufferCount = 1;
    IDirectDraw2* DirectDraw = nullptr;
    IDirectDrawSurface3* Primary = nullptr;
    IDirectDrawSurface3* BackBuffer = nullptr;
    IDirectSound* DirectSound = nullptr;
    IDirectMusicPerformance* Performance = nullptr;
    IDirectMusicLoader* Loader = nullptr;
    bool HighResTimer = false;
    double SecondsPerTick = 0.0;
    double Elapsed = 0.0;
    std::uint64_t LastCount = 0;
    std::uint64_t NowCount = 0;

  private:
    [[noreturn]] void ShowPlainFailure(const std::string& message);
    std::uint64_t ReadClock() const;
};
