// The game's songs are written as text scores and compiled into Standard MIDI
// Files. A score names its tempo and meter, defines reusable patterns and drum
// grids, and lists one track per instrument. The notation is described in
// assets/Music/scores/README.md.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace yuunagi::music {

constexpr int kTicksPerQuarter = 480;

struct Note {
  std::int64_t start = 0;   // ticks from the beginning of the song
  std::int64_t length = 0;  // sounding length in ticks
  int key = 60;             // MIDI key number
  int velocity = 90;
};

// A program change (number < 0) or a controller change at a point in a track.
struct Control {
  std::int64_t tick = 0;
  int number = -1;  // controller number, or -1 for a program change
  int value = 0;
};

struct Track {
  std::string name;
  int channel = 0;  // 0..15; 9 is the drum channel
  std::vector<Note> notes;
  std::vector<Control> controls;
};

struct Song {
  std::string title;
  double tempo = 120.0;  // quarter notes per minute
  int meterTop = 4;
  int meterBottom = 4;
  int keySharps = 0;  // key signature: sharps (> 0) or flats (< 0)
  bool minor = false;
  std::int64_t lengthTicks = 0;
  std::vector<Track> tracks;

  std::int64_t BarTicks() const { return kTicksPerQuarter * 4 * meterTop / meterBottom; }
  double Seconds() const { return lengthTicks / double(kTicksPerQuarter) * 60.0 / tempo; }
};

// A mistake in a score, with the file and line it was found on.
class ScoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Compiles score text; `sourceName` is used in error messages only.
Song CompileScore(std::string_view text, const std::string& sourceName);

}  // namespace yuunagi::music
