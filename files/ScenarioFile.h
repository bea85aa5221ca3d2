// Scenario files: the 414-byte record of a new game's start (start turn,
// music, description, difficulty texts, start table), how the scenario
// folder is listed, and how a listed scenario is read back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/Records.h"

namespace yuunagi {

// Scenario files end in this extension, in any letter case.
inline constexpr std::string_view kScenarioExtension = ".dat";

// The record as bytes on disk: exactly kScenarioRecordSize bytes.
std::string EncodeScenario(const ScenarioRecord& record);
// The record from file bytes. Missing bytes of a short file count as zero;
// bytes past the record are ignored. Texts lose their padding blanks.
ScenarioRecord DecodeScenario(std::string_view bytes);

// One plain file of a folder whose name ends in the extension asked for.
struct ListedFile {
  std::string name;            // file name without its last extension (StripExtension)
  std::filesystem::path path;  // the file itself, with its extension as spelled on disk
};

// The plain files of `folder` whose names end in `extension` (any letter
// case), hidden dot-files left out, sorted by the bytes of their names.
// A missing or unreadable folder gives an empty list.
std::vector<ListedFile> ListFiles(const std::filesystem::path& folder, std::string_view extension);

// The names of the scenarios in `folder`, as the title screen lists them.
std::vector<std::string> ListScenarios(const std::filesystem::path& folder);

// The file of the scenario `name` in `folder`: name + ".dat" in whatever
// letter case the listing found it. nullopt when there is none.
std::optional<std::filesystem::path> FindScenarioFile(const std::filesystem::path& folder,
                                                      std::string_view name);

// Reads the scenario `name` of `folder`. On failure returns nullopt and, when
// `error` is given, one line telling the player what went wrong; a file
// shorter than the record is refused that way too. A longer file is read up
// to the record, and `sizeNote` (when given) receives one line saying so, or
// "" for a file of the record's size.
std::optional<ScenarioRecord> ReadScenario(const std::filesystem::path& folder, std::string_view name,
                                           std::string* error = nullptr, std::string* sizeNote = nullptr);

// Reads a scenario from a file given by its path (any name), as ReadScenario.
std::optional<ScenarioRecord> ReadScenarioFile(const std::filesystem::path& file,
                                               std::string* error = nullptr, std::string* sizeNote = nullptr);

// Writes `record` to `file`, replacing it whole and atomically; on failure
// nothing changes and `error` tells why.
bool WriteScenarioFile(const std::filesystem::path& file, const ScenarioRecord& record,
                       std::string* error = nullptr);

}  // namespace yuunagi
