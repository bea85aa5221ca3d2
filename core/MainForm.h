// MainForm: the game's one window. It holds every control of the designed
// layout under its designed name (control arrays as indexed collections),
// the engine that plays the game on it, and the screens that drive it from
// the title to a running game.
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
#include "core/WindowHost.h"
#include "files/DataFolders.h"
#include "media/Pictures.h"

class QLabel;
class QMessageBox;
class QLineEdit;
class QListWidget;
class QScrollBar;

namespace yuunagi {

class MusicPlayer;
class TitleScreen;
class FactionSelection;
class ActionMenu;
class WeaponMenu;
class KeyboardPlay;
class WarRecordWindow;

class MainForm : public PictureBox {
  Q_OBJECT
 public:
  MainForm(GameFolders folders, std::unique_ptr<RandomSource> random, std::unique_ptr<MusicPlayer> music,
           std::function<void(int)> exitProcess);
  ~MainForm() override;

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
  // The message box on screen, or nullptr.
  QMessageBox* OpenMessageBox() const { return openBox_; }
  // Brings the screen up to date at once, without handling any input.
  void RepaintNow();
  // Sets a label's caption and sizes the label to it, its left edge fixed.
  static void SetCaption(QLabel* label, std::string_view text);
  // Closes the music and ends the process (status 0). Nothing runs after it.
  void EndProgram();
  bool Ended() const { return ended_; }
  // Waits `seconds` in the event loop, then calls Engine::NextMove().
  void ScheduleNextMove(float seconds);
  bool MovePending() const { return pauseTimer_.isActive(); }
  // The length of the pause scheduled last, in milliseconds.
  int PauseMilliseconds() const { return pauseTimer_.interval(); }
  // Hides a menu panel and takes the keyboard focus away from its buttons.
  void HidePanel(QWidget* panel);
  // Gives the keyboard focus to the first button a player can reach on `panel`.
  void FocusFirstButton(QWidget* panel);
  // Shows the small mark that the game waits for a click, while it does.
  void UpdateWaitCue();
  // The target pick is called off: the weapon panel is offered again.
  void CancelTarget();

  // Fonts of the layout ("ＭＳ Ｐゴシック" is IPA P Gothic here).
  static QFont LayoutFont(qreal points, bool bold = false);
  // A layout font at the window's zoom.
  QFont ZoomedFont(qreal points, bool bold = false) const;

  // ---- Additions for players (keys only; the layout is unchanged) ----
  // The whole window at 1, 1.5 or 2 times its designed size.
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  // Lays the pictures over the window, its panels and its buttons.
  void DressPanels();
  // The songs of the game: played, and remembered for the music switch.
  void PlayMusic(std::string_view name);
  void StopMusic();
  // The music switch: off stops the song at once, on starts the current one again.
  void SetMusicOn(bool on);
  bool MusicOn() const { return musicOn_; }

  // ---- Controls, under their designed names ----
  PictureBox* Picture12 = nullptr;                         // holds the texture Etc.bmp
  PictureBox* Picture11 = nullptr;                         // message panel
  QLabel* Message = nullptr;                               // メッセージ
  std::array<PictureBox*, kFactionCount> SourcePicture{};  // emblems; 1..5 made at start-up
  PictureBox* Picture10 = nullptr;                         // turn panel
  QLabel* Label8 = nullptr;                                // "Turn n"
  QLabel* Label7 = nullptr;                                // "<faction>の戦略"
  PictureBox* Picture1 = nullptr;                          // title buttons
  std::array<GraphicButton*, 2> Command1{};
  PictureBox* Picture9 = nullptr;     // holds the town map
  GraphicButton* Command7 = nullptr;  // 決定 of the scenario list
  PictureBox* Picture6 = nullptr;     // amount entry
  QLineEdit* Text1 = nullptr;
  std::array<GraphicButton*, 2> Command5{};
  PictureBox* Picture5 = nullptr;  // weapon menu
  std::array<GraphicButton*, 6> Command4{};
  std::array<PictureBox*, kDistrictCount> Picture3{};  // status panels
  std::array<QLabel*, kDistrictCount> Data1{}, Data2{}, Data3{}, Data4{}, Data5{}, Data6{};
  std::array<QLabel*, kDistrictCount> Label2{}, Label3{}, Label4{}, Label5{}, Label6{};
  PictureBox* Picture2 = nullptr;  // faction selection
  std::array<GraphicButton*, 7> Command2{};
  QListWidget* List1 = nullptr;    // scenario list
  PictureBox* Picture8 = nullptr;  // save slots
  std::array<GraphicOption*, 4> Option1{};
  GraphicButton* Command8 = nullptr;  // 決定 of the slot panel
  GraphicButton* Command9 = nullptr;  // キャンセル of the slot panel
  PictureBox* Picture7 = nullptr;     // game speed
  std::array<QLabel*, 3> Label9{};
  QScrollBar* HScroll1 = nullptr;
  PictureBox* Picture4 = nullptr;  // action menu
  std::array<GraphicButton*, 7> Command3{};
  std::array<QLabel*, 4> Label1{};  // headings of the menus
  QLabel* TitleLabel = nullptr;
  // Not of the designed layout: the mark in the message panel's corner while
  // the game waits for the click after a human's action.
  QLabel* WaitCue = nullptr;
  // Not of the designed layout: the war record (key L), a window of its own.
  WarRecordWindow* Record = nullptr;

  TitleScreen& Title() { return *titleScreen_; }
  FactionSelection& Factions() { return *factions_; }
  ActionMenu& Actions() { return *actionMenu_; }
  WeaponMenu& Weapons() { return *weaponMenu_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BuildStatusPanel(int i);
  void HScroll1_Change(int value);
  // Shows a message box and waits for its answer. The window stays open to
  // closing meanwhile (which ends the program); its other input waits.
  int RunMessageBox(QMessageBox& box);

  GameFolders folders_;
  std::unique_ptr<RandomSource> random_;
  std::unique_ptr<MusicPlayer> music_;
  std::function<void(int)> exitProcess_;
  WindowHost host_;
  Engine engine_;
  QTimer pauseTimer_;
  bool ended_ = false;
  std::unique_ptr<TitleScreen> titleScreen_;
  std::unique_ptr<FactionSelection> factions_;
  std::unique_ptr<ActionMenu> actionMenu_;
  std::unique_ptr<WeaponMenu> weaponMenu_;
  KeyboardPlay* keyboard_ = nullptr;  // owned by the window as a QObject child
  QMessageBox* openBox_ = nullptr;    // the message box on screen, if any
  double zoom_ = 1.0;
  bool musicOn_ = true;
  std::string song_;  // the song the game plays now, even while the music is off
};

// QString of a UTF-8 text of the engine.
QString ToQString(std::string_view utf8);

}  // namespace yuunagi
