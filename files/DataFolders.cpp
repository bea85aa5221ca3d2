#include "files/DataFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "files/ScenarioFile.h"

namespace yuunagi {
namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool HasPictures(const fs::path& folder) { return IsFolder(folder / "Picture"); }

// A folder the game may write its files into.
bool IsWritableFolder(const fs::path& path) {
  return IsFolder(path) && access(path.c_str(), W_OK | X_OK) == 0;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The XDG data folders in the order they are searched: XDG_DATA_HOME, then
// XDG_DATA_DIRS (by default /usr/local/share and /usr/share).
std::vector<fs::path> XdgDataFolders() {
  std::vector<fs::path> folders{UserDataFolder().parent_path()};
  std::string dirs = Environment("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const fs::path dir = dirs.substr(start, end - start);
    if (dir.is_absolute()) folders.push_back(dir);
    start = end + 1;
  }
  return folders;
}

fs::path FindData(const fs::path& programFolder) {
  if (HasPictures(programFolder)) return programFolder;
  const fs::path shared = (programFolder / ".." / "share" / "yuunagi").lexically_normal();
  if (HasPictures(shared)) return shared;
  for (const fs::path& dir : XdgDataFolders())
    if (HasPictures(dir / "yuunagi")) return dir / "yuunagi";
  return programFolder;
}

}  // namespace

GameFolders FoldersBeside(const fs::path& folder) { return {folder, folder / "Save", {folder / "Scenario"}}; }

fs::path UserDataFolder() {
  fs::path home = Environment("XDG_DATA_HOME");
  if (!home.is_absolute()) {
    fs::path user = Environment("HOME");
    if (user.empty()) {
      const passwd* entry = getpwuid(getuid());
      if (entry && entry->pw_dir) user = entry->pw_dir;
    }
    home = user / ".local" / "share";
  }
  return home / "yuunagi";
}

GameFolders FindGameFolders(const fs::path& programFolder, const fs::path& dataDir) {
  GameFolders folders = FoldersBeside(dataDir.empty() ? FindData(programFolder) : fs::absolute(dataDir));
  if (IsWritableFolder(folders.save)) return folders;
  const fs::path own = UserDataFolder();
  folders.save = own / "Save";
  if (own / "Scenario" != folders.scenarios.front())
    folders.scenarios.insert(folders.scenarios.begin(), own / "Scenario");
  return folders;
}

std::vector<std::string> ListScenarios(const std::vector<fs::path>& folders) {
  std::vector<ListedFile> files;
  for (const fs::path& folder : folders) {
    std::vector<ListedFile> listed = ListFiles(folder, kScenarioExtension);
    files.insert(files.end(), std::make_move_iterator(listed.begin()), std::make_move_iterator(listed.end()));
  }
  std::stable_sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
    return a.path.filename().native() < b.path.filename().native();
  });
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (ListedFile& file : files)
    if (seen.insert(file.name).second) names.push_back(std::move(file.name));
  return names;
}

std::optional<ScenarioRecord> ReadScenario(const std::vector<fs::path>& folders, std::string_view name,
                                           std::string* error, std::string* sizeNote) {
  for (const fs::path& folder : folders)
    if (const std::optional<fs::path> file = FindScenarioFile(folder, name))
      return ReadScenarioFile(*file, error, sizeNote);
  return ReadScenario(folders.empty() ? fs::path("Scenario") : folders.back(), name, error, sizeNote);
}

}  // namespace yuunagi
