// Scenario files on a real disk: writing and reading them back, listing the
// scenario folder, and the messages for scenarios that cannot be read.
#include "files/ScenarioFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "TestFiles.h"
#include "media/Text.h"

namespace yuunagi {
namespace {

using namespace testing;
using Names = std::vector<std::string>;

TEST(ScenarioFile, RoundTripsThroughARealFile) {
  TempFolder folder;
  ScenarioRecord s = SampleScenario();
  std::string error;
  ASSERT_TRUE(WriteScenarioFile(folder / "初級.dat", s, &error)) << error;
  EXPECT_EQ(fs::file_size(folder / "初級.dat"), 414u);
  EXPECT_EQ(ReadScenario(folder.path(), "初級", &error), s) << error;
  s.StartTurn = 7;  // rewriting replaces the file whole and leaves nothing else
  s.Music = "ユウナギ町争奪戦のテーマ";
  ASSERT_TRUE(WriteScenarioFile(folder / "初級.dat", s, &error)) << error;
  const ScenarioRecord read = *ReadScenario(folder.path(), "初級");
  EXPECT_EQ(read.StartTurn, 7);
  EXPECT_EQ(read.Music, "ユウナギ町争奪戦のテ");
  EXPECT_EQ(FolderEntries(folder.path()), Names{"初級.dat"});
  WriteBytes(folder / "short.dat", EncodeScenario(s).substr(0, 100));
  EXPECT_EQ(ReadScenario(folder.path(), "short")->Music, read.Music);
}

TEST(ScenarioListing, PlainDatFilesOfAnyCaseSortedByName) {
  TempFolder folder;
  EXPECT_TRUE(ListScenarios(folder / "Scenario").empty());
  for (const char* name : {"b.dat", "A.DAT", "a.b.dat", "c.Dat", "初級.dat", ".hidden.dat", "notes.txt",
                           "dat", "x.dat.bak", "x.datx"})
    WriteBytes(folder / name, "");
  fs::create_directory(folder / "folder.dat");
  fs::create_symlink(folder / "nowhere", folder / "broken.dat");
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);
  EXPECT_EQ(ListScenarios(folder.path()), (Names{"A", "a.b", "b", "c", "初級"}));
  EXPECT_EQ(*FindScenarioFile(folder.path(), "c"), folder / "c.Dat");
  EXPECT_FALSE(FindScenarioFile(folder.path(), "folder"));
  // Two spellings of one name are one entry, read from the usual spelling.
  ScenarioRecord lower = SampleScenario();
  lower.StartTurn = 42;
  ASSERT_TRUE(WriteScenarioFile(folder / "A.dat", lower));
  ASSERT_TRUE(WriteScenarioFile(folder / "a.b.DAT", lower));
  EXPECT_EQ(ListScenarios(folder.path()), (Names{"A", "a.b", "b", "c", "初級"}));
  EXPECT_EQ(ReadScenario(folder.path(), "A")->StartTurn, 42);
}

// Thirty thousand scenarios with long names alike but for their ends: listed
// within a second of processor time (comparing every name with every other
// one takes several).
TEST(ScenarioListing, AHugeFolderIsListedInNLogNTime) {
  TempFolder folder(fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path());  // quick to fill
  const std::string common(240, 'x');
  for (int i = 29999; i >= 0; --i) {
    const std::string number = std::to_string(100000 + i);
    WriteBytes(folder / (common + number + (i % 2 ? ".dat" : ".DAT")), "");
  }
  EXPECT_EQ(RunInChild([&] {
              const rlimit second{1, 1};
              setrlimit(RLIMIT_CPU, &second);
              const Names names = ListScenarios(folder.path());
              return names.size() == 30000 && names.front() == common + "100000" &&
                     std::is_sorted(names.begin(), names.end());
            }),
            0);
}

TEST(ScenarioFile, UnreadableScenariosGiveAClearMessage) {
  TempFolder folder;
  fs::create_directory(folder / "folder.dat");
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"gone", "gone.dat"}, {"folder", "フォルダ"}, {"pipe", "pipe.dat"}};
  for (const auto& [name, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ReadScenario(folder.path(), name, &error));
    EXPECT_NE(error.find(expected), std::string::npos) << error;  // a pipe is refused, never waited on
  }
  std::string error;
  EXPECT_FALSE(WriteScenarioFile(folder / "folder.dat", SampleScenario(), &error));
  EXPECT_FALSE(WriteScenarioFile(folder / "no" / "such.dat", SampleScenario(), &error));
  EXPECT_NE(error.find("no"), std::string::npos) << error;
}

}  // namespace
}  // namespace yuunagi
