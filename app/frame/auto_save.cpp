#include "app/frame/auto_save.h"

namespace {

bool PauseReached(int64_t now, int64_t clock, uint8_t minutes) {
  return minutes != 0 && now - clock + kAutoSaveEarlySeconds >= static_cast<int64_t>(minutes) * 60;
}

enum PassOutcome { kPassStopped, kAllSaved, kSomeHeldBack };

// Saves the modified documents in slot order. With stampAutoSave each saved
// document also restarts the auto-save pause. A document whose file would
// keep less than it holds is held back without a question, as nobody may be
// there to answer one; the pass goes on to the others, whose work it keeps.
PassOutcome SaveModifiedDocuments(ActivityClocks* clocks, int64_t now, bool stampAutoSave,
                                  const OpenDocumentTable& table, const DocumentServices& documents,
                                  const AutoSaveFrame& frame) {
  PassOutcome outcome = kAllSaved;
  for (const OpenDocument& document : table.slots) {
    if (!IsSlotOccupied(document) || !documents.isModified(document)) continue;
    // The save will ask for a file name: the beep calls the user back.
    if (!DocumentHasFile(document)) frame.beep(frame.context);
    frame.restoreIfMinimized(frame.context);
    if (!documents.save(document)) {
      outcome = kSomeHeldBack;
      continue;
    }
    if (documents.isModified(document)) return kPassStopped;
    if (stampAutoSave) clocks->autoSave = now;
    if (frame.popupActive(frame.context)) return kPassStopped;
  }
  return outcome;
}

}  // namespace

void RunAutoSaveTick(ActivityClocks* clocks, int64_t now, uint8_t autoSaveMinutes, uint8_t autoCloseMinutes,
                     const OpenDocumentTable& table, const DocumentServices& documents,
                     const AutoSaveFrame& frame) {
  if (PauseReached(now, clocks->autoSave, autoSaveMinutes)) {
    clocks->autoSave = now;
    if (frame.popupActive(frame.context)) return;
    if (SaveModifiedDocuments(clocks, now, false, table, documents, frame) == kPassStopped) return;
  }
  if (PauseReached(now, clocks->autoClose, autoCloseMinutes)) {
    clocks->autoClose = now;
    if (frame.popupActive(frame.context)) return;
    // A document held back would ask its question on closing: none closes.
    if (SaveModifiedDocuments(clocks, now, true, table, documents, frame) != kAllSaved) return;
    if (frame.popupActive(frame.context)) {
      frame.beep(frame.context);
      return;
    }
    for (const OpenDocument& document : table.slots) {
      if (IsSlotOccupied(document)) documents.postClose(document);
    }
  }
}

bool QueryCloseAllDocuments(const OpenDocumentTable& table, const DocumentServices& documents) {
  for (const OpenDocument& document : table.slots) {
    if (IsSlotOccupied(document) && !documents.queryClose(document)) return false;
  }
  return true;
}
