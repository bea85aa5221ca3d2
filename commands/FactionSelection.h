// Faction selection before a new game: the players pick their factions in
// turn, and the confirmation starts the game from the chosen scenario.
#pragma once

namespace yuunagi {

class MainForm;

class FactionSelection {
 public:
  explicit FactionSelection(MainForm& form);

  // 決定 under the scenario list: opens the selection.
  void Command7_Click();
  // A faction button (0..5) or 決定 (6).
  void Command2_Click(int index);
  // The mouse came over a selection button: its hint in the message line.
  void Command2_MouseMove(int index);

  // Nobody has picked yet.
  void ResetPlayers();
  // Shows exactly the buttons of the factions in the start table and counts them.
  void ShowFactionButtons();

 private:
  void Confirm();
  void ShowNextPicker();

  MainForm& form_;
};

}  // namespace yuunagi
