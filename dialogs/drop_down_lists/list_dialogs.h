#ifndef TALVERO_DIALOGS_LIST_DIALOGS_H
#define TALVERO_DIALOGS_LIST_DIALOGS_H

// The drop-down list editor (CInputListDlg, "Drop-Down Lists") and the
// dialog that asks for a list's name (CListNameDlg). The editor creates,
// renames, removes and fills the workbook's lists in place, so those
// changes stay whatever button ends it; it ends with 1 (OK) or 2 (Cancel),
// and after OK its style copy holds the list and settings chosen for the
// selected cells.

#include "core/model/drop_down_list.h"
#include "core/styles/style_record.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/dialog_resize.h"

class CListNameDlg : public CDialogImpl {
 public:
  explicit CListNameDlg(const char* name);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  const char* Name() const { return m_name; }

 private:
  char m_name[kDropDownNameSize];
};

class CInputListDlg : public CDialogImpl {
 public:
  // lists: the workbook's kDropDownListCount slots.
  CInputListDlg(DropDownList* lists, const StyleRecord& style);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  const StyleRecord& Style() const { return m_style; }
  // A list was created, renamed, removed or refilled: the workbook changed
  // whatever button ended the editor.
  bool ListsChanged() const { return m_listsChanged; }

 private:
  LRESULT OnInitDialog();
  bool OnCommand(WORD id, WORD code);
  // Rebuilds the name list and shows the current list.
  void Load();
  void ShowItems();
  void StoreItems();
  void StoreSettings();
  void OnListChosen();
  void OnNewList();
  void OnRenameList();
  void OnRemoveList();
  DropDownList* CurrentList() const;

  DropDownList* m_lists;
  StyleRecord m_style;
  // Set by the user's edits of the items, not by the dialog's own.
  bool m_itemsChanged = false;
  bool m_settingItems = false;
  bool m_listsChanged = false;
  CDialogResize m_resize;
};

#endif
