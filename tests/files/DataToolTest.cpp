// The yuunagi-data tool, run as its own process on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <random>

#include "TestFiles.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct ToolRun {
  int status = -1;  // exit status; -1 when the tool did not exit by itself
  std::string out, err;
};

// Runs the tool with `args`, capturing what it prints.
ToolRun RunTool(const TempFolder& scratch, std::vector<std::string> args) {
  const fs::path outFile = scratch / ".stdout", errFile = scratch / ".stderr";
  args.insert(args.begin(), YUUNAGI_DATA_TOOL);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ToolRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(outFile);
  run.err = ReadBytes(errFile);
  fs::remove(outFile);
  fs::remove(errFile);
  return run;
}

Json ScenarioJson() {
  return Json::parse(R"({
    "StartTurn": 1,
    "Music": "戦闘1",
    "Description": "六つの地区が町を争う。～初級～",
    "DifficultyText": ["やさしい", "ふつう", "むずかしい", "ふつう", "やさしい", "鬼"],
    "StartOwner": [0, 1, 2, 3, 4, 5],
    "StartMoney": [100, 200, 300, 0, 32767, 10000],
    "StartSoldiers": [50, 60, 70, -1, 32767, -32768],
    "StartStrength": [10, 11, 12, 13, 14, 15],
    "StartWeapon": [1, 2, 3, 4, 5, 1],
    "StartDevelopment": [20, 30, 40, 50, 60, 1000]
  })");
}

Json SaveJson() {
  return Json::parse(R"({
    "TurnNumber": 12,
    "MusicName": "戦闘1",
    "ScenarioName": "初級",
    "Owner": [0, 1, 1, 3, 4, 5],
    "Money": [1, 2, 3, 4, 5, 6],
    "Soldiers": [1, 2, 3, 4, 5, 6],
    "Strength": [1, 2, 3, 4, 5, 6],
    "Weapon": [1, 2, 3, 4, 5, 5],
    "Development": [1, 2, 3, 4, 5, 6],
    "CurrentDistrict": 3,
    "PlayerOfFaction": [0, 2, 0, 1, 0, 0],
    "PlayerCount": 2
  })");
}

void WriteJson(const fs::path& file, const Json& json) { WriteBytes(file, json.dump(2)); }

TEST(DataTool, BuildsAndDumpsAScenario) {
  TempFolder dir;
  WriteJson(dir / "s.json", ScenarioJson());
  ToolRun build = RunTool(dir, {"build", (dir / "s.json").string(), "-o", (dir / "初級.dat").string()});
  ASSERT_EQ(build.status, 0) << build.err;
  EXPECT_EQ(build.err, "");
  EXPECT_EQ(fs::file_size(dir / "初級.dat"), 414u);
  EXPECT_EQ(ReadScenario(dir.path(), "初級")->Description, "六つの地区が町を争う。～初級～");

  ToolRun dump = RunTool(dir, {"dump", (dir / "初級.dat").string()});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Json::parse(dump.out), ScenarioJson());  // same keys, same order, same values

  // An upper-case extension is the same kind of file.
  build = RunTool(dir, {"build", (dir / "s.json").string(), "-o", (dir / "UPPER.DAT").string()});
  ASSERT_EQ(build.status, 0) << build.err;
  EXPECT_EQ(ReadBytes(dir / "UPPER.DAT"), ReadBytes(dir / "初級.dat"));
}

TEST(DataTool, BuildsAndDumpsASave) {
  TempFolder dir;
  WriteJson(dir / "g.json", SaveJson());
  const ToolRun build =
      RunTool(dir, {"build", (dir / "g.json").string(), "-o", (dir / "Save0.sav").string()});
  ASSERT_EQ(build.status, 0) << build.err;
  SaveRecord read;
  ASSERT_TRUE(AccessSaveSlot(dir.path(), 0, kReadSlot, read));
  EXPECT_EQ(read.ScenarioName, "初級");
  EXPECT_EQ(read.PlayerOfFaction[1], 2);
  const ToolRun dump = RunTool(dir, {"dump", (dir / "Save0.sav").string()});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Json::parse(dump.out), SaveJson());
}

TEST(DataTool, MissingKeysAreZeroOrEmpty) {
  TempFolder dir;
  WriteJson(dir / "s.json",
            Json::parse(R"({"StartOwner": [0, 1, 0, 1, 0, 1], "StartWeapon": [1, 1, 1, 1, 1, 1]})"));
  ASSERT_EQ(RunTool(dir, {"build", (dir / "s.json").string(), "-o", (dir / "m.dat").string()}).status, 0);
  const ScenarioRecord s = *ReadScenario(dir.path(), "m");
  EXPECT_EQ(s.StartTurn, 0);
  EXPECT_EQ(s.Music, "");
  EXPECT_EQ(s.StartMoney, (std::array<std::int16_t, 6>{}));

  WriteJson(dir / "g.json", Json::object());
  ASSERT_EQ(RunTool(dir, {"build", (dir / "g.json").string(), "-o", (dir / "e.sav").string()}).status, 0);
  EXPECT_EQ(ReadBytes(dir / "e.sav"), std::string(130, '\0').replace(2, 40, std::string(40, ' ')));
}

TEST(DataTool, BadInputIsOneLineAndWritesNothing) {
  TempFolder dir;
  const std::string old = "the old file stays as it was";
  WriteBytes(dir / "out.dat", old);
  WriteBytes(dir / "out.sav", old);
  struct Case {
    std::string what, json, out, expected;
  };
  const auto withScenario = [](const char* key, Json value) {
    Json j = ScenarioJson();
    j[key] = std::move(value);
    return j.dump();
  };
  const std::vector<Case> cases = {
      {"not JSON", "{\"StartTurn\": 1,", "out.dat", "JSON"},
      {"not an object", "[1, 2, 3]", "out.dat", "オブジェクト"},
      {"unknown key", withScenario("StartGold", 5), "out.dat", "\"StartGold\""},
      {"save key in a scenario", withScenario("PlayerCount", 1), "out.dat", "\"PlayerCount\""},
      {"wrong type", withScenario("StartTurn", "one"), "out.dat", "StartTurn"},
      {"not an integer", withScenario("StartTurn", 1.5), "out.dat", "StartTurn"},
      {"five districts", withScenario("StartMoney", Json::array({1, 2, 3, 4, 5})), "out.dat", "StartMoney"},
      {"outside int16", withScenario("StartMoney", Json::array({1, 2, 40000, 4, 5, 6})), "out.dat",
       "StartMoney(2)"},
      {"below int16", withScenario("StartTurn", -32769), "out.dat", "StartTurn"},
      {"text too long", withScenario("Music", "ユウナギ町争奪戦のテーマ"), "out.dat", "Music"},
      {"text not Shift-JIS", withScenario("Description", "\xF0\x9F\x8C\x8A"), "out.dat", "Description"},
      {"difficulty not text", withScenario("DifficultyText", Json::array({1, 2, 3, 4, 5, 6})), "out.dat",
       "DifficultyText(0)"},
      {"unplayable", withScenario("StartOwner", Json::array({0, 1, 9, 3, 4, 5})), "out.dat",
       "StartOwner(2) が 9"},
      {"scenario keys in a save", ScenarioJson().dump(), "out.sav", "\"StartTurn\""},
      {"unknown extension", ScenarioJson().dump(), "out.txt", ".dat"},
      {"folder missing", ScenarioJson().dump(), "no/such/out.dat", "no/such"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(dir / "in.json", c.json);
    const ToolRun run = RunTool(dir, {"build", (dir / "in.json").string(), "-o", (dir / c.out).string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // exactly one line
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadBytes(dir / "out.dat"), old);
  EXPECT_EQ(ReadBytes(dir / "out.sav"), old);
  EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"in.json", "out.dat", "out.sav"}));

  const ToolRun missing = RunTool(dir, {"dump", (dir / "gone.dat").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("gone.dat"), std::string::npos);
  fs::create_directory(dir / "folder.sav");
  EXPECT_EQ(RunTool(dir, {"check", (dir / "folder.sav").string()}).status, 1);
  EXPECT_EQ(RunTool(dir, {"build", (dir / "missing.json").string(), "-o", (dir / "x.dat").string()}).status,
            1);
  ASSERT_EQ(mkfifo((dir / "pipe.json").c_str(), 0644), 0);  // refused, never waited on
  EXPECT_EQ(RunTool(dir, {"build", (dir / "pipe.json").string(), "-o", (dir / "x.dat").string()}).status, 1);
  ASSERT_EQ(mkfifo((dir / "pipe.dat").c_str(), 0644), 0);
  EXPECT_EQ(RunTool(dir, {"dump", (dir / "pipe.dat").string()}).status, 1);
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
  EXPECT_EQ(RunTool(dir, {"frobnicate"}).status, 1);
  EXPECT_EQ(RunTool(dir, {}).status, 1);
}

TEST(DataTool, ChecksPlayability) {
  TempFolder dir;
  ScenarioRecord s = *[] {
    ScenarioRecord r;
    r.StartOwner = {0, 1, 2, 3, 4, 5};
    r.StartWeapon = {1, 1, 1, 1, 1, 1};
    return std::optional(r);
  }();
  ASSERT_TRUE(WriteScenarioFile(dir / "good.dat", s));
  s.StartOwner[3] = 9;
  ASSERT_TRUE(WriteScenarioFile(dir / "bad.dat", s));
  ToolRun run = RunTool(dir, {"check", (dir / "good.dat").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "OK\n");
  run = RunTool(dir, {"check", (dir / "bad.dat").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "StartOwner(3) が 9 です。勢力は 0～5 で指定してください。\n");
  EXPECT_EQ(run.out, "");

  WriteJson(dir / "g.json", SaveJson());
  ASSERT_EQ(RunTool(dir, {"build", (dir / "g.json").string(), "-o", (dir / "Save1.sav").string()}).status, 0);
  EXPECT_EQ(RunTool(dir, {"check", (dir / "Save1.sav").string()}).out, "OK\n");
  WriteBytes(dir / "Save2.sav", "");
  run = RunTool(dir, {"check", (dir / "Save2.sav").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("TurnNumber"), std::string::npos);
}

TEST(DataTool, HelpTellsHowTheKindIsChosen) {
  TempFolder dir;
  const ToolRun run = RunTool(dir, {"build", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("extension decides the kind"), std::string::npos) << run.out;
}

// Two hundred random and truncated files: the tool answers each in an orderly
// way and never changes the file it reads.
TEST(DataTool, SurvivesRandomAndTruncatedFiles) {
  TempFolder dir;
  std::mt19937_64 generator(414130);
  ScenarioRecord scenario;
  scenario.Description = "説明";
  scenario.StartOwner = {0, 1, 2, 3, 4, 5};
  scenario.StartWeapon = {1, 2, 3, 4, 5, 1};
  const std::string validScenario = EncodeScenario(scenario);
  const std::string validSave = EncodeSave(SaveRecord{});
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    const bool isSave = round % 2 == 1;
    std::string bytes;
    if (round % 4 < 2) {  // random bytes of any length up to a bit past the record
      bytes.resize(generator() % 600);
      for (char& b : bytes) b = static_cast<char>(generator() & 0xFF);
    } else {  // a valid record cut short
      const std::string& valid = isSave ? validSave : validScenario;
      bytes = valid.substr(0, generator() % (valid.size() + 1));
    }
    const fs::path file = dir / (isSave ? "f.SAV" : "f.dat");
    WriteBytes(file, bytes);
    for (const char* command : {"dump", "check"}) {
      const ToolRun run = RunTool(dir, {command, file.string()});
      EXPECT_TRUE(run.status == 0 || run.status == 1) << command << ": " << run.err;
      if (std::string(command) == "dump" && run.status == 0) {
        EXPECT_TRUE(Json::accept(run.out)) << run.out;
      }
    }
    EXPECT_EQ(ReadBytes(file), bytes);
    // Random bytes handed to build as JSON are refused in one line.
    WriteBytes(dir / "r.json", bytes);
    const ToolRun build = RunTool(dir, {"build", (dir / "r.json").string(), "-o", (dir / "r.dat").string()});
    EXPECT_EQ(build.status, 1);
    EXPECT_FALSE(fs::exists(dir / "r.dat"));
  }
}

TEST(DataTool, RendersASongToAWavFile) {
  TempFolder dir;
  const std::string song = std::string(YUUNAGI_SOURCE_DIR) + "/assets/Music/嵐の前夜.mid";
  const std::string soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (!fs::exists(soundfont)) GTEST_SKIP() << "TimGM6mb SoundFont not installed";
  ToolRun run =
      RunTool(dir, {"render-music", song, "-o", (dir / "song.wav").string(), "--soundfont", soundfont});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string wav = ReadBytes(dir / "song.wav");
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(8, 4), "WAVE");
  // 86 s of 16-bit stereo at 44.1 kHz or more.
  EXPECT_GT(wav.size(), 86u * 44100 * 4);

  WriteBytes(dir / "broken.mid", "MThd not really a song");
  run = RunTool(dir, {"render-music", (dir / "broken.mid").string(), "-o", (dir / "broken.wav").string(),
                      "--soundfont", soundfont});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err, "");
  EXPECT_FALSE(fs::exists(dir / "broken.wav"));
}

}  // namespace
}  // namespace yuunagi
