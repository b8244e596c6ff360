#include "services/settings/frame_placement.h"

namespace {

bool KeepsStateOnly(int32_t showState) {
  return showState == kShowStateMaximized || showState == kShowStateMinimized;
}

}  // namespace

bool FrameCreateRect(const COptions& options, OptionsRect* rect) {
  if (KeepsStateOnly(options.FrameShowState)) return false;
  *rect = options.FrameRect;
  return true;
}

int FrameShowCommand(const COptions& options, int requestedShowCommand) {
  constexpr int kShowNormal = 1, kShow = 5, kShowDefault = 10;
  const bool plainShow = requestedShowCommand == kShowNormal || requestedShowCommand == kShow ||
                         requestedShowCommand == kShowDefault;
  if (plainShow && KeepsStateOnly(options.FrameShowState)) return options.FrameShowState;
  return requestedShowCommand;
}

void StoreFramePlacement(COptions& options, bool maximized, bool minimized,
                         const OptionsRect& windowRect) {
  if (maximized) {
    options.FrameShowState = kShowStateMaximized;
  } else if (minimized) {
    options.FrameShowState = kShowStateMinimized;
  } else {
    options.FrameRect = windowRect;
  }
}
