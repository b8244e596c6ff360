#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_PAGE_CONTROLS_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_PAGE_CONTROLS_H

// What every chart page does with its controls: check boxes, texts,
// enabling a set of controls, showing a line or a fill in its picture
// combos (an unset colour as the default colour of its role), and refusing
// a stored value. Windows only.

#include <cstddef>
#include <cstdint>

#include <windows.h>

#include "dialogs/controls/owner_drawn_combos.h"

void SetPageCheck(HWND page, int id, bool checked);
bool IsPageChecked(HWND page, int id);
void EnablePageControls(HWND page, const int* ids, size_t count, bool enable);
void ReadPageText(HWND page, int id, char* out, size_t size);

// The line with its colour, the window-text colour when unset.
void ShowPageLine(CLineComboBox& line, CColorComboBox& colour, const BorderLine& record, bool withWidths);
// The fill with its two colours, the window colour when unset.
void ShowPageFill(CPatternComboBox& pattern, CColorComboBox& first, CColorComboBox& second, const FillRecord& record,
                  bool withPatterns, bool withGradients);

// The step of an up-down control from its UDN_DELTAPOS notification, with
// the control's identifier; false for any other notification.
bool ReadSpinStep(LPARAM notification, int* spin, int* delta);

// A store refused the control: a beep, and the focus on it.
void RefusePageControl(HWND page, int id);

// A chart page opens with the themed tab background and the opacity option.
void OpenChartPage(HWND page);

// Sends the Apply command to the chart editor that holds the page.
void SendEditorApply(HWND page);

#endif
