// Background music: one song at a time, repeating until it is replaced or
// stopped, synthesized by FluidSynth with a General MIDI SoundFont.
//
// The SoundFont is loaded on a thread of its own, so OpenMusic returns at
// once; a song asked for meanwhile starts when loading is done (the last one
// asked for wins, a StopMusic cancels it). Without a SoundFont, an audio
// device or a playable file the game simply stays silent: one line on
// stderr says why, once per cause.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace yuunagi {

struct MusicOptions {
  std::string soundFont;       // empty: Debian's General MIDI SoundFont
  std::string fallbackFolder;  // songs not in ./Music are looked for here; empty: Music beside the program
  bool liveOutput = true;      // false: no audio device; RenderOffline pulls the sound instead
  std::string alsaDevice;      // empty: the system's default sound output
};

class MusicPlayer {
 public:
  explicit MusicPlayer(MusicOptions options = {});
  ~MusicPlayer();
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;

  // Starts loading the SoundFont in the background; later calls do nothing.
  void OpenMusic();
  // Plays "Music/<name>.mid" (from the current folder, else the fallback
  // folder) over and over, replacing whatever played.
  void PlayMusic(std::string_view name);
  // Stops and unloads the song.
  void StopMusic();
  // Stops the song and releases the synthesizer and the audio device.
  void CloseMusic();

  // Songs loaded so far: 0 before the first one; never counts down.
  int MusicHandle() const;
  // The song asked for last and not stopped since (playing or still waiting).
  std::string CurrentSong() const;
  // A song is loaded into the synthesizer and running.
  bool IsPlaying() const;
  // The SoundFont is loaded and the output open: songs can sound.
  bool IsReady() const;
  // Waits until background loading has finished, well or not; false on timeout.
  bool WaitUntilLoaded(std::chrono::milliseconds timeout) const;

  // Offline output only: the next `frames` frames of sound, interleaved
  // stereo, exactly as the audio device would have pulled them.
  void RenderOffline(float* stereo, int frames);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace yuunagi
