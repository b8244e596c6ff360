#ifndef TALVERO_PLATFORM_UI_COMMON_CONTROLS_H
#define TALVERO_PLATFORM_UI_COMMON_CONTROLS_H

// Thin helpers for the common controls the program uses: creation with the
// usual styles and the few calls that need structures filled in. Everything
// else is a plain message to the control.

#include <windows.h>

#include <commctrl.h>

// Registers the common control classes (bars, lists, trees, tabs, up-down,
// track bar, ComboBoxEx) once; false when the system refuses.
bool InitCommonControlClasses();
// Loads the rich edit 2.0 library, whose "RichEdit20A" class the formula bar
// uses; the library stays loaded for the process.
bool LoadRichEdit20();

HWND CreateControl(const char* className, HWND parent, UINT id, DWORD style, DWORD exStyle = 0,
                   const RECT* rect = nullptr, const char* text = nullptr);

// Toolbar: one button. Text is shown beside or below the image when given.
struct ToolBarButton {
  int image;   // image index, or I_IMAGENONE
  UINT command;
  BYTE style;  // BTNS_BUTTON, BTNS_SEP, BTNS_DROPDOWN, BTNS_WHOLEDROPDOWN, BTNS_CHECK...
  const char* text;
  int separatorWidth;  // for BTNS_SEP: its width in pixels, 0 for the default
};
HWND CreateToolBar(HWND parent, UINT id, DWORD extraStyle = 0);
bool ToolBarAddButtons(HWND toolbar, const ToolBarButton* buttons, int count);
bool ToolBarButtonRect(HWND toolbar, UINT command, RECT* out);

// Rebar: a band holding a child window (a toolbar, the command bar).
HWND CreateReBar(HWND parent, UINT id);
bool ReBarAddBand(HWND rebar, HWND child, UINT bandId, bool newRow, bool chevron, int headerWidth = -1);
bool ReBarShowBand(HWND rebar, UINT bandId, bool show);

// Status bar with panes ending at the given right edges (-1: the window's end).
HWND CreateStatusBar(HWND parent, UINT id, const char* text, bool sizeGrip = true);
bool StatusBarSetParts(HWND status, const int* rightEdges, int count);
bool StatusBarSetText(HWND status, int pane, const char* text, UINT style = 0);

// Combo boxes (plain and ComboBoxEx) and list boxes.
int ComboAddString(HWND combo, const char* text, LPARAM data = 0);
int ComboExInsertItem(HWND comboEx, int index, const char* text, int image = -1);

// List view and tree view.
int ListViewInsertColumn(HWND list, int index, const char* text, int width, int format = LVCFMT_LEFT);
int ListViewInsertItem(HWND list, int index, const char* text, LPARAM data = 0);
bool ListViewSetItemText(HWND list, int item, int subItem, const char* text);
HTREEITEM TreeInsertItem(HWND tree, HTREEITEM parent, HTREEITEM after, const char* text, int image,
                         int selectedImage, LPARAM data = 0);

// Tab control, track bar and up-down control.
int TabInsertItem(HWND tab, int index, const char* text);
void TrackBarSetRange(HWND trackBar, int low, int high, int position);
void UpDownSetRange(HWND upDown, int low, int high, int position);

// The metrics of a stock font (DEFAULT_GUI_FONT, SYSTEM_FONT, ...) on the
// window's device context.
TEXTMETRICA StockFontMetrics(HWND window, int stockFont);

// Image list of small icons or bitmaps in 24-bit colour with a mask.
HIMAGELIST ImageListCreate(int width, int height, int initial, int grow = 4);

#endif
