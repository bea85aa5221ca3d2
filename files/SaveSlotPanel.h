// The save-slot panel ～セーブファイル選択～: four slots, 決定 and キャンセル.
#pragma once

#include <QString>

#include <array>

#include "files/SaveFile.h"
#include "media/Pictures.h"

namespace yuunagi {

class SaveSlotPanel : public PictureBox {
  Q_OBJECT
 public:
  explicit SaveSlotPanel(QWidget* parent);

  // Captions the slots, shows the panel and selects `checked`.
  void ShowSlots(const std::array<QString, kSaveSlotCount>& captions, int checked);
  // The slots as shown: "*" marks the selected one, "|" parts them.
  QString Shown() const;
  void FocusSlot(int slot);
  // 決定, as if clicked.
  void PressConfirm();

 signals:
  void slotChosen(int slot);
  // 決定 and キャンセル, only while the panel is shown.
  void confirmed();
  void cancelled();

 private:
  std::array<GraphicOption*, kSaveSlotCount> slots_{};
  GraphicButton* confirm_ = nullptr;
};

}  // namespace yuunagi
