// The game logic of faction selection before a new game: the players pick
// their factions in turn, and the confirmation starts the game from the
// chosen scenario.
#pragma once

namespace yuunagi {

class MainForm;
class TitleScreen;

class FactionSelection {
 public:
  // `title` tells whether the scenario chosen on it can be played.
  FactionSelection(MainForm& form, const TitleScreen& title);

 private:
  // 決定 under the scenario list: opens the selection.
  void Open();
  void Pick(int faction);
  // The pointer came over a faction's button: its hint in the message line.
  void ShowHint(int faction);
  // Nobody has picked yet.
  void ResetPlayers();
  void Confirm();
  void ShowNextPicker();

  MainForm& form_;
  const TitleScreen& title_;
};

}  // namespace yuunagi
