// What the data files say when something is wrong, in the player's words: the
// system's reasons, files of the wrong size, saves that hold no game to
// continue; and the leftovers of a killed save, cleared by the next one.
#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

#include "TestFiles.h"
#include "files/Autosave.h"
#include "files/FileErrors.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

using namespace testing;
using Entries = std::vector<std::string>;

TEST(FileErrors, TheSystemsReasonsInThePlayersWords) {
  // clang-format off
  const std::vector<std::pair<int, std::string>> cases = {
      {ENOSPC, "ディスクの空きがありません"}, {EACCES, "権限がありません"}, {EPERM, "権限がありません"},
      {EROFS, "読み取り専用のファイルシステムです"}, {EDQUOT, "ディスクの使用量が割り当てを超えています"},
      {EFBIG, "ファイルが大きすぎます"}, {ENAMETOOLONG, "名前が長すぎます"}, {EIO, "入出力エラーが起きました"},
      {ENOENT, "ファイルまたはフォルダがありません"}, {ENOTDIR, "途中にフォルダではないものがあります"},
      {EISDIR, "ファイルではなくフォルダです"}, {EBUSY, std::strerror(EBUSY)}, {EXDEV, std::strerror(EXDEV)}};
  // clang-format on
  for (const auto& [error, reason] : cases) EXPECT_EQ(ReasonForError(error), reason) << error;
  TempFolder root;  // a file where a folder should be: the message gives the player's reason
  WriteBytes(root / "Scenario", "");
  std::string error;
  EXPECT_FALSE(WriteScenarioFile(root / "Scenario" / "a.dat", SampleScenario(), &error));
  EXPECT_EQ(error, "「" + (root / "Scenario").string() +
                       "」 に書き込めません (途中にフォルダではないものがあります)。");
}

// The bytes the process has read so far, whatever it read them with.
std::uintmax_t BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uintmax_t value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

// A file of `size` bytes that starts with the record, zeros after it (sparse).
struct SizeCase {
  std::uintmax_t size;
  std::string said;  // after the file's name: why it is refused, or the note on a longer file
};

template <typename Record, typename Read>
void ExpectSizes(const std::string& name, const std::string& bytes, const Record& sample, Read read,
                 const std::vector<SizeCase>& cases) {
  TempFolder folder;
  const fs::path file = folder / name;
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.size);
    WriteBytes(file, bytes.substr(0, c.size));
    ASSERT_EQ(truncate(file.c_str(), static_cast<off_t>(c.size)), 0);
    std::string error, note = "old";
    const std::uintmax_t before = BytesReadSoFar();
    const std::optional<Record> record = read(file, &error, &note);
    EXPECT_LT(BytesReadSoFar() - before, 4096u);  // the record only, never the whole file
    const std::string said = c.said.empty() ? "" : "「" + file.string() + "」 " + c.said;
    EXPECT_EQ(record.has_value(), c.size >= bytes.size());
    EXPECT_EQ(record ? note : error, said);
    EXPECT_EQ(record.value_or(sample), sample);
  }
}

TEST(RecordSize, AShorterFileIsRefusedALongerOneReadUpToTheRecord) {
  constexpr std::uintmax_t kTwoGiB = std::uintmax_t{2} << 30;
  // clang-format off
  ExpectSizes("初級.dat", EncodeScenario(SampleScenario()), SampleScenario(), ReadScenarioFile, {
      {0, "は 0 バイトしかなく、シナリオファイルに必要な 414 バイトに足りません。"},
      {413, "は 413 バイトしかなく、シナリオファイルに必要な 414 バイトに足りません。"}, {414, ""},
      {415, "は 415 バイトあり、シナリオファイルの 414 バイトより長いので、はじめの 414 バイトだけを読みました。"},
      {kTwoGiB, "は 2147483648 バイトあり、シナリオファイルの 414 バイトより長いので、はじめの 414 バイトだけを読みました。"}});
  ExpectSizes("Save0.sav", EncodeSave(SampleSave()), SampleSave(), ReadSaveFile, {
      {0, "は 0 バイトしかなく、セーブファイルに必要な 130 バイトに足りません。"},
      {129, "は 129 バイトしかなく、セーブファイルに必要な 130 バイトに足りません。"}, {130, ""},
      {131, "は 131 バイトあり、セーブファイルの 130 バイトより長いので、はじめの 130 バイトだけを読みました。"},
      {kTwoGiB, "は 2147483648 バイトあり、セーブファイルの 130 バイトより長いので、はじめの 130 バイトだけを読みました。"}});
  // clang-format on
}

// Each case puts something in slot 0: is there a game to continue, and if not, why?
struct SlotCase {
  std::string what;
  std::function<void(const fs::path&)> put;
  SaveState state;
  std::string reason{}, note{};  // found in the texts
};

TEST(SaveToContinue, TellsAGameFromAnEmptySlotAndFromGarbage) {
  const auto bytes = [](std::string data) { return [data](const fs::path& f) { WriteBytes(f, data); }; };
  SaveRecord unplayable = SampleSave();
  unplayable.PlayerCount = 3;
  // clang-format off
  const std::vector<SlotCase> cases = {
      {"no file", [](const fs::path&) {}, SaveState::Empty, "Save0.sav」 がありません。"},
      {"an empty slot", bytes(EncodeSave(SaveRecord{})), SaveState::Empty, "TurnNumber が 0 です。"},
      {"a game", bytes(EncodeSave(SampleSave())), SaveState::Game},
      {"a game in a longer file", bytes(EncodeSave(SampleSave()) + "x"), SaveState::Game, "", "131 バイトあり"},
      {"an empty file", bytes(""), SaveState::Unusable, "0 バイトしかなく"},
      {"a short file", bytes(EncodeSave(SampleSave()).substr(1)), SaveState::Unusable, "129 バイトしかなく"},
      {"a folder", [](const fs::path& f) { fs::create_directory(f); }, SaveState::Unusable, "フォルダです"},
      {"an unplayable game", bytes(EncodeSave(unplayable)), SaveState::Unusable, "PlayerCount が 3 ですが"}};
  // clang-format on
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder root;
    c.put(SaveSlotFile(root.path(), 0));
    const SaveToContinue save = ReadSlotToContinue(root.path(), 0);
    EXPECT_EQ(save.state, c.state);
    EXPECT_EQ(save.CanContinue(), c.state == SaveState::Game);
    EXPECT_EQ(save.record, c.state == SaveState::Game ? SampleSave() : SaveRecord{});
    EXPECT_TRUE(c.reason.empty() ? save.reason.empty() : save.reason.find(c.reason) != std::string::npos)
        << save.reason;
    EXPECT_TRUE(c.note.empty() ? save.sizeNote.empty() : save.sizeNote.find(c.note) != std::string::npos)
        << save.sizeNote;
  }
  EXPECT_EQ(ReadSlotToContinue("/nonexistent", 4).reason,
            "セーブスロット 4 はありません。スロットは 0～3 です。");
}

// A save killed while writing leaves its hidden temporary file; the next save
// into that folder removes those of any slot, the autosave and the war
// records, and nothing else.
TEST(Leftovers, TheNextSaveRemovesThemAndLeavesEverythingElse) {
  TempFolder root;
  const fs::path save = root / "Save";
  fs::create_directory(save);
  for (const char* name :
       {".Save0.sav.Ab3xZ9", ".Save2.sav.000000", ".Save3.rec.Zx98yu", ".Autosave.sav.Qw12er",
        ".Autosave.rec.Po09iu", ".Save0.sav.notes", ".Save0.sav.12345", ".Save0.sav.1234567",
        ".Save0.sav.ab-cd_", ".other.sav.Ab3xZ9", "Save0.sav.Ab3xZ9", ".Save0.sav.LOCKED", "kept"})
    WriteBytes(save / name, "x");
  fs::create_symlink("kept", save / ".Save0.sav.Link01");
  fs::create_directory(save / ".Save0.sav.Dir001");
  const int held = open((save / ".Save0.sav.LOCKED").c_str(), O_RDONLY);  // a save in progress elsewhere
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  SaveRecord record = SampleSave();
  ASSERT_TRUE(AccessSaveSlot(save, 1, kWriteSlot, record));
  Entries left = {".Save0.sav.12345",
                  ".Save0.sav.1234567",
                  ".Save0.sav.Dir001",
                  ".Save0.sav.LOCKED",
                  ".Save0.sav.Link01",
                  ".Save0.sav.ab-cd_",
                  ".Save0.sav.notes",
                  ".other.sav.Ab3xZ9",
                  "Save0.sav.Ab3xZ9",
                  "Save1.sav",
                  "kept"};
  EXPECT_EQ(FolderEntries(save), left);
  EXPECT_EQ(ReadBytes(save / "kept"), "x");
  close(held);  // its writer is gone: the next save removes it
  ASSERT_TRUE(AccessSaveSlot(save, 1, kWriteSlot, record));
  left.erase(left.begin() + 3);
  EXPECT_EQ(FolderEntries(save), left);
  WriteBytes(save / ".Save2.sav.Mn45bv", "x");  // and the autosave clears a slot's
  ASSERT_TRUE(WriteAutosave(save, record, nullptr));
  left.insert(left.begin() + 7, "Autosave.sav");
  EXPECT_EQ(FolderEntries(save), left);
  WriteBytes(root / ".初級.dat.Ab3xZ9", "x");  // a scenario's leftovers go when it is written again
  ASSERT_TRUE(WriteScenarioFile(root / "初級.dat", SampleScenario()));
  EXPECT_EQ(FolderEntries(root.path()), (Entries{"Save", "初級.dat"}));
}

}  // namespace
}  // namespace yuunagi
