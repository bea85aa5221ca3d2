#include "DataCommands.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "RecordJson.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "media/Text.h"

namespace yuunagi::data_tool {
namespace {

namespace fs = std::filesystem;

enum class Kind { Scenario, Save };

std::string Quote(const std::string& path) { return "「" + path + "」"; }

// The kind of a data file follows its extension, in any letter case.
Kind KindOf(const std::string& path) {
  if (EndsWithIgnoringCase(path, ".dat")) return Kind::Scenario;
  if (EndsWithIgnoringCase(path, ".sav")) return Kind::Save;
  throw DataError(Quote(path) +
                  " の種類がわかりません。拡張子は .dat (シナリオ) か .sav (セーブ) にしてください。");
}

ScenarioRecord LoadScenario(const std::string& path) {
  std::string error;
  std::optional<ScenarioRecord> record = ReadScenarioFile(path, &error);
  if (!record) throw DataError(error);
  return *record;
}

SaveRecord LoadSave(const std::string& path) {
  std::string error;
  std::optional<SaveRecord> record = ReadSaveFile(path, &error);
  if (!record) throw DataError(error);
  return *record;
}

Json ParseJsonFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw DataError(Quote(path) + " はファイルではなくフォルダです。");
  // A pipe or a device would never end; only plain files are read.
  if (fs::exists(path, ec) && !fs::is_regular_file(path, ec))
    throw DataError(Quote(path) + " は普通のファイルではありません。");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DataError(Quote(path) + " を開けません。");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw DataError(Quote(path) + " を読めません。");
  try {
    return Json::parse(text.str());
  } catch (const Json::exception& e) {
    // The library's text starts with its own code in brackets; the rest says where.
    std::string reason = e.what();
    if (const auto end = reason.find("] "); reason.starts_with('[') && end != std::string::npos)
      reason.erase(0, end + 2);
    throw DataError(Quote(path) + " は JSON として読めません: " + reason);
  }
}

void Dump(const std::string& path) {
  const Json json =
      KindOf(path) == Kind::Scenario ? ScenarioToJson(LoadScenario(path)) : SaveToJson(LoadSave(path));
  std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

void Build(const std::string& input, const std::string& output) {
  const Kind kind = KindOf(output);
  const Json json = ParseJsonFile(input);
  std::string error;
  bool written = false;
  if (kind == Kind::Scenario) {
    const ScenarioRecord record = ScenarioFromJson(json);
    if (auto problem = CheckScenario(record)) throw DataError(*problem);
    written = WriteScenarioFile(output, record, &error);
  } else {
    written = WriteSaveFile(output, SaveFromJson(json), &error);
  }
  if (!written) throw DataError(error);
}

int Check(const std::string& path) {
  std::optional<std::string> problem;
  if (KindOf(path) == Kind::Scenario) {
    problem = CheckScenario(LoadScenario(path));
  } else {
    const SaveRecord save = LoadSave(path);
    problem =
        save.TurnNumber == 0
            ? std::optional<std::string>("TurnNumber が 0 です。空きスロットなので、つづきから遊べません。")
            : CheckSave(save);
  }
  if (problem) {
    std::cerr << *problem << '\n';
    return kExitUnplayable;
  }
  std::cout << "OK\n";
  return kExitOk;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int& status) {
  CLI::App* dump = app.add_subcommand(
      "dump", "Print a scenario (.dat) or save (.sav) file as JSON. The file is only read.");
  auto file = std::make_shared<std::string>();
  dump->add_option("FILE", *file, "the .dat or .sav file")->required();
  dump->callback([file, &status] {
    Dump(*file);
    status = kExitOk;
  });
}

void AddBuildCommand(CLI::App& app, int& status) {
  CLI::App* build = app.add_subcommand("build", "Write a scenario (.dat) or save (.sav) file from JSON.");
  build->footer(
      "OUT's extension decides the kind (any letter case):\n"
      "  .dat  a scenario: StartTurn, Music, Description, DifficultyText, StartOwner, StartMoney,\n"
      "        StartSoldiers, StartStrength, StartWeapon, StartDevelopment\n"
      "  .sav  a save: TurnNumber, MusicName, ScenarioName, Owner, Money, Soldiers, Strength,\n"
      "        Weapon, Development, CurrentDistrict, PlayerOfFaction, PlayerCount\n"
      "Keys left out are 0 or empty; any other key is an error. Per-district keys take six\n"
      "values, districts 0 to 5; numbers are -32768..32767; texts must fit their field in\n"
      "Shift-JIS (Description 200 bytes, the others 20). A scenario must also be playable\n"
      "(see check). OUT is replaced whole, or on any error left as it was.");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  build->add_option("FILE", *input, "the JSON file")->required();
  build->add_option("-o,--output", *output, "the .dat or .sav file to write")->required();
  build->callback([input, output, &status] {
    Build(*input, *output);
    status = kExitOk;
  });
}

void AddCheckCommand(CLI::App& app, int& status) {
  CLI::App* check = app.add_subcommand(
      "check",
      "Tell whether a scenario (.dat) or save (.sav) can be played: prints OK (exit 0) or the "
      "reason why not on stderr (exit 1). The file is only read.");
  auto file = std::make_shared<std::string>();
  check->add_option("FILE", *file, "the .dat or .sav file")->required();
  check->callback([file, &status] { status = Check(*file); });
}

}  // namespace yuunagi::data_tool
