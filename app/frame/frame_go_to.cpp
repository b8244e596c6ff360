// The name box's go-to, typed or chosen from its bookmarks, and adding a
// bookmark of the selection.

#include <windows.h>

#include <commctrl.h>

#include "app/document/child_frame.h"
#include "app/document/document_opening.h"
#include "app/frame/bookmark_list.h"
#include "app/frame/go_to_target.h"
#include "app/frame/main_frame.h"
#include "core/formula/eval_state.h"
#include "core/formula/range_ref_parser.h"
#include "dialogs/bookmark/add_bookmark_dialog.h"
#include "files/dispatch/native_kind.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"

namespace {

// The name box's text: at most 256 characters.
constexpr int kGoToTextSize = kProfilePathSize + 1;

void ShowInvalidGoTo() { ShowMessageRes(IDS_INVALID_GOTO, MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

void CMainFrame::OnGoTo(bool listChoice) {
  char text[kGoToTextSize] = {};
  if (listChoice) {
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = ::SendMessageA(m_nameBox, CB_GETCURSEL, 0, 0);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (item.iItem < 0 || !::SendMessageA(m_nameBox, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
    SetNameBoxText(text);
  } else {
    HWND edit = reinterpret_cast<HWND>(::SendMessageA(m_nameBox, CBEM_GETEDITCONTROL, 0, 0));
    ::GetWindowTextA(edit != nullptr ? edit : m_nameBox, text, sizeof text);
  }
  char file[kQualifiedRefCapacity] = {};
  char sheetPath[kQualifiedRefCapacity] = {};
  const char* reference = nullptr;
  if (!SplitQualifiedRef(text, file, sheetPath, &reference)) {
    ShowInvalidGoTo();
    return;
  }
  // A workbook named by its file is activated, or opened first.
  if (file[0] != '\0') OpenDocumentPath(this, file, kFormatNative, -1);
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr) {
    ShowInvalidGoTo();
    return;
  }
  child->EndOpenEdit();
  CWorkBook* book = child->Workbook();
  if (sheetPath[0] != '\0') {
    CWorkSheet* sheet = FindGoToWorksheet(book, sheetPath);
    if (sheet == nullptr) {
      ShowInvalidGoTo();
      return;
    }
    if (sheet != book->activeWorksheet) child->SelectTreeItem(sheet);
  }
  EvalState parser(book, book->activeWorksheet != nullptr ? &book->activeWorksheet->cells : nullptr);
  parser.resolveSheet = book->evaluator.resolveSheet;
  SelectionRange range{};
  if (reference == nullptr || !ParseGoToReference(parser, reference, &range)) {
    ShowInvalidGoTo();
    return;
  }
  child->SelectRange(range);
  if (CDocumentView* view = child->GetActiveView()) {
    view->EnsureCellVisible(range.firstRow, range.firstColumn);
    view->SyncOtherPane();
    // What is typed next goes to the cells the go-to led to.
    // What is typed next goes to the cells the go-to led to.
    view->SetFocus();
  }
}

void CMainFrame::OnAddBookmark() {
  CChildFrame* child = GetActiveChildFrame();
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  ProfileLists* lists = Options.Lists;
  if (view == nullptr || lists == nullptr || child->Workbook()->activeWorksheet == nullptr) return;
  // One entry of the profile's list stays free.
  constexpr int kMostBookmarks = kBookmarkCount - 1;
  if (lists->bookmarkCount >= kMostBookmarks) {
    ShowMessageResNumber(IDS_TOO_MANY_ITEMS, kMostBookmarks, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  child->EndOpenEdit();
  CAddBookmarkDlg dialog;
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  CWorkBook* book = child->Workbook();
  char sheetPath[kTreePathCapacity] = {};
  book->activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath);
  const char* file = book->bufferedFile.path[0] != '\0' ? book->bufferedFile.path : nullptr;
  char* entry = lists->bookmarks[lists->bookmarkCount];
  if (!ComposeBookmark(book->evaluator, file, sheetPath, view->Selection(), dialog.Name(), entry, kProfilePathSize)) {
    ShowMessageResNumber(IDS_TOO_MANY_CHARACTERS, kProfilePathSize - 1, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EvalState translator;
  char shown[kProfilePathSize];
  FormatBookmarkForDisplay(translator, entry, shown, sizeof shown);
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT;
  item.iItem = lists->bookmarkCount++;
  item.pszText = shown;
  ::SendMessageA(m_nameBox, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  ::SendMessageA(m_nameBox, CB_SETCURSEL, item.iItem, 0);
}
