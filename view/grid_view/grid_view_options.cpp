#include "view/grid_view/grid_view_options.h"

namespace {

GridViewOptions& Options() {
  static GridViewOptions options = {kEnterMovesDown, 1, 0, 0};
  return options;
}

}  // namespace

GridViewOptions& ViewOptions() { return Options(); }

void ResetGridViewOptions() { Options() = {kEnterMovesDown, 1, 0, 0}; }
