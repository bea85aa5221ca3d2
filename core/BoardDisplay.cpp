#include "core/BoardDisplay.h"

#include "core/StatusPanel.h"

namespace yuunagi {

void RefreshDistrictPanel(StatusPanel& panel, const DistrictRecord& district) {
  panel.ShowDistrict(district);
}

void DrawDistrictEmblems(const StatusPanels& panels, const Emblems& emblems, const GameData& data) {
  for (int i = 0; i < kDistrictCount; ++i) {
    panels[i]->ClearDrawing();
    StretchPicture(*panels[i], *emblems[data.Districts[i].Owner]);
  }
}

}  // namespace yuunagi
