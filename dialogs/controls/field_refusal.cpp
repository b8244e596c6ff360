#include "dialogs/controls/field_refusal.h"

#include <cstdio>

#include "dialogs/controls/parsed_edit.h"
#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

// The string-table entry with the two bounds put in.
void FormatRangeMessage(int32_t minimum, int32_t maximum, char* text, size_t size) {
  char pattern[128];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_INTEGER_BETWEEN, pattern, sizeof pattern) <= 0)
    std::snprintf(pattern, sizeof pattern, "%s", "Please enter an integer between %1!d! and %2!d!.");
  DWORD_PTR arguments[] = {static_cast<DWORD_PTR>(minimum), static_cast<DWORD_PTR>(maximum)};
  if (::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern, 0, 0, text,
                       static_cast<DWORD>(size), reinterpret_cast<va_list*>(arguments)) == 0)
    std::snprintf(text, size, "Please enter an integer between %d and %d.", static_cast<int>(minimum),
                  static_cast<int>(maximum));
}

}  // namespace

void RefuseIntegerField(HWND dialog, HWND field, int32_t minimum, int32_t maximum) {
  MessageBeep(MB_OK);
  char message[160];
  FormatRangeMessage(minimum, maximum, message, sizeof message);
  char caption[128];
  LoadProductTitle(caption, sizeof caption);
  ShowMessageBox(dialog, message, caption, MB_OK | MB_ICONEXCLAMATION);
  ::SetFocus(field);
  ::SendMessageA(field, EM_SETSEL, 0, -1);
}

bool ReadIntegerFieldOrRefuse(HWND dialog, const CParsedEdit& edit, int32_t minimum, int32_t maximum,
                              int32_t* value) {
  if (ReadParsedInteger(edit.WholeText().c_str(), minimum, maximum, value) == kFieldValue) return true;
  RefuseIntegerField(dialog, edit.m_hWnd, minimum, maximum);
  return false;
}

bool ReadIntegerFieldOrRefuse(HWND dialog, const CParsedEdit& edit, int32_t* value) {
  return ReadIntegerFieldOrRefuse(dialog, edit, edit.Rules().minimum, edit.Rules().maximum, value);
}
