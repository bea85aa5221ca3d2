#include "files/SaveSlotPanel.h"

#include <QStringList>

#include "core/Layout.h"

namespace yuunagi {

SaveSlotPanel::SaveSlotPanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("saveSlots"), Twips(5160, 4080, 2415, 2415), false);
  MakeLabel(this, QStringLiteral("saveSlots.heading"), Twips(240, 120, 1860, 180), "～セーブファイル選択～",
            LayoutFont(kDefaultPoints));
  for (int k = 0; k < kSaveSlotCount; ++k) {
    slots_[k] = new GraphicOption(QStringLiteral("シナリオ"), this);
    slots_[k]->setObjectName(QStringLiteral("saveSlots.slot%1").arg(k));
    Place(slots_[k], Twips(120, 480 + 360 * k, 2175, 255));
    connect(slots_[k], &QRadioButton::clicked, this, [this, k] { emit slotChosen(k); });
  }
  confirm_ = MakeButton(this, QStringLiteral("saveSlots.confirm"), Twips(120, 1920, 975, 375), "決定");
  GraphicButton* cancel =
      MakeButton(this, QStringLiteral("saveSlots.cancel"), Twips(1320, 1920, 975, 375), "キャンセル");
  connect(confirm_, &QPushButton::clicked, this, [this] {
    if (!isHidden()) emit confirmed();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    if (!isHidden()) emit cancelled();
  });
}

void SaveSlotPanel::ShowSlots(const std::array<QString, kSaveSlotCount>& captions, int checked) {
  for (int k = 0; k < kSaveSlotCount; ++k) slots_[k]->setText(captions[k]);
  show();
  slots_[checked]->setChecked(true);
}

QString SaveSlotPanel::Shown() const {
  QStringList shown;
  for (const GraphicOption* slot : slots_) shown << (slot->isChecked() ? "*" : "") + slot->text();
  return shown.join('|');
}

void SaveSlotPanel::FocusSlot(int slot) { slots_[slot]->setFocus(Qt::OtherFocusReason); }

void SaveSlotPanel::PressConfirm() { confirm_->click(); }

}  // namespace yuunagi
