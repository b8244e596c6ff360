#ifndef TALVERO_DIALOGS_ADD_BOOKMARK_DIALOG_H
#define TALVERO_DIALOGS_ADD_BOOKMARK_DIALOG_H

// The dialog that names a new bookmark (CAddBookmarkDlg, "Add Bookmark"):
// its name field starts empty and takes at most 255 characters. It ends
// with 1 (OK, the name then in Name()) or 2 (Cancel).

#include "platform/ui/dialog_impl.h"

class CAddBookmarkDlg : public CDialogImpl {
 public:
  static constexpr int kNameCapacity = 256;

  CAddBookmarkDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  const char* Name() const { return m_name; }

 private:
  char m_name[kNameCapacity] = {};
};

#endif
