#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_FONT_DIALOG_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_FONT_DIALOG_H

// The font dialog of the chart editor's "Font..." buttons, on a page's copy
// of a coloured font. Windows only.

#include <windows.h>

#include <commdlg.h>

#include "core/model/color_font_record.h"

// The system font dialog over the owner, on screen fonts with effects and
// sizes of 4 to 72 points. After OK the record takes the chosen font and
// colour (true); Cancel changes nothing.
bool RunFontDialog(HWND owner, ColorFontRecord* font);

// The system dialog, replaceable so that tests answer it.
using ChooseFontFunction = BOOL(WINAPI*)(CHOOSEFONTA*);
ChooseFontFunction SetChooseFontFunction(ChooseFontFunction fn);

#endif
