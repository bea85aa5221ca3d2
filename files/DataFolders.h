// Where the game finds its pictures, scenarios and music, and where it keeps
// the player's saves and scenarios.
//
// A build folder or a portable copy holds everything beside the program:
// Picture/, Scenario/, Music/ and Save/. An installed game reads its data from
// <prefix>/share/yuunagi and keeps what the player makes in the player's own
// data folder ($XDG_DATA_HOME/yuunagi).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/Records.h"

namespace yuunagi {

struct GameFolders {
  // Picture/, Scenario/ and Music/ are read from here.
  std::filesystem::path data;
  // The save slots; made on the first save when missing.
  std::filesystem::path save;
  // The scenario folders in the order they win: the player's own first.
  std::vector<std::filesystem::path> scenarios;

  std::filesystem::path Pictures() const { return data / "Picture"; }
  std::filesystem::path Music() const { return data / "Music"; }
};

// Everything beside the program, as in the build folder.
GameFolders FoldersBeside(const std::filesystem::path& folder);

// The player's own folder for the game: $XDG_DATA_HOME/yuunagi, or
// ~/.local/share/yuunagi when XDG_DATA_HOME is unset or not absolute.
std::filesystem::path UserDataFolder();

// The folders of the game whose program lives in `programFolder`.
//
// Data: `dataDir` when given; else the program's folder when Picture/ is
// there; else ../share/yuunagi from the program when Picture/ is there; else
// the first XDG data folder (XDG_DATA_HOME, then XDG_DATA_DIRS) whose yuunagi/
// has Picture/; when none has, the program's folder, so a missing picture is
// reported where the game looked first.
//
// Saves: <data>/Save when that folder exists and can be written; otherwise
// the player's own <UserDataFolder>/Save. Scenarios: <data>/Scenario, and
// when the saves are the player's own, <UserDataFolder>/Scenario before it.
GameFolders FindGameFolders(const std::filesystem::path& programFolder,
                            const std::filesystem::path& dataDir = {});

// The scenarios of all `folders` in one list, sorted by the bytes of their
// file names as a single folder is; a name found in several folders is
// listed once and read from the first of them.
std::vector<std::string> ListScenarios(const std::vector<std::filesystem::path>& folders);

// Reads the scenario `name` from the first of `folders` that has it; a file
// there that cannot be read is reported, not passed over. When no folder has
// it, `error` names the file missing from the last folder. `sizeNote` as
// ReadScenarioFile gives it: a line on a file longer than a scenario, or "".
std::optional<ScenarioRecord> ReadScenario(const std::vector<std::filesystem::path>& folders,
                                           std::string_view name, std::string* error = nullptr,
                                           std::string* sizeNote = nullptr);

}  // namespace yuunagi
