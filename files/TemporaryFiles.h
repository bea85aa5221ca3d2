// The hidden temporary files a replacement writes before it renames them over
// the real file, and the leftovers of a replacement that was killed midway.
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "files/Descriptor.h"

namespace yuunagi {
namespace record_file {

// A temporary file beside the file it will replace. While `lock` is open the
// file is locked (flock), so that another game instance cleaning up the
// folder never takes it for a leftover; the lock outlives closing `fd`.
struct TemporaryFile {
  std::filesystem::path path;
  Descriptor fd;
  Descriptor lock;
};

// Makes "." + the name of `target` + "." + six letters or digits in `folder`,
// the folder of `target`, so that the rename never crosses file systems;
// open for writing and locked. 0, or the errno why none can be made.
int CreateTemporaryFile(const std::filesystem::path& folder, const std::filesystem::path& target,
                        TemporaryFile& temp);

// Removes from `folder` the temporary files of `names` that nobody holds any
// more: those of a replacement killed while writing. A link, a folder or
// anything else with a similar name stays.
void RemoveLeftoverTemporaries(const std::filesystem::path& folder, std::span<const std::string> names);

}  // namespace record_file
}  // namespace yuunagi
