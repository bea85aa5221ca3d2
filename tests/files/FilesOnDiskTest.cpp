// Scenario files and the four save slots on a real disk: writing and reading
// them, listing the scenario folder, and every way a read or a write can fail
// without losing a file or leaving anything behind.
#include <chrono>
#include <thread>

#include "TestFiles.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

using namespace testing;
using Entries = std::vector<std::string>;

TEST(ScenarioListing, PlainDatFilesOfAnyCaseSortedByName) {
  TempFolder folder;
  EXPECT_TRUE(ListScenarios(folder / "Scenario").empty());
  for (const char* name : {"b.dat", "A.DAT", "a.b.dat", "c.Dat", "初級.dat", ".hidden.dat", "notes.txt",
                           "dat", "x.dat.bak", "x.datx"})
    WriteBytes(folder / name, "");
  fs::create_directory(folder / "folder.dat");
  fs::create_symlink(folder / "nowhere", folder / "broken.dat");
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);
  EXPECT_EQ(ListScenarios(folder.path()), (Entries{"A", "a.b", "b", "c", "初級"}));
  EXPECT_EQ(*FindScenarioFile(folder.path(), "c"), folder / "c.Dat");
  EXPECT_FALSE(FindScenarioFile(folder.path(), "folder"));
  ScenarioRecord lower = SampleScenario();  // two spellings of a name are one entry, read from .dat
  lower.StartTurn = 42;
  ASSERT_TRUE(WriteScenarioFile(folder / "A.dat", lower) && WriteScenarioFile(folder / "a.b.DAT", lower));
  EXPECT_EQ(ListScenarios(folder.path()), (Entries{"A", "a.b", "b", "c", "初級"}));
  EXPECT_EQ(ReadScenario(folder.path(), "A")->StartTurn, 42);
}

TEST(ScenarioFile, WritesReadsAndTellsWhyNot) {
  TempFolder folder;
  ScenarioRecord s = SampleScenario();
  s.Music = "ユウナギ町争奪戦のテーマ";  // texts are cut to their fields
  ASSERT_TRUE(WriteScenarioFile(folder / "初級.dat", SampleScenario()) &&
              WriteScenarioFile(folder / "初級.dat", s));
  s.Music = "ユウナギ町争奪戦のテ";
  EXPECT_EQ(ReadScenario(folder.path(), "初級"), s);
  EXPECT_EQ(fs::file_size(folder / "初級.dat"), 414u);
  fs::create_directory(folder / "folder.dat");
  ASSERT_EQ(mkfifo((folder / "pipe.dat").c_str(), 0644), 0);  // refused, never waited on
  for (const auto& [name, expected] : std::initializer_list<std::pair<std::string, std::string>>{
           {"gone", "gone.dat"}, {"folder", "フォルダ"}, {"pipe", "pipe.dat"}}) {
    std::string error;
    EXPECT_FALSE(ReadScenario(folder.path(), name, &error));
    EXPECT_NE(error.find(expected), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(WriteScenarioFile(folder / "folder.dat", s, &error) || error.empty());
  EXPECT_EQ(FolderEntries(folder.path()), (Entries{"folder.dat", "pipe.dat", "初級.dat"}));
}

constexpr std::size_t kTailLimit = 64 * 1024;  // bytes kept after the record

TEST(SaveSlot, ReadingAnEmptyMissingOrShortSlot) {
  TempFolder root;
  const fs::path save = root / "Save";
  SaveRecord data = SampleSave();
  std::string error;
  EXPECT_FALSE(AccessSaveSlot(save, 0, kReadSlot, data, &error) || error.empty());  // no folder
  fs::create_directory(save);
  for (const auto& [slot, mode] :
       std::initializer_list<std::pair<int, int>>{{1, kReadSlot}, {-1, 1}, {4, 1}, {0, 2}})
    EXPECT_FALSE(AccessSaveSlot(save, slot, mode, data));
  EXPECT_EQ(data, SampleSave());
  EXPECT_TRUE(FolderEntries(save).empty());
  WriteBytes(SaveSlotFile(save, 2), "");  // an empty file is an empty slot
  EXPECT_TRUE(AccessSaveSlot(save, 2, kReadSlot, data) && data == SaveRecord{});
  WriteBytes(SaveSlotFile(save, 3), EncodeSave(SampleSave()).substr(0, 50));
  EXPECT_TRUE(AccessSaveSlot(save, 3, kReadSlot, data));
  EXPECT_EQ(data.Owner, (std::array<std::int16_t, 6>{0, 1, 1, 3, 0, 0}));
}

// A save makes the folder, and writes the 130 bytes of the record over the
// slot's first ones: what follows them stays, up to 64 KiB. A link keeps
// pointing where it did, and the record goes into the file it leads to.
TEST(SaveSlot, KeepsTheTailAndTheUsersLink) {
  TempFolder root;
  const fs::path save = root / "Save", mine = root / "elsewhere" / "mine.sav";
  SaveRecord s = SampleSave(2), read;
  ASSERT_TRUE(AccessSaveSlot(save, 3, kWriteSlot, s) && AccessSaveSlot(save, 3, kReadSlot, read) &&
              read == s);
  for (const std::size_t tail : {std::size_t{0}, std::size_t{40}, kTailLimit}) {
    WriteBytes(SaveSlotFile(save, 0), EncodeSave(SampleSave(1)) + std::string(tail, 't'));
    ASSERT_TRUE(AccessSaveSlot(save, 0, kWriteSlot, s));
    EXPECT_EQ(ReadBytes(SaveSlotFile(save, 0)), EncodeSave(s) + std::string(tail, 't')) << tail;
  }
  fs::create_directories(mine.parent_path());
  WriteBytes(mine, EncodeSave(SampleSave(1)) + "kept");
  fs::permissions(mine, fs::perms(0600));
  fs::create_symlink("../elsewhere/mine.sav", SaveSlotFile(save, 2));
  std::string error;
  ASSERT_TRUE(AccessSaveSlot(save, 2, kWriteSlot, s, &error)) << error;
  EXPECT_EQ(fs::read_symlink(SaveSlotFile(save, 2)), "../elsewhere/mine.sav");
  EXPECT_EQ(ReadBytes(mine), EncodeSave(s) + "kept");
  EXPECT_EQ(fs::status(mine).permissions(), fs::perms(0600));
  EXPECT_EQ(FolderEntries(save), (Entries{"Save0.sav", "Save2.sav", "Save3.sav"}));
}

// Each case spoils slot 0 of a folder; the save must fail with a message
// naming `expected`, and leave the folder and the slot as they were.
struct WriteFailure {
  std::string what{}, expected{};
  fs::perms slotMode = fs::perms(0666), folderMode = fs::perms(0777);
  std::string inPlace{};  // what takes the slot's place: "link" (to nowhere) or "folder"
  std::size_t tail = 4;
  bool asNobody = false;    // saves as an ordinary user when the test runs as root
  bool smallLimit = false;  // saves under a file-size limit of 100 bytes
};

TEST(SaveSlot, AFailedWriteLeavesTheSlotWholeAndNothingBehind) {
  // clang-format off
  const std::vector<WriteFailure> cases = {
      {.what = "a file-size limit", .expected = "Save0.sav」 を書けません (ファイルが大きすぎます)。", .smallLimit = true},
      {.what = "a read-only slot", .expected = "Save0.sav", .slotMode = fs::perms(0444)},
      {.what = "a read-only slot, for a user", .expected = "Save0.sav", .slotMode = fs::perms(0444), .asNobody = true},
      {.what = "a read-only folder", .expected = "Save」 に書き込めません (権限がありません)。", .folderMode = fs::perms(0555), .asNobody = true},
      {.what = "a slot past the tail limit", .expected = "65536", .tail = kTailLimit + 1},
      {.what = "a link to nowhere", .expected = "gone.sav", .inPlace = "link"},
      {.what = "a folder in the slot's place", .expected = "フォルダ", .inPlace = "folder"}};
  // clang-format on
  for (const WriteFailure& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder root;
    const fs::path save = root / "Save", slot = save / "Save0.sav";
    fs::create_directory(save);
    WriteBytes(slot, EncodeSave(SampleSave(5)) + std::string(c.tail, 't'));
    if (c.inPlace == "link") fs::rename(slot, save / "old"), fs::create_symlink("gone.sav", slot);
    if (c.inPlace == "folder") fs::rename(slot, save / "old"), fs::create_directory(slot);
    using Modes = std::initializer_list<std::pair<fs::path, fs::perms>>;
    for (const auto& [path, mode] :
         Modes{{root.path(), fs::perms(0755)}, {slot, c.slotMode}, {save, c.folderMode}})
      if (!fs::is_symlink(path)) fs::permissions(path, mode);
    const Entries entries = FolderEntries(save);
    const std::string before = ReadBytes(slot);
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
    EXPECT_EQ(ReadBytes(slot), before);
    fs::permissions(save, fs::perms(0755));
  }
}

TEST(SaveSlot, AKilledSaveLeavesEitherTheOldOrTheNewRecord) {
  TempFolder root;
  SaveRecord first = SampleSave(100), second = SampleSave(200);
  const std::string firstBytes = EncodeSave(first) + "tail", secondBytes = EncodeSave(second) + "tail";
  WriteBytes(SaveSlotFile(root.path(), 1), firstBytes);
  for (int round = 0; round < 20; ++round) {
    const pid_t pid = fork();
    if (pid == 0)
      for (int n = 0;; ++n) AccessSaveSlot(root.path(), 1, kWriteSlot, n % 2 ? first : second);
    std::this_thread::sleep_for(std::chrono::microseconds(round * 7919 % 20000));  // spread over a save
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string now = ReadBytes(SaveSlotFile(root.path(), 1));
    ASSERT_TRUE(now == firstBytes || now == secondBytes) << "round " << round << ": " << now.size();
  }
  ASSERT_TRUE(AccessSaveSlot(root.path(), 1, kWriteSlot, second));  // leftovers never block a save
  EXPECT_EQ(ReadBytes(SaveSlotFile(root.path(), 1)), secondBytes);
  EXPECT_EQ(FolderEntries(root.path()), Entries{"Save1.sav"});  // and are cleared by it
}

// Saves and scenarios the game made (the .sav and .dat files of the fuzz
// corpora) read and write back byte for byte.
TEST(SaveSlot, FilesTheGameMadeRoundTrip) {
  TempFolder root;
  int seen = 0;
  for (const auto& entry : fs::recursive_directory_iterator(YUUNAGI_CORPUS_DIR)) {
    const fs::path file = entry.path(), copy = root / "copy";
    if (file.extension() != ".sav" && file.extension() != ".dat") continue;
    ASSERT_TRUE(file.extension() == ".sav" ? WriteSaveFile(copy, ReadSaveFile(file).value())
                                           : WriteScenarioFile(copy, ReadScenarioFile(file).value()));
    EXPECT_EQ(ReadBytes(copy), ReadBytes(file)) << file;
    ++seen;
  }
  EXPECT_EQ(seen, 7);
}

}  // namespace
}  // namespace yuunagi
