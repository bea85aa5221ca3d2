#include "core/BoardDisplay.h"

#include "core/MainForm.h"
#include "core/StatusPanel.h"

namespace yuunagi {

void RefreshDistrictPanel(MainForm& form, const GameData& data, int i) {
  form.Status(i).ShowDistrict(data.Districts[i]);
}

void DrawDistrictEmblems(MainForm& form, const GameData& data) {
  for (int i = 0; i < kDistrictCount; ++i) {
    form.Status(i).ClearDrawing();
    StretchPicture(form.Status(i), form.Emblem(data.Districts[i].Owner));
  }
}

}  // namespace yuunagi
