#include "dialogs/options/options_dialog.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

#include "core/base/global_options.h"
#include "dialogs/controls/dialog_opening.h"
#include "dialogs/controls/field_refusal.h"
#include "dialogs/options/options_choices.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/ui_services/window_transparency.h"

namespace {

// A face name as the font combo holds it, with its NUL.
constexpr int kFaceCapacity = LF_FACESIZE;

struct ComboFaces {
  HWND combo;
  char text[kFaceCapacity];
};

const char* ComboFaceAt(void* list, int index) {
  ComboFaces* faces = static_cast<ComboFaces*>(list);
  if (::SendMessageA(faces->combo, CB_GETLBTEXTLEN, index, 0) >= kFaceCapacity ||
      ::SendMessageA(faces->combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(faces->text)) == CB_ERR)
    faces->text[0] = '\0';
  return faces->text;
}

int ComboCount(HWND combo) { return static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

// Only TrueType faces, each once, in order.
int CALLBACK AddTrueTypeFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM list) {
  if ((fontType & TRUETYPE_FONTTYPE) == 0) return 1;
  ComboFaces* faces = reinterpret_cast<ComboFaces*>(list);
  const int index = FaceInsertIndex(font->lfFaceName, ComboCount(faces->combo), ComboFaceAt, faces);
  if (index >= 0) ::SendMessageA(faces->combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(font->lfFaceName));
  return 1;
}

int CALLBACK FolderBrowserEvent(HWND browser, UINT msg, LPARAM lp, LPARAM) {
  if (msg == BFFM_INITIALIZED) {
    ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(Options.Folder));
  } else if (msg == BFFM_SELCHANGED) {
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lp), path))
      ::SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

void SelectCombo(HWND dialog, int id, int choice) { ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, choice, 0); }

}  // namespace

COptionsDlg::COptionsDlg() : CDialogImpl(IDD_OPTIONS) {}

LRESULT COptionsDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      if (StepEditOfUpDown(*reinterpret_cast<const NMHDR*>(lp), m_numbers, kNumberFieldCount)) return 1;
      break;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
  }
  handled = false;
  return 0;
}

bool COptionsDlg::OnCommand(UINT id, UINT code) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDC_FOLDER_BROWSE:
      if (code == BN_CLICKED) OnBrowse();
      return true;
    case ID_HELP:
      ShowDialogHelp(kHelpTopic);
      return true;
    case IDC_OPACITY_EDIT:
      if (code == EN_CHANGE) OnOpacityChange();
      return true;
  }
  return false;
}

LRESULT COptionsDlg::OnInitDialog() {
  CheckDlgButton(m_hWnd, IDC_R1C1_CHECK, AddressingA1 == 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_HIDE_MARKERS_CHECK, Options.HideCellMarkers != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_SHOW_FORMULAS_CHECK, Options.ShowFormulas != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_AUTO_FORMATTING_CHECK, Options.AutoFormatting != 0 ? BST_CHECKED : BST_UNCHECKED);

  m_numbers[kUndoField].AttachWithUpDown(GetDlgItem(IDC_UNDO_LEVEL_EDIT), GetDlgItem(IDC_UNDO_LEVEL_SPIN));
  m_numbers[kCopyField].AttachWithUpDown(GetDlgItem(IDC_COPY_LEVEL_EDIT), GetDlgItem(IDC_COPY_LEVEL_SPIN));
  m_numbers[kOpacityField].AttachWithUpDown(GetDlgItem(IDC_OPACITY_EDIT), GetDlgItem(IDC_OPACITY_SPIN));
  SetDlgItemInt(m_hWnd, IDC_UNDO_LEVEL_EDIT, Options.UndoLevel, FALSE);
  SetDlgItemInt(m_hWnd, IDC_COPY_LEVEL_EDIT, Options.CopyLevel, FALSE);
  SetDlgItemInt(m_hWnd, IDC_OPACITY_EDIT, Options.Opacity, FALSE);

  FillAutoCombo(IDC_AUTO_SAVE_COMBO, Options.AutoSave);
  FillAutoCombo(IDC_AUTO_CLOSE_COMBO, Options.AutoClose);
  HWND updating = GetDlgItem(IDC_UPDATING_COMBO);
  for (const char* text : kUpdateChoiceTexts) ComboAddString(updating, text);
  SelectCombo(m_hWnd, IDC_UPDATING_COMBO, UpdateChoiceOfMode(AutomaticUpdating));
  HWND format = GetDlgItem(IDC_FILE_FORMAT_COMBO);
  for (const char* text : kFileFormatChoiceTexts) ComboAddString(format, text);
  SelectCombo(m_hWnd, IDC_FILE_FORMAT_COMBO, FileFormatChoiceOfFormat(Options.SaveFormat));
  HWND enter = GetDlgItem(IDC_ENTER_COMBO);
  for (const char* text : kEnterChoiceTexts) ComboAddString(enter, text);
  SelectCombo(m_hWnd, IDC_ENTER_COMBO, Options.WhenEnterPressed);

  ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER_EDIT, EM_LIMITTEXT, kFolderSize - 1, 0);
  ::SetDlgItemTextA(m_hWnd, IDC_FOLDER_EDIT, Options.Folder);
  FillFontCombo();
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void COptionsDlg::FillAutoCombo(int id, uint8_t minutes) {
  HWND combo = GetDlgItem(id);
  for (int choice = 0; choice < kAutoMinutesChoiceCount; ++choice) {
    char text[64];
    FormatAutoChoice(choice, text, sizeof text);
    ComboAddString(combo, text);
  }
  SelectCombo(m_hWnd, id, AutoChoiceOfMinutes(minutes));
}

void COptionsDlg::FillFontCombo() {
  ComboFaces faces{GetDlgItem(IDC_FONT_COMBO), {}};
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  HDC dc = ::GetDC(m_hWnd);
  ::EnumFontFamiliesExA(dc, &all, AddTrueTypeFace, reinterpret_cast<LPARAM>(&faces), 0);
  ::ReleaseDC(m_hWnd, dc);
  const int index = FindFaceByPrefix(Options.DefaultFont.faceName, ComboCount(faces.combo), ComboFaceAt, &faces);
  SelectCombo(m_hWnd, IDC_FONT_COMBO, index);
}

void COptionsDlg::OnOpacityChange() {
  // Loading the field is no change of the user's.
  if (::GetFocus() != m_numbers[kOpacityField].m_hWnd || !IsWindowVisible()) return;
  uint8_t opacity = 0;
  if (ReadOptionNumber(m_numbers[kOpacityField].WholeText().c_str(), kMinOpacity, kMaxOpacity, &opacity))
    SetWindowTransparency(m_hWnd, opacity);
}

void COptionsDlg::OnBrowse() {
  ::GetDlgItemTextA(m_hWnd, IDC_FOLDER_EDIT, Options.Folder, kFolderSize);
  const HRESULT com = ::CoInitialize(nullptr);
  BROWSEINFOA info{};
  info.hwndOwner = m_hWnd;
  info.lpszTitle = "Default Folder";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = FolderBrowserEvent;
  if (LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info)) {
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(chosen, path)) {
      std::snprintf(Options.Folder, kFolderSize, "%s", path);
      ::SetDlgItemTextA(m_hWnd, IDC_FOLDER_EDIT, Options.Folder);
    }
    ::CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

bool COptionsDlg::ReadNumberField(CParsedEdit& edit, uint8_t* value) {
  int32_t number = 0;
  if (!ReadIntegerFieldOrRefuse(m_hWnd, edit, &number)) return false;
  // Every field's limits lie within a byte.
  *value = static_cast<uint8_t>(number);
  return true;
}

int COptionsDlg::ComboChoice(int id) const {
  return static_cast<int>(::SendDlgItemMessageA(m_hWnd, id, CB_GETCURSEL, 0, 0));
}

// Every number is checked before anything is stored, so that a refused OK
// leaves the options as they were.
void COptionsDlg::OnOK() {
  uint8_t undoLevel = 0;
  uint8_t copyLevel = 0;
  uint8_t opacity = 0;
  if (!ReadNumberField(m_numbers[kUndoField], &undoLevel) || !ReadNumberField(m_numbers[kCopyField], &copyLevel) ||
      !ReadNumberField(m_numbers[kOpacityField], &opacity))
    return;
  Options.UndoLevel = undoLevel;
  Options.CopyLevel = copyLevel;
  Options.Opacity = opacity;
  AddressingA1 = IsDlgButtonChecked(m_hWnd, IDC_R1C1_CHECK) == BST_CHECKED ? 0 : 1;
  Options.HideCellMarkers = IsDlgButtonChecked(m_hWnd, IDC_HIDE_MARKERS_CHECK) == BST_CHECKED ? 1 : 0;
  Options.ShowFormulas = IsDlgButtonChecked(m_hWnd, IDC_SHOW_FORMULAS_CHECK) == BST_CHECKED ? 1 : 0;
  Options.AutoFormatting = IsDlgButtonChecked(m_hWnd, IDC_AUTO_FORMATTING_CHECK) == BST_CHECKED ? 1 : 0;
  const int autoSave = ComboChoice(IDC_AUTO_SAVE_COMBO);
  if (autoSave >= 0) Options.AutoSave = MinutesOfAutoChoice(autoSave);
  const int autoClose = ComboChoice(IDC_AUTO_CLOSE_COMBO);
  if (autoClose >= 0) Options.AutoClose = MinutesOfAutoChoice(autoClose);
  AutomaticUpdating = UpdateModeOfChoice(ComboChoice(IDC_UPDATING_COMBO));
  Options.SaveFormat = FileFormatOfChoice(ComboChoice(IDC_FILE_FORMAT_COMBO));
  const int enter = ComboChoice(IDC_ENTER_COMBO);
  Options.WhenEnterPressed = static_cast<uint8_t>(enter >= 0 && enter <= kMaxWhenEnterPressed ? enter : 0);
  ::GetDlgItemTextA(m_hWnd, IDC_FOLDER_EDIT, Options.Folder, kFolderSize);
  const int face = ComboChoice(IDC_FONT_COMBO);
  if (face >= 0) {
    ComboFaces faces{GetDlgItem(IDC_FONT_COMBO), {}};
    std::snprintf(Options.DefaultFont.faceName, sizeof Options.DefaultFont.faceName, "%s", ComboFaceAt(&faces, face));
  }
  EndDialog(IDOK);
}
