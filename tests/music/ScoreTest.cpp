// The score notation and the MIDI file writer of tools/make-music.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "MusicTestSupport.h"
#include "Score.h"
#include "SmfWriter.h"
#include "media/MidiFile.h"

namespace yuunagi::music {
namespace {

std::string Header(const std::string& meter = "4/4") { return "tempo 120\nmeter " + meter + "\n"; }

Song Compile(const std::string& body, const std::string& meter = "4/4") {
  return CompileScore(Header(meter) + body, "test.score");
}

std::vector<int> Keys(const Track& t) {
  std::vector<int> keys;
  for (const Note& n : t.notes) keys.push_back(n.key);
  return keys;
}

// The message of the error a score raises, or "" if it compiles.
std::string ErrorOf(const std::string& score) {
  try {
    CompileScore(score, "bad.score");
  } catch (const ScoreError& e) {
    return e.what();
  }
  return "";
}

TEST(Score, NotesDurationsTiesAndRests) {
  Song s = Compile("track A\n  gate=100 C4q~ C4q D#4e. Eb4s rq | F#4w |\nend\n");
  ASSERT_EQ(s.tracks.size(), 1u);
  const auto& n = s.tracks[0].notes;
  ASSERT_EQ(n.size(), 4u);  // the tie joins the two C4 quarters
  EXPECT_EQ(n[0].key, 60);
  EXPECT_EQ(n[0].length, 960);
  EXPECT_EQ(n[1].key, 63);
  EXPECT_EQ(n[1].start, 960);
  EXPECT_EQ(n[1].length, 360);  // dotted eighth
  EXPECT_EQ(n[2].key, 63);
  EXPECT_EQ(n[2].start, 1320);
  EXPECT_EQ(n[3].key, 66);
  EXPECT_EQ(n[3].start, 1920);  // after the half rest
  EXPECT_EQ(s.lengthTicks, 2 * 1920);
  EXPECT_DOUBLE_EQ(s.Seconds(), 4.0);

  // A shorter gate leaves a gap before the next note; staccato halves a note.
  Song g = Compile("track A\n  gate=90 C4q C4e' C4e C4h |\nend\n");
  EXPECT_LT(g.tracks[0].notes[0].length, 480);
  EXPECT_EQ(g.tracks[0].notes[1].length, 120);
  // Triplets and joined durations.
  Song t = Compile("track A\n  C4e3 C4e3 C4e3 C4q+e C4e C4q |\nend\n");
  EXPECT_EQ(t.tracks[0].notes[1].start, 160);
  EXPECT_EQ(t.tracks[0].notes[4].start, 480 + 720);
}

TEST(Score, ChordSymbolsArpeggiosAndPatterns) {
  Song s = Compile(
      "pattern riff\n  C3e E3e G3e C4e\nend\n"
      "track A\n  reg=C4 {Am}h {C}e/0123 |\n"
      "  omitroot=on {Cmaj7}w |\n"
      "  @riff:D @riff:G | @riff^-12*2 |\nend\n");
  std::vector<int> keys = Keys(s.tracks[0]);
  // Am close above C4: C4 E4 A4. The arpeggio climbs C major past the octave.
  EXPECT_EQ(std::vector<int>(keys.begin(), keys.begin() + 7), (std::vector<int>{60, 64, 69, 60, 64, 67, 72}));
  // Cmaj7 without its root: E G B.
  EXPECT_EQ(std::vector<int>(keys.begin() + 7, keys.begin() + 10), (std::vector<int>{64, 67, 71}));
  // A pattern written on C, moved up to D and down to G.
  EXPECT_EQ(keys[10], 50);
  EXPECT_EQ(keys[14], 43);
  EXPECT_EQ(keys[18], 36);
  EXPECT_EQ(s.lengthTicks, 4 * 1920);
}

TEST(Score, DrumGridsAndChannels) {
  Song s = Compile(
      "grid beat 16\n  kick X...x...x...x...\n  hat  ..o...o...o...o.\nend\n"
      "track Lead\n  prog=73 C5w |\nend\n"
      "track Drums\n  ch=10 @beat\nend\n"
      "track Bass\n  A2w |\nend\n");
  EXPECT_EQ(s.tracks[0].channel, 0);
  EXPECT_EQ(s.tracks[1].channel, 9);
  EXPECT_EQ(s.tracks[2].channel, 1);
  const auto& drums = s.tracks[1].notes;
  ASSERT_EQ(drums.size(), 8u);
  EXPECT_EQ(drums[0].key, 36);
  EXPECT_EQ(drums[0].velocity, 118);
  EXPECT_EQ(drums[1].key, 42);
  EXPECT_EQ(drums[1].start, 240);
  EXPECT_EQ(drums[1].velocity, 64);
  // The opening program of the lead is set before its first note.
  const auto& c = s.tracks[0].controls;
  EXPECT_TRUE(std::any_of(c.begin(), c.end(), [](const Control& x) { return x.number < 0 && x.value == 73; }));
}

TEST(Score, MistakesAreReportedWithTheirLine) {
  const std::string h = Header();
  struct Case {
    std::string score;
    std::string expected;
  } cases[] = {
      {h + "track A\n  C4q C4q C4q |\nend\n", "bad.score:4: bar line 1440 ticks into bar 1"},
      {h + "track A\n  C4w |\n  Q4q |\nend\n", "bad.score:5: cannot read 'Q4q'"},
      {h + "track A\n  C4h~ D4h |\nend\n", "tie on key 60 is not followed by the same note"},
      {h + "track A\n  C4w |\nend\ntrack B\n  C4w | C4w |\nend\n", "track A lasts 1 bars but the song lasts 2"},
      {h + "track A\n  @nothing\nend\n", "no pattern named nothing"},
      {h + "pattern loop\n  @loop\nend\ntrack A\n  @loop\nend\n", "nested too deeply"},
      {h + "track A\n  C4w |\n", "missing 'end'"},
      {h + "track A\n  C4h.\nend\n", "does not end on a bar line"},
      {h + "track A\n  {Cxyz}w |\nend\n", "unknown chord quality"},
      {h + "track A\n  ch=3 C4w |\nend\ntrack B\n  ch=3 C4w |\nend\n", "channel 3 used twice"},
      {h + "grid g 16\n  kick x...\nend\ntrack A\n  ch=10 @g\nend\n", "grid rows must fill whole bars"},
      {"tempo 900\n", "tempo must be 20..300"},
      {h, "the score has no track"},
  };
  for (const Case& c : cases) {
    std::string error = ErrorOf(c.score);
    EXPECT_NE(error.find(c.expected), std::string::npos) << "score:\n" << c.score << "\nerror: " << error;
  }
}

TEST(SmfWriter, VariableLengthQuantitiesAsTheStandardGivesThem) {
  struct Case {
    std::uint32_t value;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {0x00, {0x00}},
      {0x40, {0x40}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x2000, {0xC0, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
      {0x200000, {0x81, 0x80, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> out;
    AppendVarLength(out, c.value);
    EXPECT_EQ(out, c.bytes) << std::hex << c.value;
  }
}

TEST(SmfWriter, WrittenFilesReadBackNoteForNote) {
  Song s = Compile(
      "title Round Trip\nkey Em\n"
      "track Lead\n  prog=40 E5q. F#5e G5q B5q | E6w |\nend\n"
      "track Drums\n  ch=10 n36q n38q n36q n38q | n49w |\nend\n",
      "4/4");
  std::vector<std::uint8_t> bytes = WriteSmf(s);
  EXPECT_EQ(bytes, WriteSmf(s));  // the same song, the same bytes

  MidiSong read;
  std::string error;
  ASSERT_TRUE(ReadMidiFile(bytes, read, error)) << error;
  EXPECT_EQ(read.format, 1);
  EXPECT_EQ(read.trackCount, 3);  // conductor, lead, drums
  EXPECT_EQ(read.division, kTicksPerQuarter);
  EXPECT_EQ(read.lengthTicks, s.lengthTicks);
  EXPECT_DOUBLE_EQ(read.lengthSeconds, 4.0);
  EXPECT_EQ(read.tempos, std::vector<std::uint32_t>{500000});
  EXPECT_EQ(read.keySharps, 1);
  EXPECT_TRUE(read.minorKey);
  EXPECT_EQ(read.programs[0], 40);
  EXPECT_EQ(read.unfinishedNotes, 0);
  ASSERT_EQ(read.notes.size(), 10u);
  EXPECT_EQ(read.notes[0].key, 76);
  EXPECT_EQ(read.notes[0].channel, 0);
  EXPECT_EQ(read.notes[0].end, s.tracks[0].notes[0].length);
}

}  // namespace
}  // namespace yuunagi::music
