#include "files/RecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <optional>
#include <utility>

#include "files/FileErrors.h"
#include "files/TemporaryFiles.h"

namespace yuunagi {
namespace record_file {
namespace {

namespace fs = std::filesystem;

std::string OpenFailure(const fs::path& path, int error) {
  switch (error) {
    case ENOENT: return Quote(path) + " がありません。";
    case EACCES:
    case EPERM: return Quote(path) + " を読む権限がありません。";
    default: return Quote(path) + " を開けません (" + ReasonForError(error) + ")。";
  }
}

// Why writing `path` failed, from errno: call it right after the failure.
std::string WriteFailure(const fs::path& path) {
  const int reason = errno;
  return Quote(path) + " を書けません (" + ReasonForError(reason) + ")。";
}

// A file of `fileSize` bytes that lacks bytes of its `recordSize`-byte record.
std::string TooShortMessage(const fs::path& path, std::uintmax_t fileSize, std::size_t recordSize,
                            std::string_view kind) {
  return Quote(path) + " は " + std::to_string(fileSize) + " バイトしかなく、" + std::string(kind) +
         "に必要な " + std::to_string(recordSize) + " バイトに足りません。";
}

// A file longer than its record, of which only the record was read.
std::string LongerFileNote(const fs::path& path, std::uintmax_t fileSize, std::size_t recordSize,
                           std::string_view kind) {
  const std::string record = std::to_string(recordSize);
  return Quote(path) + " は " + std::to_string(fileSize) + " バイトあり、" + std::string(kind) + "の " +
         record + " バイトより長いので、はじめの " + record + " バイトだけを読みました。";
}

// A file-size limit (ulimit -f) must make a write fail like a full disk
// instead of killing the program, so the signal it raises is ignored.
void IgnoreFileSizeSignal() {
  static const bool ignored = [] { return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR; }();
  (void)ignored;
}

// The file that replacing `path` really replaces: `path` itself, or when it
// is a link, the file the link leads to, so the user's link stays a link.
bool ResolveLink(const fs::path& path, fs::path& target, std::string* error) {
  struct stat st {};
  target = path;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
  std::error_code ec, linkError;
  target = fs::canonical(path, ec);
  if (!ec) return true;
  const fs::path link = fs::read_symlink(path, linkError);
  SetError(error, ec == std::errc::no_such_file_or_directory
                      ? Quote(path) + " はリンクですが、リンク先 " + Quote(link) + " がありません。"
                      : Quote(path) + " のリンク先 " + Quote(link) + " を開けません (" +
                            ReasonForError(ec.default_error_condition().value()) + ")。");
  return false;
}

// Copies the bytes of `from` past `offset`, at most kLargestTail of them, to
// the end of `to`.
bool CopyTail(int from, off_t offset, int to, const fs::path& path, std::string* error) {
  std::string tail(kLargestTail + 1, '\0');  // one byte more tells a file that grew meanwhile
  const long n = ReadAt(from, tail.data(), tail.size(), offset);
  if (n < 0) {
    const int reason = errno;
    SetError(error, Quote(path) + " を読めません (" + ReasonForError(reason) + ")。");
    return false;
  }
  if (static_cast<std::size_t>(n) > kLargestTail) {
    SetError(error, Quote(path) + " は大きすぎます。記録の後ろに残せるのは " + std::to_string(kLargestTail) +
                        " バイトまでです。");
    return false;
  }
  if (WriteAll(to, std::string_view(tail.data(), static_cast<std::size_t>(n)))) return true;
  SetError(error, WriteFailure(path));
  return false;
}

// Why the existing file `path` must not be replaced, or "" when it may:
// a folder, something that is no plain file, or a file the user keeps
// read-only (no write permission bit at all holds for the super-user too).
std::string RefusalToReplace(const fs::path& path, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return Quote(path) + " はファイルではなくフォルダです。";
  if (!S_ISREG(st.st_mode)) return Quote(path) + " は普通のファイルではありません。";
  if ((st.st_mode & 0222) == 0) return Quote(path) + " は読み取り専用です。";
  if (::access(path.c_str(), W_OK) == 0) return "";
  const int reason = errno;
  return reason == EACCES || reason == EPERM
             ? Quote(path) + " に書き込む権限がありません。"
             : Quote(path) + " を書けません (" + ReasonForError(reason) + ")。";
}

// Makes a rename within `folder` durable. Best effort: some file systems
// cannot sync a folder, and the new file is already in place by then.
void SyncFolder(const fs::path& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.ok()) ::fsync(fd.get());
}

// The file in place before the replacement, if any.
struct OldFile {
  bool exists = false;
  struct stat info {};
  Descriptor tail;  // open when the bytes after the record are to be kept
};

// Judges the file in place: false (with `error`) when it must stay as it is.
// When its tail is to be kept, it is opened now and read through that one
// descriptor later.
bool JudgeOldFile(const fs::path& path, const fs::path& target, long keepTailFrom, OldFile& old,
                  std::string* error) {
  old.exists = ::stat(target.c_str(), &old.info) == 0;
  if (!old.exists) return true;
  if (std::string refusal = RefusalToReplace(path, old.info); !refusal.empty()) {
    SetError(error, std::move(refusal));
    return false;
  }
  if (keepTailFrom < 0 || old.info.st_size <= keepTailFrom) return true;
  if (static_cast<std::size_t>(old.info.st_size - keepTailFrom) > kLargestTail) {
    SetError(error, Quote(path) + " は大きすぎます (" + std::to_string(old.info.st_size) +
                        " バイト)。記録の後ろに残せるのは " + std::to_string(kLargestTail) +
                        " バイトまでです。");
    return false;
  }
  old.tail = OpenPlainFile(target, error);
  return old.tail.ok();
}

// Writes the new content, and the old file's tail when kept, into `temp`,
// syncs and closes it. The reason when that fails.
std::optional<std::string> WriteNewContent(Descriptor& temp, std::string_view bytes, const OldFile& old,
                                           long keepTailFrom, const fs::path& path) {
  if (!WriteAll(temp.get(), bytes)) return WriteFailure(path);
  if (old.tail.ok()) {
    std::string text;
    if (!CopyTail(old.tail.get(), keepTailFrom, temp.get(), path, &text)) return text;
  }
  // A replaced file keeps its permissions; a new one is readable by all.
  ::fchmod(temp.get(), old.exists ? (old.info.st_mode & 07777) : 0644);
  if (::fsync(temp.get()) != 0) return WriteFailure(path);
  if (!temp.Close()) return WriteFailure(path);
  return std::nullopt;
}

}  // namespace

std::int16_t GetInt16(std::string_view bytes, std::size_t offset) {
  const auto lo = static_cast<unsigned char>(bytes[offset]);
  const auto hi = static_cast<unsigned char>(bytes[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

void PutInt16(std::string& bytes, std::size_t offset, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<char>(bits & 0xFF);
  bytes[offset + 1] = static_cast<char>(bits >> 8);
}

std::string Quote(const fs::path& path) { return "「" + path.string() + "」"; }

void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

Descriptor OpenPlainFile(const fs::path& path, std::string* error, struct stat* info) {
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

long ReadAt(int fd, char* buffer, std::size_t size, off_t offset) {
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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ReadRecordBytes(const fs::path& path, std::size_t size, std::string& bytes, std::string* error,
                     std::uintmax_t* fileSize) {
  struct stat info {};
  Descriptor fd = OpenPlainFile(path, error, &info);
  if (!fd.ok()) return false;
  std::string buffer(size, '\0');
  const long n = ReadAt(fd.get(), buffer.data(), size, 0);
  if (n < 0) {
    const int reason = errno;
    SetError(error, Quote(path) + " を読めません (" + ReasonForError(reason) + ")。");
    return false;
  }
  // A file that shrank since it was opened counts with what was read.
  const auto read = static_cast<std::uintmax_t>(n);
  if (fileSize != nullptr) *fileSize = read < size ? read : static_cast<std::uintmax_t>(info.st_size);
  bytes = std::move(buffer);
  return true;
}

bool ReadRecordFile(const fs::path& path, std::size_t size, std::string_view kind, std::string& bytes,
                    std::string* error, std::string* sizeNote) {
  std::uintmax_t fileSize = 0;
  if (!ReadRecordBytes(path, size, bytes, error, &fileSize)) return false;
  if (fileSize < size) {
    SetError(error, TooShortMessage(path, fileSize, size, kind));
    return false;
  }
  SetError(sizeNote, fileSize > size ? LongerFileNote(path, fileSize, size, kind) : "");
  return true;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes, std::string* error,
                           long keepTailFrom) {
  IgnoreFileSizeSignal();
  fs::path target;
  if (!ResolveLink(path, target, error)) return false;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string name = target.filename().string();
  RemoveLeftoverTemporaries(folder, std::span(&name, 1));
  OldFile old;
  if (!JudgeOldFile(path, target, keepTailFrom, old, error)) return false;
  TemporaryFile temp;
  if (const int reason = CreateTemporaryFile(folder, target, temp); reason != 0) {
    SetError(error, Quote(folder) + " に書き込めません (" + ReasonForError(reason) + ")。");
    return false;
  }
  std::optional<std::string> failure = WriteNewContent(temp.fd, bytes, old, keepTailFrom, path);
  if (!failure && ::rename(temp.path.c_str(), target.c_str()) != 0) failure = WriteFailure(path);
  if (failure) {
    temp.fd.Close();
    ::unlink(temp.path.c_str());
    SetError(error, std::move(*failure));
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace record_file
}  // namespace yuunagi
