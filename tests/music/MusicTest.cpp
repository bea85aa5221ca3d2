// The shipped songs as FluidSynth plays them, the MIDI reader's check that
// keeps broken files from the synthesizer, and the music player.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "Score.h"
#include "SmfWriter.h"
#include "media/MidiFile.h"
#include "media/MusicPlayer.h"
#include "media/MusicRender.h"

namespace yuunagi {
namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

const std::vector<std::string> kSongs = {"オープニング", "設定", "決戦の町", "港町の攻防", "嵐の前夜"};
const std::string kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";  // small, so quick to load
constexpr double kAudible = 0.01, kSilent = 1e-3;                     // RMS of -40 and -60 dBFS
constexpr int kRate = 8000;  // for songs rendered to be measured: enough to hear they sound, and quick
// Middle C for one beat, half a second at the default tempo; two beats of rest.
const Bytes kOneNote = {0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
const Bytes kRest = {0x87, 0x40, 0xFF, 0x2F, 0x00};

// The copy of a song that the build puts in Music/ beside the program.
std::string Shipped(const std::string& song) {
  return fs::read_symlink("/proc/self/exe").parent_path() / "Music" / (song + ".mid");
}

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// A MIDI file of these tracks' events; its header may claim another number.
Bytes Smf(const std::vector<Bytes>& tracks, int format = 1, int division = 480, int claimed = -1) {
  const int n = claimed < 0 ? int(tracks.size()) : claimed;
  Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0};
  for (int v : {format, n >> 8, n, division >> 8, division}) out.push_back(std::uint8_t(v));
  for (const Bytes& t : tracks) {
    for (int v : std::initializer_list<int>{'M', 'T', 'r', 'k', 0, 0, int(t.size()) >> 8, int(t.size())})
      out.push_back(std::uint8_t(v));
    out.insert(out.end(), t.begin(), t.end());
  }
  return out;
}

// Why the reader refuses these bytes; empty when it takes them.
std::string Refusal(const Bytes& bytes) {
  MidiSong song;
  std::string error;
  return ReadMidiFile(bytes, song, error) ? "" : error;
}

// Root mean square of interleaved stereo sound between two times in seconds.
double Rms(const std::vector<float>& stereo, int rate, double from, double to) {
  const std::size_t a = 2 * std::size_t(from * rate), b = std::min(2 * std::size_t(to * rate), stereo.size());
  double sum = 0;
  for (std::size_t i = a; i < b; ++i) sum += double(stereo[i]) * stereo[i];
  return b > a ? std::sqrt(sum / double(b - a)) : 0;
}

// Each song is what its score gives, copied beside the program: General MIDI
// of 45 to 120 s at one tempo, nothing cut off by the loop. Rendered once,
// looping as in the game, to 2 s past its end, it is loud enough in every
// 5 s and every quarter second around the seam, and never clips.
TEST(Songs, AreWellFormedAndSoundAllTheWayAndAcrossTheLoop) {
  const fs::path assets = fs::path(YUUNAGI_SOURCE_DIR) / "assets/Music";
  for (const std::string& name : kSongs) {
    SCOPED_TRACE(name);
    const Bytes score = ReadBytes(assets / "scores" / (name + ".score")), bytes = ReadBytes(Shipped(name));
    EXPECT_TRUE(bytes == ReadBytes(assets / (name + ".mid")) &&
                bytes == music::WriteSmf(music::CompileScore(std::string(score.begin(), score.end()), name)))
        << "out of date: build the 'music' target";
    MidiSong song;
    std::string error;
    ASSERT_TRUE(ReadMidiFile(bytes, song, error)) << error;
    EXPECT_EQ(song.tempos.size(), 1u);
    EXPECT_TRUE(song.lengthSeconds >= 45 && song.lengthSeconds <= 120) << song.lengthSeconds << " s";
    EXPECT_EQ(song.unfinishedNotes, 0);
    for (const MidiNote& n : song.notes) {
      EXPECT_LE(n.end, song.lengthTicks);
      EXPECT_TRUE(n.channel == 9 || song.programs[std::size_t(n.channel)] >= 0) << "no instrument";
    }
    const double end = song.lengthSeconds + 2;
    RenderedMusic music;
    const MusicRenderOptions looping = {
        .soundFont = kSoundFont, .loops = 0, .maxSeconds = end, .sampleRate = kRate};
    ASSERT_TRUE(RenderMusicFile(Shipped(name), looping, music, error)) << error;
    for (auto [from, to, window] : {std::tuple(0.0, end - 2, 5.0), std::tuple(end - 4, end, 0.25)}) {
      for (double t = from; t + window <= to + 1e-9; t += window)
        EXPECT_GT(Rms(music.samples, kRate, t, t + window), kAudible) << "quiet at " << t << " s";
    }
    EXPECT_LT(std::abs(std::ranges::max(music.samples, {}, [](float s) { return std::abs(s); })), 0.99);
  }
}

Bytes Track(Bytes events) {
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  return Smf({events});
}

TEST(MidiFile, RefusesDamagedAndHostileFilesWithAReason) {
  Bytes pastTheEnd = Smf({kOneNote});
  pastTheEnd[21] = 0x7F;  // the track's length
  const std::tuple<const char*, Bytes, std::string> cases[] = {
      {"note-off as a running-status note-on", Track({0x00, 0x90, 64, 90, 0x83, 0x60, 64, 0}), ""},
      {"empty", {}, "not a MIDI file"},
      {"format 2", Smf({kOneNote}, 2), "format 2"},
      {"too many tracks", Smf({kOneNote}, 1, 480, 1000), "number of tracks"},
      {"SMPTE time", Smf({kOneNote}, 1, 0xE728), "time division"},
      {"zero division", Smf({kOneNote}, 1, 0), "time division"},
      {"missing track", Smf({kOneNote}, 1, 480, 2), "ends before track 2"},
      {"track runs past the end", pastTheEnd, "past the end"},
      {"no end of track", Smf({{0x00, 0x90, 60, 100}}), "no end-of-track marker"},
      {"five-byte delta", Track({0x81, 0x81, 0x81, 0x81, 0x01}), "delta time"},
      {"data before any status", Track({0x00, 60, 100}), "without a status"},
      {"data byte above 127", Track({0x00, 0x90, 0xC8, 100}), "out of range"},
      {"tempo of zero", Track({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}), "tempo of zero"},
      {"short tempo", Track({0x00, 0xFF, 0x51, 0x02, 1, 1}), "wrong length"},
      {"huge meta", Smf({{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}}), "broken meta"},
      {"huge sysex", Smf({{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F}}), "system exclusive"},
      {"system common message", Track({0x00, 0xF2, 0, 0}), "system message"},
      {"silent and endless loop", Track({}), "shorter than one beat"},
  };
  for (const auto& [what, bytes, why] : cases) {
    const std::string reason = Refusal(bytes);
    EXPECT_TRUE(why.empty() ? reason.empty() : reason.find(why) != std::string::npos)
        << what << ": " << reason;
  }
}

// Every truncation of a song is refused; copies with scrambled bytes are
// refused with a reason or are a beat long and play looping, as in the game.
TEST(MidiFile, RefusesTruncatedSongsAndTakesOnlyScrambledOnesThatPlay) {
  const Bytes original = ReadBytes(Shipped("嵐の前夜"));
  ASSERT_EQ(Refusal(original), "");
  for (std::size_t n = 0; n < original.size(); n += n < 2000 ? 1 : 7)
    EXPECT_NE(Refusal(Bytes(original.begin(), original.begin() + long(n))), "") << "cut at " << n;
  const fs::path file =
      fs::temp_directory_path() / ("yuunagi-scrambled-" + std::to_string(getpid()) + ".mid");
  std::mt19937 random(20240601);
  int taken = 0;
  for (int round = 0; round < 400; ++round) {
    Bytes bytes = original;
    for (int flip = 0; flip < 4; ++flip) bytes[random() % bytes.size()] = std::uint8_t(random());
    MidiSong song;
    std::string error;
    const bool read = ReadMidiFile(bytes, song, error);
    EXPECT_TRUE(read ? song.lengthTicks >= song.division : !error.empty());
    if (!read || ++taken > 8) continue;
    WriteBytes(file, bytes);
    RenderedMusic music;
    EXPECT_TRUE(RenderMusicFile(file, {kSoundFont, 0, 0.25, 0, kRate}, music, error)) << error;
  }
  EXPECT_GT(taken, 8);
  fs::remove(file);
}

// Sound pulled by the test, unless an ALSA device is named.
MusicOptions Options(const std::string& soundFont = kSoundFont, const std::string& alsaDevice = "") {
  return {soundFont, "", !alsaDevice.empty(), alsaDevice};
}

// Loudness of the last half second of the next `seconds` of sound.
double LoudnessAfter(MusicPlayer& player, double seconds) {
  std::vector<float> sound(2 * std::size_t(seconds * 44100));
  player.RenderOffline(sound.data(), int(sound.size() / 2));
  return Rms(sound, 44100, seconds - 0.5, seconds);
}

// A fresh current folder whose Music/ holds small songs, good and bad.
class MusicPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "Music/フォルダ.mid");
    fs::current_path(dir_);
    WriteBytes("Music/鳴る.mid", Smf({kOneNote}));
    WriteBytes("Music/静か.mid", Smf({kRest}));
    WriteBytes("Music/設定.mid", Smf({kRest}));
    WriteBytes("Music/壊れた.mid", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  fs::path previous_ = fs::current_path(),
           dir_ = fs::temp_directory_path() / ("yuunagi-player-" + std::to_string(getpid()));
};

// The SoundFont loads in the background; the last song asked for meanwhile
// starts once it is ready. Each song replaces the one before and repeats (one
// beat still sounds after six); ./Music comes before Music/ beside the
// program. Calls before opening, stopping or closing twice are harmless.
TEST_F(MusicPlayerTest, PlaysRepeatsReplacesAndStopsSongs) {
  MusicPlayer player(Options());
  player.PlayMusic("鳴る");
  player.StopMusic();
  player.OpenMusic();
  player.OpenMusic();
  player.PlayMusic("静か");
  player.PlayMusic("鳴る");
  EXPECT_FALSE(player.IsReady() || player.IsPlaying()) << "OpenMusic waited for the SoundFont";
  EXPECT_EQ(player.CurrentSong(), "鳴る");
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  const std::pair<std::string, bool> songs[] = {
      {"鳴る", true}, {"静か", false}, {"鳴る", true}, {"設定", false}, {"決戦の町", true}};
  for (int i = 0; i < 5; ++i) {
    const auto& [song, audible] = songs[i];
    if (i > 0) player.PlayMusic(song);
    EXPECT_TRUE(player.IsPlaying() && player.MusicHandle() == i + 1) << song;
    const double loudness = LoudnessAfter(player, 3.0);
    EXPECT_TRUE(audible ? loudness > kAudible : loudness < kSilent) << song << ": " << loudness;
  }
  player.StopMusic();
  EXPECT_TRUE(!player.IsPlaying() && player.CurrentSong().empty());
  EXPECT_EQ(player.MusicHandle(), 5);  // not cleared
  EXPECT_LT(LoudnessAfter(player, 3.0), kSilent) << "the last notes fade out";
  player.StopMusic();
  player.CloseMusic();
  player.CloseMusic();
  player.PlayMusic("鳴る");
  EXPECT_FALSE(player.IsPlaying() || player.IsReady());
  EXPECT_EQ(LoudnessAfter(player, 0.5), 0.0);
}

// A stop while the SoundFont loads cancels the song; closing the player waits
// for the loader. A missing or broken song or a bad name silences the music
// with one line, however often asked for; no music ("") says nothing.
TEST_F(MusicPlayerTest, CancelledAndBadSongsAreSilent) {
  MusicPlayer player(Options()), closed(Options());
  for (MusicPlayer* p : {&player, &closed}) {
    p->OpenMusic();
    p->PlayMusic("鳴る");
  }
  player.StopMusic();
  closed.CloseMusic();
  ASSERT_TRUE(player.WaitUntilLoaded(10s));
  EXPECT_TRUE(player.IsReady());
  EXPECT_FALSE(player.IsPlaying() || closed.IsPlaying() || closed.IsReady());
  EXPECT_EQ(player.MusicHandle() + closed.MusicHandle(), 0);
  player.PlayMusic("鳴る");
  const std::vector<std::string> bad = {"ない曲", "壊れた", "フォルダ", "../Music/鳴る"};
  testing::internal::CaptureStderr();
  for (const std::string& name : bad) {
    player.PlayMusic(name);
    player.PlayMusic(name);
  }
  player.PlayMusic("");
  EXPECT_FALSE(player.IsPlaying());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::ranges::count(err, '\n'), long(bad.size())) << err;
  for (const std::string& name : bad) EXPECT_NE(err.find(name), std::string::npos) << err;
  EXPECT_EQ(player.MusicHandle(), 1);
  EXPECT_LT(LoudnessAfter(player, 3.0), kSilent);
}

// Without a SoundFont or sound output the game is silent, and one line says
// why; ALSA's "null" device plays as songs change under its audio thread.
TEST_F(MusicPlayerTest, WithoutSoundFontOrOutputIsSilentWithOneLine) {
  WriteBytes("garbage.sf2", Bytes(4096, 0x5A));
  const std::pair<MusicOptions, std::string> cases[] = {
      {Options("none.sf2"), "no SoundFont at none.sf2"},
      {Options("garbage.sf2"), "cannot load the SoundFont"},
      {Options(kSoundFont, "yuunagi-no-such-device"), "no audio output"},
      {Options(kSoundFont, "null"), ""}};
  for (const auto& [options, why] : cases) {
    testing::internal::CaptureStderr();
    MusicPlayer player(options);
    player.OpenMusic();
    EXPECT_TRUE(player.WaitUntilLoaded(10s));
    for (int i = 0; i < 6; ++i) {
      player.PlayMusic(i % 2 ? "鳴る" : "決戦の町");
      std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(player.IsPlaying() && player.IsReady(), why.empty()) << why;
    EXPECT_EQ(player.MusicHandle(), why.empty() ? 6 : 0);
    EXPECT_EQ(LoudnessAfter(player, 0.5), 0.0);
    player.CloseMusic();  // with the song still playing
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::ranges::count(err, '\n'), why.empty() ? 0 : 1) << err;
    EXPECT_NE(err.find(why), std::string::npos) << err;
  }
}

}  // namespace
}  // namespace yuunagi
