// The music player, heard through its offline output: the same player the
// game runs, with the sound pulled by the test instead of a sound card.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "MusicTestSupport.h"
#include "media/MidiFile.h"
#include "media/MusicPlayer.h"
#include "media/MusicRender.h"
#include "media/MusicSynth.h"

namespace yuunagi {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 44100;
constexpr double kAudible = 0.01;
constexpr double kSilent = 1e-3;

MusicOptions Offline(const std::string& soundFont = test::kSmallSoundFont) {
  MusicOptions o;
  o.soundFont = soundFont;
  o.liveOutput = false;
  return o;
}

std::vector<float> Pull(MusicPlayer& player, double seconds) {
  std::vector<float> sound(2 * std::size_t(seconds * kRate));
  player.RenderOffline(sound.data(), int(sound.size() / 2));
  return sound;
}

double RmsOf(const std::vector<float>& s, double from, double to) {
  return test::Rms(s, std::size_t(from * kRate), std::size_t(to * kRate));
}

long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

double SongSeconds(const std::string& name) {
  MidiSong song;
  std::string error;
  ReadMidiFile(test::ReadBytes(test::ShippedSong(name)), song, error);
  return song.lengthSeconds;
}

// How alike two stretches of sound are: 1 for the same waveform. `b` may lag
// `a` by up to one synthesizer block, where a newly started song begins.
double Correlation(const std::vector<float>& a, const std::vector<float>& b, double from, double to) {
  double best = -1;
  for (int lag = -64; lag <= 64; ++lag) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t f = std::size_t(from * kRate); f < std::size_t(to * kRate); ++f) {
      for (std::size_t c = 0; c < 2; ++c) {
        double x = a[2 * f + c], y = b[2 * std::size_t(long(f) + lag) + c];
        ab += x * y;
        aa += x * x;
        bb += y * y;
      }
    }
    best = std::max(best, ab / std::sqrt(aa * bb));
  }
  return best;
}

TEST(MusicPlayer, PlaysRepeatsAndReplacesSongs) {
  MusicPlayer player(Offline());
  player.OpenMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  ASSERT_TRUE(player.IsReady());
  EXPECT_EQ(player.MusicHandle(), 0);

  player.PlayMusic("設定");
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(player.CurrentSong(), "設定");
  EXPECT_EQ(player.MusicHandle(), 1);
  // It goes on past its end: the song starts over.
  const double length = SongSeconds("設定");
  std::vector<float> setup = Pull(player, length + 4.0);
  EXPECT_GT(RmsOf(setup, 0, 2), kAudible);
  EXPECT_GT(RmsOf(setup, length - 1, length), kAudible);
  EXPECT_GT(RmsOf(setup, length + 1, length + 4), kAudible);
  EXPECT_TRUE(player.IsPlaying());

  player.PlayMusic("決戦の町");
  EXPECT_EQ(player.CurrentSong(), "決戦の町");
  EXPECT_EQ(player.MusicHandle(), 2);
  std::vector<float> battle = Pull(player, 6.0);

  // Once the old song's last notes have faded, what plays is the new song
  // from its beginning, as the offline renderer hears it.
  MusicRenderOptions options;
  options.soundFont = test::kSmallSoundFont;
  options.loops = 0;
  options.maxSeconds = 6.0;
  RenderedMusic reference;
  std::string error;
  ASSERT_TRUE(RenderMusicFile(test::ShippedSong("決戦の町"), options, reference, error)) << error;
  EXPECT_GT(Correlation(battle, reference.samples, 3.0, 6.0), 0.95);
  EXPECT_LT(Correlation(setup, reference.samples, 3.0, 6.0), 0.5);
}

TEST(MusicPlayer, StopSilencesAndCloseReleases) {
  MusicPlayer player(Offline());
  player.OpenMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  player.PlayMusic("港町の攻防");
  EXPECT_GT(RmsOf(Pull(player, 1.0), 0, 1), kAudible);

  player.StopMusic();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.CurrentSong(), "");
  EXPECT_EQ(player.MusicHandle(), 1);  // the handle is not cleared
  std::vector<float> after = Pull(player, 3.0);
  EXPECT_LT(RmsOf(after, 2.5, 3.0), kSilent) << "the last notes fade out";

  // Stop then close, close twice, play after closing: all harmless.
  player.StopMusic();
  player.CloseMusic();
  player.CloseMusic();
  player.PlayMusic("設定");
  player.StopMusic();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_FALSE(player.IsReady());
  EXPECT_EQ(player.CurrentSong(), "");
  EXPECT_LT(test::Peak(Pull(player, 0.5)), kSilent);
}

TEST(MusicPlayer, CallsBeforeOpeningAreHarmless) {
  MusicPlayer player(Offline());
  player.StopMusic();
  player.PlayMusic("設定");
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.MusicHandle(), 0);
  EXPECT_EQ(test::Peak(Pull(player, 0.2)), 0.0);

  player.OpenMusic();
  player.OpenMusic();  // opened once only
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  player.PlayMusic("設定");
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(player.MusicHandle(), 1);

  MusicPlayer neverOpened(Offline());
  neverOpened.CloseMusic();
  neverOpened.OpenMusic();
  EXPECT_TRUE(neverOpened.WaitUntilLoaded(1s));
  EXPECT_FALSE(neverOpened.IsReady());
}

// The game's SoundFont takes a while to load; the window must not wait, and
// the song asked for meanwhile starts as soon as it can.
TEST(MusicPlayer, SongAskedForWhileLoadingStartsWhenReady) {
  const std::string soundFont = DefaultSoundFontPath();
  if (soundFont.empty()) GTEST_SKIP() << "no default General MIDI SoundFont installed";

  MusicPlayer player(Offline(soundFont));
  player.OpenMusic();
  player.PlayMusic("設定");
  player.PlayMusic("嵐の前夜");  // the last one asked for wins
  EXPECT_FALSE(player.IsReady()) << "OpenMusic returned before the SoundFont was read";
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.CurrentSong(), "嵐の前夜");

  ASSERT_TRUE(player.WaitUntilLoaded(60s));
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(player.CurrentSong(), "嵐の前夜");
  EXPECT_EQ(player.MusicHandle(), 1);  // the first request was never loaded
  EXPECT_GT(RmsOf(Pull(player, 3.0), 0, 3), kAudible);

  MusicPlayer cancelled(Offline(soundFont));
  cancelled.OpenMusic();
  cancelled.PlayMusic("設定");
  cancelled.StopMusic();
  ASSERT_TRUE(cancelled.WaitUntilLoaded(60s));
  EXPECT_TRUE(cancelled.IsReady());
  EXPECT_FALSE(cancelled.IsPlaying());
  EXPECT_EQ(cancelled.MusicHandle(), 0);
}

TEST(MusicPlayer, ClosingWhileLoadingWaitsForTheLoaderCleanly) {
  const std::string soundFont =
      DefaultSoundFontPath().empty() ? test::kSmallSoundFont : DefaultSoundFontPath();
  {
    MusicPlayer player(Offline(soundFont));
    player.OpenMusic();
    player.PlayMusic("設定");
  }  // destroyed mid-load
  MusicPlayer player(Offline(soundFont));
  player.OpenMusic();
  player.PlayMusic("設定");
  player.CloseMusic();
  EXPECT_FALSE(player.IsReady());
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.MusicHandle(), 0);
}

TEST(MusicPlayer, MissingSongStaysSilentAndSaysSoOnce) {
  MusicPlayer player(Offline());
  player.OpenMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  player.PlayMusic("オープニング");
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) player.PlayMusic("ない曲");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(player.IsPlaying()) << "the old song is gone";
  EXPECT_EQ(player.MusicHandle(), 1);
  EXPECT_LT(RmsOf(Pull(player, 3.0), 2.5, 3.0), kSilent);
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find("ない曲.mid"), std::string::npos) << err;

  player.PlayMusic("オープニング");  // and music comes back
  EXPECT_TRUE(player.IsPlaying());
}

TEST(MusicPlayer, BrokenFilesAndBadNamesStaySilent) {
  fs::path dir = test::FreshTempDir("broken");
  fs::create_directories(dir / "Music");
  std::vector<std::uint8_t> good = test::ReadBytes(test::ShippedSong("設定"));
  test::WriteBytes(dir / "Music/壊れた.mid", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
  test::WriteBytes(dir / "Music/途中.mid",
                   std::vector<std::uint8_t>(good.begin(), good.begin() + long(good.size() / 2)));
  test::WriteBytes(dir / "Music/空.mid", {});
  fs::create_directories(dir / "Music/フォルダ.mid");

  MusicPlayer player(Offline());
  player.OpenMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  {
    test::InFolder in(dir);
    testing::internal::CaptureStderr();
    for (const char* name : {"壊れた", "壊れた", "途中", "空", "../Music/設定", "フォルダ"}) {
      player.PlayMusic(name);
      EXPECT_FALSE(player.IsPlaying()) << name;
    }
    player.PlayMusic("");  // a scenario without music: silence, nothing to say
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(err), 5) << err;
    for (const char* name : {"壊れた.mid", "途中.mid", "空.mid", "../Music/設定", "フォルダ"})
      EXPECT_NE(err.find(name), std::string::npos) << err;
    EXPECT_EQ(player.MusicHandle(), 0);
    EXPECT_LT(test::Peak(Pull(player, 0.5)), kSilent);

    // Not in ./Music here: found in Music/ beside the program.
    player.PlayMusic("設定");
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_GT(RmsOf(Pull(player, 2.0), 0, 2), kAudible);
  }
  fs::remove_all(dir);
}

TEST(MusicPlayer, CurrentFolderComesBeforeTheFallbackFolder) {
  fs::path here = test::FreshTempDir("here");
  fs::path elsewhere = test::FreshTempDir("elsewhere");
  fs::create_directories(here / "Music");
  fs::copy_file(test::ShippedSong("嵐の前夜"), here / "Music/曲.mid");

  MusicOptions o = Offline();
  o.fallbackFolder = (elsewhere / "Music").string();
  MusicPlayer fromHere(o);
  fromHere.OpenMusic();
  ASSERT_TRUE(fromHere.WaitUntilLoaded(10s));
  {
    test::InFolder in(here);
    fromHere.PlayMusic("曲");
  }
  EXPECT_TRUE(fromHere.IsPlaying());

  o.fallbackFolder = (here / "Music").string();
  MusicPlayer fromFallback(o);
  fromFallback.OpenMusic();
  ASSERT_TRUE(fromFallback.WaitUntilLoaded(10s));
  testing::internal::CaptureStderr();
  {
    test::InFolder in(elsewhere);
    fromFallback.PlayMusic("曲");
    EXPECT_TRUE(fromFallback.IsPlaying());
    fromFallback.PlayMusic("設定");  // neither here nor in the fallback folder
    EXPECT_FALSE(fromFallback.IsPlaying());
  }
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find((here / "Music").string()), std::string::npos) << err;
  fs::remove_all(here);
  fs::remove_all(elsewhere);
}

TEST(MusicPlayer, NoSoundFontMeansSilenceAndOneLine) {
  fs::path dir = test::FreshTempDir("soundfonts");
  test::WriteBytes(dir / "garbage.sf2", std::vector<std::uint8_t>(4096, 0x5A));
  for (const fs::path& soundFont : {dir / "none.sf2", dir / "garbage.sf2"}) {
    testing::internal::CaptureStderr();
    MusicPlayer player(Offline(soundFont.string()));
    player.OpenMusic();
    ASSERT_TRUE(player.WaitUntilLoaded(10s));
    for (int i = 0; i < 3; ++i) player.PlayMusic("設定");
    EXPECT_FALSE(player.IsReady());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.MusicHandle(), 0);
    EXPECT_LT(test::Peak(Pull(player, 0.5)), kSilent);
    player.StopMusic();
    player.CloseMusic();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(err), 1) << err;
    EXPECT_NE(err.find("SoundFont"), std::string::npos) << err;
  }
  fs::remove_all(dir);
}

// A sound output that cannot be opened (as on a machine without a sound
// card) leaves the game silent, with one line saying so.
TEST(MusicPlayer, NoSoundOutputMeansSilenceAndOneLine) {
  MusicOptions o;
  o.soundFont = test::kSmallSoundFont;
  o.alsaDevice = "yuunagi-no-such-device";
  testing::internal::CaptureStderr();
  MusicPlayer player(o);
  player.OpenMusic();
  bool loaded = player.WaitUntilLoaded(10s);
  for (int i = 0; i < 3; ++i) player.PlayMusic("設定");
  bool ready = player.IsReady(), playing = player.IsPlaying();
  player.StopMusic();
  player.CloseMusic();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(loaded);
  EXPECT_FALSE(ready);
  EXPECT_FALSE(playing);
  EXPECT_EQ(player.MusicHandle(), 0);
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find("no audio output"), std::string::npos) << err;
}

// A real audio thread: ALSA's "null" device takes the sound as fast as the
// synthesizer makes it, while the window thread changes songs under it.
TEST(MusicPlayer, SongsChangeSafelyUnderARunningAudioThread) {
  MusicOptions o;
  o.soundFont = test::kSmallSoundFont;
  o.alsaDevice = "null";
  MusicPlayer player(o);
  player.OpenMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  if (!player.IsReady()) GTEST_SKIP() << "no ALSA null device";
  for (int i = 0; i < 40; ++i) {
    player.PlayMusic(test::kSongs[std::size_t(i) % test::kSongs.size()]);
    EXPECT_TRUE(player.IsPlaying());
    std::this_thread::sleep_for(5ms);
    if (i % 10 == 9) player.StopMusic();
  }
  EXPECT_EQ(player.MusicHandle(), 40);
  player.PlayMusic("設定");
  player.CloseMusic();  // with the song still playing
  EXPECT_FALSE(player.IsPlaying());
}

}  // namespace
}  // namespace yuunagi
