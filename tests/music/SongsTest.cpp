// The songs the game ships: built from their scores, well-formed General MIDI,
// as long as promised, audible all the way through when FluidSynth plays them,
// and looping back to their beginning without a gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "MusicTestSupport.h"
#include "Score.h"
#include "SmfWriter.h"
#include "media/MidiFile.h"
#include "media/MusicRender.h"
#include "media/MusicSynth.h"

namespace yuunagi {
namespace {
namespace fs = std::filesystem;

constexpr double kAudible = 0.01;     // RMS of -40 dBFS
constexpr double kNotSilent = 0.003;  // RMS of about -50 dBFS
constexpr double kClipping = 0.99;

MidiSong ReadSong(const std::string& name) {
  MidiSong song;
  std::string error;
  EXPECT_TRUE(ReadMidiFile(test::ReadBytes(test::ShippedSong(name)), song, error)) << name << ": " << error;
  return song;
}

// Every window of `window` seconds between `from` and `to` must reach `floor`.
void ExpectNoQuietWindow(const RenderedMusic& m, double from, double to, double window, double floor,
                         const std::string& what) {
  const auto rate = std::size_t(m.sampleRate);
  for (double t = from; t + window <= to + 1e-9; t += window) {
    double rms = test::Rms(m.samples, std::size_t(t * rate), std::size_t((t + window) * rate));
    EXPECT_GT(rms, floor) << what << ": quiet at " << t << " s";
  }
}

TEST(Songs, CommittedSongsAreExactlyWhatTheirScoresGive) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(test::SourceDir() / "assets/Music/scores")) {
    if (entry.path().extension() != ".score") continue;
    const std::string name = entry.path().stem().string();
    names.insert(name);
    std::vector<std::uint8_t> text = test::ReadBytes(entry.path());
    music::Song song =
        music::CompileScore(std::string(text.begin(), text.end()), entry.path().filename().string());
    std::vector<std::uint8_t> committed =
        test::ReadBytes(test::SourceDir() / "assets/Music" / (name + ".mid"));
    EXPECT_EQ(music::WriteSmf(song), committed) << name << ".mid is out of date: build the 'music' target";
    EXPECT_EQ(test::ReadBytes(test::ShippedSong(name)), committed)
        << name << ".mid beside the program is stale";
  }
  EXPECT_EQ(names, std::set<std::string>(test::kSongs.begin(), test::kSongs.end()));
}

class ShippedSong : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedSong, IsAGeneralMidiSongWrittenToLoop) {
  const MidiSong song = ReadSong(GetParam());
  EXPECT_EQ(song.format, 1);
  EXPECT_EQ(song.tempos.size(), 1u) << "one steady tempo, so every pass sounds alike";
  EXPECT_GE(song.lengthSeconds, 45.0);
  EXPECT_LE(song.lengthSeconds, 120.0);

  // Melody with harmony, bass and drums, each on an instrument of its own.
  std::set<int> melodic;
  int drumNotes = 0, lowNotes = 0;
  for (const MidiNote& n : song.notes) {
    if (n.channel == 9) {
      ++drumNotes;
      continue;
    }
    melodic.insert(n.channel);
    if (n.key < 48) ++lowNotes;
    EXPECT_GE(song.programs[std::size_t(n.channel)], 0)
        << "channel " << n.channel + 1 << " has no instrument";
  }
  EXPECT_GT(drumNotes, 100);
  EXPECT_GE(melodic.size(), 4u);
  EXPECT_GT(lowNotes, 40) << "a bass line";

  // Nothing cut off by the loop: every note ends by the end of the song.
  EXPECT_EQ(song.unfinishedNotes, 0);
  std::int64_t lastEnd = 0;
  for (const MidiNote& n : song.notes) {
    EXPECT_LE(n.end, song.lengthTicks);
    lastEnd = std::max(lastEnd, n.end);
  }
  // Sound from the first tick, and the last beat leads straight back to it.
  ASSERT_FALSE(song.notes.empty());
  EXPECT_EQ(song.notes.front().start, 0);
  EXPECT_GE(lastEnd, song.lengthTicks - song.division / 2);
}

TEST_P(ShippedSong, SoundsAllTheWayAndLoopsWithoutAGap) {
  MusicRenderOptions options;
  options.soundFont = test::kSmallSoundFont;
  options.loops = 2;
  RenderedMusic music;
  std::string error;
  ASSERT_TRUE(RenderMusicFile(test::ShippedSong(GetParam()), options, music, error)) << error;
  const double length = ReadSong(GetParam()).lengthSeconds;

  // The player itself says how long a pass is: two passes, to the millisecond.
  EXPECT_TRUE(music.finished);
  EXPECT_NEAR(music.songSeconds, 2 * length, 0.005);
  ExpectNoQuietWindow(music, 0, music.songSeconds, 5.0, kAudible, GetParam());
  ExpectNoQuietWindow(music, length - 2.0, length + 2.0, 0.25, kNotSilent, GetParam() + " at the loop");
  EXPECT_LT(test::Peak(music.samples), kClipping);
}

std::string AsciiName(const ::testing::TestParamInfo<std::string>& info) {
  static const char* names[] = {"Opening", "Setup", "DecisiveBattle", "HarbourFight", "EveOfTheStorm"};
  return names[info.index];
}
INSTANTIATE_TEST_SUITE_P(All, ShippedSong, ::testing::ValuesIn(test::kSongs), AsciiName);

TEST(Songs, BattleThemesDifferInTempoKeyAndInstruments) {
  std::set<std::uint32_t> tempos;
  std::set<std::pair<int, bool>> keys;
  std::set<int> leads;
  std::set<std::set<int>> bands;
  for (const std::string& name : test::kBattleSongs) {
    MidiSong song = ReadSong(name);
    tempos.insert(song.tempos.at(0));
    keys.insert({song.keySharps, song.minorKey});
    EXPECT_TRUE(song.minorKey) << name << " is tense, in a minor key";
    leads.insert(song.programs[0]);
    bands.insert(std::set<int>(song.programs.begin(), song.programs.end()));
  }
  EXPECT_EQ(tempos.size(), 3u);
  EXPECT_EQ(keys.size(), 3u);
  EXPECT_EQ(leads.size(), 3u);
  EXPECT_EQ(bands.size(), 3u);
}

TEST(Songs, SoundRightWithTheDefaultSoundFont) {
  if (DefaultSoundFontPath().empty()) GTEST_SKIP() << "no default General MIDI SoundFont installed";
  MusicRenderOptions options;  // the default SoundFont, as the game uses it
  RenderedMusic music;
  std::string error;
  ASSERT_TRUE(RenderMusicFile(test::ShippedSong("決戦の町"), options, music, error)) << error;
  EXPECT_TRUE(music.finished);
  ExpectNoQuietWindow(music, 0, music.songSeconds, 5.0, kAudible, "決戦の町");
  EXPECT_LT(test::Peak(music.samples), kClipping);
}

TEST(Songs, RenderCommandWritesAPlayableWav) {
  fs::path dir = test::FreshTempDir("wav");
  fs::path wav = dir / "設定.wav";
  testing::internal::CaptureStdout();
  EXPECT_EQ(RenderMusicCommand(test::ShippedSong("設定"), wav.string(), test::kSmallSoundFont), 0);
  testing::internal::GetCapturedStdout();
  std::vector<std::uint8_t> bytes = test::ReadBytes(wav);
  ASSERT_GT(bytes.size(), 44u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  const double seconds = double(bytes.size() - 44) / (44100 * 4);
  EXPECT_NEAR(seconds, ReadSong("設定").lengthSeconds + 2.0, 0.01);  // one pass and its fading tail

  // Failures say why in one line and give a failing status.
  testing::internal::CaptureStderr();
  EXPECT_NE(RenderMusicCommand((dir / "none.mid").string(), wav.string(), ""), 0);
  EXPECT_NE(RenderMusicCommand(test::ShippedSong("設定"), (dir / "no/such/dir.wav").string(),
                               test::kSmallSoundFont),
            0);
  EXPECT_NE(RenderMusicCommand(test::ShippedSong("設定"), wav.string(), (dir / "none.sf2").string()), 0);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace yuunagi
