// DirectMusic: the performance, the loader and segments, playing standard MIDI files on the
// audio device's music stream.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/api/com.h"
#include "platform/api/refcounted.h"
#include "platform/api/wintypes.h"

class IDirectSound;

using MUSIC_TIME = std::int32_t;
using REFERENCE_TIME = std::int64_t;
using WCHAR = char16_t;

inline constexpr DWORD DMUS_SEGF_AFTERPREPARETIME = 0x00000400;
inline constexpr DWORD DMUS_SEGF_MEASURE = 0x00002000;
inline constexpr DWORD DMUS_SEGF_NOINVALIDATE = 0x00008000;
inline constexpr LONG DMUS_VOLUME_MAX = 2000;
inline constexpr DWORD DMUS_OBJ_CLASS = 0x00000008;
inline constexpr DWORD DMUS_OBJ_FILENAME = 0x00000010;
inline constexpr int DMUS_MAX_FILENAME = 260;

extern const CLSID CLSID_DirectMusicPerformance;
extern const CLSID CLSID_DirectMusicLoader;
extern const CLSID CLSID_DirectMusicSegment;
extern const IID IID_IDirectMusicPerformance;
extern const IID IID_IDirectMusicLoader;
extern const IID IID_IDirectMusicSegment;
extern const GUID GUID_PerfMasterVolume;
extern const GUID GUID_DirectMusicAllTypes;
extern const GUID GUID_StandardMIDIFile;
extern const GUID GUID_Download;
extern const GUID GUID_Unload;

struct DMUS_OBJECTDESC {
    DWORD dwSize = sizeof(DMUS_OBJECTDESC);
    DWORD dwValidData = 0;
    const GUID* guidClass = nullptr;
    WCHAR wszFileName[DMUS_MAX_FILENAME] = {};
};

namespace platform {
class AudioDevice;
struct MusicSegmentState;
// Whether MIDI files can be played on the audio device in place.
bool MusicAvailable();
// Text of the ANSI code page (UTF-8 here) as UTF-16, and back; bytes that are not UTF-8 survive
// the round trip.
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);
}  // namespace platform

class IDirectMusicSegment : public platform::RefCounted<IDirectMusicSegment> {
  public:
    explicit IDirectMusicSegment(std::unique_ptr<platform::MusicSegmentState> state);
    IDirectMusicSegment(const IDirectMusicSegment&) = delete;
    IDirectMusicSegment& operator=(const IDirectMusicSegment&) = delete;

    HRESULT SetParam(REFGUID type, DWORD groupBits, DWORD index, MUSIC_TIME time, void* data);

    platform::MusicSegmentState& State() { return *state_; }

  private:
    friend class platform::RefCounted<IDirectMusicSegment>;
    ~IDirectMusicSegment();
    std::unique_ptr<platform::MusicSegmentState> state_;
};

class IDirectMusicSegmentState;

class IDirectMusicPerformance : public platform::RefCounted<IDirectMusicPerformance> {
  public:
    IDirectMusicPerformance();
    IDirectMusicPerformance(const IDirectMusicPerformance&) = delete;
    IDirectMusicPerformance& operator=(const IDirectMusicPerformance&) = delete;

    HRESULT Init(void** music, IDirectSound* sound, HWND window);
    HRESULT AddPort(void* port);
    HRESULT SetGlobalParam(REFGUID type, const void* data, DWORD size);
    HRESULT PlaySegment(IDirectMusicSegment* segment, DWORD flags, REFERENCE_TIME start,
                        IDirectMusicSegmentState** state);
    HRESULT Stop(IDirectMusicSegment* segment, IDirectMusicSegmentState* state, MUSIC_TIME time,
                 DWORD flags);
    HRESULT IsPlaying(IDirectMusicSegment* segment, IDirectMusicSegmentState* state);
    HRESULT CloseDown();

  private:
    friend class platform::RefCounted<IDirectMusicPerformance>;
    ~IDirectMusicPerformance();
    platform::AudioDevice& device_;  // the device the performance was made on
    bool initialized_ = false;
    bool portAdded_ = false;
};

class IDirectMusicLoader : public platform::RefCounted<IDirectMusicLoader> {
  public:
    IDirectMusicLoader();
    IDirectMusicLoader(const IDirectMusicLoader&) = delete;
    IDirectMusicLoader& operator=(const IDirectMusicLoader&) = delete;

    HRESULT SetSearchDirectory(REFGUID objectClass, const WCHAR* path, BOOL clear);
    HRESULT GetObject(const DMUS_OBJECTDESC* desc, REFIID iid, void** object);

  private:
    friend class platform::RefCounted<IDirectMusicLoader>;
    ~IDirectMusicLoader();
    std::string directory_;
};
