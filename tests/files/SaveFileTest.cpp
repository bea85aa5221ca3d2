// The four save slots on a real disk: reading, writing, and every way a
// write can fail without losing the slot or leaving anything behind.
#include "files/SaveFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <random>
#include <thread>

#include "TestFiles.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

using namespace testing;
using Entries = std::vector<std::string>;

constexpr std::size_t kTailLimit = 64 * 1024;  // bytes kept after the record

TEST(SaveSlot, WritesReadsAndOverwritesEverySlot) {
  TempFolder root;
  const fs::path save = root / "Save";
  for (int slot = 0; slot < 4; ++slot) {
    SaveRecord s = SampleSave(static_cast<std::int16_t>(10 + slot)), read;
    std::string error;
    ASSERT_TRUE(AccessSaveSlot(save, slot, kWriteSlot, s, &error)) << error;  // creates the folder
    ASSERT_TRUE(AccessSaveSlot(save, slot, kReadSlot, read, &error)) << error;
    EXPECT_EQ(read, s);
  }
  SaveRecord again = SampleSave(99), read;
  ASSERT_TRUE(AccessSaveSlot(save, 2, kWriteSlot, again));
  ASSERT_TRUE(AccessSaveSlot(save, 2, kReadSlot, read));
  EXPECT_EQ(read.TurnNumber, 99);
  EXPECT_EQ(fs::file_size(SaveSlotFile(save, 2)), 130u);
  EXPECT_EQ(FolderEntries(save), (Entries{"Save0.sav", "Save1.sav", "Save2.sav", "Save3.sav"}));
}

TEST(SaveSlot, ReadingAnEmptyMissingOrShortSlot) {
  TempFolder root;
  const fs::path save = root / "Save";
  SaveRecord data = SampleSave();
  std::string error;
  EXPECT_FALSE(AccessSaveSlot(save, 0, kReadSlot, data, &error));  // no folder: nothing created
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(save));
  fs::create_directory(save);
  EXPECT_FALSE(AccessSaveSlot(save, 1, kReadSlot, data));
  EXPECT_EQ(data, SampleSave());
  for (int bad : {-1, 4}) EXPECT_FALSE(AccessSaveSlot(save, bad, kWriteSlot, data, &error));
  EXPECT_FALSE(AccessSaveSlot(save, 0, 2, data, &error));
  EXPECT_TRUE(FolderEntries(save).empty());
  WriteBytes(SaveSlotFile(save, 2), "");  // an empty file is an empty slot
  EXPECT_TRUE(AccessSaveSlot(save, 2, kReadSlot, data));
  EXPECT_EQ(data, SaveRecord{});
  WriteBytes(SaveSlotFile(save, 3), EncodeSave(SampleSave()).substr(0, 50));
  EXPECT_TRUE(AccessSaveSlot(save, 3, kReadSlot, data));
  EXPECT_EQ(data.Owner, (std::array<std::int16_t, 6>{0, 1, 1, 3, 0, 0}));
}

// What follows the record in a longer slot stays, up to 64 KiB; a link keeps
// pointing where it did, and the record goes into the file it points to.
TEST(SaveSlot, KeepsTheTailAndTheUsersLink) {
  TempFolder root;
  const fs::path save = root / "Save", elsewhere = root / "elsewhere";
  fs::create_directories(save);
  fs::create_directories(elsewhere);
  SaveRecord s = SampleSave(2);
  for (const std::size_t tail : {std::size_t{0}, std::size_t{40}, kTailLimit}) {
    const std::string after(tail, 't');
    WriteBytes(SaveSlotFile(save, 0), EncodeSave(SampleSave(1)) + after);
    ASSERT_TRUE(AccessSaveSlot(save, 0, kWriteSlot, s));
    EXPECT_EQ(ReadBytes(SaveSlotFile(save, 0)), EncodeSave(s) + after) << tail;
  }
  WriteBytes(SaveSlotFile(save, 1), "old");  // a shorter old file is replaced by the record
  ASSERT_TRUE(AccessSaveSlot(save, 1, kWriteSlot, s));
  EXPECT_EQ(ReadBytes(SaveSlotFile(save, 1)), EncodeSave(s));

  WriteBytes(elsewhere / "mine.sav", EncodeSave(SampleSave(1)) + "kept");
  fs::permissions(elsewhere / "mine.sav", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("../elsewhere/mine.sav", SaveSlotFile(save, 2));
  std::string error;
  ASSERT_TRUE(AccessSaveSlot(save, 2, kWriteSlot, s, &error)) << error;
  EXPECT_TRUE(fs::is_symlink(SaveSlotFile(save, 2)));
  EXPECT_EQ(fs::read_symlink(SaveSlotFile(save, 2)), "../elsewhere/mine.sav");
  EXPECT_EQ(ReadBytes(elsewhere / "mine.sav"), EncodeSave(s) + "kept");
  EXPECT_EQ(fs::status(elsewhere / "mine.sav").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FolderEntries(save), (Entries{"Save0.sav", "Save1.sav", "Save2.sav"}));
  EXPECT_EQ(FolderEntries(elsewhere), Entries{"mine.sav"});
}

// Each case spoils slot 0 of a folder whose slot holds `old`; the save must
// fail with a message naming `expected`, and leave the folder as it was.
struct WriteFailure {
  std::string what;
  std::function<void(const fs::path& save)> spoil;
  std::string expected;
  bool asNobody = false;    // saves as an ordinary user when the test runs as root
  bool smallLimit = false;  // saves under a file-size limit of 100 bytes
};

TEST(SaveSlot, AFailedWriteLeavesTheSlotWholeAndNothingBehind) {
  const std::string old = EncodeSave(SampleSave(5)) + "tail";
  const auto chmod = [](const fs::path& p, fs::perms perms) { fs::permissions(p, perms); };
  const std::vector<WriteFailure> cases = {
      {"a file-size limit", [](const fs::path&) {}, "Save0.sav", false, true},
      {"a read-only slot", [&](const fs::path& s) { chmod(s / "Save0.sav", fs::perms(0444)); }, "Save0.sav"},
      {"a read-only slot, for a user", [&](const fs::path& s) { chmod(s / "Save0.sav", fs::perms(0444)); },
       "Save0.sav", true},
      {"a read-only folder", [&](const fs::path& s) { chmod(s, fs::perms(0555)); }, "Save", true},
      {"a slot past the tail limit",
       [&](const fs::path& s) { WriteBytes(s / "Save0.sav", old + std::string(kTailLimit - 3, 'x')); },
       "65536"},
      {"a link to nowhere",
       [](const fs::path& s) {
         fs::rename(s / "Save0.sav", s / "Save0.old");
         fs::create_symlink("gone.sav", s / "Save0.sav");
       },
       "gone.sav"},
      {"a folder in the slot's place",
       [](const fs::path& s) {
         fs::rename(s / "Save0.sav", s / "Save0.old");
         fs::create_directory(s / "Save0.sav");
       },
       "フォルダ"},
  };
  for (const WriteFailure& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder root;
    const fs::path save = root / "Save";
    fs::create_directory(save);
    chmod(root.path(), fs::perms(0755));
    chmod(save, fs::perms(0777));
    WriteBytes(save / "Save0.sav", old);
    chmod(save / "Save0.sav", fs::perms(0666));
    c.spoil(save);
    const Entries entries = FolderEntries(save);
    const std::string spoiled = ReadBytes(save / "Save0.sav");
    EXPECT_EQ(RunInChild([&] {
                const rlimit small{100, 100};
                if (c.smallLimit) setrlimit(RLIMIT_FSIZE, &small);
                if (c.asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
                SaveRecord next = SampleSave(6);
                std::string error;
                return !AccessSaveSlot(save, 0, kWriteSlot, next, &error) &&
                       error.find(c.expected) != std::string::npos;
              }),
              0);
    EXPECT_EQ(FolderEntries(save), entries);
    EXPECT_EQ(ReadBytes(save / "Save0.sav"), spoiled);
    chmod(save, fs::perms(0755));
  }
}

TEST(SaveSlot, AKilledSaveLeavesEitherTheOldOrTheNewRecord) {
  TempFolder root;
  const std::string tail(300, 't');
  SaveRecord first = SampleSave(100), second = SampleSave(200);
  const std::string firstBytes = EncodeSave(first) + tail, secondBytes = EncodeSave(second) + tail;
  WriteBytes(SaveSlotFile(root.path(), 1), firstBytes);
  std::mt19937 delays(20240601);
  for (int round = 0; round < 20; ++round) {
    const pid_t pid = fork();
    if (pid == 0)
      for (int n = 0;; ++n) AccessSaveSlot(root.path(), 1, kWriteSlot, n % 2 ? first : second);
    std::this_thread::sleep_for(std::chrono::microseconds(delays() % 20000));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string now = ReadBytes(SaveSlotFile(root.path(), 1));
    ASSERT_TRUE(now == firstBytes || now == secondBytes) << "round " << round << ": " << now.size();
  }
  SaveRecord read;
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kWriteSlot, first));  // leftovers never block a save
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kReadSlot, read));
  EXPECT_EQ(read, first);
}

// Saves and scenarios the game made read and write back byte for byte.
TEST(SaveSlot, FilesTheGameMadeRoundTrip) {
  TempFolder root;
  int seen = 0;
  for (const auto& entry : fs::recursive_directory_iterator(YUUNAGI_CORPUS_DIR)) {
    const fs::path file = entry.path();
    if (file.extension() != ".sav" && file.extension() != ".dat") continue;  // hand-made and found inputs
    std::string error;
    const fs::path copy = root / file.filename().string();
    if (file.extension() == ".sav") {
      const auto save = ReadSaveFile(file, &error);
      ASSERT_TRUE(save && WriteSaveFile(copy, *save, &error)) << file << error;
    } else {
      const auto scenario = ReadScenarioFile(file, &error);
      ASSERT_TRUE(scenario && WriteScenarioFile(copy, *scenario, &error)) << file << error;
    }
    EXPECT_EQ(ReadBytes(copy), ReadBytes(file)) << file;
    ++seen;
  }
  EXPECT_GE(seen, 5);
}

}  // namespace
}  // namespace yuunagi
