// The data-file subcommands of yuunagi-data: dump, build and check.
#pragma once

#include <CLI/CLI.hpp>

namespace yuunagi::data_tool {

// Exit statuses of the tool.
constexpr int kExitOk = 0;
constexpr int kExitError = 1;       // bad input: nothing was written
constexpr int kExitUnplayable = 1;  // `check` found the file cannot be played (said on stderr)

// Each adds one subcommand to `app`; its callback sets `status`.
void AddDumpCommand(CLI::App& app, int& status);
void AddBuildCommand(CLI::App& app, int& status);
void AddCheckCommand(CLI::App& app, int& status);
void AddRenderMusicCommand(CLI::App& app, int& status);

}  // namespace yuunagi::data_tool
