// yuunagi-data: the scenario author's and tester's tool for the game's data
// files. Each subcommand registers itself below; a new one is one more line.
#include <csignal>
#include <iostream>

#include "DataCommands.h"

int main(int argc, char** argv) {
  using namespace yuunagi::data_tool;
  // A file-size limit makes a write fail like a full disk instead of killing the tool.
  std::signal(SIGXFSZ, SIG_IGN);
  CLI::App app(
      "Shows, builds and checks the data files of ユウナギ町争奪戦: scenarios (.dat) and saves (.sav);\n"
      "renders its songs to WAV.",
      "yuunagi-data");
  app.footer(
      "Exit status: 0 done; 1 bad data: a file that cannot be read, parsed, written or (for check)\n"
      "played, said in one line on stderr, nothing written; 2 a usage error: an unknown subcommand\n"
      "or option, a missing argument, a file name whose extension is not .dat or .sav.");
  app.set_version_flag("--version", "yuunagi-data " YUUNAGI_VERSION);
  app.require_subcommand(1);

  int status = kExitOk;
  AddDumpCommand(app, status);
  AddBuildCommand(app, status);
  AddCheckCommand(app, status);
  AddRenderMusicCommand(app, status);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    const std::vector<std::string> unknown = app.remaining();
    std::cerr << "yuunagi-data: "
              << (app.get_subcommands().empty() && !unknown.empty() ? "unknown subcommand " + unknown.front()
                                                                    : std::string(e.what()))
              << " (see yuunagi-data --help)\n";
    return kExitUsage;
  } catch (const UsageError& e) {
    std::cerr << "yuunagi-data: " << e.what() << '\n';
    return kExitUsage;
  } catch (const std::exception& e) {  // DataError and anything unforeseen: one line, no crash
    std::cerr << "yuunagi-data: " << e.what() << '\n';
    return kExitBadData;
  }
  return status;
}
