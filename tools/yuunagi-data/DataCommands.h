// The subcommands of yuunagi-data, and the pieces of them that the tests and
// the fuzz targets call directly.
#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "RecordJson.h"

namespace yuunagi::data_tool {

// Exit statuses of the tool.
constexpr int kExitOk = 0;
constexpr int kExitBadData = 1;  // a file that cannot be read, written, parsed or played
constexpr int kExitUsage = 2;    // a command line the tool does not understand

// A command line the tool cannot follow, told in one line.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The kind of a data file follows its extension, in any letter case;
// another extension is a UsageError.
enum class FileKind { Scenario, Save };
FileKind KindOf(const std::string& path);

// The largest JSON file `build` reads.
constexpr std::size_t kLargestJson = 1 << 20;

// JSON from text or from a plain file of at most kLargestJson bytes; DataError
// says where it fails. `where` names the input in the message.
Json ParseJson(std::string_view text, const std::string& where);
Json ReadJsonFile(const std::string& path);

// The bytes `build` writes for `json`: DataError for a record it refuses
// (a scenario must also be playable).
std::string BuildRecordBytes(FileKind kind, const Json& json);

// Each adds one subcommand to `app`; its callback sets `status`.
void AddDumpCommand(CLI::App& app, int& status);
void AddBuildCommand(CLI::App& app, int& status);
void AddCheckCommand(CLI::App& app, int& status);
void AddRenderMusicCommand(CLI::App& app, int& status);

}  // namespace yuunagi::data_tool
