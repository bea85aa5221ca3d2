// Where the game finds its data and keeps the player's files, on real folder
// trees: a build folder, portable and installed copies, --data-dir.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "files/DataFolders.h"
#include "files/ScenarioFile.h"

using namespace yuunagi;
namespace fs = std::filesystem;

namespace {

class DataFolders : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("yuunagi-folders-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    setenv("XDG_DATA_HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_DATA_DIRS", ("relative:" + (root_ / "system").string()).c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path At(const std::string& path) const { return path.empty() ? fs::path() : root_ / path; }
  void Scenario(const std::string& file, const std::string& description) const {
    ScenarioRecord record;
    record.Description = description;
    fs::create_directories(At(file).parent_path());
    ASSERT_TRUE(WriteScenarioFile(At(file), record));
  }
  fs::path root_;
};

struct Layout {
  const char* what;
  std::vector<std::string> folders;
  std::string program, dataDir, data, save;
  std::vector<std::string> scenarios;
};

TEST_F(DataFolders, AreFoundFromWhereTheProgramIs) {
  const Layout layouts[] = {
      {"build folder", {"bin/Picture", "bin/Save"}, "bin", "", "bin", "bin/Save", {"bin/Scenario"}},
      {"portable copy without Save",
       {"bin/Picture"},
       "bin",
       "",
       "bin",
       "home/yuunagi/Save",
       {"home/yuunagi/Scenario", "bin/Scenario"}},
      {"installed",
       {"usr/bin", "usr/share/yuunagi/Picture", "system/yuunagi/Picture"},
       "usr/bin",
       "",
       "usr/share/yuunagi",
       "home/yuunagi/Save",
       {"home/yuunagi/Scenario", "usr/share/yuunagi/Scenario"}},
      {"XDG_DATA_DIRS",
       {"opt/game", "system/yuunagi/Picture"},
       "opt/game",
       "",
       "system/yuunagi",
       "home/yuunagi/Save",
       {"home/yuunagi/Scenario", "system/yuunagi/Scenario"}},
      {"XDG_DATA_HOME before XDG_DATA_DIRS",
       {"opt/game", "home/yuunagi/Picture", "system/yuunagi/Picture"},
       "opt/game",
       "",
       "home/yuunagi",
       "home/yuunagi/Save",
       {"home/yuunagi/Scenario"}},
      {"nowhere",
       {"opt/game"},
       "opt/game",
       "",
       "opt/game",
       "home/yuunagi/Save",
       {"home/yuunagi/Scenario", "opt/game/Scenario"}},
      {"--data-dir",
       {"bin/Picture", "bin/Save", "mine/Save"},
       "bin",
       "mine",
       "mine",
       "mine/Save",
       {"mine/Scenario"}},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.what);
    fs::remove_all(root_);
    for (const std::string& folder : layout.folders) fs::create_directories(At(folder));
    const GameFolders found = FindGameFolders(At(layout.program), At(layout.dataDir));
    EXPECT_EQ(found.data, At(layout.data));
    EXPECT_EQ(found.save, At(layout.save));
    std::vector<fs::path> scenarios;
    for (const std::string& folder : layout.scenarios) scenarios.push_back(At(folder));
    EXPECT_EQ(found.scenarios, scenarios);
  }
}

TEST_F(DataFolders, ListThePlayersScenariosWithTheGamesOnceEachThePlayersFirst) {
  Scenario("game/b.dat", "the game's b");
  Scenario("game/a.dat", "the game's a");
  Scenario("game/C.DAT", "the game's C");
  Scenario("own/b.dat", "the player's b");
  Scenario("own/0.dat", "the player's 0");
  fs::create_directories(At("own/a.dat"));  // a folder is no scenario: the game's a is read
  const std::vector<fs::path> folders = {At("own"), At("game")};
  EXPECT_EQ(ListScenarios(folders), (std::vector<std::string>{"0", "C", "a", "b"}));
  EXPECT_EQ(ReadScenario(folders, "b")->Description, "the player's b");
  EXPECT_EQ(ReadScenario(folders, "a")->Description, "the game's a");
  EXPECT_EQ(ReadScenario(folders, "C")->Description, "the game's C");
  std::string error;
  EXPECT_FALSE(ReadScenario(folders, "d", &error));
  EXPECT_NE(error.find((At("game") / "d.dat").string()), std::string::npos) << error;
}

}  // namespace
