// MainForm: the game's one window. It composes the panels of the designed
// layout and is the host of the engine that plays the game on it. The
// screens that drive it from the title to a running game are made above it
// (core/Screens.h) and handed to it to keep.
#pragma once

#include <QFont>
#include <QTimer>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Engine.h"
#include "core/Host.h"
#include "core/Layout.h"
#include "files/DataFolders.h"
#include "media/Pictures.h"

class QLabel;
class QMessageBox;

namespace yuunagi {

class MusicPlayer;
class WarRecordWindow;
class StatusPanel;
class TurnPanel;
class MessagePanel;
class SpeedBar;
class TitleButtons;
class SaveSlotPanel;
class ScenarioPanel;
class FactionPicker;
class ActionPanel;
class WeaponPanel;
class AmountPanel;

class MainForm : public PictureBox, private Host {
  Q_OBJECT
 public:
  MainForm(GameFolders folders, std::unique_ptr<RandomSource> random, std::unique_ptr<MusicPlayer> music,
           std::function<void(int)> exitProcess);
  ~MainForm() override;

  // Keeps the screens' game logic (core/Screens.h), made once the window is.
  void KeepScreens(std::unique_ptr<QObject> screens);

  Engine& Game() { return engine_; }
  const GameData& Data() const { return engine_.Data(); }
  MusicPlayer& Music() { return *music_; }
  const GameFolders& Folders() const { return folders_; }
  // The data folder's scenarios; ScenarioFolders() adds the player's own.
  std::filesystem::path ScenarioFolder() const { return folders_.data / "Scenario"; }
  const std::vector<std::filesystem::path>& ScenarioFolders() const { return folders_.scenarios; }
  const std::filesystem::path& SaveFolder() const { return folders_.save; }
  std::filesystem::path PictureFolder() const { return folders_.Pictures(); }

  // ---- Shared operations of the window ----
  // The message line メッセージ.
  void SetMessage(std::string_view text);
  // A modal message box with an OK button, captioned with the game title.
  void ShowMessageBox(std::string_view text);
  // A modal yes/no question captioned with the game title; true for yes.
  bool AskYesNo(std::string_view text);
  // A modal question with はい, いいえ and キャンセル, captioned with the game
  // title: QMessageBox::Yes, No or Cancel (Escape and closing the box cancel).
  int AskYesNoCancel(std::string_view text);
  // The message box on screen, or nullptr.
  QMessageBox* OpenMessageBox() const { return openBox_; }
  // Brings the screen up to date at once, without handling any input.
  void RepaintNow();
  // Closes the music and ends the process (status 0). Nothing runs after it.
  void EndProgram() override;
  bool Ended() const { return ended_; }
  // Waits `seconds` in the event loop, then calls Engine::NextMove().
  void ScheduleNextMove(float seconds) override;
  bool MovePending() const { return pauseTimer_.isActive(); }
  // The length of the pause scheduled last, in milliseconds.
  int PauseMilliseconds() const { return pauseLength_; }
  // Shows the small mark that the game waits for a click, while it does.
  void UpdateWaitCue();
  // The target pick is called off: the weapon panel is offered again.
  void CancelTarget();

  // ---- Keeping the game (core/MainFormKeeping.cpp) ----
  // A game with human players is on and not yet decided: it is autosaved,
  // and closing the window asks first.
  bool KeepsGame() const;

  // A layout font at the window's zoom.
  QFont ZoomedFont(qreal points, bool bold = false) const;

  // ---- Additions for players (keys only; the layout is unchanged) ----
  // The whole window at 1, 1.5 or 2 times its designed size.
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  // Lays the pictures over the window, its panels and its buttons.
  void DressPanels();
  // The town map and the texture of the panels, read at start-up; the window is dressed with them.
  void SetTownPictures(QImage map, QImage texture);
  // The emblem of `faction`, read at start-up.
  void SetEmblem(int faction, QImage emblem);
  const PictureBox& Emblem(int faction) const { return *emblems_[faction]; }
  // The songs of the game: played, and remembered for the music switch.
  void PlayMusic(std::string_view name) override;
  void StopMusic() override;
  // The music switch: off stops the song at once, on starts the current one again.
  void SetMusicOn(bool on);
  bool MusicOn() const { return musicOn_; }
  // 設定: the computer players are 普通 (the game's own) or 強い.
  void SetStrongComputer(bool strong) {
    engine_.SetComputerLevel(strong ? ComputerLevel::Strong : ComputerLevel::Normal);
  }
  bool StrongComputer() const { return engine_.ComputerLevelOf(0) == ComputerLevel::Strong; }

  // ---- The panels of the window ----
  StatusPanel& Status(int district) { return *status_[district]; }
  TurnPanel& Turn() { return *turn_; }
  MessagePanel& MessageLine() { return *message_; }
  SpeedBar& SpeedPanel() { return *speed_; }
  TitleButtons& TitleMenu() { return *titleButtons_; }
  SaveSlotPanel& SlotPanel() { return *slots_; }
  ScenarioPanel& ScenarioList() { return *scenarios_; }
  FactionPicker& Picker() { return *picker_; }
  ActionPanel& ActionMenuPanel() { return *actions_; }
  WeaponPanel& WeaponMenuPanel() { return *weapons_; }
  AmountPanel& AmountEntry() { return *amount_; }
  // The panels of buttons a player goes through with the keys.
  std::array<QWidget*, 5> MenuPanels() const;
  bool TitleShown() const;
  // The game screen: the board, the turn and message panels, the title gone.
  void ShowGameScreen(const QString& caption);
  // Not of the designed layout: the war record (key L), a window of its own.
  WarRecordWindow& RecordWindow() { return *record_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // ---- The engine's host (core/MainFormHost.cpp) ----
  void RefreshDistrictPanel(int district) override;
  void DrawDistrictEmblems() override;
  void ReportAction(const ActionReport& report) override;
  void ShowGameLine(GameLine line) override;
  void ShowNotice(const Notice& notice) override;
  void Yield() override;
  void ShowGameScreen(std::string_view scenarioName) override;
  void ShowTurnNumber(int turn) override;
  void ShowMoveStart(const MoveStart& move) override;
  void HighlightMover(int district, bool on) override;
  void ShowActionMenu(int player) override;
  void TurnCompleted() override;

  // Writes the autosave; only the first failure is said, on the message line.
  void Autosave();
  // Closing during a game with humans: save into the chosen slot first? False: play on.
  bool AgreeToClose();
  // The game as the セーブ command saves it, into the chosen slot; a failure is said.
  bool SaveIntoChosenSlot();
  // A game with humans that is decided leaves no autosave behind.
  void ForgetDecidedGame();

  void BuildPanels();
  void BuildTitle();
  // Shows a message box and waits for its answer. The window stays open to
  // closing meanwhile (which ends the program); its other input waits.
  int RunMessageBox(QMessageBox& box);

  GameFolders folders_;
  std::unique_ptr<RandomSource> random_;
  std::unique_ptr<MusicPlayer> music_;
  std::function<void(int)> exitProcess_;
  Engine engine_;
  QTimer pauseTimer_;
  bool ended_ = false;
  int pauseLength_ = 0;  // milliseconds, as scheduled last
  bool autosaveFailed_ = false;
  // The panels and pictures, owned by the window as its children.
  PictureBox* texture_ = nullptr;  // holds the texture Etc.bmp
  PictureBox* townMap_ = nullptr;
  std::array<PictureBox*, kFactionCount> emblems_{};  // 1..5 made at start-up
  MessagePanel* message_ = nullptr;
  TurnPanel* turn_ = nullptr;
  TitleButtons* titleButtons_ = nullptr;
  AmountPanel* amount_ = nullptr;
  WeaponPanel* weapons_ = nullptr;
  std::array<StatusPanel*, kDistrictCount> status_{};
  FactionPicker* picker_ = nullptr;
  ScenarioPanel* scenarios_ = nullptr;
  SaveSlotPanel* slots_ = nullptr;
  SpeedBar* speed_ = nullptr;
  ActionPanel* actions_ = nullptr;
  QLabel* title_ = nullptr;
  WarRecordWindow* record_ = nullptr;
  QMessageBox* openBox_ = nullptr;  // the message box on screen, if any
  double zoom_ = 1.0;
  bool musicOn_ = true;
  std::string song_;  // the song the game plays now, even while the music is off
  // The screens point into the window and its engine, so they go first.
  std::unique_ptr<QObject> screens_;
};

}  // namespace yuunagi
