#include "services/messages/message_boxes.h"

#include <cstdio>

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

int ShowMessageResNumber(UINT stringId, int number, UINT flags) {
  char pattern[kMessageCapacity];
  if (LoadStringA(GetModuleHandleA(nullptr), stringId, pattern, sizeof pattern) <= 0) pattern[0] = '\0';
  char text[kMessageCapacity];
  DWORD_PTR arguments[] = {static_cast<DWORD_PTR>(number)};
  if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern, 0, 0, text, sizeof text,
                     reinterpret_cast<va_list*>(arguments)) == 0)
    std::snprintf(text, sizeof text, "%s", pattern);
  return ShowTaskModal(text, flags);
}
