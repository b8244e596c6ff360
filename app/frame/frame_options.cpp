#include "app/frame/frame_options.h"

FrameOptions& FrameOptionsRecord() {
  static FrameOptions options;
  return options;
}
