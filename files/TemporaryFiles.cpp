#include "files/TemporaryFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace yuunagi {
namespace record_file {
namespace {

namespace fs = std::filesystem;

// The characters mkostemp puts in place of its six X's.
bool IsTemporaryCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Whether `entry` is "." + one of `names` + "." + six such characters.
bool IsTemporaryName(std::string_view entry, std::span<const std::string> names) {
  constexpr std::size_t kSuffix = 7;  // ".XXXXXX"
  if (entry.size() < 1 + kSuffix || entry.front() != '.' || entry[entry.size() - kSuffix] != '.')
    return false;
  for (std::size_t i = entry.size() - kSuffix + 1; i < entry.size(); ++i)
    if (!IsTemporaryCharacter(entry[i])) return false;
  const std::string_view name = entry.substr(1, entry.size() - 1 - kSuffix);
  for (const std::string& own : names)
    if (name == own) return true;
  return false;
}

// Removes the plain file `path` when no writer holds its lock. The name is
// checked to still be the file locked, so nothing made since is removed.
void RemoveIfAbandoned(const fs::path& path) {
  struct stat named {};
  struct stat held {};
  if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return;
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok() || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) return;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;  // a save in progress
  if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
    ::unlink(path.c_str());
}

// One try at a locked temporary file. False when a cleaner of another game
// instance removed it between its creation and its lock.
bool TryCreate(const fs::path& folder, const fs::path& target, TemporaryFile& temp, int& reason) {
  std::string name = ".";
  name += target.filename().string();
  name += ".XXXXXX";
  std::string pattern = (folder / name).string();
  Descriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
  struct stat st {};
  if (!fd.ok() || ::flock(fd.get(), LOCK_EX) != 0 || ::fstat(fd.get(), &st) != 0) {
    reason = errno;
    if (fd.ok()) ::unlink(pattern.c_str());
    return false;
  }
  if (st.st_nlink == 0) return false;
  Descriptor lock(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  if (!lock.ok()) {
    reason = errno;
    ::unlink(pattern.c_str());
    return false;
  }
  temp = {fs::path(pattern), std::move(fd), std::move(lock)};
  return true;
}

}  // namespace

int CreateTemporaryFile(const fs::path& folder, const fs::path& target, TemporaryFile& temp) {
  int reason = 0;
  for (int attempt = 0; attempt < 3 && reason == 0; ++attempt)
    if (TryCreate(folder, target, temp, reason)) return 0;
  return reason != 0 ? reason : EAGAIN;
}

void RemoveLeftoverTemporaries(const fs::path& folder, std::span<const std::string> names) {
  std::vector<fs::path> found;  // gathered first: the folder is not changed while it is read
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (IsTemporaryName(it->path().filename().string(), names)) found.push_back(it->path());
  for (const fs::path& path : found) RemoveIfAbandoned(path);
}

}  // namespace record_file
}  // namespace yuunagi
