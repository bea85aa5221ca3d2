// The fuzz targets of the readers, one function each over an input's bytes
// that checks the reader's invariants; a broken one stops the process, which
// libFuzzer reports as a finding and the replay test as a failure. Built with
// YUUNAGI_FUZZ_TARGET set to one of them, this is that target's libFuzzer
// program; built without, it is the replay test: `fuzz_replay TARGET FOLDER`
// runs every file of FOLDER through the target.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <span>

#include "DataCommands.h"
#include "core/GameSetup.h"
#include "core/HeadlessGame.h"
#include "files/Playability.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "media/MidiFile.h"

using namespace yuunagi;
using namespace yuunagi::data_tool;

#define FUZZ_CHECK(condition) ((condition) ? void() : Broken(#condition, __LINE__))

namespace {

[[noreturn]] void Broken(const char* invariant, int line) {
  std::fprintf(stderr, "FuzzTargets.cpp:%d: broken invariant: %s\n", line, invariant);
  std::abort();
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) { return {(const char*)data, size}; }

// A seed for the game's random numbers taken from the input, so a finding replays.
std::uint64_t SeedOf(std::string_view bytes) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return hash;
}

// What holds after every move of any game, whatever the start table held.
// (Not soldiers and strength: a start table may give a district a negative
// strength, whose blows add soldiers to the district it strikes.)
void CheckBoard(const GameData& g, std::size_t& factionsBefore) {
  std::set<int> factions;
  for (const DistrictRecord& d : g.Districts) {
    FUZZ_CHECK(d.Owner >= 0 && d.Owner < kFactionCount && d.Weapon >= 1 && d.Weapon <= kWeaponLimit);
    FUZZ_CHECK(d.Money >= 0 && d.Money <= kMoneyLimit && d.Development >= 0 &&
               d.Development <= kDevelopmentLimit);
    factions.insert(d.Owner);
  }
  FUZZ_CHECK(g.CurrentDistrict >= 0 && g.CurrentDistrict < kDistrictCount);
  FUZZ_CHECK(factions.size() <= factionsBefore);  // a fallen faction never comes back
  factionsBefore = factions.size();
}

}  // namespace

// The scenario reader: any bytes decode to a record whose encoding decodes
// back to itself, and a playable one plays a spectator game whose board keeps
// its limits after every move.
int FuzzScenario(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsText(data, size);
  const std::string encoded = EncodeScenario(DecodeScenario(bytes));
  const ScenarioRecord scenario = DecodeScenario(encoded);
  FUZZ_CHECK(encoded.size() == kScenarioRecordSize && EncodeScenario(scenario) == encoded);
  if (CheckScenario(scenario)) return 0;
  SeededRandom random(SeedOf(bytes));
  HeadlessHost host;
  std::size_t factions = kFactionCount;
  const HeadlessResult result = PlayHeadlessGame(
      scenario, "fuzz", random, 40, host, [&](const Engine& engine) { CheckBoard(engine.Data(), factions); });
  FUZZ_CHECK((result.winner < 0 || factions == 1) && host.humanMovesOffered == 0);
  return 0;
}

// The save reader: any bytes decode to a record whose encoding decodes back
// to itself. A save the game can continue is continued headless and played
// on: the bytes after the record are the humans' choices, three to a move (an
// action, an amount or weapon, a target), each one the engine's check must
// judge as the engine then acts on it; when they run out the game is saved
// again, and the new save reads back as the game stood and can be continued.
int FuzzSave(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsText(data, size);
  const auto stored = [](const SaveRecord& save) { return DecodeSave(EncodeSave(save)); };
  const SaveRecord save = stored(DecodeSave(bytes));
  FUZZ_CHECK(EncodeSave(save) == EncodeSave(DecodeSave(bytes)) && stored(save) == save);
  if (save.TurnNumber == 0 || CheckSave(save)) return 0;

  SeededRandom random(SeedOf(bytes));
  HeadlessHost host;
  Engine engine(host, random);
  FUZZ_CHECK(engine.ContinueFromSaveData(save));
  std::size_t factions = kFactionCount, at = kSaveRecordSize;
  for (int move = 0; move < 300 && !engine.Finished(); ++move) {
    CheckBoard(engine.Data(), factions);
    if (engine.AwaitsHumanChoice()) {
      if (at + 3 > size) break;  // the player saves here
      const auto action = static_cast<Action>(data[at] % 8);
      const i16 value = static_cast<std::int8_t>(data[at + 1]), target = data[at + 2] % 8;
      at += 3;
      const auto board = engine.Data().Districts;
      const bool allowed = static_cast<bool>(engine.CheckAction(action, value, target));
      FUZZ_CHECK(static_cast<bool>(engine.ExecuteAction(action, value, target)) == allowed);
      FUZZ_CHECK(allowed || (engine.Data().Districts == board && engine.AwaitsHumanChoice()));
      if (engine.Data().GameState == Phase::AwaitingClick) FUZZ_CHECK(engine.ContinueAfterAction());
    } else {
      FUZZ_CHECK(host.nextMovePending);  // a computer moved and handed the next move back
      host.nextMovePending = false;
      FUZZ_CHECK(engine.NextMove());
    }
  }
  if (engine.Finished()) return 0;
  const SaveRecord again = MakeSaveRecord(engine.Data());
  FUZZ_CHECK(!engine.AwaitsHumanChoice() || (engine.FillSaveData() && engine.Data().SaveData == again));
  SaveRecord read = stored(again);
  FUZZ_CHECK(stored(read) == read && (read.TurnNumber == 0 || !CheckSave(read)));
  read.MusicName = again.MusicName;  // texts keep what fits their 20 bytes
  read.ScenarioName = again.ScenarioName;
  FUZZ_CHECK(read == again);
  return 0;
}

// The JSON that `yuunagi-data build` reads: any text is refused with a
// DataError or built into a record, and what is built dumps to JSON that
// builds the very same bytes again.
int FuzzJson(const std::uint8_t* data, std::size_t size) {
  for (const FileKind kind : {FileKind::Scenario, FileKind::Save}) {
    std::string bytes;
    try {
      bytes = BuildRecordBytes(kind, ParseJson(AsText(data, size), "fuzz.json"));
    } catch (const DataError&) {
      continue;
    }
    const bool scenario = kind == FileKind::Scenario;
    FUZZ_CHECK(bytes.size() == (scenario ? kScenarioRecordSize : kSaveRecordSize));
    const Json dumped = scenario ? ScenarioToJson(DecodeScenario(bytes)) : SaveToJson(DecodeSave(bytes));
    FUZZ_CHECK(BuildRecordBytes(
                   kind, Json::parse(dumped.dump(-1, ' ', false, Json::error_handler_t::replace))) == bytes);
  }
  return 0;
}

// The MIDI reader the music player and render-music trust: any bytes are
// refused with a reason, or read into a song whose notes, tempos and length
// are sound.
int FuzzMidi(const std::uint8_t* data, std::size_t size) {
  MidiSong song;
  std::string error;
  if (!ReadMidiFile(std::span<const std::uint8_t>(data, size), song, error))
    return FUZZ_CHECK(!error.empty()), 0;
  FUZZ_CHECK(song.format <= 1 && song.division > 0 && song.lengthTicks >= song.division);
  FUZZ_CHECK(std::isfinite(song.lengthSeconds) && song.SecondsAt(song.lengthTicks / 2) <= song.lengthSeconds);
  std::int64_t lastStart = 0;
  for (const MidiNote& note : song.notes) {
    FUZZ_CHECK(note.channel >= 0 && note.channel < 16 && note.key >= 0 && note.key < 128 &&
               note.velocity > 0);
    FUZZ_CHECK(note.start >= lastStart && note.start <= note.end && note.end <= song.lengthTicks);
    lastStart = note.start;
  }
  for (std::size_t i = 1; i < song.tempoMap.size(); ++i)
    FUZZ_CHECK(song.tempoMap[i - 1].first <= song.tempoMap[i].first);
  return 0;
}

#ifdef YUUNAGI_FUZZ_TARGET
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return YUUNAGI_FUZZ_TARGET(data, size);
}
#else
int main(int argc, char** argv) {
  const std::map<std::string, int (*)(const std::uint8_t*, std::size_t)> targets = {
      {"scenario", FuzzScenario}, {"save", FuzzSave}, {"json", FuzzJson}, {"midi", FuzzMidi}};
  if (argc != 3 || !targets.contains(argv[1]))
    return std::fprintf(stderr, "usage: fuzz_replay TARGET FOLDER\n"), 2;
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("%s\n", entry.path().filename().c_str());  // the input at fault is the last one named
    std::fflush(stdout);
    targets.at(argv[1])(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  std::printf("replayed %d inputs through %s\n", replayed, argv[1]);
  return replayed > 0 ? 0 : 1;
}
#endif
