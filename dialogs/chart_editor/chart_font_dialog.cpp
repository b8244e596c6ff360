#include "dialogs/chart_editor/chart_font_dialog.h"

#include "core/base/scheme_colors.h"
#include "services/convert/font_conversion.h"

namespace {

ChooseFontFunction g_chooseFont = ::ChooseFontA;

}  // namespace

// The window-text colour stands for "no colour of its own".
bool RunFontDialog(HWND owner, ColorFontRecord* font) {
  LOGFONTA logFont = {};
  FontRecordToLogFont(font->font, &logFont);
  const COLORREF windowText = GetSchemeColor(kSchemeWindowText);
  CHOOSEFONTA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &logFont;
  choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  choose.nSizeMin = 4;
  choose.nSizeMax = 72;
  choose.rgbColors = font->colorSet ? font->color : windowText;
  if (!g_chooseFont(&choose))
    return false;
  LogFontToFontRecord(&font->font, logFont);
  font->colorSet = choose.rgbColors == windowText ? 0 : 1;
  font->color = choose.rgbColors;
  return true;
}

ChooseFontFunction SetChooseFontFunction(ChooseFontFunction fn) {
  const ChooseFontFunction previous = g_chooseFont;
  g_chooseFont = fn != nullptr ? fn : ::ChooseFontA;
  return previous;
}
