// The simulator as a scenario author runs it: real scenario files, the real
// binary, its output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "files/ScenarioFile.h"

namespace {

namespace fs = std::filesystem;

struct SimRun {
  int status = -1;
  std::string out;
};

// A path in single quotes for the shell (built by appending: GCC 12 warns
// wrongly about operator+ on a literal and a temporary string).
std::string Quoted(const std::string& path) {
  std::string q;
  q.reserve(path.size() + 2);
  q += '\'';
  q += path;
  q += '\'';
  return q;
}

// Runs the simulator through the shell, stdout captured, stderr to a file.
SimRun Sim(const std::string& args, const fs::path& errFile) {
  const std::string command = Quoted(YUUNAGI_SIM) + " " + args + " 2>" + Quoted(errFile.string());
  SimRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SimTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("yuunagi-sim-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    err = dir / "stderr.txt";
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Scenario(const char* name) {
    return Quoted(std::string(YUUNAGI_SCENARIO_DIR) + "/" + name + ".dat");
  }

  fs::path dir, err;
};

TEST_F(SimTool, SameSeedGivesTheSameResultAtAnyThreadCount) {
  const SimRun one = Sim(Scenario("ユウナギの夕暮れ") + " --games 300 --seed 9 --threads 1 --json", err);
  const SimRun two = Sim(Scenario("ユウナギの夕暮れ") + " --games 300 --seed 9 --threads 2 --json", err);
  ASSERT_EQ(one.status, 0);
  ASSERT_EQ(two.status, 0);
  const auto strip = [](const std::string& json) {  // timing differs, the games do not
    return json.substr(0, json.find("\"moves_per_second\"")) + json.substr(json.find("\"turns\""));
  };
  EXPECT_EQ(strip(one.out), strip(two.out));
  EXPECT_NE(one.out.find("\"games\":300"), std::string::npos);
  EXPECT_NE(one.out.find("\"draws\":0"), std::string::npos);
}

TEST_F(SimTool, PlainReportNamesEveryFaction) {
  const SimRun run = Sim(Scenario("三つ巴の港") + " --games 50 --threads 2", err);
  ASSERT_EQ(run.status, 0);
  for (const char* name :
       {"ヒノデ", "ソラノ", "ハナミ", "トコナ", "セリ", "ミオツ", "引き分け", "ターン数"}) {
    EXPECT_NE(run.out.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(ReadAll(err), "") << "no progress bar when stderr is not a terminal";
}

TEST_F(SimTool, TracePrintsTurnsAndMovesToTheVictory) {
  const SimRun run = Sim(Scenario("ユウナギの夕暮れ") + " --trace --seed 3", err);
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("―― Turn 1 ――\n戦闘開始!!\n", 0), 0u) << run.out.substr(0, 200);
  EXPECT_NE(run.out.find("―― Turn 2 ――"), std::string::npos);
  EXPECT_NE(run.out.find("の戦略: "), std::string::npos);
  EXPECT_NE(run.out.find("はユウナギ町を制圧した。】\n"), std::string::npos);
}

TEST_F(SimTool, MaxTurnsCutsGamesShortAsDraws) {
  const SimRun run = Sim(Scenario("ユウナギの夕暮れ") + " --games 20 --max-turns 1 --json", err);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"draws\":20"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"moves\":120"), std::string::npos) << run.out;
}

TEST_F(SimTool, UnplayableOrUnreadableScenariosAreRefused) {
  yuunagi::ScenarioRecord one;
  one.StartWeapon = {1, 1, 1, 1, 1, 1};  // every district held by faction 0
  ASSERT_TRUE(yuunagi::WriteScenarioFile(dir / "one.dat", one));
  SimRun run = Sim(Quoted((dir / "one.dat").string()), err);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(ReadAll(err), "");

  run = Sim(Quoted((dir / "missing.dat").string()), err);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(ReadAll(err).find("missing.dat"), std::string::npos);

  run = Sim(Quoted(dir.string()), err);  // a folder, not a file
  EXPECT_EQ(run.status, 1);
}

TEST_F(SimTool, RandomBytesNeverCrashOrHang) {
  std::mt19937 gen(12345);
  for (int i = 0; i < 40; ++i) {
    std::string bytes(std::uniform_int_distribution<int>(0, 500)(gen), '\0');
    for (char& c : bytes) c = static_cast<char>(gen());
    // Now and then a playable start table with random amounts.
    if (i % 4 == 0 && bytes.size() >= 414) {
      for (int d = 0; d < 6; ++d) {
        bytes[342 + 2 * d] = static_cast<char>(d);
        bytes[343 + 2 * d] = 0;
        bytes[390 + 2 * d] = 1;
        bytes[391 + 2 * d] = 0;
      }
    }
    const fs::path file = dir / "random.dat";
    std::ofstream(file, std::ios::binary) << bytes;
    const SimRun run = Sim(Quoted(file.string()) + " --games 4 --max-turns 200 --json", err);
    EXPECT_TRUE(run.status == 0 || run.status == 1) << "input " << i;
    if (run.status == 0) {
      EXPECT_NE(run.out.find("\"games\":4"), std::string::npos);
    }
  }
}

}  // namespace
