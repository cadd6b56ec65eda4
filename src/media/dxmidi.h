// Dxmidi: one MIDI tune (TDXMidi) played through the form's DirectMusic performance.
#pragma once

#include <string>
#include <vector>

#include "platform/api/dmusic.h"

// Module state shared by every tune: taken from the form by the first tune constructed with
// each, held while any tune lives, and emptied when the last tune goes.
extern IDirectMusicPerformance* MusicPerformance;
extern IDirectMusicLoader* MusicLoader;

class TDXMidi {
  public:
    TDXMidi(IDirectMusicPerformance* performance, IDirectMusicLoader* loader);
    virtual ~TDXMidi();
    TDXMidi(const TDXMidi&) = delete;
    TDXMidi& operator=(const TDXMidi&) = delete;

    // Loads a MIDI file of the game's folders; a missing file keeps the tune loaded before.
    bool Load(const std::string& fileName);
    // Starts the tune at the next measure.
    void Play();
    void Stop();
    // True while the tune sounds, and from Play until the performance first reports it sounding.
    bool IsPlaying();

    IDirectMusicSegment* Segment = nullptr;  // owned
    bool StartPending = false;

  private:
    void Unload();
};

// The tunes for play: every "*.mid" of the game's folders but the title tune, then every
// "*.rmi"; the title tune alone when there are none.
std::vector<std::string> FindMusicFiles();
