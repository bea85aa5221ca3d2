// MainForm keeps a game with human players: the autosave after every turn
// and on closing, the question before closing, and no autosave left behind
// once the game is decided. A spectator game is never kept.
#include <QCloseEvent>
#include <QMessageBox>

#include <string>

#include "core/MainForm.h"
#include "core/WarRecordFile.h"
#include "core/WarRecordWindow.h"
#include "files/Autosave.h"
#include "files/SaveFile.h"

namespace yuunagi {

bool MainForm::KeepsGame() const {
  return !ended_ && Data().PlayerCount != kSpectatorPlayerCount && engine_.RecordOfNextMove().has_value();
}

void MainForm::TurnCompleted() { Autosave(); }

void MainForm::Autosave() {
  if (!KeepsGame()) return;
  const SaveRecord record = *engine_.RecordOfNextMove();
  std::string error;
  if (WriteAutosave(SaveFolder(), record, &error)) {
    record_->KeepBeside(AutosaveFile(SaveFolder()), record, nullptr);
    return;
  }
  if (autosaveFailed_) return;
  // Play goes on; the player hears of it once, in the words of the セーブ command.
  autosaveFailed_ = true;
  SetMessage("自動セーブできませんでした: " + error);
}

bool MainForm::SaveIntoChosenSlot() {
  SaveRecord record = *engine_.RecordOfNextMove();
  std::string error;
  if (AccessSaveSlot(SaveFolder(), Data().SaveSlot, kWriteSlot, record, &error)) {
    record_->KeepBeside(SaveSlotFile(SaveFolder(), Data().SaveSlot), record, nullptr);
    return true;
  }
  SetMessage("セーブできませんでした: " + error);
  return false;
}

bool MainForm::AgreeToClose() {
  // The computer's pause waits while the player answers.
  const int pauseLeft = pauseTimer_.isActive() ? pauseTimer_.remainingTime() : -1;
  pauseTimer_.stop();
  int answer = AskYesNoCancel("セーブしてから終了しますか？");
  if (ended_) return true;  // the window was closed over the question
  if (answer == QMessageBox::Yes && !SaveIntoChosenSlot()) answer = QMessageBox::Cancel;
  if (answer == QMessageBox::Yes || answer == QMessageBox::No) return true;
  if (pauseLeft >= 0) pauseTimer_.start(pauseLeft);
  return false;
}

void MainForm::closeEvent(QCloseEvent* event) {
  // With a box already on screen (this very question too), closing ends at once, as ever.
  const bool ask = KeepsGame() && openBox_ == nullptr;
  if (ask && !AgreeToClose()) {
    event->ignore();
    return;
  }
  event->accept();
  Autosave();
  EndProgram();
}

void MainForm::ForgetDecidedGame() {
  const Phase state = Data().GameState;
  const bool decided = state == Phase::Victory || state == Phase::LastHumanDestroyed;
  if (!decided || Data().PlayerCount == kSpectatorPlayerCount) return;
  RemoveAutosave(SaveFolder());
  RemoveWarRecordFile(AutosaveFile(SaveFolder()));
}

}  // namespace yuunagi
