#include "dialogs/controls/parsed_edit.h"

#include <commctrl.h>

#include "core/numfmt/regional_settings.h"

CParsedEdit::CParsedEdit(uint8_t mode, int32_t minimum, int32_t maximum)
    : m_rules{mode, minimum, maximum, 0.0, 0.0, -1, CurrentRegionalSettings().decimalSeparator} {}

void CParsedEdit::SetDecimalLimits(double minimum, double maximum, int decimals) {
  m_rules.minimumDouble = minimum;
  m_rules.maximumDouble = maximum;
  m_rules.decimals = decimals;
}

void CParsedEdit::AttachWithUpDown(HWND edit, HWND upDown) {
  SubclassWindow(edit);
  ::SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  InitStepSpin(upDown);
}

int CParsedEdit::Step(int delta) {
  if (m_rules.mode == kParsedAnything) return 1;
  char text[kParsedTextCapacity];
  GetWindowText(text, sizeof text);
  char stepped[kParsedTextCapacity];
  if (!StepParsedText(m_rules, text, delta, stepped, sizeof stepped)) {
    MessageBeep(MB_OK);
    return 0;
  }
  SetWindowText(stepped);
  return 1;
}

LRESULT CParsedEdit::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  if (msg == WM_CHAR && !AcceptsParsedChar(m_rules, static_cast<char>(wp))) {
    MessageBeep(MB_OK);
    return 0;
  }
  handled = false;
  return 0;
}

void InitStepSpin(HWND upDown) {
  SendMessageA(upDown, UDM_SETRANGE32, 0, 10000);
  SendMessageA(upDown, UDM_SETPOS32, 0, 5000);
  UDACCEL accelerations[3] = {{2, 1}, {4, 5}, {6, 10}};
  SendMessageA(upDown, UDM_SETACCEL, 3, reinterpret_cast<LPARAM>(accelerations));
}
