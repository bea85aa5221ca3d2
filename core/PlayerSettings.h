// What a player chose with the keys beyond the game's own controls, kept in
// the user's settings (the XDG config folder) for the next start. The game
// speed is not among them: it is chosen afresh before every game.
#pragma once

namespace yuunagi {

struct PlayerSettings {
  double zoom = 1.0;  // 1, 1.5 or 2
  bool musicOn = true;
  bool strongComputer = false;  // the computer players: 普通 (false) or 強い (true)

  static PlayerSettings Load();
  void Save() const;
};

// The zoom steps, smallest first.
inline constexpr double kZoomSteps[] = {1.0, 1.5, 2.0};

}  // namespace yuunagi
