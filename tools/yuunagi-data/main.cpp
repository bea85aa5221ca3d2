// yuunagi-data: the scenario author's and tester's tool for the game's data
// files. Each subcommand registers itself below; a new one is one more line.
#include <CLI/CLI.hpp>
#include <iostream>

#include "DataCommands.h"

int main(int argc, char** argv) {
  using namespace yuunagi::data_tool;
  CLI::App app(
      "Shows, builds and checks the data files of ユウナギ町争奪戦: scenarios (.dat) and saves (.sav);\n"
      "renders its songs to WAV.\n"
      "Exit status: 0 done; 1 on bad input or, for check, a file that cannot be played (one line on stderr; "
      "nothing written).",
      "yuunagi-data");
  app.require_subcommand(1);

  int status = kExitOk;
  AddDumpCommand(app, status);
  AddBuildCommand(app, status);
  AddCheckCommand(app, status);
  AddRenderMusicCommand(app, status);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitError;
  } catch (const std::exception& e) {  // DataError and anything unforeseen: one line, no crash
    std::cerr << "yuunagi-data: " << e.what() << '\n';
    return kExitError;
  }
  return status;
}
