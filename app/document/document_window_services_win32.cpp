// What the frame, auto-save and auto-close ask of the document windows, and
// the question their formulas put before calling other programs.

#include "app/document/child_frame.h"
#include "app/document/document_opening.h"
#include "app/frame/active_document.h"
#include "app/frame/document_services.h"
#include "functions/automation_call_consent.h"
#include "services/messages/message_boxes.h"
#include "resources/resource_ids.h"

namespace {

// A text still open in the in-cell editor counts: saving stores it first.
bool IsModified(const OpenDocument& document) {
  return document.frame != nullptr && (document.frame->IsModified() || document.frame->m_editing == kEditInCell);
}

bool Save(const OpenDocument& document) { return document.frame == nullptr || document.frame->SaveAutomatically(); }

bool QueryClose(const OpenDocument& document) { return document.frame == nullptr || document.frame->QueryClose(); }

void PostClose(const OpenDocument& document) {
  if (document.frame != nullptr) document.frame->PostMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
}

const DocumentServices kDocumentWindows = {IsModified, Save, QueryClose, PostClose};

}  // namespace

void InstallDocumentWindowServices() {
  SetDocumentServices(&kDocumentWindows);
  SetDocumentWindowFinder(DocumentWindowOfHandle);
  SetFrameFileCommands(HandleFrameFileCommand);
  // Formulas of documents read from files call other programs only once
  // their user said yes.
  SetAutomationCallQuestion(AskYesNo);
}
