#include "dialogs/format_cells/page_toolbar.h"

#include <commctrl.h>

#include "charts/png/png_image_list.h"
#include "platform/ui/common_controls.h"

namespace {

constexpr UINT kToolBarId = 1059;
constexpr int kImageSize = 24;
constexpr int kButtonWidth = 31;
constexpr int kButtonExtraHeight = 7;
constexpr int kMaxButtons = 16;

}  // namespace

HWND CreatePageToolBar(HWND page, int xUnits, int yUnits, const PageButton* buttons, int count) {
  if (count > kMaxButtons) return nullptr;
  HWND toolbar = CreateToolBar(page, kToolBarId, TBSTYLE_LIST);
  if (toolbar == nullptr) return nullptr;
  ::SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  int ids[kMaxButtons];
  int images = 0;
  for (int i = 0; i < count; ++i)
    if (buttons[i].imageId != 0) ids[images++] = buttons[i].imageId;
  if (images > 0) {
    HIMAGELIST normal = LoadPngImageList(kImageSize, images, ids, GetSysColor(COLOR_BTNFACE), false);
    HIMAGELIST greyed = LoadPngImageList(kImageSize, images, ids, GetSysColor(COLOR_BTNFACE), true);
    ::SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
    ::SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(greyed));
    const int fontHeight = StockFontMetrics(page, DEFAULT_GUI_FONT).tmHeight;
    const int height = fontHeight > kImageSize ? fontHeight : kImageSize;
    ::SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, height + kButtonExtraHeight));
  }
  int image = 0;
  for (int i = 0; i < count; ++i) {
    const PageButton& b = buttons[i];
    if (b.separatorBefore > 0) {
      const ToolBarButton separator{0, 0, BTNS_SEP, nullptr, b.separatorBefore};
      ToolBarAddButtons(toolbar, &separator, 1);
    }
    const bool pictured = b.imageId != 0;
    const ToolBarButton button{pictured ? image++ : I_IMAGENONE, b.command,
                               static_cast<BYTE>(pictured ? BTNS_BUTTON : BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE),
                               b.text, 0};
    ToolBarAddButtons(toolbar, &button, 1);
  }
  RECT units{xUnits, yUnits, 0, 0};
  MapDialogRect(page, &units);
  SIZE size{};
  ::SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  // The toolbar takes the rest of the page's width, which text buttons need.
  RECT client{};
  GetClientRect(page, &client);
  const int width = client.right - units.left > size.cx ? client.right - units.left : size.cx;
  SetWindowPos(toolbar, nullptr, units.left, units.top, width, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  return toolbar;
}

void DestroyPageToolBar(HWND toolbar) {
  if (toolbar == nullptr || !IsWindow(toolbar)) return;
  HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
  HIMAGELIST greyed = reinterpret_cast<HIMAGELIST>(::SendMessageA(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0));
  ::SendMessageA(toolbar, TB_SETIMAGELIST, 0, 0);
  ::SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, 0);
  if (normal != nullptr) ImageList_Destroy(normal);
  if (greyed != nullptr) ImageList_Destroy(greyed);
}

void CheckToolButton(HWND toolbar, UINT command, bool checked) {
  ::SendMessageA(toolbar, TB_CHECKBUTTON, command, MAKELPARAM(checked ? TRUE : FALSE, 0));
}

void EnableToolButton(HWND toolbar, UINT command, bool enabled) {
  ::SendMessageA(toolbar, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}
