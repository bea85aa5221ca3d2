// What the data files say when something is wrong, in the player's words.
#include <cerrno>
#include <cstring>

#include "TestFiles.h"
#include "files/FileErrors.h"
#include "files/ScenarioFile.h"

namespace yuunagi {
namespace {

using namespace testing;

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

}  // namespace
}  // namespace yuunagi
