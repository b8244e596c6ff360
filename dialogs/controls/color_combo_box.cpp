#include "core/base/scheme_colors.h"
#include "dialogs/controls/color_items.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "view/draw_context/draw_context.h"

namespace {

// Shared by every colour dialog of the program while it runs.
COLORREF g_customColours[16] = {};
CColorComboBox::ChooseColorFunction g_chooseColor = ChooseColorA;

}  // namespace

CColorComboBox::ChooseColorFunction CColorComboBox::SetChooseColorFunction(ChooseColorFunction fn) {
  ChooseColorFunction previous = g_chooseColor;
  g_chooseColor = fn != nullptr ? fn : ChooseColorA;
  return previous;
}

void CColorComboBox::SetColor(COLORREF colour, COLORREF defaultColour, bool selectDefault) {
  if (SendMessage(CB_GETCOUNT) == 0) {
    PrepareList();
    uint32_t palette[kPaletteSize];
    GetDefaultPalette(palette);
    for (int i = 0; i < kPaletteSize; ++i) AddValue(palette[i]);
    AddValue(defaultColour);
    AddValue(colour);
  } else {
    SendMessage(CB_SETITEMDATA, kColorItemCustom, static_cast<LPARAM>(colour));
  }
  m_storedValue = colour;
  const int item = selectDefault ? kColorItemDefault : ColorItemFor(colour, static_cast<uint32_t>(SendMessage(CB_GETITEMDATA, kColorItemDefault)), false);
  SendMessage(CB_SETCURSEL, item);
}

COLORREF CColorComboBox::GetColor() const { return SelectedValue(); }

bool CColorComboBox::IsDefault() const { return SendMessage(CB_GETCURSEL) == kColorItemDefault; }

bool CColorComboBox::AwaitsCustomColor() const {
  return SendMessage(CB_GETCURSEL) == kColorItemCustom && SendMessage(CB_GETDROPPEDSTATE) != 0;
}

void CColorComboBox::DrawPicture(DrawContext& dc, const DRAWITEMSTRUCT& item, COLORREF textColour) {
  const COLORREF colour = static_cast<COLORREF>(item.itemData);
  const RECT swatch{item.rcItem.left + 2, item.rcItem.top + 3, item.rcItem.left + 27, item.rcItem.bottom - 2};
  dc.SelectPen(1, textColour, 100);
  if (dc.SelectBrush(1, colour, colour)) dc.FillRectFramed(swatch);
  DrawCentredText(item, ColorItemName(static_cast<int>(item.itemID)), swatch.right + 5);
}

void CColorComboBox::OnReflectedCommand(WORD code) {
  if (code == CBN_CLOSEUP && SendMessage(CB_GETCURSEL) == kColorItemCustom) ChooseCustomColor();
}

void CColorComboBox::ChooseCustomColor() {
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = GetActiveWindow();
  choose.rgbResult = m_storedValue;
  choose.lpCustColors = g_customColours;
  choose.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!g_chooseColor(&choose)) return;
  m_storedValue = choose.rgbResult;
  SendMessage(CB_SETITEMDATA, kColorItemCustom, static_cast<LPARAM>(choose.rgbResult));
  Invalidate();
  ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELENDOK), reinterpret_cast<LPARAM>(m_hWnd));
}

void ReadTwoCombos(const CLineComboBox& line, const CColorComboBox& colour, BorderLine* out) {
  *out = BorderLine{};
  out->style = static_cast<uint8_t>(line.SelectedValue());
  out->colorSet = colour.IsDefault() ? 0 : 1;
  out->color = colour.GetColor();
}

void ReadThreeCombos(const CPatternComboBox& pattern, const CColorComboBox& first, const CColorComboBox& second,
                     FillRecord* out) {
  *out = FillRecord{};
  out->pattern = static_cast<uint8_t>(pattern.SelectedValue());
  out->patternColorSet = first.IsDefault() ? 0 : 1;
  out->patternColor = first.GetColor();
  out->backgroundColorSet = second.IsDefault() ? 0 : 1;
  out->backgroundColor = second.GetColor();
}
