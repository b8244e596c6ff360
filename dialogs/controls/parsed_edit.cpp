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

std::string CParsedEdit::WholeText() const {
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(m_hWnd)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

uint8_t CParsedEdit::ReadInteger(int32_t* value) const {
  return ReadParsedInteger(WholeText().c_str(), m_rules.minimum, m_rules.maximum, value);
}

LRESULT CParsedEdit::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  if (msg == WM_CHAR && !AcceptsParsedChar(m_rules, static_cast<char>(wp))) {
    MessageBeep(MB_OK);
    return 0;
  }
  handled = false;
  return 0;
}

bool StepEditOfUpDown(const NMHDR& header, CParsedEdit* edits, int count) {
  if (header.code != UDN_DELTAPOS) return false;
  const HWND buddy = reinterpret_cast<HWND>(::SendMessageA(header.hwndFrom, UDM_GETBUDDY, 0, 0));
  for (int i = 0; i < count; ++i)
    if (buddy != nullptr && edits[i].m_hWnd == buddy) edits[i].Step(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
  return true;
}

void InitStepSpin(HWND upDown) {
  SendMessageA(upDown, UDM_SETRANGE32, 0, 10000);
  SendMessageA(upDown, UDM_SETPOS32, 0, 5000);
  UDACCEL accelerations[3] = {{2, 1}, {4, 5}, {6, 10}};
  SendMessageA(upDown, UDM_SETACCEL, 3, reinterpret_cast<LPARAM>(accelerations));
}
