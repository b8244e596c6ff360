#ifndef TALVERO_DIALOGS_NUM_FORMAT_HOST_H
#define TALVERO_DIALOGS_NUM_FORMAT_HOST_H

// The window side shared by the two number-format hosts, the Style page of
// the format-cells sheet and the Numeric Format dialog: the category combo
// with the named formats after the built-in categories, the option sub-page
// of the chosen category inside the frame static, the code edit, and the
// " New" and " Delete" buttons. What they decide is NumFormatChoice's; a
// host that applies changes at once does so in OnFormatChanged. Windows only.

#include <cstdint>

#include "services/choices/num_format_choice.h"
#include "services/choices/sub_page_fields.h"
#include "platform/ui/dialog_impl.h"

class CNumFormatHost;

// The option controls of one category, created inside a host from the
// category's template; every change of them is the host's to store.
class CNumFormatSubPage : public CDialogImpl {
 public:
  CNumFormatSubPage(uint8_t category, CNumFormatHost* host);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool PreTranslateMessage(MSG* msg) override;

  uint8_t Category() const { return m_layout->category; }
  void LoadFields(const SubPageFields& fields);
  void ReadFields(SubPageFields* fields) const;

 private:
  LRESULT OnInitDialog();
  bool OnCommand(int id, int code);
  void FillItems(const SubPageControl& control, bool systemDateOrder);
  bool IsList(HWND control) const;

  const SubPageLayout* m_layout;
  CNumFormatHost* m_host;
  bool m_loading = false;
};

// One sub-page class per category.
template <uint8_t kCategory>
class CStyleSubPage : public CNumFormatSubPage {
 public:
  explicit CStyleSubPage(CNumFormatHost* host) : CNumFormatSubPage(kCategory, host) {}
};
using CStyleGeneralDlg = CStyleSubPage<kNumFormatGeneral>;
using CStyleCurrencyDlg = CStyleSubPage<kNumFormatCurrency>;
using CStyleAccountDlg = CStyleSubPage<kNumFormatAccounting>;
using CStyleDateDlg = CStyleSubPage<kNumFormatDate>;
using CStyleTimeDlg = CStyleSubPage<kNumFormatTime>;
using CStyleDateTimeDlg = CStyleSubPage<kNumFormatDateTime>;
using CStylePercentDlg = CStyleSubPage<kNumFormatPercent>;
using CStyleFractionDlg = CStyleSubPage<kNumFormatFraction>;
using CStyleScientificDlg = CStyleSubPage<kNumFormatScientific>;

class CNumFormatHost : public CDialogImpl {
 public:
  // The " New" and " Delete" buttons.
  static constexpr UINT kNewFormat = 408;
  static constexpr UINT kDeleteFormat = 409;

  CNumFormatHost(int templateId, bool styleHost);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // The format being edited: set before the window opens (or before a
  // refresh), read after a change.
  NumFormatParams& Params() { return m_choice.params; }
  const NumFormatChoice& Choice() const { return m_choice; }
  // 0 shows the params in the controls; 1 takes the controls into the
  // params, false (after a beep, with the focus on the entry to correct)
  // when an entry is invalid.
  bool Refresh(int direction);
  // A change on the sub-page: stored, and handed on when valid.
  void OnSubPageChanged();
  // The sub-page's input, before its dialog manager: true when consumed.
  virtual bool FilterSubPageInput(MSG*) { return false; }
  CNumFormatSubPage* ShownSubPage() const;
  HWND ToolBar() const { return m_toolbar; }

 protected:
  // A valid change by the user of the format, or of its category.
  virtual void OnFormatChanged() {}
  LRESULT OnInitHost();
  void OnDestroyHost();

 private:
  bool OnCommand(int id, int code);
  void OnCategoryChosen(int index);
  void OnCodeTyped();
  void OnNewFormat();
  void OnDeleteFormat();
  void Show(const NumFormatChoice::Shown& shown, bool rebuildSubPage);
  void ShowSubPage(uint8_t category);
  CNumFormatSubPage* SubPageOf(uint8_t category);
  bool FillCategoryCombo();

  NumFormatChoice m_choice;
  bool m_styleHost;
  bool m_loading = false;
  HWND m_toolbar = nullptr;
  CNumFormatSubPage* m_subPage = nullptr;
  CStyleGeneralDlg m_general{this};
  CStyleCurrencyDlg m_currency{this};
  CStyleAccountDlg m_accounting{this};
  CStyleDateDlg m_date{this};
  CStyleTimeDlg m_time{this};
  CStyleDateTimeDlg m_dateTime{this};
  CStylePercentDlg m_percent{this};
  CStyleFractionDlg m_fraction{this};
  CStyleScientificDlg m_scientific{this};
};

#endif
