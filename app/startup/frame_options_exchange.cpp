#include "app/startup/frame_options_exchange.h"

void CopyOptionsToFrame(const COptions& options, FrameOptions& frame) {
  frame.lockEdit = options.LockEdit;
  frame.autoSave = options.AutoSave;
  frame.autoClose = options.AutoClose;
  frame.composerVisible = options.ComposerVisible;
  frame.cellFormatVisible = options.CellFormatVisible;
  frame.worksheetFormatVisible = options.WorksheetFormatVisible;
  frame.frameLeft = options.FrameRect.left;
  frame.frameTop = options.FrameRect.top;
  frame.frameRight = options.FrameRect.right;
  frame.frameBottom = options.FrameRect.bottom;
  frame.frameShowState = uint32_t(options.FrameShowState);
}

void CopyOptionsFromFrame(const FrameOptions& frame, COptions& options) {
  options.LockEdit = frame.lockEdit;
  options.AutoSave = frame.autoSave;
  options.AutoClose = frame.autoClose;
  options.ComposerVisible = frame.composerVisible;
  options.CellFormatVisible = frame.cellFormatVisible;
  options.WorksheetFormatVisible = frame.worksheetFormatVisible;
  options.FrameRect = {frame.frameLeft, frame.frameTop, frame.frameRight, frame.frameBottom};
  options.FrameShowState = int32_t(frame.frameShowState);
}
