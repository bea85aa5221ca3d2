#include "files/ScenarioFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestFiles.h"
#include "media/Text.h"

namespace yuunagi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

ScenarioRecord SampleScenario() {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "戦闘1";
  s.Description = "ユウナギ町の六つの地区が町の覇権を争う。～初級～";
  s.DifficultyText = {"やさしい", "ふつう", "むずかしい", "ふつう", "やさしい", "鬼"};
  s.StartOwner = {0, 1, 2, 3, 4, 5};
  s.StartMoney = {100, 200, 300, -1, 32767, -32768};
  s.StartSoldiers = {50, 60, 70, 80, 90, 100};
  s.StartStrength = {10, 11, 12, 13, 14, 15};
  s.StartWeapon = {1, 2, 3, 4, 5, 1};
  s.StartDevelopment = {20, 30, 40, 50, 60, 1000};
  return s;
}

int Int16At(const std::string& bytes, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                   static_cast<unsigned char>(bytes[at + 1]) << 8);
}

TEST(ScenarioRecordBytes, FollowTheFileLayout) {
  const ScenarioRecord s = SampleScenario();
  const std::string bytes = EncodeScenario(s);
  ASSERT_EQ(bytes.size(), 414u);
  EXPECT_EQ(Int16At(bytes, 0), 1);
  EXPECT_EQ(bytes.substr(2, 20),
            "\x90\xed\x93\xac"
            "1               ");                       // 戦闘1, blank-padded
  EXPECT_EQ(bytes.substr(22, 4), "\x83\x86\x83\x45");  // ユウ
  EXPECT_EQ(bytes[221], ' ');
  EXPECT_EQ(bytes.substr(222 + 5 * 20, 20), "\x8b\x53" + std::string(18, ' '));  // 鬼, row 5
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Int16At(bytes, 342 + 2 * i), s.StartOwner[i]);
    EXPECT_EQ(Int16At(bytes, 354 + 2 * i), s.StartMoney[i]);
    EXPECT_EQ(Int16At(bytes, 366 + 2 * i), s.StartSoldiers[i]);
    EXPECT_EQ(Int16At(bytes, 378 + 2 * i), s.StartStrength[i]);
    EXPECT_EQ(Int16At(bytes, 390 + 2 * i), s.StartWeapon[i]);
    EXPECT_EQ(Int16At(bytes, 402 + 2 * i), s.StartDevelopment[i]);
  }
  EXPECT_EQ(bytes.substr(360, 2), "\xff\xff");  // -1, little-endian
  EXPECT_EQ(DecodeScenario(bytes), s);
}

TEST(ScenarioFile, RoundTripsThroughARealFile) {
  TempFolder folder;
  const ScenarioRecord s = SampleScenario();
  std::string error;
  ASSERT_TRUE(WriteScenarioFile(folder / "初級.dat", s, &error)) << error;
  EXPECT_EQ(std::filesystem::file_size(folder / "初級.dat"), 414u);
  const auto read = ReadScenario(folder.path(), "初級", &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, s);
  // Rewriting replaces the file whole and leaves nothing else in the folder.
  ScenarioRecord other = s;
  other.StartTurn = 7;
  ASSERT_TRUE(WriteScenarioFile(folder / "初級.dat", other, &error)) << error;
  EXPECT_EQ(ReadScenario(folder.path(), "初級")->StartTurn, 7);
  EXPECT_EQ(testing::FolderEntries(folder.path()), std::vector<std::string>{"初級.dat"});
}

TEST(ScenarioFile, ShortFilesReadAsZerosAndExtraBytesAreIgnored) {
  TempFolder folder;
  const std::string full = EncodeScenario(SampleScenario());
  for (std::size_t size : {0u, 1u, 2u, 21u, 221u, 300u, 343u, 351u, 413u}) {
    SCOPED_TRACE(size);
    WriteBytes(folder / "short.dat", full.substr(0, size));
    const auto read = ReadScenario(folder.path(), "short");
    ASSERT_TRUE(read);
    std::string expected = full.substr(0, size);
    expected.resize(414, '\0');
    EXPECT_EQ(*read, DecodeScenario(expected));
  }
  WriteBytes(folder / "short.dat", full.substr(0, 351));
  const ScenarioRecord cut = *ReadScenario(folder.path(), "short");
  EXPECT_EQ(cut.StartOwner[3], 3);
  EXPECT_EQ(cut.StartOwner[4], 4);  // low byte there, high byte missing: reads as 0x0004
  EXPECT_EQ(cut.StartOwner[5], 0);
  EXPECT_EQ(cut.StartWeapon, (std::array<std::int16_t, 6>{}));
  EXPECT_EQ(cut.Music, "戦闘1");

  WriteBytes(folder / "empty.dat", "");
  EXPECT_EQ(*ReadScenario(folder.path(), "empty"), ScenarioRecord{});

  WriteBytes(folder / "long.dat", full + "trailing bytes that are not ours");
  EXPECT_EQ(*ReadScenario(folder.path(), "long"), SampleScenario());
}

TEST(ScenarioFile, TextsAreShownThroughFitText) {
  TempFolder folder;
  ScenarioRecord s = SampleScenario();
  s.Description = std::string(200, 'd');
  s.Music = "ABCDEFGHIJKLMNOPQRST";
  s.DifficultyText[2] = std::string(20, ' ');
  ASSERT_TRUE(WriteScenarioFile(folder / "fit.dat", s));
  const ScenarioRecord read = *ReadScenario(folder.path(), "fit");
  EXPECT_EQ(FitText(read.Description, 180), std::string(180, 'd'));
  EXPECT_EQ(FitText(read.Music, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(read.DifficultyText[2], "");
  // Texts too long for their fields are cut when written, never overflow.
  s.Music = "ユウナギ町争奪戦のテーマ";
  ASSERT_TRUE(WriteScenarioFile(folder / "fit.dat", s));
  EXPECT_EQ(ReadScenario(folder.path(), "fit")->Music, "ユウナギ町争奪戦のテ");
}

TEST(ScenarioListing, PlainDatFilesOfAnyCaseSortedByName) {
  TempFolder folder;
  for (const char* name : {"b.dat", "A.DAT", "a.b.dat", "c.Dat", "初級.dat", ".hidden.dat", "notes.txt",
                           "dat", "x.dat.bak", "x.datx"})
    WriteBytes(folder / name, "");
  std::filesystem::create_directory(folder / "folder.dat");
  std::filesystem::create_symlink(folder / "nowhere", folder / "broken.dat");
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);

  EXPECT_EQ(ListScenarios(folder.path()), (std::vector<std::string>{"A", "a.b", "b", "c", "初級"}));

  // Each listed name reads back from the very file that was listed.
  ScenarioRecord upper = SampleScenario();
  upper.StartTurn = 42;
  ASSERT_TRUE(WriteScenarioFile(folder / "A.DAT", upper));
  EXPECT_EQ(ReadScenario(folder.path(), "A")->StartTurn, 42);
  EXPECT_EQ(*FindScenarioFile(folder.path(), "c"), folder / "c.Dat");
  EXPECT_EQ(*FindScenarioFile(folder.path(), "a.b"), folder / "a.b.dat");
  EXPECT_FALSE(FindScenarioFile(folder.path(), "folder"));

  // Two spellings of one name are one entry, read from the usual spelling.
  ScenarioRecord lower = SampleScenario();
  lower.StartTurn = 7;
  ASSERT_TRUE(WriteScenarioFile(folder / "A.dat", lower));
  EXPECT_EQ(ListScenarios(folder.path()), (std::vector<std::string>{"A", "a.b", "b", "c", "初級"}));
  EXPECT_EQ(ReadScenario(folder.path(), "A")->StartTurn, 7);
}

TEST(ScenarioListing, MissingFolderIsAnEmptyList) {
  TempFolder folder;
  EXPECT_TRUE(ListScenarios(folder / "Scenario").empty());
  EXPECT_TRUE(ListScenarios(folder.path()).empty());
  WriteBytes(folder / "file", "not a folder");
  EXPECT_TRUE(ListScenarios(folder / "file").empty());
}

TEST(ScenarioFile, UnreadableScenariosGiveAClearMessage) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(ReadScenario(folder.path(), "gone", &error));
  EXPECT_NE(error.find("gone.dat"), std::string::npos) << error;

  std::filesystem::create_directory(folder / "folder.dat");
  EXPECT_FALSE(ReadScenario(folder.path(), "folder", &error));
  EXPECT_NE(error.find("フォルダ"), std::string::npos) << error;

  // A pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);
  EXPECT_FALSE(ReadScenarioFile(folder / "pipe.dat", &error));
  EXPECT_NE(error.find("pipe.dat"), std::string::npos) << error;

  EXPECT_FALSE(WriteScenarioFile(folder / "folder.dat", SampleScenario(), &error));
  EXPECT_FALSE(WriteScenarioFile(folder / "no" / "such.dat", SampleScenario(), &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace yuunagi
