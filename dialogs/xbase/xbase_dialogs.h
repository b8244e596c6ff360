#ifndef TALVERO_DIALOGS_XBASE_DIALOGS_H
#define TALVERO_DIALOGS_XBASE_DIALOGS_H

// The description of an xBase table before it is read or written
// (CXBaseFileDlg: summary, field list, character set; when saving each
// field can be edited) and the dialog of one field (CXbaseFieldDlg). Both
// end with 1 (OK) or 2 (Cancel); the file dialog edits the table in place.

#include "core/model/buffered_file.h"
#include "core/model/exchange_options.h"
#include "dialogs/controls/parsed_edit.h"
#include "dialogs/xbase/xbase_field_rules.h"
#include "platform/ui/dialog_impl.h"

class CXbaseFieldDlg : public CDialogImpl {
 public:
  CXbaseFieldDlg(const char* name, char type, int32_t length, int32_t decimals);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // The edited values after OK.
  const XBaseFieldValues& Values() const { return m_values; }

 private:
  LRESULT OnInitDialog();
  void OnTypeClosed();
  // Reads name, length and decimals; a bad number is refused with its
  // bounds when asked to refuse.
  bool ReadControls(bool refuse);
  void ShowValues();
  LRESULT OnSpin(const NMHDR* header);

  XBaseFieldValues m_values;
  CParsedEdit m_length{kParsedInteger, kXBaseLengthMinimum, kXBaseLengthMaximum};
  CParsedEdit m_decimals{kParsedInteger, 0, kXBaseDecimalsMaximum};
};

class CXBaseFileDlg : public CDialogImpl {
 public:
  CXBaseFileDlg(XBaseTable* table, const char* path, bool save);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  const char* DisplayName() const { return m_displayName; }

 private:
  LRESULT OnInitDialog();
  void CreateFieldList();
  void DrawField(const DRAWITEMSTRUCT& item);
  void EditSelectedField();
  void OnOK();

  XBaseTable* m_table;
  bool m_save;
  char m_displayName[kFilePathSize];
  HWND m_header = nullptr;
  HWND m_list = nullptr;
};

#endif
