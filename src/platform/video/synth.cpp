// The music of a video through FluidSynth: its player timed by the samples rendered, so that a
// tune sounds the same on every run.
#include "platform/video/synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "platform/sdl/sound_font.h"

namespace platform {

namespace {

// The synthesizer's gain at the game's full music volume: the gain SDL2_mixer gives FluidSynth
// at the mixer volume the game plays its music at, so that the video sounds as the game does.
constexpr double kFullGain = 0.9;

}  // namespace

MidiSynth::MidiSynth(int rate) : rate_(rate), font_(SoundFontPath()) {
    if (!fluid_is_soundfont(font_.c_str())) {
        SaySilent();
    }
}

void MidiSynth::SaySilent() {
    std::fprintf(stderr, "No soundfont could be read at %s: the video's music is silent\n",
                 font_.c_str());
    font_.clear();
}

MidiSynth::~MidiSynth() {
    if (player_ != nullptr) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
    }
    if (synth_ != nullptr) {
        delete_fluid_synth(synth_);
    }
    if (settings_ != nullptr) {
        delete_fluid_settings(settings_);
    }
}

void MidiSynth::Start() {
    if (synth_ != nullptr) {
        return;
    }
    // What goes wrong is said here once, not in FluidSynth's words.
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    settings_ = new_fluid_settings();
    if (settings_ == nullptr) {
        throw std::bad_alloc();
    }
    fluid_settings_setnum(settings_, "synth.sample-rate", rate_);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) {
        throw std::bad_alloc();
    }
    fluid_synth_set_gain(synth_, static_cast<float>(kFullGain * volume_));
    if (!font_.empty() && fluid_synth_sfload(synth_, font_.c_str(), 1) < 0) {
        SaySilent();
    }
}

bool MidiSynth::Play(const std::vector<std::uint8_t>& midi, bool looping) {
    Start();
    Halt();
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr) {
        throw std::bad_alloc();
    }
    fluid_player_set_loop(player_, looping ? -1 : 1);
    return fluid_player_add_mem(player_, midi.data(), midi.size()) == FLUID_OK &&
           fluid_player_play(player_) == FLUID_OK;
}

void MidiSynth::Halt() {
    if (player_ == nullptr) {
        return;
    }
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
    fluid_synth_all_sounds_off(synth_, -1);
}

bool MidiSynth::Playing() const {
    return player_ != nullptr && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

void MidiSynth::SetVolume(double volume) {
    volume_ = std::clamp(volume, 0.0, 1.0);
    if (synth_ != nullptr) {
        fluid_synth_set_gain(synth_, static_cast<float>(kFullGain * volume_));
    }
}

void MidiSynth::Render(float* stereo, int frames) {
    if (synth_ == nullptr || frames <= 0) {
        return;
    }
    left_.assign(static_cast<std::size_t>(frames), 0.0f);
    right_.assign(static_cast<std::size_t>(frames), 0.0f);
    fluid_synth_write_float(synth_, frames, left_.data(), 0, 1, right_.data(), 0, 1);
    for (std::size_t i = 0; i < left_.size(); ++i) {
        stereo[2 * i] += left_[i];
        stereo[2 * i + 1] += right_[i];
    }
}

}  // namespace platform
