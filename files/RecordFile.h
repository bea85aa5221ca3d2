// Reading and replacing the small fixed-record files of the game (scenarios
// and save slots). Reading never blocks on odd files and never changes
// anything; replacing goes through a temporary file and a rename, so the
// file on disk is always either wholly the old one or wholly the new one.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace yuunagi {
namespace record_file {

// Little-endian signed 16-bit numbers, the only number type of the records.
inline std::int16_t GetInt16(std::string_view bytes, std::size_t offset) {
  const auto lo = static_cast<unsigned char>(bytes[offset]);
  const auto hi = static_cast<unsigned char>(bytes[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

inline void PutInt16(std::string& bytes, std::size_t offset, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<char>(bits & 0xFF);
  bytes[offset + 1] = static_cast<char>(bits >> 8);
}

inline std::string Quote(const std::filesystem::path& path) { return "「" + path.string() + "」"; }

inline void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

inline std::string OpenFailure(const std::filesystem::path& path, int error) {
  switch (error) {
    case ENOENT: return Quote(path) + " がありません。";
    case EACCES:
    case EPERM: return Quote(path) + " を読む権限がありません。";
    default: return Quote(path) + " を開けません (" + std::strerror(error) + ")。";
  }
}

// A file descriptor that closes itself.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now; false when the close reported an error (a delayed write failure).
  bool Close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

// Opens an existing plain file for reading. A folder, a pipe or a device is
// refused, and a pipe never blocks the caller.
inline Descriptor OpenPlainFile(const std::filesystem::path& path, std::string* error,
                                struct stat* info = nullptr) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok()) {
    SetError(error, OpenFailure(path, errno));
    return fd;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    SetError(error, OpenFailure(path, errno));
    return Descriptor();
  }
  if (S_ISDIR(st.st_mode)) {
    SetError(error, Quote(path) + " はファイルではなくフォルダです。");
    return Descriptor();
  }
  if (!S_ISREG(st.st_mode)) {
    SetError(error, Quote(path) + " は普通のファイルではありません。");
    return Descriptor();
  }
  if (info != nullptr) *info = st;
  return fd;
}

// Reads up to `size` bytes from `offset` on; returns the count read, or -1.
inline long ReadAt(int fd, char* buffer, std::size_t size, off_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

inline bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The first `size` bytes of the plain file `path`; the bytes a shorter file
// lacks read as zero. False (with `error`) when the file cannot be read.
inline bool ReadRecordBytes(const std::filesystem::path& path, std::size_t size, std::string& bytes,
                            std::string* error) {
  Descriptor fd = OpenPlainFile(path, error);
  if (!fd.ok()) return false;
  std::string buffer(size, '\0');
  if (ReadAt(fd.get(), buffer.data(), size, 0) < 0) {
    const int reason = errno;
    SetError(error, Quote(path) + " を読めません (" + std::strerror(reason) + ")。");
    return false;
  }
  bytes = std::move(buffer);
  return true;
}

// At most this many bytes that follow the record in a longer file are kept
// when it is replaced; a file with more is left alone.
constexpr std::size_t kLargestTail = 64 * 1024;

namespace detail {
// A file-size limit (ulimit -f) must make a write fail like a full disk
// instead of killing the program, so the signal it raises is ignored.
inline void IgnoreFileSizeSignal() {
  static const bool ignored = [] { return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR; }();
  (void)ignored;
}

// The file that replacing `path` really replaces: `path` itself, or when it
// is a link, the file the link leads to, so the user's link stays a link.
inline bool ResolveLink(const std::filesystem::path& path, std::filesystem::path& target,
                        std::string* error) {
  namespace fs = std::filesystem;
  struct stat st {};
  target = path;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
  std::error_code ec, linkError;
  target = fs::canonical(path, ec);
  if (!ec) return true;
  const fs::path link = fs::read_symlink(path, linkError);
  SetError(error,
           ec == std::errc::no_such_file_or_directory
               ? Quote(path) + " はリンクですが、リンク先 " + Quote(link) + " がありません。"
               : Quote(path) + " のリンク先 " + Quote(link) + " を開けません (" + ec.message() + ")。");
  return false;
}

// Copies the bytes of `from` past `offset`, at most kLargestTail of them, to
// the end of `to`.
inline bool CopyTail(int from, off_t offset, int to, const std::filesystem::path& path, std::string* error) {
  std::string tail(kLargestTail + 1, '\0');  // one byte more tells a file that grew meanwhile
  const long n = ReadAt(from, tail.data(), tail.size(), offset);
  if (n < 0) {
    const int reason = errno;
    SetError(error, Quote(path) + " を読めません (" + std::strerror(reason) + ")。");
    return false;
  }
  if (static_cast<std::size_t>(n) > kLargestTail) {
    SetError(error, Quote(path) + " は大きすぎます。記録の後ろに残せるのは " + std::to_string(kLargestTail) +
                        " バイトまでです。");
    return false;
  }
  if (WriteAll(to, std::string_view(tail.data(), static_cast<std::size_t>(n)))) return true;
  const int reason = errno;
  SetError(error, Quote(path) + " を書けません (" + std::strerror(reason) + ")。");
  return false;
}

// Why the existing file `path` must not be replaced, or "" when it may:
// a folder, something that is no plain file, or a file the user keeps
// read-only (no write permission bit at all holds for the super-user too).
inline std::string RefusalToReplace(const std::filesystem::path& path, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return Quote(path) + " はファイルではなくフォルダです。";
  if (!S_ISREG(st.st_mode)) return Quote(path) + " は普通のファイルではありません。";
  if ((st.st_mode & 0222) == 0) return Quote(path) + " は読み取り専用です。";
  if (::access(path.c_str(), W_OK) == 0) return "";
  const int reason = errno;
  return reason == EACCES || reason == EPERM
             ? Quote(path) + " に書き込む権限がありません。"
             : Quote(path) + " を書けません (" + std::strerror(reason) + ")。";
}

// Makes a rename within `folder` durable. Best effort: some file systems
// cannot sync a folder, and the new file is already in place by then.
inline void SyncFolder(const std::filesystem::path& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.ok()) ::fsync(fd.get());
}
}  // namespace detail

// Replaces `path` with `bytes` followed, when `keepTailFrom` is given, by the
// bytes the old file held from that offset on (at most kLargestTail of them).
// The new content is written to a hidden temporary file in the same folder,
// synced, and renamed over the old file. A link is followed: the file it
// leads to is replaced, and the link stays. On failure the old file is
// untouched, no temporary file is left behind, and `error` says why.
inline bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                  std::string* error, long keepTailFrom = -1) {
  namespace fs = std::filesystem;
  detail::IgnoreFileSizeSignal();
  fs::path target;
  if (!detail::ResolveLink(path, target, error)) return false;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // The file in place now, if any, is judged first; its tail is then read through one descriptor.
  struct stat old {};
  Descriptor oldFile;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (std::string refusal = detail::RefusalToReplace(path, old); !refusal.empty()) {
      SetError(error, std::move(refusal));
      return false;
    }
    if (keepTailFrom >= 0 && old.st_size > keepTailFrom) {
      if (static_cast<std::size_t>(old.st_size - keepTailFrom) > kLargestTail) {
        SetError(error, Quote(path) + " は大きすぎます (" + std::to_string(old.st_size) +
                            " バイト)。記録の後ろに残せるのは " + std::to_string(kLargestTail) +
                            " バイトまでです。");
        return false;
      }
      oldFile = OpenPlainFile(target, error);
      if (!oldFile.ok()) return false;
    }
  }
  // A hidden name in the same folder, so the rename never crosses file systems.
  std::string tempName = ".";
  tempName += target.filename().string();
  tempName += ".XXXXXX";
  std::string pattern = (folder / tempName).string();
  Descriptor temp(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!temp.ok()) {
    const int reason = errno;
    SetError(error, Quote(folder) + " に書き込めません (" + std::strerror(reason) + ")。");
    return false;
  }
  const fs::path tempPath = pattern;
  const auto fail = [&](std::string text) {
    temp.Close();
    ::unlink(tempPath.c_str());
    SetError(error, std::move(text));
    return false;
  };
  const auto writeFailure = [&] {
    const int reason = errno;
    return Quote(path) + " を書けません (" + std::strerror(reason) + ")。";
  };
  if (!WriteAll(temp.get(), bytes)) return fail(writeFailure());
  if (oldFile.ok()) {
    std::string text;
    if (!detail::CopyTail(oldFile.get(), keepTailFrom, temp.get(), path, &text)) return fail(text);
  }
  // A replaced file keeps its permissions; a new one is readable by all.
  ::fchmod(temp.get(), exists ? (old.st_mode & 07777) : 0644);
  if (::fsync(temp.get()) != 0) return fail(writeFailure());
  if (!temp.Close()) return fail(writeFailure());
  if (::rename(tempPath.c_str(), target.c_str()) != 0) return fail(writeFailure());
  detail::SyncFolder(folder);
  return true;
}

}  // namespace record_file
}  // namespace yuunagi
