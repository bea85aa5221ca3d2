// The MIDI file check that stands between a file on disk and the synthesizer:
// damaged and hostile files are refused with a reason, never crash, and what
// it accepts plays without stalling.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "MusicTestSupport.h"
#include "media/MidiFile.h"
#include "media/MusicRender.h"

namespace yuunagi {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Header(int format, int tracks, int division) {
  return {'M',
          'T',
          'h',
          'd',
          0,
          0,
          0,
          6,
          0,
          std::uint8_t(format),
          std::uint8_t(tracks >> 8),
          std::uint8_t(tracks),
          std::uint8_t(division >> 8),
          std::uint8_t(division)};
}

Bytes Chunk(const Bytes& events) {
  Bytes out = {'M', 'T', 'r', 'k', 0, 0, std::uint8_t(events.size() >> 8), std::uint8_t(events.size())};
  out.insert(out.end(), events.begin(), events.end());
  return out;
}

Bytes File(const Bytes& header, const std::vector<Bytes>& events) {
  Bytes out = header;
  for (const Bytes& e : events) {
    Bytes c = Chunk(e);
    out.insert(out.end(), c.begin(), c.end());
  }
  return out;
}

// One middle C lasting a quarter note, then the end of the track.
const Bytes kOneNote = {0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};

std::string Refusal(const Bytes& bytes) {
  MidiSong song;
  std::string error;
  return ReadMidiFile(bytes, song, error) ? "" : error;
}

TEST(MidiFile, ReadsAWellFormedFile) {
  // Running status (the note-off written as a second note-on of velocity 0).
  Bytes events = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,     // 120 beats a minute
                  0x00, 0xC0, 19,                               // program 19 on channel 1
                  0x00, 0x90, 64,   90,   0x83, 0x60, 64,   0,  // E4 for a quarter
                  0x00, 0xFF, 0x2F, 0x00};
  MidiSong song;
  std::string error;
  ASSERT_TRUE(ReadMidiFile(File(Header(0, 1, 480), {events}), song, error)) << error;
  EXPECT_EQ(song.lengthTicks, 480);
  EXPECT_DOUBLE_EQ(song.lengthSeconds, 0.5);
  EXPECT_EQ(song.programs[0], 19);
  ASSERT_EQ(song.notes.size(), 1u);
  EXPECT_EQ(song.notes[0].end, 480);
  EXPECT_EQ(song.unfinishedNotes, 0);
}

TEST(MidiFile, RefusesDamagedAndHostileFiles) {
  const Bytes h = Header(1, 1, 480);
  struct Case {
    const char* what;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "not a MIDI file"},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'}, "not a MIDI file"},
      {"format 2", File(Header(2, 1, 480), {kOneNote}), "format 2"},
      {"no tracks", Header(1, 0, 480), "number of tracks"},
      {"too many tracks", File(Header(1, 1000, 480), {kOneNote}), "number of tracks"},
      {"SMPTE time", File(Header(1, 1, 0xE728), {kOneNote}), "time division"},
      {"zero division", File(Header(1, 1, 0), {kOneNote}), "time division"},
      {"missing track", File(Header(1, 2, 480), {kOneNote}), "ends before track 2"},
      {"track runs past the end",
       [&] {
         Bytes b = File(h, {kOneNote});
         b[21] = 0x7F;
         return b;
       }(),
       "past the end"},
      {"no end of track", File(h, {{0x00, 0x90, 60, 100}}), "no end-of-track marker"},
      {"five-byte delta", File(h, {{0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00}}), "delta time"},
      {"data before any status", File(h, {{0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}}), "without a status"},
      {"data byte above 127", File(h, {{0x00, 0x90, 0xC8, 100, 0x00, 0xFF, 0x2F, 0x00}}), "out of range"},
      {"tempo of zero", File(h, {{0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x2F, 0x00}}),
       "tempo of zero"},
      {"short tempo", File(h, {{0x00, 0xFF, 0x51, 0x02, 1, 1, 0x00, 0xFF, 0x2F, 0x00}}), "wrong length"},
      {"huge meta", File(h, {{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}}), "broken meta"},
      {"huge sysex", File(h, {{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F}}), "system exclusive"},
      {"system common message", File(h, {{0x00, 0xF2, 0, 0, 0x00, 0xFF, 0x2F, 0x00}}), "system message"},
      {"silent and endless loop", File(h, {{0x00, 0xFF, 0x2F, 0x00}}), "shorter than one beat"},
  };
  for (const Case& c : cases) {
    std::string reason = Refusal(c.bytes);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST(MidiFile, EveryTruncationOfASongIsRefused) {
  Bytes song = test::ReadBytes(test::ShippedSong("設定"));
  ASSERT_GT(song.size(), 1000u);
  EXPECT_EQ(Refusal(song), "");
  for (std::size_t n = 0; n < song.size(); n += n < 2000 ? 1 : 7) {
    Bytes cut(song.begin(), song.begin() + long(n));
    EXPECT_NE(Refusal(cut), "") << "cut at " << n;
  }
}

// Scrambled songs: whatever the check lets through must play and come to a
// stop when asked, never stall the synthesizer.
TEST(MidiFile, ScrambledSongsAreRefusedOrPlayable) {
  Bytes original = test::ReadBytes(test::ShippedSong("嵐の前夜"));
  std::mt19937 random(20240601);
  std::filesystem::path dir = test::FreshTempDir("scrambled");
  int accepted = 0, rendered = 0;
  for (int round = 0; round < 400; ++round) {
    Bytes b = original;
    int flips = 1 + int(random() % 8);
    for (int f = 0; f < flips; ++f) b[random() % b.size()] = std::uint8_t(random());
    MidiSong song;
    std::string error;
    if (!ReadMidiFile(b, song, error)) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    ++accepted;
    EXPECT_GE(song.lengthTicks, song.division);
    if (rendered >= 25) continue;
    std::filesystem::path file = dir / "scrambled.mid";
    test::WriteBytes(file, b);
    MusicRenderOptions options;
    options.soundFont = test::kSmallSoundFont;
    options.loops = 0;  // loop for ever, as the game does
    options.maxSeconds = 0.5;
    RenderedMusic music;
    ASSERT_TRUE(RenderMusicFile(file.string(), options, music, error)) << error;
    EXPECT_NEAR(music.Seconds(), 0.5, 0.01);
    ++rendered;
  }
  EXPECT_GT(accepted, 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace yuunagi
