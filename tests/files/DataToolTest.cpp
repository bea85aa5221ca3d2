// The yuunagi-data tool: its JSON in-process, and a few runs of the real
// binary for what only a process shows (exit statuses, messages, limits).
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

TEST(DataTool, JsonIsBuiltOrRefusedInOneLine) {
  const auto with = [](const char* key, Json value) {
    Json j = ScenarioToJson(SampleScenario());
    j[key] = std::move(value);
    return j.dump();
  };
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\"StartTurn\": 1,", "JSON"}, {"[1, 2, 3]", "オブジェクト"}, {with("StartGold", 5), "\"StartGold\""},
      {with("PlayerCount", 1), "\"PlayerCount\""}, {with("StartTurn", "one"), "StartTurn が \"one\""},
      {with("StartTurn", 1.5), "StartTurn が 1.5"}, {with("StartTurn", -32769), "StartTurn が -32769"},
      {with("StartMoney", Json::array({1, 2, 3, 4, 5})), "StartMoney は 6 つ"},
      {with("StartMoney", Json::array({1, 2, 32768, 4, 5, 6})), "StartMoney(2) が 32768"},
      {with("Music", "ユウナギ町争奪戦のテーマ"), "Music の文字列が長すぎます"},
      {with("Description", "\xF0\x9F\x8C\x8A"), "Description にシフトJIS"},
      {with("DifficultyText", Json::array({1, 2, 3, 4, 5, 6})), "DifficultyText(0)"},
      {with("StartOwner", Json::array({0, 1, 9, 3, 4, 5})), "StartOwner(2) が 9"}};
  // clang-format on
  for (const auto& [text, expected] : cases) {
    const std::string error =
        DataErrorOf([&] { BuildRecordBytes(FileKind::Scenario, ParseJson(text, "in")); });
    EXPECT_TRUE(error.find(expected) != std::string::npos && error.find('\n') == std::string::npos) << error;
  }
  for (const int value : {-32768, 32767})
    EXPECT_NO_THROW(ScenarioFromJson(Json::parse(with("StartTurn", value))));
  const std::string scenario = ScenarioToJson(SampleScenario()).dump();
  EXPECT_NE(DataErrorOf([&] { BuildRecordBytes(FileKind::Save, ParseJson(scenario, "in")); }), "");
  EXPECT_EQ(BuildRecordBytes(FileKind::Save, Json::object()),
            EncodeSave(SaveRecord{}));  // keys left out: 0, ""
  const std::string keys =
      R"({"TurnNumber":12,"MusicName":"戦闘1","ScenarioName":"初級","Owner":[0,1,1,3,4,5],)";
  EXPECT_TRUE(SaveToJson(SampleSave()).dump().starts_with(keys));
}

TEST(DataTool, ReadsJsonFilesUpToOneMebibyte) {
  TempFolder dir;
  const std::string json = SaveToJson(SampleSave()).dump();
  WriteBytes(dir / "full.json", json + std::string(kLargestJson - json.size(), ' '));
  EXPECT_EQ(SaveFromJson(ReadJsonFile((dir / "full.json").string())), SampleSave());
  WriteBytes(dir / "over.json", json + std::string(kLargestJson - json.size() + 1, ' '));
  EXPECT_NE(DataErrorOf([&] { ReadJsonFile((dir / "over.json").string()); }).find("1048576"),
            std::string::npos);
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
  const std::string song = (dir / "song.mid").string(), wav = (dir / "s.wav").string();
  for (const int seconds : {1800, 1801, 36000}) {
    WriteBytes(song, SongOfSeconds(seconds));
    RenderedMusic music;
    std::string error;
    MusicRenderOptions options;
    options.soundFont = (dir / "none.sf2").string();  // a song allowed goes on to fail here, unrendered
    EXPECT_FALSE(RenderMusicFile(song, options, music, error));
    EXPECT_NE(error.find(seconds > 1800 ? "30 minutes" : "SoundFont"), std::string::npos) << error;
  }
  const std::string soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  if (!fs::exists(soundfont)) GTEST_SKIP() << "TimGM6mb SoundFont not installed";
  const ToolRun refused = Tool({"render-music", song, "-o", wav, "--soundfont", soundfont});
  EXPECT_TRUE(refused.status == 1 && refused.err.starts_with("yuunagi-data: render-music: ")) << refused.err;
  WriteBytes(song, SongOfSeconds(2));
  ASSERT_EQ(Tool({"render-music", song, "-o", wav, "--soundfont", soundfont}).status, 0);
  EXPECT_EQ(ReadBytes(wav).substr(8, 4), "WAVE");
  EXPECT_GT(fs::file_size(wav), 44u + 2 * 44100 * 4);  // more than the two seconds of fading tail
}

// Usage errors exit 2, bad data 1, each told in one line that names the tool.
TEST(DataTool, ExitStatusesAndMessages) {
  TempFolder dir;
  WriteBytes(dir / "s.json", ScenarioToJson(SampleScenario()).dump());
  WriteBytes(dir / "bad.json", "{");
  WriteBytes(dir / "Save1.sav", EncodeSave(SaveRecord{}));  // a whole record of an empty slot
  const std::string in = (dir / "s.json").string(), out = (dir / "out.dat").string(),
                    dat = (dir / "初級.DAT").string();
  ASSERT_EQ(Tool({"build", in, "-o", dat}).status, 0);  // any letter case
  EXPECT_EQ(Json::parse(Tool({"dump", dat}).out), ScenarioToJson(SampleScenario()));
  EXPECT_EQ(Tool({"check", dat}).out, "OK\n");
  // clang-format off
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
      {{}, 2, "subcommand"}, {{"frobnicate"}, 2, "frobnicate"}, {{"build", in}, 2, "--output"},
      {{"dump", (dir / "x.json").string()}, 2, "x.json"}, {{"build", (dir / "bad.json").string(), "-o", out}, 1, "JSON"},
      {{"build", in, "-o", (dir / "no/such/out.dat").string()}, 1, "no/such"},
      {{"dump", (dir / "gone.sav").string()}, 1, "gone.sav"}, {{"check", (dir / "Save1.sav").string()}, 1, "TurnNumber が 0"}};
  // clang-format on
  for (const auto& [args, status, expected] : cases) {
    const ToolRun run = Tool(args);
    EXPECT_TRUE(run.status == status && run.out.empty() && run.err.starts_with("yuunagi-data: ")) << run.err;
    EXPECT_TRUE(run.err.find(expected) != std::string::npos && run.err.find('\n') == run.err.size() - 1)
        << run.err;
  }
  EXPECT_EQ(Tool({"--version"}).out, "yuunagi-data " YUUNAGI_VERSION "\n");
  const std::string help = Tool({"--help"}).out + Tool({"build", "--help"}).out;
  for (const char* text :
       {"1 bad data", "2 a usage error", "extension decides", "Description[200 bytes]", "1048576"})
    EXPECT_NE(help.find(text), std::string::npos) << text;
  // A file-size limit fails the write like a full disk: the old file stays, nothing is left behind.
  WriteBytes(out, "old");
  const ToolRun run = Tool({"build", in, "-o", out}, [] {
    signal(SIGXFSZ, SIG_DFL);
    const rlimit small{100, 100};
    setrlimit(RLIMIT_FSIZE, &small);
  });
  EXPECT_TRUE(run.status == 1 && run.err.starts_with("yuunagi-data: ")) << run.status << run.err;
  EXPECT_EQ(ReadBytes(out), "old");
  EXPECT_EQ(FolderEntries(dir.path()),
            (std::vector<std::string>{"Save1.sav", "bad.json", "out.dat", "s.json", "初級.DAT"}));
}

// A file shorter than its record fails the check; a longer one is checked up
// to the record, with a note on stderr.
TEST(DataTool, ChecksFilesOfEverySize) {
  TempFolder dir;
  const std::string scenario = (dir / "s.dat").string(), save = (dir / "Save0.sav").string();
  // clang-format off
  const std::vector<std::tuple<std::string, std::uintmax_t, int, std::string>> cases = {
      {scenario, 413, 1, "413 バイトしかなく"}, {scenario, 414, 0, ""}, {scenario, 415, 0, "415 バイトあり"},
      {scenario, std::uintmax_t{2} << 30, 0, "2147483648 バイトあり"}, {save, 129, 1, "129 バイトしかなく"},
      {save, 130, 0, ""}, {save, 131, 0, "131 バイトあり"}};
  // clang-format on
  for (const auto& [file, size, status, said] : cases) {
    WriteBytes(file, file == save ? EncodeSave(SampleSave()) : EncodeScenario(SampleScenario()));
    ASSERT_EQ(truncate(file.c_str(), static_cast<off_t>(size)), 0);
    const ToolRun run = Tool({"check", file});
    EXPECT_EQ(run.status, status) << size;
    EXPECT_EQ(run.out, status == 0 ? "OK\n" : "");
    const std::string start = "yuunagi-data: 「" + file + "」 は " + said;
    EXPECT_TRUE(said.empty() ? run.err.empty() : run.err.starts_with(start) && run.err.ends_with("。\n"))
        << run.err;
  }
}

}  // namespace
}  // namespace yuunagi::data_tool
