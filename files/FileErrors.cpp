#include "files/FileErrors.h"

#include <cerrno>
#include <cstring>

namespace yuunagi {

std::string ReasonForError(int errorNumber) {
  switch (errorNumber) {
    case ENOSPC: return "ディスクの空きがありません";
    case EACCES:
    case EPERM: return "権限がありません";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EDQUOT: return "ディスクの使用量が割り当てを超えています";
    case EFBIG: return "ファイルが大きすぎます";
    case ENAMETOOLONG: return "名前が長すぎます";
    case EIO: return "入出力エラーが起きました";
    case ENOENT: return "ファイルまたはフォルダがありません";
    case ENOTDIR: return "途中にフォルダではないものがあります";
    case EISDIR: return "ファイルではなくフォルダです";
    default: return std::strerror(errorNumber);
  }
}

}  // namespace yuunagi
