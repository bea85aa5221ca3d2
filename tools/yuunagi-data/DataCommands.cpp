#include "DataCommands.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "files/Playability.h"
#include "files/RecordFile.h"
#include "files/RecordLayout.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "files/Text.h"

namespace yuunagi::data_tool {
namespace {

std::string Quote(const std::string& path) { return "「" + path + "」"; }

// A file longer than its record is read up to the record, and said so when
// the command succeeds (a failure stays one line).
void ShowSizeNote(const std::string& note) {
  if (!note.empty()) std::cerr << "yuunagi-data: " << note << '\n';
}

ScenarioRecord LoadScenario(const std::string& path, std::string& note) {
  std::string error;
  std::optional<ScenarioRecord> record = ReadScenarioFile(path, &error, &note);
  if (!record) throw DataError(error);
  return *record;
}

SaveRecord LoadSave(const std::string& path, std::string& note) {
  std::string error;
  std::optional<SaveRecord> record = ReadSaveFile(path, &error, &note);
  if (!record) throw DataError(error);
  return *record;
}

// The keys of a record as the help lists them: a text with its width in
// bytes, a per-district field with its six values.
template <typename Layout>
std::string KeysOf(const Layout& layout) {
  std::string keys, line;
  for (const auto& field : layout) {
    std::string key(field.name);
    if (field.kind == FieldKind::Text) key += "[" + std::to_string(field.width) + " bytes]";
    if (field.count > 1) key += "[6]";
    if (line.size() + key.size() > 90) keys += std::exchange(line, "") + "\n        ";
    line += key + (&field == &layout.back() ? "" : ", ");
  }
  return keys + line;
}

void Dump(const std::string& path) {
  std::string note;
  const Json json = KindOf(path) == FileKind::Scenario ? ScenarioToJson(LoadScenario(path, note))
                                                       : SaveToJson(LoadSave(path, note));
  std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
  ShowSizeNote(note);
}

void Build(const std::string& input, const std::string& output) {
  const FileKind kind = KindOf(output);
  const std::string bytes = BuildRecordBytes(kind, ReadJsonFile(input));
  std::string error;
  if (!record_file::ReplaceFileAtomically(output, bytes, &error)) throw DataError(error);
}

int Check(const std::string& path) {
  std::string note;
  if (KindOf(path) == FileKind::Scenario) {
    if (std::optional<std::string> problem = CheckScenario(LoadScenario(path, note)))
      throw DataError(*problem);
  } else {
    SaveToContinue save = ReadSaveToContinue(path);
    if (!save.CanContinue()) throw DataError(save.reason);
    note = std::move(save.sizeNote);
  }
  ShowSizeNote(note);
  std::cout << "OK\n";
  return kExitOk;
}

}  // namespace

FileKind KindOf(const std::string& path) {
  if (EndsWithIgnoringCase(path, ".dat")) return FileKind::Scenario;
  if (EndsWithIgnoringCase(path, ".sav")) return FileKind::Save;
  throw UsageError(Quote(path) +
                   " の種類がわかりません。拡張子は .dat (シナリオ) か .sav (セーブ) にしてください。");
}

Json ParseJson(std::string_view text, const std::string& where) {
  try {
    return Json::parse(text);
  } catch (const Json::exception& e) {
    // The library's text starts with its own code in brackets; the rest says where.
    std::string reason = e.what();
    if (const auto end = reason.find("] "); reason.starts_with('[') && end != std::string::npos)
      reason.erase(0, end + 2);
    throw DataError(Quote(where) + " は JSON として読めません: " + reason);
  }
}

Json ReadJsonFile(const std::string& path) {
  std::string error;
  struct stat info {};
  const record_file::Descriptor fd = record_file::OpenPlainFile(path, &error, &info);
  if (!fd.ok()) throw DataError(error);
  const std::string tooLarge =
      Quote(path) + " は大きすぎます。JSON は " + std::to_string(kLargestJson) + " バイトまでです。";
  if (static_cast<std::size_t>(info.st_size) > kLargestJson) throw DataError(tooLarge);
  std::string text(kLargestJson + 1, '\0');  // one byte more tells a file that grew since
  const long n = record_file::ReadAt(fd.get(), text.data(), text.size(), 0);
  if (n < 0) throw DataError(Quote(path) + " を読めません。");
  if (static_cast<std::size_t>(n) > kLargestJson) throw DataError(tooLarge);
  text.resize(static_cast<std::size_t>(n));
  return ParseJson(text, path);
}

std::string BuildRecordBytes(FileKind kind, const Json& json) {
  if (kind == FileKind::Save) return EncodeSave(SaveFromJson(json));
  const ScenarioRecord record = ScenarioFromJson(json);
  if (auto problem = CheckScenario(record)) throw DataError(*problem);
  return EncodeScenario(record);
}

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
      "OUT's extension decides the kind (any letter case):\n  .dat  a scenario: " + KeysOf(kScenarioLayout) +
      "\n  .sav  a save: " + KeysOf(kSaveLayout) +
      "\nKeys left out are 0 or empty; any other key is an error. A key marked [6] takes six\n"
      "values, districts 0 to 5; numbers are -32768..32767; a text must fit its bytes in\n"
      "Shift-JIS. A scenario must also be playable (see check). FILE may hold at most " +
      std::to_string(kLargestJson) + " bytes.\nOUT is replaced whole, or on any error left as it was.");
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
      "reason why not on stderr (exit 1). A file longer than its record is read up to the record, "
      "and a note on stderr says so. The file is only read.");
  auto file = std::make_shared<std::string>();
  check->add_option("FILE", *file, "the .dat or .sav file")->required();
  check->callback([file, &status] { status = Check(*file); });
}

}  // namespace yuunagi::data_tool
