#include "core/BoardDisplay.h"

#include <QLabel>

#include <string>

#include "core/MainForm.h"

namespace yuunagi {

void RefreshDistrictPanel(MainForm& form, const GameData& data, int i) {
  const DistrictRecord& d = data.Districts[i];
  MainForm::SetCaption(form.Data1[i], FactionNames[d.Owner]);
  MainForm::SetCaption(form.Data2[i], std::to_string(d.Money));
  MainForm::SetCaption(form.Data3[i], std::to_string(d.Soldiers));
  MainForm::SetCaption(form.Data4[i], std::to_string(d.Strength));
  MainForm::SetCaption(form.Data5[i], std::to_string(d.Weapon));
  MainForm::SetCaption(form.Data6[i], std::to_string(d.Development));
}

void DrawDistrictEmblems(MainForm& form, const GameData& data) {
  for (int i = 0; i < kDistrictCount; ++i) {
    form.Picture3[i]->ClearDrawing();
    StretchPicture(*form.Picture3[i], *form.SourcePicture[data.Districts[i].Owner]);
  }
}

}  // namespace yuunagi
