// The program's start: everything from the seed of the random numbers to
// the title screen on the screen.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/MainForm.h"
#include "files/DataFolders.h"
#include "media/MusicPlayer.h"
#include "rules/Random.h"

namespace yuunagi {

// What start-up needs from the program that runs the game.
struct WindowOptions {
  // The program's own folder: Picture/, Scenario/ and Save/ are found here,
  // unless `folders` says otherwise.
  std::filesystem::path appFolder;
  // Where the data, the saves and the scenarios are (FindGameFolders). When
  // given, songs missing from ./Music are looked for in its Music/ too,
  // unless music.fallbackFolder names a folder already.
  std::optional<GameFolders> folders;
  // The game's one source of chance; when empty, start-up seeds one from the clock.
  std::unique_ptr<RandomSource> random;
  // Ends the process with the given status. Nothing of the game runs after it.
  std::function<void(int status)> exitProcess;
  // Where the music comes from and goes to; the defaults play the songs aloud.
  MusicOptions music;
};

// Seeds the random numbers, opens the music, loads the window and its
// pictures, starts the opening music and shows the title screen. A picture
// that cannot be loaded is reported in a message box naming the file; the
// process then ends with status 1 and nullptr is returned.
std::unique_ptr<MainForm> StartUp(WindowOptions options);

}  // namespace yuunagi
