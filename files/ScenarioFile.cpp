#include "files/ScenarioFile.h"

#include <algorithm>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "files/Cp932.h"
#include "files/RecordFile.h"
#include "files/RecordLayout.h"
#include "files/Text.h"

namespace yuunagi {

namespace fs = std::filesystem;

std::string EncodeScenario(const ScenarioRecord& record) {
  return EncodeRecord(record, kScenarioLayout, kScenarioRecordSize);
}

ScenarioRecord DecodeScenario(std::string_view bytes) {
  return DecodeRecord(bytes, kScenarioLayout, kScenarioRecordSize);
}

std::vector<ListedFile> ListFiles(const fs::path& folder, std::string_view extension) {
  std::vector<ListedFile> files;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return files;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string fileName = it->path().filename().string();
    if (fileName.starts_with('.') || !EndsWithIgnoringCase(fileName, extension)) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    files.push_back({StripExtension(fileName), it->path()});
  }
  // Sorted by the file names' bytes; each name is taken out of its path once.
  std::vector<std::pair<std::string, std::size_t>> order;
  order.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) order.emplace_back(files[i].path.filename().native(), i);
  std::sort(order.begin(), order.end());
  std::vector<ListedFile> sorted;
  sorted.reserve(files.size());
  for (const auto& entry : order) sorted.push_back(std::move(files[entry.second]));
  return sorted;
}

std::vector<std::string> ListScenarios(const fs::path& folder) {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (ListedFile& file : ListFiles(folder, kScenarioExtension)) {
    // X.dat and X.DAT side by side are one entry X, read from X.dat.
    if (seen.insert(file.name).second) names.push_back(std::move(file.name));
  }
  return names;
}

std::optional<fs::path> FindScenarioFile(const fs::path& folder, std::string_view name) {
  // The usual spelling first, then whatever case the listing found.
  const fs::path usual = folder / (std::string(name) + std::string(kScenarioExtension));
  std::error_code ec;
  if (fs::is_regular_file(usual, ec)) return usual;
  for (const ListedFile& file : ListFiles(folder, kScenarioExtension))
    if (file.name == name) return file.path;
  return std::nullopt;
}

std::optional<ScenarioRecord> ReadScenarioFile(const fs::path& file, std::string* error,
                                               std::string* sizeNote) {
  std::string bytes;
  if (!record_file::ReadRecordFile(file, kScenarioRecordSize, "シナリオファイル", bytes, error, sizeNote))
    return std::nullopt;
  return DecodeScenario(bytes);
}

std::optional<ScenarioRecord> ReadScenario(const fs::path& folder, std::string_view name, std::string* error,
                                           std::string* sizeNote) {
  const std::optional<fs::path> file = FindScenarioFile(folder, name);
  if (!file) {
    // Name the file the player expects, so the message says what is missing.
    const fs::path expected = folder / (std::string(name) + std::string(kScenarioExtension));
    std::error_code ec;
    record_file::SetError(error, fs::is_directory(expected, ec)
                                     ? record_file::Quote(expected) + " はファイルではなくフォルダです。"
                                     : "シナリオ " + record_file::Quote(expected) + " がありません。");
    return std::nullopt;
  }
  return ReadScenarioFile(*file, error, sizeNote);
}

bool WriteScenarioFile(const fs::path& file, const ScenarioRecord& record, std::string* error) {
  return record_file::ReplaceFileAtomically(file, EncodeScenario(record), error);
}

}  // namespace yuunagi
