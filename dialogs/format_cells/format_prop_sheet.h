#ifndef TALVERO_DIALOGS_FORMAT_PROP_SHEET_H
#define TALVERO_DIALOGS_FORMAT_PROP_SHEET_H

// The format-cells sheet ("Cell Format"): a modeless tool window of five
// tabs (Style, Font, Alignment, Border, Background) that shows the format of
// the selection's top-left cell and applies every change of a control at
// once to the whole selection; it has no OK button. Only the page of the
// selected tab has a window, made anew at each switch and loaded from the
// page's copy of the format. Its window state (place, tab, shown) lives in
// the options. Windows only.

#include <windows.h>

#include "core/styles/style_record.h"
#include "dialogs/format_cells/alignment_prop_page.h"
#include "dialogs/format_cells/background_prop_page.h"
#include "dialogs/format_cells/border_prop_page.h"
#include "dialogs/format_cells/font_prop_page.h"
#include "dialogs/format_cells/style_prop_page.h"
#include "platform/ui/dialog_impl.h"

class FormatSheetHost;

class CFormatPropSheet : public CDialogImpl {
 public:
  enum PageIndex : int { kStyle, kFont, kAlignment, kBorder, kBackground, kPageCount };

  explicit CFormatPropSheet(FormatSheetHost* host);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // Stamps the frame's clocks, takes the Border page's digit keys, then
  // hands the message to the dialog manager.
  bool PreTranslateMessage(MSG* msg) override;

  // The cell's format into every page's copy (a font without a face or a
  // size takes the default font's), then the shown page loaded.
  void SetCellFormat(const StyleRecord& style, const FontRecord& font);
  // The shown page refreshed: 0 loads it from its copy, 1 stores it.
  void UpdateActivePage(int direction);
  // The sheet's share of a message for it or any of its pages: the clocks
  // stamped on input, and the digits "1" to "6" while the Border page is
  // shown. True when the message was consumed.
  bool FilterInput(MSG* msg);

  FormatSheetHost* Host() const { return m_host; }
  HWND Tabs() const { return m_tabs; }
  int ActivePage() const;
  CFormatPage* Page(int index);

  CStylePropPage stylePage{this};
  CFontPropPage fontPage{this};
  CAlignmentPropPage alignmentPage{this};
  CBorderPropPage borderPage{this};
  CBackgroundPropPage backgroundPage{this};

 private:
  LRESULT OnInitDialog();
  void OnDestroy();
  void ShowPage(int index);
  void PlaceWindow();

  FormatSheetHost* m_host;
  HWND m_tabs = nullptr;
  CFormatPage* m_shown = nullptr;
};

// Creates the sheet's window anew, owned by the frame, and shows it; false
// when it cannot be created.
bool ShowPropSheetModeless(CFormatPropSheet* sheet);

#endif
