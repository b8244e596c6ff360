#include "services/settings/grid_view_options_copy.h"

#include "view/grid_view/grid_view_options.h"

void CopyOptionsToGridViews(const COptions& options) {
  GridViewOptions& view = ViewOptions();
  view.whenEnterPressed = options.WhenEnterPressed;
  view.autoFormatting = options.AutoFormatting;
  view.hideCellMarkers = options.HideCellMarkers;
  view.showFormulas = options.ShowFormulas;
}
