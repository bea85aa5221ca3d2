// Where the game finds its data and keeps the player's files, on real folder
// trees: a build folder, portable and installed copies, --data-dir.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "files/DataFolders.h"
#include "files/ScenarioFile.h"

using namespace yuunagi;
namespace fs = std::filesystem;

namespace {

class DataFolders : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(root_);
    setenv("XDG_DATA_HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_DATA_DIRS", ("relative:" + (root_ / "system").string()).c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root_); }
  // A list of folders below the test's own, "~" for the player's, "-" for none.
  std::vector<fs::path> Paths(const std::string& list) const {
    std::vector<fs::path> paths;
    std::istringstream words(list);
    for (std::string word; words >> word;) {
      if (word.starts_with('~')) word = "home/yuunagi" + word.substr(1);
      paths.push_back(word == "-" ? fs::path() : root_ / word);
    }
    return paths;
  }
  const fs::path root_ = fs::temp_directory_path() / ("yuunagi-folders-" + std::to_string(getpid()));
};

TEST_F(DataFolders, AreFoundFromWhereTheProgramIs) {
  // folders there | program | --data-dir | data | saves | scenarios, the winner first
  const char* const layouts[][6] = {
      {"bin/Picture bin/Save", "bin", "-", "bin", "bin/Save", "bin/Scenario"},  // the build folder
      {"bin/Picture", "bin", "-", "bin", "~/Save", "~/Scenario bin/Scenario"},  // a copy without Save
      {"usr/bin usr/share/yuunagi/Picture system/yuunagi/Picture", "usr/bin", "-", "usr/share/yuunagi",
       "~/Save", "~/Scenario usr/share/yuunagi/Scenario"},
      {"opt system/yuunagi/Picture", "opt", "-", "system/yuunagi", "~/Save",
       "~/Scenario system/yuunagi/Scenario"},
      {"opt ~/Picture system/yuunagi/Picture", "opt", "-", "~", "~/Save", "~/Scenario"},
      {"opt", "opt", "-", "opt", "~/Save", "~/Scenario opt/Scenario"},  // nowhere: where it looked first
      {"bin/Picture bin/Save mine/Save", "bin", "mine", "mine", "mine/Save", "mine/Scenario"},
  };
  for (const auto& row : layouts) {
    SCOPED_TRACE(row[0]);
    fs::remove_all(root_);
    for (const fs::path& folder : Paths(row[0])) fs::create_directories(folder);
    const GameFolders found = FindGameFolders(Paths(row[1])[0], Paths(row[2])[0]);
    EXPECT_EQ(found.data, Paths(row[3])[0]);
    EXPECT_EQ(found.save, Paths(row[4])[0]);
    EXPECT_EQ(found.scenarios, Paths(row[5]));
  }
}

TEST_F(DataFolders, ListThePlayersScenariosWithTheGamesOnceEachThePlayersFirst) {
  for (const std::string file : {"game/b.dat", "game/a.dat", "game/C.DAT", "own/b.dat", "own/0.dat"}) {
    ScenarioRecord record;
    record.Description = file;
    fs::create_directories((root_ / file).parent_path());
    ASSERT_TRUE(WriteScenarioFile(root_ / file, record));
  }
  fs::create_directories(root_ / "own/a.dat");  // a folder is no scenario: the game's a is read
  const std::vector<fs::path> folders = Paths("own game");
  EXPECT_EQ(ListScenarios(folders), (std::vector<std::string>{"0", "C", "a", "b"}));
  for (const auto& [name, file] : {std::pair{"b", "own/b.dat"}, {"a", "game/a.dat"}, {"C", "game/C.DAT"}})
    EXPECT_EQ(ReadScenario(folders, name)->Description, file);
  std::string error;
  EXPECT_FALSE(ReadScenario(folders, "d", &error));
  EXPECT_NE(error.find((root_ / "game/d.dat").string()), std::string::npos) << error;
}

}  // namespace
