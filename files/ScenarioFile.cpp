#include "files/ScenarioFile.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "files/Cp932.h"
#include "files/RecordFile.h"
#include "media/Text.h"

namespace yuunagi {
namespace {

namespace fs = std::filesystem;
using record_file::GetInt16;
using record_file::PutInt16;

// Byte layout of the record.
constexpr std::size_t kStartTurnAt = 0;
constexpr std::size_t kMusicAt = 2, kMusicWidth = 20;
constexpr std::size_t kDescriptionAt = 22, kDescriptionWidth = 200;
constexpr std::size_t kDifficultyAt = 222, kDifficultyWidth = 20;
constexpr std::size_t kStartTableAt = 342;  // six columns of six numbers

// The start table's columns in the order they are stored.
constexpr std::array<std::array<std::int16_t, 6> ScenarioRecord::*, 6> kColumns = {
    &ScenarioRecord::StartOwner,    &ScenarioRecord::StartMoney,  &ScenarioRecord::StartSoldiers,
    &ScenarioRecord::StartStrength, &ScenarioRecord::StartWeapon, &ScenarioRecord::StartDevelopment};

}  // namespace

std::string EncodeScenario(const ScenarioRecord& record) {
  std::string bytes(kScenarioRecordSize, '\0');
  PutInt16(bytes, kStartTurnAt, record.StartTurn);
  bytes.replace(kMusicAt, kMusicWidth, EncodeField(record.Music, kMusicWidth));
  bytes.replace(kDescriptionAt, kDescriptionWidth, EncodeField(record.Description, kDescriptionWidth));
  for (std::size_t i = 0; i < 6; ++i)
    bytes.replace(kDifficultyAt + i * kDifficultyWidth, kDifficultyWidth,
                  EncodeField(record.DifficultyText[i], kDifficultyWidth));
  std::size_t at = kStartTableAt;
  for (const auto column : kColumns)
    for (const std::int16_t value : record.*column) PutInt16(bytes, std::exchange(at, at + 2), value);
  return bytes;
}

ScenarioRecord DecodeScenario(std::string_view fileBytes) {
  std::string bytes(fileBytes.substr(0, kScenarioRecordSize));
  bytes.resize(kScenarioRecordSize, '\0');
  const std::string_view view = bytes;
  ScenarioRecord record;
  record.StartTurn = GetInt16(view, kStartTurnAt);
  record.Music = DecodeField(view.substr(kMusicAt, kMusicWidth));
  record.Description = DecodeField(view.substr(kDescriptionAt, kDescriptionWidth));
  for (std::size_t i = 0; i < 6; ++i)
    record.DifficultyText[i] =
        DecodeField(view.substr(kDifficultyAt + i * kDifficultyWidth, kDifficultyWidth));
  std::size_t at = kStartTableAt;
  for (const auto column : kColumns)
    for (std::int16_t& value : record.*column) value = GetInt16(view, std::exchange(at, at + 2));
  return record;
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
  std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
    return a.path.filename().native() < b.path.filename().native();
  });
  return files;
}

std::vector<std::string> ListScenarios(const fs::path& folder) {
  std::vector<std::string> names;
  for (ListedFile& file : ListFiles(folder, kScenarioExtension)) {
    // X.dat and X.DAT side by side are one entry X, read from X.dat.
    if (std::find(names.begin(), names.end(), file.name) == names.end())
      names.push_back(std::move(file.name));
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

std::optional<ScenarioRecord> ReadScenarioFile(const fs::path& file, std::string* error) {
  std::string bytes;
  if (!record_file::ReadRecordBytes(file, kScenarioRecordSize, bytes, error)) return std::nullopt;
  return DecodeScenario(bytes);
}

std::optional<ScenarioRecord> ReadScenario(const fs::path& folder, std::string_view name,
                                           std::string* error) {
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
  return ReadScenarioFile(*file, error);
}

bool WriteScenarioFile(const fs::path& file, const ScenarioRecord& record, std::string* error) {
  return record_file::ReplaceFileAtomically(file, EncodeScenario(record), error);
}

}  // namespace yuunagi
