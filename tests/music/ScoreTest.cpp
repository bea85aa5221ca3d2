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

// The message of the error a score raises, or "" if it compiles.
std::string ErrorOf(const std::string& score) {
  try {
    CompileScore(score, "bad.score");
  } catch (const ScoreError& e) {
    return e.what();
  }
  return "";
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
      {h + "track A\n  C4w |\nend\ntrack B\n  C4w | C4w |\nend\n",
       "track A lasts 1 bars but the song lasts 2"},
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
