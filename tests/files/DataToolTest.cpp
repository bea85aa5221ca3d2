// The yuunagi-data tool: its JSON in-process, and a few runs of the real
// binary for what only a process shows (exit statuses, messages, limits).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <random>

#include "DataCommands.h"
#include "TestFiles.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "media/MusicRender.h"

namespace yuunagi::data_tool {
namespace {

using namespace yuunagi::testing;

ToolRun Tool(std::vector<std::string> args, const std::function<void()>& prepare = {}) {
  return RunTool(YUUNAGI_DATA_TOOL, std::move(args), prepare);
}

// The DataError `run` throws, or "" when it throws none.
std::string DataErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const DataError& e) {
    return e.what();
  }
  return "";
}

TEST(DataTool, JsonRoundTripsAndMissingKeysAreZero) {
  EXPECT_EQ(ScenarioFromJson(ScenarioToJson(SampleScenario())), SampleScenario());
  EXPECT_EQ(SaveFromJson(SaveToJson(SampleSave())), SampleSave());
  EXPECT_TRUE(
      SaveToJson(SampleSave())
          .dump()
          .starts_with(
              R"({"TurnNumber":12,"MusicName":"戦闘1","ScenarioName":"初級","Owner":[0,1,1,3,4,5],)"));
  EXPECT_EQ(BuildRecordBytes(FileKind::Save, Json::object()), EncodeSave(SaveRecord{}));
  const Json partial =
      Json::parse(R"({"StartOwner": [0, 1, 0, 1, 0, 1], "StartWeapon": [1, 1, 1, 1, 1, 1]})");
  const ScenarioRecord s = DecodeScenario(BuildRecordBytes(FileKind::Scenario, partial));
  EXPECT_EQ(s.StartTurn, 0);
  EXPECT_EQ(s.Music, "");
  EXPECT_EQ(s.StartOwner[1], 1);
}

TEST(DataTool, BadJsonIsRefusedInOneLine) {
  const auto with = [](const char* key, Json value) {
    Json j = ScenarioToJson(SampleScenario());
    j[key] = std::move(value);
    return j.dump();
  };
  const std::vector<std::tuple<std::string, FileKind, std::string>> cases = {
      {"{\"StartTurn\": 1,", FileKind::Scenario, "JSON"},
      {"[1, 2, 3]", FileKind::Scenario, "オブジェクト"},
      {with("StartGold", 5), FileKind::Scenario, "\"StartGold\""},
      {with("PlayerCount", 1), FileKind::Scenario, "\"PlayerCount\""},
      {with("StartTurn", "one"), FileKind::Scenario, "StartTurn が \"one\""},
      {with("StartTurn", 1.5), FileKind::Scenario, "StartTurn が 1.5"},
      {with("StartMoney", Json::array({1, 2, 3, 4, 5})), FileKind::Scenario, "StartMoney は 6 つ"},
      {with("StartMoney", Json::array({1, 2, 32768, 4, 5, 6})), FileKind::Scenario, "StartMoney(2) が 32768"},
      {with("StartTurn", -32769), FileKind::Scenario, "StartTurn が -32769"},
      {with("Music", "ユウナギ町争奪戦のテーマ"), FileKind::Scenario, "Music の文字列が長すぎます"},
      {with("Description", "\xF0\x9F\x8C\x8A"), FileKind::Scenario, "Description にシフトJIS"},
      {with("DifficultyText", Json::array({1, 2, 3, 4, 5, 6})), FileKind::Scenario, "DifficultyText(0)"},
      {with("StartOwner", Json::array({0, 1, 9, 3, 4, 5})), FileKind::Scenario, "StartOwner(2) が 9"},
      {ScenarioToJson(SampleScenario()).dump(), FileKind::Save, "\"StartTurn\""},
  };
  for (const auto& [text, kind, expected] : cases) {
    const std::string error = DataErrorOf([&] { BuildRecordBytes(kind, ParseJson(text, "in.json")); });
    EXPECT_NE(error.find(expected), std::string::npos) << text << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  for (const int value : {-32768, 32767})
    EXPECT_NO_THROW(ScenarioFromJson(Json::parse(with("StartTurn", value))));
  // Random bytes are refused the same way, never with anything else.
  std::mt19937_64 generator(414130);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(generator() % 600, '\0');
    for (char& b : bytes)
      b = static_cast<char>(round % 2 ? generator() : "{}[]\":,0123 aA"[generator() % 14]);
    DataErrorOf(
        [&] { BuildRecordBytes(round % 3 ? FileKind::Save : FileKind::Scenario, ParseJson(bytes, "r")); });
  }
}

TEST(DataTool, ReadsOnlyPlainJsonFilesUpToOneMebibyte) {
  TempFolder dir;
  const std::string json = SaveToJson(SampleSave()).dump();
  WriteBytes(dir / "full.json", json + std::string(kLargestJson - json.size(), ' '));
  EXPECT_EQ(SaveFromJson(ReadJsonFile((dir / "full.json").string())), SampleSave());
  WriteBytes(dir / "over.json", json + std::string(kLargestJson - json.size() + 1, ' '));
  fs::create_directory(dir / "folder.json");
  ASSERT_EQ(mkfifo((dir / "pipe.json").c_str(), 0644), 0);  // refused, never waited on
  for (const auto& [name, expected] :
       std::vector<std::pair<std::string, std::string>>{{"over.json", "1048576"},
                                                        {"folder.json", "フォルダ"},
                                                        {"pipe.json", "普通のファイル"},
                                                        {"gone.json", "gone"}})
    EXPECT_NE(DataErrorOf([&] { ReadJsonFile((dir / name).string()); }).find(expected), std::string::npos)
        << name;
}

// A song of `ticks` beats of one second each: 35 bytes whatever its length.
std::string SongOfSeconds(int ticks) {
  std::string song("MThd\0\0\0\6\0\0\0\1\0\1MTrk\0\0\0\15\0\xFF\x51\3\x0F\x42\x40", 29);
  song += {static_cast<char>(0x80 | ticks >> 14), static_cast<char>(0x80 | ((ticks >> 7) & 0x7F)),
           static_cast<char>(ticks & 0x7F)};
  return song + std::string("\xFF\x2F\0", 3);
}

TEST(DataTool, RendersSongsOfAtMostHalfAnHour) {
  TempFolder dir;
  for (const int seconds : {1800, 1801, 36000}) {
    WriteBytes(dir / "song.mid", SongOfSeconds(seconds));
    RenderedMusic music;
    std::string error;
    MusicRenderOptions options;
    options.soundFont = (dir / "none.sf2").string();  // a song allowed goes on to fail here, unrendered
    EXPECT_FALSE(RenderMusicFile((dir / "song.mid").string(), options, music, error));
    EXPECT_NE(error.find(seconds > 1800 ? "30 minutes" : "SoundFont"), std::string::npos) << error;
  }
  const std::string soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (!fs::exists(soundfont)) GTEST_SKIP() << "TimGM6mb SoundFont not installed";
  WriteBytes(dir / "short.mid", SongOfSeconds(2));
  const ToolRun run = Tool({"render-music", (dir / "short.mid").string(), "-o", (dir / "s.wav").string(),
                            "--soundfont", soundfont});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string wav = ReadBytes(dir / "s.wav");
  EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 4), "RIFFWAVE");
  EXPECT_GT(wav.size(), 44u + 2 * 44100 * 4);  // more than the two seconds of fading tail
}

TEST(DataTool, BuildsDumpsAndChecksRealFiles) {
  TempFolder dir;
  WriteBytes(dir / "s.json", ScenarioToJson(SampleScenario()).dump(2));
  ToolRun run = Tool({"build", (dir / "s.json").string(), "-o", (dir / "初級.DAT").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir / "初級.DAT"), EncodeScenario(SampleScenario()));
  run = Tool({"dump", (dir / "初級.DAT").string()});
  EXPECT_EQ(Json::parse(run.out), ScenarioToJson(SampleScenario()));
  EXPECT_EQ(Tool({"check", (dir / "初級.DAT").string()}).out, "OK\n");
}

// Usage errors exit 2, bad data 1, each told in one line that names the tool.
TEST(DataTool, ExitStatusesAndMessages) {
  TempFolder dir;
  WriteBytes(dir / "s.json", ScenarioToJson(SampleScenario()).dump());
  WriteBytes(dir / "bad.json", "{");
  WriteBytes(dir / "Save1.sav", "");
  const std::string in = (dir / "s.json").string(), out = (dir / "out.dat").string();
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
      {{}, 2, "subcommand"},
      {{"frobnicate"}, 2, "frobnicate"},
      {{"dump"}, 2, "FILE"},
      {{"build", in}, 2, "--output"},
      {{"build", in, "-o", (dir / "out.txt").string()}, 2, ".dat"},
      {{"dump", (dir / "x.json").string()}, 2, "x.json"},
      {{"build", (dir / "bad.json").string(), "-o", out}, 1, "JSON"},
      {{"build", in, "-o", (dir / "no/such/out.dat").string()}, 1, "no/such"},
      {{"dump", (dir / "gone.sav").string()}, 1, "gone.sav"},
      {{"check", (dir / "Save1.sav").string()}, 1, "TurnNumber が 0"},
  };
  for (const auto& [args, status, expected] : cases) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, status) << expected;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("yuunagi-data: ")) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
  }
  EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"Save1.sav", "bad.json", "s.json"}));
  ToolRun run = Tool({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "yuunagi-data " YUUNAGI_VERSION "\n");
  run = Tool({"build", "--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* text : {"extension decides the kind", "Description[200 bytes]", "1048576"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
  run = Tool({"--help"});
  EXPECT_NE(run.out.find("1 bad data"), std::string::npos);
  EXPECT_NE(run.out.find("2 a usage error"), std::string::npos);
  // A file-size limit fails the write like a full disk: the old file stays, nothing is left behind.
  WriteBytes(out, "old");
  run = Tool({"build", in, "-o", out}, [] {
    signal(SIGXFSZ, SIG_DFL);
    const rlimit small{100, 100};
    setrlimit(RLIMIT_FSIZE, &small);
  });
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.starts_with("yuunagi-data: ")) << run.err;
  EXPECT_EQ(ReadBytes(out), "old");
  EXPECT_EQ(FolderEntries(dir.path()),
            (std::vector<std::string>{"Save1.sav", "bad.json", "out.dat", "s.json"}));
}

}  // namespace
}  // namespace yuunagi::data_tool
