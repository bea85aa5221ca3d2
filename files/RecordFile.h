// Reading and replacing the small fixed-record files of the game (scenarios
// and save slots). Reading never blocks on odd files and never changes
// anything; replacing goes through a temporary file and a rename, so the
// file on disk is always either wholly the old one or wholly the new one.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/Descriptor.h"

namespace yuunagi {
namespace record_file {

// Little-endian signed 16-bit numbers, the only number type of the records.
std::int16_t GetInt16(std::string_view bytes, std::size_t offset);
void PutInt16(std::string& bytes, std::size_t offset, std::int16_t value);

// A path as the game's messages show it, in 「」.
std::string Quote(const std::filesystem::path& path);

// Sets *error to `text` when the caller asked for a reason.
void SetError(std::string* error, std::string text);

// Opens an existing plain file for reading. A folder, a pipe or a device is
// refused, and a pipe never blocks the caller.
Descriptor OpenPlainFile(const std::filesystem::path& path, std::string* error, struct stat* info = nullptr);

// Reads up to `size` bytes from `offset` on; returns the count read, or -1.
long ReadAt(int fd, char* buffer, std::size_t size, off_t offset);

// Writes all of `bytes`; false when the file took fewer.
bool WriteAll(int fd, std::string_view bytes);

// The first `size` bytes of the plain file `path`; the bytes a shorter file
// lacks read as zero, and a longer file is never read past them. False (with
// `error`) when the file cannot be read. `fileSize` receives the file's size.
bool ReadRecordBytes(const std::filesystem::path& path, std::size_t size, std::string& bytes,
                     std::string* error, std::uintmax_t* fileSize = nullptr);

// The same for a file that must hold the whole `size`-byte record: a shorter
// one is refused, naming both sizes. A longer one is read up to the record
// and `sizeNote` says so ("" for a file of the record's size). `kind` names
// the file in the texts, e.g. "シナリオファイル".
bool ReadRecordFile(const std::filesystem::path& path, std::size_t size, std::string_view kind,
                    std::string& bytes, std::string* error, std::string* sizeNote = nullptr);

// At most this many bytes that follow the record in a longer file are kept
// when it is replaced; a file with more is left alone.
constexpr std::size_t kLargestTail = 64 * 1024;

// Replaces `path` with `bytes` followed, when `keepTailFrom` is given, by the
// bytes the old file held from that offset on (at most kLargestTail of them).
// The new content is written to a hidden temporary file in the same folder,
// synced, and renamed over the old file; the temporaries a killed replacement
// of the same file left there are removed first. A link is followed: the file
// it leads to is replaced, and the link stays. On failure the old file is
// untouched, no temporary file is left behind, and `error` says why.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                           long keepTailFrom = -1);

}  // namespace record_file
}  // namespace yuunagi
