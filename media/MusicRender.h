// Renders a MIDI file through FluidSynth into memory, without an audio
// device: for listening to the songs as WAV files and for testing them.
#pragma once

#include <string>
#include <vector>

namespace yuunagi {

struct MusicRenderOptions {
  std::string soundFont;   // empty: Debian's General MIDI SoundFont
  int loops = 1;           // times through the song; 0: endlessly (needs maxSeconds)
  double maxSeconds = 0;   // > 0: stop after this much, even mid-song
  double tailSeconds = 0;  // sound kept after the song ends (release, reverb)
  int sampleRate = 44100;
};

struct RenderedMusic {
  int sampleRate = 44100;
  std::vector<float> samples;  // interleaved stereo
  double songSeconds = 0;      // when the player reached the end of its last loop
  bool finished = false;       // false when maxSeconds cut the song short

  std::size_t Frames() const { return samples.size() / 2; }
  double Seconds() const { return double(Frames()) / sampleRate; }
};

// The longest song rendered: a longer one would fill the memory before the
// WAV file, whose size field it would overflow as well.
constexpr double kLongestRenderedSeconds = 30 * 60;

// False, with the reason, when the SoundFont or the file cannot be used, or
// when what is asked for (the passes of the song, or maxSeconds) is longer
// than kLongestRenderedSeconds.
bool RenderMusicFile(const std::string& midiPath, const MusicRenderOptions& options, RenderedMusic& out,
                     std::string& error);

// 16-bit stereo PCM.
bool WriteWavFile(const std::string& path, const RenderedMusic& music, std::string& error);

// Renders one pass of the song (plus its fading tail) into a WAV file.
// Returns the process exit status; prints one line on error.
int RenderMusicCommand(const std::string& midiPath, const std::string& outWav,
                       const std::string& soundfont /* empty = default */);

}  // namespace yuunagi
