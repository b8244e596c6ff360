// The frame's help, bookmark-list and settings-change duties.

#include "app/frame/bookmark_list.h"
#include "app/frame/main_frame.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "services/ui_services/help_topics.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "resources/resource_ids.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr int kHelpContentsTopic = 1;
constexpr int kSupportTopic = 17;
constexpr char kOnlineHelpAddress[] = "https://www.talvero.org/help/";
// The locale the user chose in the system's settings.
constexpr uint8_t kUserDefaultRegion = 2;

}  // namespace

bool CMainFrame::OnWindowCommand(UINT command) {
  switch (command) {
    case ID_HELP_CONTENTS:
      ShowHelpTopic(kHelpContentsTopic);
      return true;
    case ID_SUPPORT:
      ShowHelpTopic(kSupportTopic);
      return true;
    case ID_ONLINE_HELP:
      ::ShellExecuteA(m_hWnd, "open", kOnlineHelpAddress, nullptr, nullptr, SW_SHOWNORMAL);
      return true;
    case ID_REMOVE_BOOKMARK:
      RemoveSelectedBookmark();
      return true;
    case ID_REMOVE_ALL_BOOKMARKS:
      RemoveAllBookmarks();
      return true;
  }
  return false;
}

void CMainFrame::FillBookmarkList() {
  ::SendMessageA(m_nameBox, CB_RESETCONTENT, 0, 0);
  if (const ProfileLists* lists = Options.Lists) {
    EvalState translator;
    const int count = lists->bookmarkCount < kBookmarkCount ? lists->bookmarkCount : kBookmarkCount;
    for (int i = 0; i < count; ++i) {
      char text[kProfilePathSize];
      FormatBookmarkForDisplay(translator, lists->bookmarks[i], text, sizeof text);
      COMBOBOXEXITEMA item{};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = text;
      ::SendMessageA(m_nameBox, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  SetNameBoxText("");
}

void CMainFrame::SetNameBoxText(const char* text) {
  HWND edit = reinterpret_cast<HWND>(::SendMessageA(m_nameBox, CBEM_GETEDITCONTROL, 0, 0));
  ::SetWindowTextA(edit != nullptr ? edit : m_nameBox, text);
}

// The list's items stand in the order of the profile's bookmarks.
void CMainFrame::RemoveSelectedBookmark() {
  ProfileLists* lists = Options.Lists;
  const int selected = static_cast<int>(::SendMessageA(m_nameBox, CB_GETCURSEL, 0, 0));
  if (lists == nullptr || selected < 0 || selected >= lists->bookmarkCount) return;
  if (ShowMessageRes(IDS_REMOVE_BOOKMARK, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  RemoveBookmarkEntry(*lists, selected);
  FillBookmarkList();
}

void CMainFrame::RemoveAllBookmarks() {
  ProfileLists* lists = Options.Lists;
  if (lists == nullptr || ::SendMessageA(m_nameBox, CB_GETCOUNT, 0, 0) <= 0) return;
  if (ShowMessageRes(IDS_REMOVE_ALL_BOOKMARKS, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  RemoveAllBookmarkEntries(*lists);
  FillBookmarkList();
}

void CMainFrame::OnSettingChange() {
  // The user's locale is taken whatever region the options chose, until a
  // region is chosen again.
  ApplyRegionalSettings(kUserDefaultRegion, true);
  InvalidateAllViews();
}

void CMainFrame::InvalidateAllViews() {
  // Every document window's panes repaint, both views of a split among them.
  for (HWND child = ::GetWindow(m_hWndClient, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}
