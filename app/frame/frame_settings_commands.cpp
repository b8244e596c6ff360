// The frame's commands that change global settings: the options dialog,
// loading and saving a settings profile, the regional settings and locking
// cell editing.

#include <cstdio>

#include "app/document/file_dialog_folder.h"
#include "app/frame/main_frame.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/file/file_dialog.h"
#include "dialogs/options/options_dialog.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/settings/settings_path.h"
#include "services/settings/settings_profile.h"

namespace {

const char kProfileFilter[] = "Profile (*.xml)\0*.xml\0";
constexpr char kProfileExtension[] = "xml";

}  // namespace

bool CMainFrame::OnSettingsCommand(UINT command) {
  switch (command) {
    case ID_OPTIONS:
      OnOptions();
      return true;
    case ID_LOAD_PROFILE:
      OnLoadProfile();
      return true;
    case ID_SAVE_PROFILE_AS:
      OnSaveProfileAs();
      return true;
    case ID_REGION_GENERIC:
    case ID_REGION_SYSTEM:
    case ID_REGION_USER:
      OnLocale(command);
      return true;
    case ID_LOCK_EDITING:
      OnLockEdit();
      return true;
  }
  return false;
}

void CMainFrame::OnOptions() {
  const SettingsLevels before = NoteSettingsLevels();
  COptionsDlg dialog;
  if (dialog.DoModal(m_hWnd) == IDOK) RefreshAfterSettingsChange(before);
}

void CMainFrame::OnLoadProfile() {
  char folder[kSettingsPathSize];
  FolderOfPath(SettingsPath, folder, sizeof folder);
  CFileDlg dialog(true, nullptr, OFN_EXPLORER | OFN_PATHMUSTEXIST, kProfileExtension, "", kProfileFilter, 1, folder,
                  m_hWnd);
  if (dialog.DoModal() != IDOK) return;
  const SettingsLevels before = NoteSettingsLevels();
  if (ReadProfile(dialog.GetPathName(), true) != 0) return;
  std::snprintf(SettingsPath, sizeof SettingsPath, "%s", dialog.GetPathName());
  RefreshAfterSettingsChange(before);
}

void CMainFrame::OnSaveProfileAs() {
  char folder[kSettingsPathSize];
  FolderOfPath(SettingsPath, folder, sizeof folder);
  CFileDlg dialog(false, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kProfileExtension, "", kProfileFilter, 1,
                  folder, m_hWnd);
  if (dialog.DoModal() != IDOK) return;
  // The exit writes the profile where it was saved last.
  if (WriteProfile(dialog.GetPathName(), true) == 0)
    std::snprintf(SettingsPath, sizeof SettingsPath, "%s", dialog.GetPathName());
}

void CMainFrame::RefreshAfterSettingsChange(const SettingsLevels& before) {
  ApplyChangedSettings(before);
  FillBookmarkList();
  RefreshAllViews();
}

void CMainFrame::RefreshAllViews() {
  UpdateUI();
  UpdateStatusBar();
  InvalidateAllViews();
}

void CMainFrame::OnLocale(UINT command) {
  Options.Region = command == ID_REGION_GENERIC  ? kRegionGeneric
                   : command == ID_REGION_SYSTEM ? kRegionSystemDefault
                                                 : kRegionUserDefault;
  ApplyRegionalSettings(Options.Region, true);
  RefreshAllViews();
}

void CMainFrame::OnLockEdit() {
  Options.LockEdit = Options.LockEdit != 0 ? 0 : 1;
  UISetCheck(ID_LOCK_EDITING, Options.LockEdit != 0);
  // Unlocked, the formula bar follows the active cell again.
  if (Options.LockEdit == 0) UpdateUI();
}
