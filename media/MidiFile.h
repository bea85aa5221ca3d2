// Reads and checks a Standard MIDI File held in memory. The music player
// hands a song to the synthesizer only after this check, so a damaged file
// can never stall playback; tests use the summary to inspect the songs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace yuunagi {

struct MidiNote {
  int track = 0;
  int channel = 0;  // 0..15; 9 is the drum channel
  int key = 0;
  int velocity = 0;
  std::int64_t start = 0;  // ticks
  std::int64_t end = 0;
};

struct MidiSong {
  int format = 0;
  int division = 0;  // ticks per quarter note
  int trackCount = 0;
  std::int64_t lengthTicks = 0;  // where the last track ends
  double lengthSeconds = 0;
  std::vector<std::uint32_t> tempos;  // microseconds per quarter, in file order
  int keySharps = 0;                  // first key signature: sharps (> 0) or flats (< 0)
  bool minorKey = false;
  std::array<int, 16> programs;  // first program of each channel, -1 if none
  std::vector<MidiNote> notes;   // in order of their start
  int unfinishedNotes = 0;       // notes still sounding at their track's end

  // Seconds from the beginning of the song to `tick`, by the tempo map.
  double SecondsAt(std::int64_t tick) const;

  std::vector<std::pair<std::int64_t, std::uint32_t>> tempoMap;  // (tick, microseconds)
};

// Returns false and says why when the bytes are not a well-formed
// single-song MIDI file (format 0 or 1, ticks per quarter, at least a beat long).
bool ReadMidiFile(std::span<const std::uint8_t> bytes, MidiSong& song, std::string& error);

}  // namespace yuunagi
