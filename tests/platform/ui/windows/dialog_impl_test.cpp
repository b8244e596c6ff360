#include "platform/ui/dialog_impl.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ui/dialog_resize.h"
#include "platform/ui/dialog_script.h"
#include "tests/platform/ui/windows/ui_test_resources.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

struct NameRecord {
  char name[32];
  bool bold;
  int kind;
};

// One load and one store, the store refusing an empty name.
class CNameDlg : public CDialogImpl {
 public:
  explicit CNameDlg(NameRecord* record) : CDialogImpl(IDD_TEST_NAME), m_record(record) {}
  RECT placedAt{};

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_INITDIALOG:
        return OnInitDialog();
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK) return OnOK();
        break;
    }
    handled = false;
    return 0;
  }

 private:
  LRESULT OnInitDialog() {
    SetDlgItemTextA(m_hWnd, IDC_TEST_NAME, m_record->name);
    CheckDlgButton(m_hWnd, IDC_TEST_BOLD, m_record->bold ? BST_CHECKED : BST_UNCHECKED);
    HWND kind = GetDlgItem(IDC_TEST_KIND);
    ::SendMessageA(kind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Plain"));
    ::SendMessageA(kind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Fancy"));
    ::SendMessageA(kind, CB_SETCURSEL, m_record->kind, 0);
    CenterWindow();
    placedAt = GetWindowRect();
    return TRUE;
  }
  LRESULT OnOK() {
    char name[32];
    GetDlgItemTextA(m_hWnd, IDC_TEST_NAME, name, sizeof name);
    if (name[0] == '\0') {
      MessageBeep(MB_ICONWARNING);
      ::SetFocus(GetDlgItem(IDC_TEST_NAME));
      return 0;
    }
    strcpy(m_record->name, name);
    m_record->bold = IsDlgButtonChecked(m_hWnd, IDC_TEST_BOLD) == BST_CHECKED;
    m_record->kind = static_cast<int>(::SendMessageA(GetDlgItem(IDC_TEST_KIND), CB_GETCURSEL, 0, 0));
    EndDialog(IDOK);
    return 0;
  }
  NameRecord* m_record;
};

TEST(DialogImpl, ModalDialogTakesScriptedAnswersCentredOnItsOwner) {
  CLoggingWindow owner(nullptr, 0);
  ASSERT_NE(owner.CreateTopLevel("owner", 500, 400), nullptr);
  const DialogScriptStep steps[] = {
      {IDC_TEST_NAME, DialogAction::kSetText, "Ada", 0},
      {IDC_TEST_BOLD, DialogAction::kSetCheck, nullptr, 1},
      {IDC_TEST_KIND, DialogAction::kSelectItem, nullptr, 1},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_TEST_NAME, steps, 4, false, false, 0};
  SetDialogScripts(&script, 1);
  NameRecord record{"Old", false, 0};
  CNameDlg dlg(&record);
  EXPECT_EQ(dlg.DoModal(owner), IDOK);
  SetDialogScripts(nullptr, 0);

  EXPECT_TRUE(script.ran);
  EXPECT_FALSE(script.stalled);
  EXPECT_STREQ(record.name, "Ada");
  EXPECT_TRUE(record.bold);
  EXPECT_EQ(record.kind, 1);
  RECT o = owner.GetWindowRect();
  EXPECT_NEAR((dlg.placedAt.left + dlg.placedAt.right) / 2, (o.left + o.right) / 2, 1);
  EXPECT_NEAR((dlg.placedAt.top + dlg.placedAt.bottom) / 2, (o.top + o.bottom) / 2, 1);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  owner.DestroyWindow();
}

TEST(DialogImpl, ARefusedScriptedAnswerEndsTheDialogInsteadOfHanging) {
  const DialogScriptStep steps[] = {
      {IDC_TEST_NAME, DialogAction::kSetText, "", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_TEST_NAME, steps, 2, false, false, 0};
  SetDialogScripts(&script, 1);
  NameRecord record{"Old", false, 0};
  CNameDlg dlg(&record);
  EXPECT_EQ(dlg.DoModal(nullptr), IDABORT);
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(script.stalled);
  EXPECT_STREQ(record.name, "Old");
}

TEST(DialogImpl, QuitEndsAModalDialogAndReachesTheOuterLoop) {
  CMessageLoop loop;
  NameRecord record{"Old", false, 0};
  CNameDlg dlg(&record);
  PostQuitMessage(9);
  EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(loop.Run(), 9);
}

class CKeyLoggingEdit : public CWindowImpl {
 public:
  int tabs = 0;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    if (msg == WM_KEYDOWN && wp == VK_TAB) ++tabs;
    handled = false;
    return 0;
  }
};

TEST(DialogImpl, ModelessDialogKeysPassItsFilterBeforeDispatch) {
  CMessageLoop loop;
  NameRecord record{"Ada", false, 0};
  CNameDlg dlg(&record);
  ASSERT_NE(dlg.Create(nullptr), nullptr);
  dlg.ShowWindow(SW_SHOW);
  CKeyLoggingEdit edit;
  ASSERT_TRUE(edit.SubclassWindow(dlg.GetDlgItem(IDC_TEST_NAME)));
  edit.SetFocus();
  PumpMessages();
  edit.PostMessage(WM_KEYDOWN, VK_TAB, 1);
  PumpMessages();
  // The dialog manager took Tab and moved on to the next control.
  EXPECT_EQ(edit.tabs, 0);
  EXPECT_EQ(GetFocus(), dlg.GetDlgItem(IDC_TEST_BOLD));
  SaveClientScreenshot(dlg, "dialog_modeless");

  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_FALSE(loop.RemoveMessageFilter(&dlg));  // it went with its window
}

class CResizeDlg : public CDialogImpl {
 public:
  CResizeDlg() : CDialogImpl(IDD_TEST_RESIZE) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
    switch (msg) {
      case WM_INITDIALOG: {
        const ResizeAnchor anchors[] = {{IDC_TEST_NAME, kAnchorSizeX}, {IDOK, kAnchorMoveX | kAnchorMoveY}};
        m_resize.Init(m_hWnd, anchors, 2);
        return TRUE;
      }
      case WM_SIZE:
      case WM_GETMINMAXINFO:
        if (m_resize.HandleMessage(msg, wp, lp)) return 0;
        break;
    }
    handled = false;
    return 0;
  }

 private:
  CDialogResize m_resize;
};

TEST(DialogResize, ControlsFollowTheirAnchorsAndTheOpeningSizeIsTheMinimum) {
  CResizeDlg dlg;
  ASSERT_NE(dlg.Create(nullptr), nullptr);
  CWindow edit(dlg.GetDlgItem(IDC_TEST_NAME));
  CWindow ok(dlg.GetDlgItem(IDOK));
  RECT editBefore = edit.GetRectInParent();
  RECT okBefore = ok.GetRectInParent();
  RECT window = dlg.GetWindowRect();
  int width = window.right - window.left;
  int height = window.bottom - window.top;

  SetWindowPos(dlg, nullptr, 0, 0, width + 60, height + 40, SWP_NOMOVE | SWP_NOZORDER);
  RECT editAfter = edit.GetRectInParent();
  RECT okAfter = ok.GetRectInParent();
  EXPECT_EQ(editAfter.right - editBefore.right, 60);
  EXPECT_EQ(editAfter.left, editBefore.left);
  EXPECT_EQ(okAfter.left - okBefore.left, 60);
  EXPECT_EQ(okAfter.top - okBefore.top, 40);
  EXPECT_NE(dlg.GetDlgItem(CDialogResize::kSizeGripId), nullptr);

  MINMAXINFO info{};
  dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, width);
  EXPECT_EQ(info.ptMinTrackSize.y, height);
  dlg.DestroyWindow();
}

}  // namespace
