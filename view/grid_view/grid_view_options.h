#ifndef TALVERO_VIEW_GRID_VIEW_OPTIONS_H
#define TALVERO_VIEW_GRID_VIEW_OPTIONS_H

// The user's options that the grid view reads. The options dialog and the
// settings profile write them; tests put them back with ResetGridViewOptions.

#include <cstdint>

// Where Enter takes the cursor after an edit.
constexpr uint8_t kEnterStays = 0;
constexpr uint8_t kEnterMovesDown = 1;
constexpr uint8_t kEnterToNextCellBelow = 2;  // the next existing cell of the column
constexpr uint8_t kEnterMovesRight = 3;
constexpr uint8_t kEnterToNextCellRight = 4;  // the next existing cell of the row

struct GridViewOptions {
  uint8_t whenEnterPressed;
  uint8_t autoFormatting;  // a typed date or percentage gives the cell that format
  uint8_t hideCellMarkers;
  uint8_t showFormulas;
};

GridViewOptions& ViewOptions();
// Enter moves down, automatic formatting on, markers shown, values shown.
void ResetGridViewOptions();

#endif
