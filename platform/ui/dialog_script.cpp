#include "platform/ui/dialog_script.h"

#include <commctrl.h>

namespace {

DialogScript* g_scripts = nullptr;
int g_scriptCount = 0;

void Notify(HWND dialog, HWND control, int id, WORD code) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

bool IsClass(HWND hwnd, const char* name) {
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

struct PageSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindInShownPage(HWND child, LPARAM context) {
  PageSearch* search = reinterpret_cast<PageSearch*>(context);
  if (!IsWindowVisible(child) || !IsClass(child, "#32770")) return TRUE;
  search->found = GetDlgItem(child, search->id);
  return search->found == nullptr;
}

HWND FindControl(HWND dialog, int id) {
  if (HWND control = GetDlgItem(dialog, id)) return control;
  PageSearch search = {id, nullptr};
  EnumChildWindows(dialog, FindInShownPage, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A click on a tab: the owner may keep the current one.
void SelectTab(HWND tabs, int id, int index) {
  HWND owner = GetParent(tabs);
  NMHDR header = {tabs, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGING)};
  if (SendMessageA(owner, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header)) != 0) return;
  SendMessageA(tabs, TCM_SETCURSEL, index, 0);
  header.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageA(owner, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

void Apply(HWND dialog, const DialogScriptStep& step) {
  if (step.action == DialogAction::kInspect) {
    if (step.inspect != nullptr) step.inspect(dialog);
    return;
  }
  HWND control = FindControl(dialog, step.controlId);
  // Notifications go to the page that holds the control.
  if (control != nullptr) dialog = GetParent(control);
  switch (step.action) {
    case DialogAction::kSetText:
      // A single-line edit tells its dialog itself (EN_CHANGE); a multi-line
      // one does so only for typing, which the script stands for.
      SetWindowTextA(control, step.text);
      if (IsClass(control, "Edit") && (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0) {
        SendMessageA(control, EM_SETMODIFY, TRUE, 0);
        Notify(dialog, control, step.controlId, EN_CHANGE);
      }
      break;
    case DialogAction::kSetCheck:
      SendMessageA(control, BM_SETCHECK, step.value, 0);
      Notify(dialog, control, step.controlId, BN_CLICKED);
      break;
    case DialogAction::kSelectItem:
      if (IsClass(control, WC_TABCONTROLA)) {
        SelectTab(control, step.controlId, step.value);
      } else if (IsClass(control, "ListBox")) {
        SendMessageA(control, LB_SETCURSEL, step.value, 0);
        Notify(dialog, control, step.controlId, LBN_SELCHANGE);
      } else if (IsClass(control, WC_LISTVIEWA)) {
        // The list tells its dialog itself (LVN_ITEMCHANGED).
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(control, LVM_SETITEMSTATE, step.value, reinterpret_cast<LPARAM>(&item));
      } else {
        SendMessageA(control, CB_SETCURSEL, step.value, 0);
        Notify(dialog, control, step.controlId, CBN_SELCHANGE);
        Notify(dialog, control, step.controlId, CBN_SELENDOK);
      }
      break;
    case DialogAction::kPress:
      // Posted, so the dialog's loop handles it as it would a click.
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.controlId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
      break;
    case DialogAction::kInspect:
      break;
  }
}

}  // namespace

void SetDialogScripts(DialogScript* scripts, int count) {
  g_scripts = count > 0 ? scripts : nullptr;
  g_scriptCount = g_scripts != nullptr ? count : 0;
}

DialogScript* FindDialogScript(int templateId) {
  for (int i = 0; i < g_scriptCount; ++i) {
    if (g_scripts[i].templateId == templateId) return &g_scripts[i];
  }
  return nullptr;
}

int ApplyDialogScriptSteps(HWND dialog, const DialogScript& script, int first) {
  int i = first;
  while (i < script.stepCount) {
    const DialogScriptStep& step = script.steps[i++];
    Apply(dialog, step);
    if (step.action == DialogAction::kPress) break;
  }
  return i;
}
