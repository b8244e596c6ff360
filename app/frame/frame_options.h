#ifndef TALVERO_APP_FRAME_FRAME_OPTIONS_H
#define TALVERO_APP_FRAME_FRAME_OPTIONS_H

// The user's options the main frame reads and writes: editing lock,
// auto-save and auto-close pauses, the tool windows' visible flags and the
// frame's placement. The frame reaches them only through FrameOptionsRecord,
// which the settings profile fills.

#include <cstdint>

struct FrameOptions {
  uint8_t lockEdit = 0;
  uint8_t autoSave = 0;   // minutes without input, 0 off
  uint8_t autoClose = 0;  // minutes without input, 0 off
  uint8_t composerVisible = 0;
  uint8_t cellFormatVisible = 0;
  uint8_t worksheetFormatVisible = 0;
  int32_t frameLeft = 0;
  int32_t frameTop = 0;
  int32_t frameRight = 0;
  int32_t frameBottom = 0;
  // 3 maximised, 6 minimised; 1 or 5: shown at the rectangle.
  uint32_t frameShowState = 3;
};

FrameOptions& FrameOptionsRecord();

#endif
