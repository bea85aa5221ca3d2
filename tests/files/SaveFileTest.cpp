#include "files/SaveFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "TestFiles.h"

namespace yuunagi {
namespace {

namespace fs = std::filesystem;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

SaveRecord SampleSave(std::int16_t turn = 12) {
  SaveRecord s;
  s.TurnNumber = turn;
  s.MusicName = "戦闘1";
  s.ScenarioName = "初級";
  s.Owner = {0, 1, 1, 3, 4, 5};
  s.Money = {100, 200, 300, 400, 500, 10000};
  s.Soldiers = {1, 2, 3, 4, 5, 6};
  s.Strength = {7, 8, 9, 10, 11, -12};
  s.Weapon = {1, 2, 3, 4, 5, 5};
  s.Development = {10, 20, 30, 40, 50, 60};
  s.CurrentDistrict = 3;
  s.PlayerOfFaction = {0, 2, 1, 0, 0, 0};
  s.PlayerCount = 2;
  return s;
}

int Int16At(const std::string& bytes, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                   static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Runs `child` in a forked process and returns its exit status (or -1 when
// it did not exit normally). The parent's state stays untouched by it.
template <typename Child>
int RunInChild(Child child) {
  const pid_t pid = fork();
  if (pid == 0) _exit(child() ? 0 : 1);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SaveRecordBytes, FollowTheFileLayout) {
  const SaveRecord s = SampleSave();
  const std::string bytes = EncodeSave(s);
  ASSERT_EQ(bytes.size(), 130u);
  EXPECT_EQ(Int16At(bytes, 0), 12);
  EXPECT_EQ(bytes.substr(2, 20),
            "\x90\xed\x93\xac"
            "1               ");
  EXPECT_EQ(bytes.substr(22, 20), "\x8f\x89\x8b\x89" + std::string(16, ' '));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Int16At(bytes, 42 + 2 * i), s.Owner[i]);
    EXPECT_EQ(Int16At(bytes, 54 + 2 * i), s.Money[i]);
    EXPECT_EQ(Int16At(bytes, 66 + 2 * i), s.Soldiers[i]);
    EXPECT_EQ(Int16At(bytes, 78 + 2 * i), s.Strength[i]);
    EXPECT_EQ(Int16At(bytes, 90 + 2 * i), s.Weapon[i]);
    EXPECT_EQ(Int16At(bytes, 102 + 2 * i), s.Development[i]);
    EXPECT_EQ(Int16At(bytes, 116 + 2 * i), s.PlayerOfFaction[i]);
  }
  EXPECT_EQ(Int16At(bytes, 114), 3);
  EXPECT_EQ(Int16At(bytes, 128), 2);
  EXPECT_EQ(DecodeSave(bytes), s);
  // Names longer than the field keep what fits in 20 bytes, never half a character.
  SaveRecord longName = s;
  longName.ScenarioName = "ユウナギ町争奪戦初級編";
  EXPECT_EQ(DecodeSave(EncodeSave(longName)).ScenarioName, "ユウナギ町争奪戦初級");
}

TEST(SaveSlot, WritesAndReadsBackEverySlot) {
  TempFolder root;
  const fs::path save = root / "Save";
  for (int slot = 0; slot < 4; ++slot) {
    SaveRecord s = SampleSave(static_cast<std::int16_t>(10 + slot));
    std::string error;
    ASSERT_TRUE(AccessSaveSlot(save, slot, kWriteSlot, s, &error)) << error;  // creates the folder
    SaveRecord read;
    ASSERT_TRUE(AccessSaveSlot(save, slot, kReadSlot, read, &error)) << error;
    EXPECT_EQ(read, s);
    EXPECT_EQ(fs::file_size(SaveSlotFile(save, slot)), 130u);
  }
  EXPECT_EQ(FolderEntries(save),
            (std::vector<std::string>{"Save0.sav", "Save1.sav", "Save2.sav", "Save3.sav"}));
  // Saving again overwrites; the file stays 130 bytes.
  SaveRecord again = SampleSave(99);
  ASSERT_TRUE(AccessSaveSlot(save, 2, kWriteSlot, again));
  SaveRecord read;
  ASSERT_TRUE(AccessSaveSlot(save, 2, kReadSlot, read));
  EXPECT_EQ(read.TurnNumber, 99);
  EXPECT_EQ(fs::file_size(SaveSlotFile(save, 2)), 130u);
}

TEST(SaveSlot, ReadingAnEmptyOrMissingSlotChangesNothing) {
  TempFolder root;
  const fs::path save = root / "Save";
  const SaveRecord before = SampleSave();
  SaveRecord data = before;
  std::string error;
  // No folder: nothing read, nothing created, the buffer untouched.
  EXPECT_FALSE(AccessSaveSlot(save, 0, kReadSlot, data, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(save));
  EXPECT_EQ(data, before);
  // No file: the same, and no file appears.
  fs::create_directory(save);
  EXPECT_FALSE(AccessSaveSlot(save, 1, kReadSlot, data));
  EXPECT_TRUE(FolderEntries(save).empty());
  EXPECT_EQ(data, before);
  // An empty file is an empty slot: TurnNumber 0.
  WriteBytes(SaveSlotFile(save, 2), "");
  EXPECT_TRUE(AccessSaveSlot(save, 2, kReadSlot, data));
  EXPECT_EQ(data, SaveRecord{});
  EXPECT_EQ(fs::file_size(SaveSlotFile(save, 2)), 0u);
  // A short file reads what it has; the rest is zero.
  WriteBytes(SaveSlotFile(save, 3), EncodeSave(before).substr(0, 50));
  EXPECT_TRUE(AccessSaveSlot(save, 3, kReadSlot, data));
  EXPECT_EQ(data.TurnNumber, 12);
  EXPECT_EQ(data.ScenarioName, "初級");
  EXPECT_EQ(data.Owner[3], 3);
  EXPECT_EQ(data.Owner[4], 0);
  EXPECT_EQ(data.PlayerCount, 0);
}

TEST(SaveSlot, SlotsAndModesOutsideTheRangeFail) {
  TempFolder root;
  SaveRecord data = SampleSave();
  std::string error;
  EXPECT_FALSE(AccessSaveSlot(root.path(), -1, kWriteSlot, data, &error));
  EXPECT_FALSE(AccessSaveSlot(root.path(), 4, kWriteSlot, data, &error));
  EXPECT_FALSE(AccessSaveSlot(root.path(), 4, kReadSlot, data, &error));
  EXPECT_FALSE(AccessSaveSlot(root.path(), 0, 2, data, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(FolderEntries(root.path()).empty());
}

TEST(SaveSlot, BytesAfterTheRecordAreKept) {
  TempFolder root;
  const std::string tail = "bytes another program keeps after the record";
  WriteBytes(SaveSlotFile(root.path(), 0), EncodeSave(SampleSave(1)) + tail);
  SaveRecord s = SampleSave(2);
  ASSERT_TRUE(AccessSaveSlot(root.path(), 0, kWriteSlot, s));
  EXPECT_EQ(ReadBytes(SaveSlotFile(root.path(), 0)), EncodeSave(s) + tail);
  // A shorter old file is simply replaced by the 130 bytes.
  WriteBytes(SaveSlotFile(root.path(), 1), "old");
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kWriteSlot, s));
  EXPECT_EQ(ReadBytes(SaveSlotFile(root.path(), 1)), EncodeSave(s));
}

TEST(SaveSlot, AFailedWriteLeavesTheOldSlotWhole) {
  TempFolder root;
  const fs::path save = root / "Save";
  fs::create_directory(save);
  const std::string old = EncodeSave(SampleSave(5)) + "tail";
  WriteBytes(SaveSlotFile(save, 0), old);
  SaveRecord next = SampleSave(6);
  std::string error;

  // Leftovers of an earlier interrupted save neither block nor spoil a save.
  WriteBytes(save / ".Save0.sav.AAAAAA", "half");
  WriteBytes(save / "Save0.sav.tmp", "half");
  ASSERT_TRUE(AccessSaveSlot(save, 0, kWriteSlot, next, &error)) << error;
  EXPECT_EQ(ReadBytes(SaveSlotFile(save, 0)), EncodeSave(next) + "tail");
  EXPECT_EQ(FolderEntries(save),
            (std::vector<std::string>{".Save0.sav.AAAAAA", "Save0.sav", "Save0.sav.tmp"}));
  WriteBytes(SaveSlotFile(save, 0), old);

  // The disk fills up in the middle of the write.
  EXPECT_EQ(RunInChild([&] {
              signal(SIGXFSZ, SIG_IGN);
              const rlimit small{100, 100};
              setrlimit(RLIMIT_FSIZE, &small);
              std::string childError;
              return !AccessSaveSlot(save, 0, kWriteSlot, next, &childError) && !childError.empty();
            }),
            0);
  EXPECT_EQ(ReadBytes(SaveSlotFile(save, 0)), old);

  // The folder is read-only: the slot can be read but not replaced.
  fs::permissions(root.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(save, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(RunInChild([&] {
              // The super-user ignores permissions: play an ordinary user instead.
              if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
              SaveRecord read;
              std::string childError;
              return AccessSaveSlot(save, 0, kReadSlot, read, &childError) && read.TurnNumber == 5 &&
                     !AccessSaveSlot(save, 0, kWriteSlot, next, &childError) && !childError.empty();
            }),
            0);
  fs::permissions(save, fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(SaveSlotFile(save, 0)), old);

  // The slot's name is taken by a folder.
  fs::create_directory(SaveSlotFile(save, 1));
  EXPECT_FALSE(AccessSaveSlot(save, 1, kWriteSlot, next, &error));
  EXPECT_NE(error.find("Save1.sav"), std::string::npos) << error;
  SaveRecord untouched = SampleSave(77);
  EXPECT_FALSE(AccessSaveSlot(save, 1, kReadSlot, untouched, &error));
  EXPECT_EQ(untouched.TurnNumber, 77);

  // The save folder's name is taken by a file.
  WriteBytes(root / "NotAFolder", "x");
  EXPECT_FALSE(AccessSaveSlot(root / "NotAFolder", 0, kWriteSlot, next, &error));
  EXPECT_EQ(ReadBytes(root / "NotAFolder"), "x");

  // None of these failures left a file behind.
  EXPECT_EQ(FolderEntries(save),
            (std::vector<std::string>{".Save0.sav.AAAAAA", "Save0.sav", "Save0.sav.tmp", "Save1.sav"}));
}

TEST(SaveSlot, AKilledSaveLeavesEitherTheOldOrTheNewRecord) {
  TempFolder root;
  const std::string tail(300, 't');
  SaveRecord first = SampleSave(100);
  SaveRecord second = SampleSave(200);
  second.ScenarioName = "上級";
  const std::string firstBytes = EncodeSave(first) + tail;
  const std::string secondBytes = EncodeSave(second) + tail;
  WriteBytes(SaveSlotFile(root.path(), 1), firstBytes);

  std::mt19937 delays(20240601);
  for (int round = 0; round < 25; ++round) {
    const pid_t pid = fork();
    if (pid == 0) {
      for (int n = 0;; ++n) AccessSaveSlot(root.path(), 1, kWriteSlot, n % 2 ? first : second);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delays() % 20000));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string now = ReadBytes(SaveSlotFile(root.path(), 1));
    ASSERT_TRUE(now == firstBytes || now == secondBytes)
        << "round " << round << ": " << now.size() << " bytes";
  }
  // Whatever the kills left behind, the next save goes through.
  SaveRecord last = SampleSave(300);
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kWriteSlot, last));
  SaveRecord read;
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kReadSlot, read));
  EXPECT_EQ(read, last);
}

}  // namespace
}  // namespace yuunagi
