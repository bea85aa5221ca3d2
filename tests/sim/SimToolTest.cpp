// The simulator as a scenario author runs it: the shipped scenarios, the real
// binary, its output and exit status.
#include "TestFiles.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

using namespace testing;

ToolRun Sim(std::vector<std::string> args) { return RunTool(YUUNAGI_SIM, std::move(args)); }

std::string Shipped(const char* name) { return std::string(YUUNAGI_SCENARIO_DIR) + "/" + name + ".dat"; }

TEST(SimTool, ReportsTracesAndCutsGamesShort) {
  std::string json[2];  // the same seed gives the same games at any thread count; only the timing differs
  for (const int threads : {1, 2}) {
    const std::string out = Sim({Shipped("ユウナギの夕暮れ"), "--games", "300", "--seed", "9", "--threads",
                                 std::to_string(threads), "--json"})
                                .out;
    json[threads - 1] = out.substr(0, out.find("\"moves_per_second\"")) + out.substr(out.find("\"turns\""));
  }
  EXPECT_EQ(json[0], json[1]);
  EXPECT_NE(json[0].find("\"draws\":0,\"games\":300"), std::string::npos) << json[0];
  ToolRun run = Sim({Shipped("三つ巴の港"), "--games", "50", "--threads", "2"});
  for (const char* name : {"ヒノデ", "ソラノ", "ハナミ", "トコナ", "セリ", "ミオツ", "引き分け", "ターン数"})
    EXPECT_NE(run.out.find(name), std::string::npos) << name;
  EXPECT_EQ(run.err, "") << "no progress bar when stderr is not a terminal";
  run = Sim({Shipped("ユウナギの夕暮れ"), "--trace", "--seed", "3"});
  EXPECT_TRUE(run.out.starts_with("―― Turn 1 ――\n戦闘開始!!\n")) << run.out.substr(0, 200);
  for (const char* text : {"―― Turn 2 ――", "の戦略: ", "はユウナギ町を制圧した。】\n"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
  run = Sim({Shipped("ユウナギの夕暮れ"), "--games", "20", "--max-turns", "1", "--json"});
  EXPECT_NE(run.out.find("\"draws\":20,\"games\":20,\"moves\":120"), std::string::npos) << run.out;
}

// Usage errors exit 2, scenarios that cannot be played 1, each told in one
// line that names the tool; every limit is pinned from both sides.
TEST(SimTool, ExitStatusesAndMessages) {
  TempFolder dir;
  ScenarioRecord one = SampleScenario();
  one.StartOwner = {};  // every district held by faction 0
  ASSERT_TRUE(WriteScenarioFile(dir / "one.dat", one));
  const std::string good = Shipped("三つ巴の港");
  // clang-format off
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{good, "--seed", "18446744073709551615"}, 0}, {{good, "--seed", "0"}, 0},
      {{good, "--seed", "18446744073709551616"}, 2}, {{good, "--seed", "-1"}, 2}, {{good, "--seed", "1e3"}, 2},
      {{good, "--seed", "abc"}, 2}, {{good, "--seed", ""}, 2}, {{good, "--threads", "256"}, 0},
      {{good, "--threads", "257"}, 2}, {{good, "--games", "0"}, 2}, {{good, "--max-turns", "32768"}, 2},
      {{good, "--bogus"}, 2}, {{}, 2}, {{(dir / "one.dat").string()}, 1}, {{(dir / "missing.dat").string()}, 1},
      {{dir.path().string()}, 1}};
  // clang-format on
  for (auto [args, status] : cases) {
    args.insert(args.end(), {"--games", "2", "--json"});
    const ToolRun run = Sim(args);
    EXPECT_EQ(run.status, status) << ::testing::PrintToString(args) << run.err;
    if (status == 0) continue;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("yuunagi-sim: ") && run.err.find('\n') == run.err.size() - 1) << run.err;
  }
  EXPECT_EQ(Sim({"--version"}).out, "yuunagi-sim " YUUNAGI_VERSION "\n");
  const std::string help = Sim({"--help"}).out;
  EXPECT_TRUE(help.find("1 bad data") != std::string::npos &&
              help.find("2 a usage error") != std::string::npos);
}

}  // namespace
}  // namespace yuunagi
