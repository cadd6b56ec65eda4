// The game's fourteen sound effects and its music, set up once at start-up.
#include <new>

#include "game/znform.h"

namespace {

constexpr const char* kTitleTune = "zntitle.mid";

}  // namespace

void TKestovForm::CreateSoundsAndMusic() {
    // Each sound is named after its wave resource, with as many copies as may sound at once.
    const struct {
        std::unique_ptr<TDXSound> TKestovForm::*sound;
        const char* name;
        int copies;
    } sounds[] = {
        {&TKestovForm::BeginLevel, "BeginLevel", 1},
        {&TKestovForm::BallBounce, "BallBounce", 5},
        {&TKestovForm::GullBounce, "GullBounce", 5},
        {&TKestovForm::BeginGame, "BeginGame", 1},
        {&TKestovForm::AGullBounce, "AGullBounce", 5},
        {&TKestovForm::BAGullBounce, "BAGullBounce", 5},
        {&TKestovForm::Explosion, "Explosion", 5},
        {&TKestovForm::BazzleBounce, "BazzleBounce", 1},
        {&TKestovForm::CreateEgg, "CreateEgg", 3},
        {&TKestovForm::CatchEgg, "CatchEgg", 3},
        {&TKestovForm::Fanfare, "Fanfare", 1},
        {&TKestovForm::ShotgunFire, "ShotgunFire", 2},
        {&TKestovForm::ShotgunHit, "ShotgunHit", 2},
        {&TKestovForm::Cannon, "Cannon", 1},
    };
    for (const auto& [sound, name, copies] : sounds) {
        (this->*sound)->Create(DirectSound, name, copies);
    }

    try {
        *MusicFiles = FindMusicFiles();
        GameMusic = std::make_unique<TDXMidi>(Performance, Loader);
        TitleMusic = std::make_unique<TDXMidi>(Performance, Loader);
    } catch (const std::bad_alloc&) {
        throw Exception("Unable to allocate enough memory for music player");
    }
    TitleMusic->Load(kTitleTune);
}
