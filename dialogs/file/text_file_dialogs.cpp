#include "dialogs/file/text_file_dialogs.h"

#include <vector>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/file/text_file_fields.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kTextFilesHelpTopic = 15;

void FillCombo(HWND combo, const char* const* items, int count) {
  for (int i = 0; i < count; ++i) ComboAddString(combo, items[i]);
}

int Selection(HWND combo) { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

}  // namespace

CTextFileDlg::CTextFileDlg(TextFileOptions* options, bool save)
    : CDialogImpl(save ? IDD_SAVE_TEXT_FILE : IDD_OPEN_TEXT_FILE), m_options(options), m_save(save) {}

LRESULT CTextFileDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK: OnOK(); return 0;
        case IDHELP: ShowDialogHelp(kTextFilesHelpTopic); return 0;
        case IDC_KIND_COMBO:
          if (HIWORD(wp) == CBN_SELCHANGE) OnSeparatorChanged();
          return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CTextFileDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  const TextFileOptions& o = *m_options;
  CheckDlgButton(m_hWnd, IDC_FIRST_RADIO, o.fixedWidth == 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_SECOND_RADIO, o.fixedWidth != 0 ? BST_CHECKED : BST_UNCHECKED);

  static const char* const kSeparators[kSeparatorItemCount] = {"comma", "tab", "point", "semicolon", "space",
                                                               "other"};
  HWND separators = GetDlgItem(IDC_KIND_COMBO);
  FillCombo(separators, kSeparators, kSeparatorItemCount);
  const int item = SeparatorItemFor(o.separator);
  ::SendMessageA(separators, CB_SETCURSEL, item, 0);
  HWND separator = GetDlgItem(IDC_TEXT_EDIT);
  ::SendMessageA(separator, EM_LIMITTEXT, 1, 0);
  const char text[2] = {o.separator, '\0'};
  ::SetWindowTextA(separator, text);
  ::EnableWindow(separator, item == kSeparatorItemOther);

  const size_t limit = m_save ? kSaveWidthsTextLimit : kOpenWidthsTextLimit;
  std::vector<char> widths(limit + 1);
  if (m_save) FormatSaveWidthsText(o.widths, widths.data(), widths.size());
  else FormatOpenWidthsText(o.widths, widths.data(), widths.size());
  HWND widthsEdit = GetDlgItem(IDC_SECOND_EDIT);
  ::SendMessageA(widthsEdit, EM_LIMITTEXT, limit, 0);
  ::SetWindowTextA(widthsEdit, widths.data());

  HWND quote = GetDlgItem(IDC_QUOTE_COMBO);
  ComboAddString(quote, "\"");
  ComboAddString(quote, "'");
  ::SendMessageA(quote, CB_LIMITTEXT, 1, 0);
  const char quoteText[2] = {o.quote, '\0'};
  ::SetWindowTextA(quote, quoteText);

  if (!m_save) {
    static const char* const kConversions[] = {"No conversion", "Numbers & formulas"};
    HWND conversion = GetDlgItem(IDC_CONVERSION_COMBO);
    FillCombo(conversion, kConversions, 2);
    ::SendMessageA(conversion, CB_SETCURSEL, o.recognizeValues != 0 ? 1 : 0, 0);
  }
  static const char* const kEncodings[] = {"UTF-8", "ANSI 8-bit", "ISO/OEM"};
  HWND encoding = GetDlgItem(IDC_ENCODING_COMBO);
  FillCombo(encoding, kEncodings, 3);
  ::SendMessageA(encoding, CB_SETCURSEL, static_cast<WPARAM>(EncodingItemFor(o.charset)), 0);
  return TRUE;
}

void CTextFileDlg::OnSeparatorChanged() {
  const int item = Selection(GetDlgItem(IDC_KIND_COMBO));
  const char text[2] = {SeparatorOfItem(item), '\0'};
  HWND separator = GetDlgItem(IDC_TEXT_EDIT);
  ::SetWindowTextA(separator, text);
  ::EnableWindow(separator, item == kSeparatorItemOther);
}

void CTextFileDlg::OnOK() {
  TextFileOptions& o = *m_options;
  if (IsDlgButtonChecked(m_hWnd, IDC_FIRST_RADIO) == BST_CHECKED) {
    o.fixedWidth = 0;
    char separator[2] = {};
    GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, separator, sizeof separator);
    o.separator = separator[0];
  } else {
    o.fixedWidth = 1;
    std::vector<char> widths(kOpenWidthsTextLimit + 1);
    GetDlgItemTextA(m_hWnd, IDC_SECOND_EDIT, widths.data(), static_cast<int>(widths.size()));
    if (!ParseWidthsText(widths.data(), o.widths)) {
      MessageBeep(static_cast<UINT>(-1));
      return;
    }
  }
  char quote[2] = {};
  GetDlgItemTextA(m_hWnd, IDC_QUOTE_COMBO, quote, sizeof quote);
  o.quote = quote[0];
  if (!m_save) {
    const int conversion = Selection(GetDlgItem(IDC_CONVERSION_COMBO));
    if (conversion >= 0) o.recognizeValues = static_cast<uint8_t>(conversion);
  }
  o.charset = CharsetOfItem(Selection(GetDlgItem(IDC_ENCODING_COMBO)));
  EndDialog(IDOK);
}
