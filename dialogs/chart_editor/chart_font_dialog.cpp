#include "dialogs/chart_editor/chart_font_dialog.h"

#include "core/base/scheme_colors.h"
#include "dialogs/chart_editor/container_page_fields.h"
#include "services/convert/font_conversion.h"

namespace {

ChooseFontFunction g_chooseFont = ChooseFontA;

}  // namespace

ChooseFontFunction SetChooseFontFunction(ChooseFontFunction fn) {
  const ChooseFontFunction previous = g_chooseFont;
  g_chooseFont = fn != nullptr ? fn : ChooseFontA;
  return previous;
}

bool RunFontDialog(HWND owner, ColorFontRecord* font) {
  LogFont chosen = {};
  FontRecordToLogFont(font->font, &chosen);
  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  CHOOSEFONTA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &chosen;
  choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  choose.nSizeMin = 4;
  choose.nSizeMax = 72;
  choose.rgbColors = font->colorSet ? font->color : windowText;
  if (!g_chooseFont(&choose)) return false;
  LogFontToFontRecord(&font->font, chosen);
  StoreChosenFontColor(choose.rgbColors, windowText, font);
  return true;
}
