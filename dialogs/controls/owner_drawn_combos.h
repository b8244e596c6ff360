#ifndef TALVERO_DIALOGS_OWNER_DRAWN_COMBOS_H
#define TALVERO_DIALOGS_OWNER_DRAWN_COMBOS_H

// Drop-down lists that show line styles, marker symbols, fill patterns and
// colours as pictures. Each subclasses an owner-drawn combo box (fixed item
// height, CBS_OWNERDRAWFIXED, no CBS_HASSTRINGS) of a dialog template; its
// items' data are the values, and the parent's WM_DRAWITEM comes back to the
// combo by reflection. A stored value stands in when nothing is selected.

#include <cstdint>

#include <windows.h>

#include <commdlg.h>

#include "core/styles/fill_and_border_line.h"
#include "platform/ui/window_impl.h"

class DrawContext;

class CComboBoxBase : public CWindowImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // The selected item's value, or the stored value without a selection.
  uint32_t SelectedValue() const;

 protected:
  // Empties the list, sets the item height and the extended user interface.
  void PrepareList();
  void AddValue(uint32_t value);
  // Selects the item holding the value; none when no item does.
  void SelectValue(uint32_t value);
  // Draws the item's picture; the background is filled and the text colour
  // chosen before.
  virtual void DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) = 0;
  virtual void OnReflectedCommand(WORD) {}
  void DrawCentredText(const DRAWITEMSTRUCT& item, const char* text, int left);

  uint32_t m_storedValue = 0;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void MeasureItem(MEASUREITEMSTRUCT* item);
};

// Styles 0 "None", 1 solid, 2 dotted, 3 dashed, 4 dash-dot, 5 dash-dot-dot,
// 6 to 8 solid one to three pixels wide.
class CLineComboBox : public CComboBoxBase {
 public:
  void Fill(uint32_t selected, bool withWidths);

 protected:
  void DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) override;
};

// Marker symbols 1 to 15, each after its number.
class CSymbolComboBox : public CComboBoxBase {
 public:
  CSymbolComboBox() { m_storedValue = 4; }
  void Fill(uint32_t selected);

 protected:
  void DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) override;
};

// Patterns 0 "None", 1 solid, 2 to 18 hatches, 19 to 22 gradients.
class CPatternComboBox : public CComboBoxBase {
 public:
  // Gradients are only offered together with the patterns.
  void Fill(uint32_t selected, bool withPatterns, bool withGradients);

 protected:
  void DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) override;
};

// The sixteen palette colours, "default" and "custom"; choosing "custom"
// opens the colour dialog when the list closes.
class CColorComboBox : public CComboBoxBase {
 public:
  void SetColor(COLORREF colour, COLORREF defaultColour, bool selectDefault);
  COLORREF GetColor() const;
  bool IsDefault() const;
  // "custom" picked with the list still down: the colour dialog opens when
  // the list closes, and reports its colour with CBN_SELENDOK after OK.
  bool AwaitsCustomColor() const;

  // The colour dialog, replaceable so that tests answer it.
  using ChooseColorFunction = BOOL(WINAPI*)(CHOOSECOLORA*);
  static ChooseColorFunction SetChooseColorFunction(ChooseColorFunction fn);

 protected:
  void DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) override;
  void OnReflectedCommand(WORD code) override;

 private:
  void ChooseCustomColor();
};

// A line record from a line combo and a colour combo, a fill record from a
// pattern combo and two colour combos; a colour counts as set unless
// "default" is chosen.
void ReadTwoCombos(const CLineComboBox& line, const CColorComboBox& colour, BorderLine* out);
void ReadThreeCombos(const CPatternComboBox& pattern, const CColorComboBox& first, const CColorComboBox& second,
                     FillRecord* out);

#endif
