#include "services/messages/message_boxes.h"

#include "services/messages/error_text.h"
#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"

namespace {

// Long enough for every string-table entry the program shows.
constexpr int kMessageCapacity = 1024;

int ShowTaskModal(const char* text, UINT flags) {
  char title[128];
  LoadProductTitle(title, sizeof title);
  return ShowMessageBox(nullptr, text, title, flags | MB_TASKMODAL);
}

}  // namespace

void LoadProductTitle(char* title, int size) {
  if (LoadStringA(GetModuleHandleA(nullptr), IDR_MAINFRAME, title, size) <= 0)
    lstrcpynA(title, "Talvero", size);
}

void ShowError(int code) { ShowMessage(GetErrorText(code)); }

void ShowErrorWithLine(int code, int line) {
  char text[kMessageCapacity];
  FormatErrorTextWithLine(code, line, text, sizeof text);
  ShowMessage(text);
}

void ShowMessage(const char* text) { ShowTaskModal(text, MB_ICONEXCLAMATION | MB_OK); }

int ShowMessageRes(UINT stringId, UINT flags) {
  char text[kMessageCapacity];
  if (LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text) <= 0) text[0] = '\0';
  return ShowTaskModal(text, flags);
}
