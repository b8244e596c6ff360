#ifndef TALVERO_APP_FRAME_AUTO_SAVE_H
#define TALVERO_APP_FRAME_AUTO_SAVE_H

// Auto-save and auto-close: after a pause of the user's input of the
// configured minutes, the frame's timer saves every modified document, and
// auto-close then closes them all. A document whose save fails or is
// cancelled, or a modal window (a dialog, a message box) that is open,
// stops the pass and keeps the remaining documents as they are. A document
// whose file would keep less than it holds is not saved automatically (the
// pass asks nothing and goes on with the others) and keeps every document
// open at auto-close.

#include <cstdint>

#include "app/frame/document_services.h"

// Seconds since 1970 of the last user input (key, mouse button, menu), or of
// the last pass.
struct ActivityClocks {
  int64_t autoSave;
  int64_t autoClose;
};

// The frame's side of a pass.
struct AutoSaveFrame {
  void* context;
  // A window other than the frame and its tool windows is active: a modal
  // dialog or a message box.
  bool (*popupActive)(void* context);
  void (*beep)(void* context);
  void (*restoreIfMinimized)(void* context);
};

// The timer ticks every 10 seconds; a pass starts at the first tick that
// comes within this many seconds of the configured pause.
constexpr int64_t kAutoSaveEarlySeconds = 5;

// One tick of the frame's timer. Minutes of 0 turn the duty off. A stop in
// the auto-save pass ends the tick: auto-close waits for the next one.
void RunAutoSaveTick(ActivityClocks* clocks, int64_t now, uint8_t autoSaveMinutes, uint8_t autoCloseMinutes,
                     const OpenDocumentTable& table, const DocumentServices& documents,
                     const AutoSaveFrame& frame);

// Asks every open document in slot order whether it may close; false at the
// first refusal, leaving the later ones unasked.
bool QueryCloseAllDocuments(const OpenDocumentTable& table, const DocumentServices& documents);

#endif
