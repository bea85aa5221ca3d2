// Reading and replacing the small fixed-record files of the game (scenarios
// and save slots). Reading never blocks on odd files and never changes
// anything; replacing goes through a temporary file and a rename, so the
// file on disk is always either wholly the old one or wholly the new one.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

namespace detail {
// Copies the bytes of `from` past `offset` to the end of `to`. A missing old
// file has nothing to keep.
inline bool CopyTail(const std::filesystem::path& from, off_t offset, int to, std::string* error) {
  struct stat st {};
  if (::stat(from.c_str(), &st) != 0 && errno == ENOENT) return true;
  Descriptor old = OpenPlainFile(from, error);
  if (!old.ok()) return false;
  char buffer[64 * 1024];
  for (;;) {
    const long n = ReadAt(old.get(), buffer, sizeof buffer, offset);
    if (n < 0) {
      const int reason = errno;
      SetError(error, Quote(from) + " を読めません (" + std::strerror(reason) + ")。");
      return false;
    }
    if (n == 0) return true;
    if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(n)))) {
      const int reason = errno;
      SetError(error, Quote(from) + " を書けません (" + std::strerror(reason) + ")。");
      return false;
    }
    offset += n;
  }
}

// Makes a rename within `folder` durable. Best effort: some file systems
// cannot sync a folder, and the new file is already in place by then.
inline void SyncFolder(const std::filesystem::path& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.ok()) ::fsync(fd.get());
}
}  // namespace detail

// Replaces `path` with `bytes` followed, when `keepTailFrom` is given, by the
// bytes the old file held from that offset on. The new content is written to
// a hidden temporary file in the same folder, synced, and renamed over the old
// file. On failure the old file is untouched, no temporary file is left
// behind, and `error` says why.
inline bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                  std::string* error, long keepTailFrom = -1) {
  namespace fs = std::filesystem;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    SetError(error, Quote(path) + " はファイルではなくフォルダです。");
    return false;
  }
  // A hidden name in the same folder, so the rename never crosses file systems.
  std::string tempName = ".";
  tempName += path.filename().string();
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
  if (keepTailFrom >= 0 && !detail::CopyTail(path, keepTailFrom, temp.get(), error)) {
    const std::string text = error != nullptr ? *error : std::string();
    return fail(text);
  }
  // A replaced file keeps its permissions; a new one is readable by all.
  struct stat old {};
  ::fchmod(temp.get(), ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  if (::fsync(temp.get()) != 0) return fail(writeFailure());
  if (!temp.Close()) return fail(writeFailure());
  if (::rename(tempPath.c_str(), path.c_str()) != 0) return fail(writeFailure());
  detail::SyncFolder(folder);
  return true;
}

}  // namespace record_file
}  // namespace yuunagi
