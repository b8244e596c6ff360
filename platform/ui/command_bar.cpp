#include "platform/ui/command_bar.h"

#include <cstring>

#include "platform/ui/caption_button.h"
#include "platform/ui/capture_loop.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/menu_navigation.h"
#include "platform/ui/popup_menu.h"

namespace {

constexpr UINT kMsgOpenMenu = WM_APP + 0x3F01;   // wp slot, lp from the keyboard
constexpr UINT kMsgRefreshMDI = WM_APP + 0x3F02;
constexpr int kSystemButtonWidth = 22;

const WindowClass& CommandBarClass() {
  static WindowClass cls{};
  if (cls.atom == 0) RegisterSuperclass("TalveroCommandBar", TOOLBARCLASSNAMEA, &cls);
  return cls;
}

// The bar whose pop-up is open on this thread, for the menu's message hook.
thread_local CMDICommandBarCtrl* t_trackingBar = nullptr;

LRESULT CALLBACK MenuKeyHook(int code, WPARAM wp, LPARAM lp) {
  if (code == MSGF_MENU && t_trackingBar != nullptr) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) &&
        t_trackingBar->OnMenuKey(static_cast<UINT>(msg->wParam))) {
      return TRUE;
    }
    // The menu holds the capture; its mouse messages carry screen positions.
    if (msg->message == WM_MOUSEMOVE && t_trackingBar->OnMenuMouseMove(PointFromLParam(msg->lParam))) {
      return TRUE;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

CMDICommandBarCtrl::~CMDICommandBarCtrl() {
  if (m_images != nullptr) ImageList_Destroy(m_images);
  if (m_filterRegistered) {
    if (CMessageLoop* loop = CMessageLoop::Current()) loop->RemoveMessageFilter(this);
  }
  if (m_watcher.m_hWnd != nullptr) m_watcher.UnsubclassWindow();
}

HWND CMDICommandBarCtrl::Create(HWND parent, HWND frame, UINT id) {
  m_frame = frame;
  RECT r{0, 0, 100, 22};
  HWND hwnd = CWindowImpl::Create(CommandBarClass(), parent, r, nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                      TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE |
                                      CCS_NOPARENTALIGN,
                                  0, id);
  if (hwnd == nullptr) return nullptr;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  if (CMessageLoop* loop = CMessageLoop::Current()) m_filterRegistered = loop->AddMessageFilter(this);
  return hwnd;
}

bool CMDICommandBarCtrl::AttachMenu(HMENU menu) {
  int count = GetMenuItemCount(menu);
  if (count < 0 || count > kMaxItems) return false;
  for (int i = m_itemCount - 1; i >= 0; --i) {
    LRESULT index = SendMessage(TB_COMMANDTOINDEX, kFirstItemCommand + i);
    if (index >= 0) SendMessage(TB_DELETEBUTTON, index);
  }
  m_menu = menu;
  m_itemCount = count;
  for (int i = 0; i < count; ++i) {
    GetMenuStringA(menu, i, m_texts[i], kMaxItemText, MF_BYPOSITION);
    UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = static_cast<int>(kFirstItemCommand + i);
    b.fsState = (state & (MF_GRAYED | MF_DISABLED)) ? 0 : TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    b.iString = reinterpret_cast<INT_PTR>(m_texts[i]);
    SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
  }
  SendMessage(TB_AUTOSIZE);
  return true;
}

namespace {

// A toolbar resource (RT_TOOLBAR): image width and height, then the command of
// each button, 0 for a separator. Microsoft's resource compiler writes 16-bit
// fields after a version word of 1; windres writes 32-bit fields without one.
struct ToolBarResource {
  int width;
  int height;
  int count;
  const uint8_t* commands;
  int commandSize;  // 2 or 4 bytes

  UINT Command(int i) const {
    const uint8_t* p = commands + i * commandSize;
    return commandSize == 2 ? p[0] | p[1] << 8 : p[0] | p[1] << 8 | p[2] << 16 | static_cast<UINT>(p[3]) << 24;
  }
};

uint32_t ReadLittle(const uint8_t* p, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

bool ParseToolBarResource(const uint8_t* data, DWORD size, ToolBarResource* out) {
  if (size >= 8 && ReadLittle(data, 2) == 1) {
    uint32_t count = ReadLittle(data + 6, 2);
    if (size == 8 + 2 * count) {
      *out = ToolBarResource{static_cast<int>(ReadLittle(data + 2, 2)), static_cast<int>(ReadLittle(data + 4, 2)),
                             static_cast<int>(count), data + 8, 2};
      return out->width > 0 && out->height > 0;
    }
  }
  if (size >= 12) {
    uint32_t count = ReadLittle(data + 8, 4);
    if (count <= 0xFFFF && size == 12 + 4 * count) {
      *out = ToolBarResource{static_cast<int>(ReadLittle(data, 4)), static_cast<int>(ReadLittle(data + 4, 4)),
                             static_cast<int>(count), data + 12, 4};
      return out->width > 0 && out->height > 0 && out->width <= 256 && out->height <= 256;
    }
  }
  return false;
}

}  // namespace

bool CMDICommandBarCtrl::LoadImages(int toolbarResourceId) {
  LPCSTR toolBarType = MAKEINTRESOURCEA(241);
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(toolbarResourceId), toolBarType);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const auto* data = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  ToolBarResource toolbar{};
  if (data == nullptr || !ParseToolBarResource(data, SizeofResource(module, found), &toolbar)) return false;
  int width = toolbar.width, height = toolbar.height, count = toolbar.count;
  HBITMAP strip = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(toolbarResourceId), IMAGE_BITMAP,
                                                  0, 0, LR_CREATEDIBSECTION));
  if (strip == nullptr) return false;
  HIMAGELIST images = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0);
  // The strip's button-face grey is transparent.
  bool ok = images != nullptr && ImageList_AddMasked(images, strip, RGB(192, 192, 192)) >= 0;
  DeleteObject(strip);
  if (!ok) {
    if (images != nullptr) ImageList_Destroy(images);
    return false;
  }
  if (m_images != nullptr) ImageList_Destroy(m_images);
  m_images = images;
  m_imageSize = SIZE{width, height};
  m_imageCount = 0;
  int available = ImageList_GetImageCount(images);
  for (int i = 0; i < count && m_imageCount < kMaxImages && m_imageCount < available; ++i) {
    UINT command = toolbar.Command(i);
    if (command != 0) m_imageCommands[m_imageCount++] = static_cast<uint16_t>(command);
  }
  return true;
}

int CMDICommandBarCtrl::ImageOfCommand(UINT command) const {
  for (int i = 0; i < m_imageCount; ++i) {
    if (m_imageCommands[i] == command) return i;
  }
  return -1;
}

void CMDICommandBarCtrl::SetMenuImages(HMENU popup) const {
  if (m_images == nullptr) return;
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1) || ImageOfCommand(id) < 0) continue;
    // The system draws the text and asks us for the picture.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = HBMMENU_CALLBACK;
    SetMenuItemInfoA(popup, i, TRUE, &info);
  }
}

bool CMDICommandBarCtrl::MeasureMenuImage(MEASUREITEMSTRUCT* item) const {
  if (item->CtlType != ODT_MENU || ImageOfCommand(item->itemID) < 0) return false;
  item->itemWidth = m_imageSize.cx;
  item->itemHeight = m_imageSize.cy + 2;
  return true;
}

bool CMDICommandBarCtrl::DrawMenuImage(const DRAWITEMSTRUCT* item) const {
  int image = item->CtlType == ODT_MENU ? ImageOfCommand(item->itemID) : -1;
  if (image < 0) return false;
  int y = (item->rcItem.top + item->rcItem.bottom - m_imageSize.cy) / 2;
  UINT style = (item->itemState & ODS_GRAYED) ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT;
  ImageList_Draw(m_images, image, item->hDC, item->rcItem.left, y, style);
  return true;
}

bool CMDICommandBarCtrl::SetMDIClient(HWND client) {
  if (m_watcher.m_hWnd != nullptr) m_watcher.UnsubclassWindow();
  m_mdiClient = client;
  m_watcher.bar = m_hWnd;
  if (client != nullptr && !m_watcher.SubclassWindow(client)) return false;
  RefreshMDIButtons();
  return true;
}

LRESULT CMDICommandBarCtrl::CClientWatcher::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  // Posted: a document being destroyed is still the active one right now.
  if (msg == kMsgMDIStateChanged) ::PostMessageA(bar, kMsgRefreshMDI, 0, 0);
  handled = false;
  return 0;
}

void CMDICommandBarCtrl::RefreshMDIButtons() {
  BOOL maximized = FALSE;
  HWND active = m_mdiClient != nullptr
                    ? reinterpret_cast<HWND>(::SendMessageA(m_mdiClient, WM_MDIGETACTIVE, 0,
                                                            reinterpret_cast<LPARAM>(&maximized)))
                    : nullptr;
  HWND wanted = active != nullptr && maximized ? active : nullptr;
  bool shown = m_mdiChild != nullptr;
  if ((wanted != nullptr) != shown) {
    if (wanted != nullptr) {
      TBBUTTON b{};
      b.iBitmap = I_IMAGENONE;
      b.idCommand = static_cast<int>(kSystemMenuCommand);
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
      b.iString = -1;
      SendMessage(TB_INSERTBUTTONA, 0, reinterpret_cast<LPARAM>(&b));
      TBBUTTONINFOA info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_SIZE;
      info.cx = kSystemButtonWidth;
      SendMessage(TB_SETBUTTONINFOA, kSystemMenuCommand, reinterpret_cast<LPARAM>(&info));
    } else {
      SendMessage(TB_DELETEBUTTON, SendMessage(TB_COMMANDTOINDEX, kSystemMenuCommand));
    }
    if (m_menuMode) LeaveMenuMode();
  }
  m_mdiChild = wanted;
  Invalidate();
}

RECT CMDICommandBarCtrl::GetMDIButtonRect(MDIButton button) const {
  RECT client = GetClientRect();
  int side = client.bottom - client.top - 4;
  if (side > 18) side = 18;
  if (side < 8) side = 8;
  int top = (client.bottom - client.top - side) / 2;
  int right = client.right - 2 - (kCloseButton - button) * (side + 2);
  // The close button stands apart from the other two.
  if (button != kCloseButton) right -= 2;
  return RECT{right - side, top, right, top + side};
}

int CMDICommandBarCtrl::NextSlot(int from, int step) const {
  uint8_t selectable[kMaxItems + 1];
  int count = SlotCount();
  for (int s = 0; s < count; ++s) {
    LRESULT state = SendMessage(TB_GETSTATE, CommandOfSlot(s));
    selectable[s] = state >= 0 && (state & TBSTATE_ENABLED) != 0;
  }
  return NextMenuItem(selectable, count, from, step);
}

UINT CMDICommandBarCtrl::CommandOfSlot(int slot) const {
  int item = ItemOfSlot(slot);
  return item < 0 ? kSystemMenuCommand : kFirstItemCommand + item;
}

bool CMDICommandBarCtrl::IsFrameMessage(HWND hwnd) const {
  return hwnd != nullptr && (hwnd == m_frame || ::IsChild(m_frame, hwnd));
}

void CMDICommandBarCtrl::SetHotSlot(int slot) {
  m_hotSlot = slot;
  SendMessage(TB_SETHOTITEM, slot >= 0 ? SendMessage(TB_COMMANDTOINDEX, CommandOfSlot(slot)) : -1);
}

void CMDICommandBarCtrl::EnterMenuMode() {
  int first = NextSlot(-1, +1);
  if (first < 0) return;
  m_menuMode = true;
  SetHotSlot(first);
}

void CMDICommandBarCtrl::LeaveMenuMode() {
  m_menuMode = false;
  SetHotSlot(-1);
}

void CMDICommandBarCtrl::HandleMenuModeKey(UINT vk) {
  switch (vk) {
    case VK_LEFT:
    case VK_RIGHT: {
      int next = NextSlot(m_hotSlot, vk == VK_RIGHT ? +1 : -1);
      if (next >= 0) SetHotSlot(next);
      break;
    }
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN:
      PostMessage(kMsgOpenMenu, m_hotSlot, 1);
      break;
    case VK_ESCAPE:
      LeaveMenuMode();
      break;
  }
}

bool CMDICommandBarCtrl::PreTranslateMessage(MSG* msg) {
  if (m_hWnd == nullptr || m_menu == nullptr || !IsFrameMessage(msg->hwnd) || !IsWindowVisible()) {
    return false;
  }
  WPARAM wp = msg->wParam;
  switch (msg->message) {
    case WM_SYSKEYDOWN:
      if (wp == VK_MENU) {
        // Only the first press counts; holding Alt repeats it.
        if ((msg->lParam & (1 << 30)) == 0) m_altAlone = true;
        return false;
      }
      m_altAlone = false;
      if (wp == VK_F10 && GetKeyState(VK_SHIFT) >= 0) {
        if (m_menuMode) {
          LeaveMenuMode();
        } else {
          EnterMenuMode();
        }
        return true;
      }
      if (m_menuMode) {
        HandleMenuModeKey(static_cast<UINT>(wp));
        return true;
      }
      return false;
    case WM_SYSKEYUP:
      if (wp == VK_MENU && m_altAlone) {
        m_altAlone = false;
        if (m_menuMode) {
          LeaveMenuMode();
        } else {
          EnterMenuMode();
        }
        return true;
      }
      // The release of F10 would otherwise look for the frame's own menu.
      return wp == VK_F10 || m_menuMode;
    case WM_SYSCHAR:
    case WM_CHAR: {
      m_altAlone = false;
      if (msg->message == WM_CHAR && !m_menuMode) return false;
      const char* texts[kMaxItems];
      for (int i = 0; i < m_itemCount; ++i) texts[i] = m_texts[i];
      int item = FindMnemonicItem(texts, m_itemCount, static_cast<uint8_t>(wp));
      if (item >= 0) {
        LeaveMenuMode();
        PostMessage(kMsgOpenMenu, SlotOfItem(item), 1);
        return true;
      }
      if (m_menuMode) MessageBeep(0);
      return m_menuMode;
    }
    case WM_KEYDOWN:
      m_altAlone = false;
      if (m_menuMode) {
        HandleMenuModeKey(static_cast<UINT>(wp));
        return true;
      }
      return false;
    case WM_KEYUP:
      return m_menuMode;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      m_altAlone = false;
      if (m_menuMode && msg->hwnd != m_hWnd) LeaveMenuMode();
      return false;
  }
  return false;
}

void CMDICommandBarCtrl::OpenMenu(int item, bool fromKeyboard) {
  if (item >= 0 && item < m_itemCount) OpenSlot(SlotOfItem(item), fromKeyboard);
}

void CMDICommandBarCtrl::OpenSlot(int slot, bool fromKeyboard) {
  if (m_tracking || slot < 0 || slot >= SlotCount()) return;
  LeaveMenuMode();
  m_tracking = true;
  CMDICommandBarCtrl* outer = t_trackingBar;
  t_trackingBar = this;
  HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, MenuKeyHook, nullptr, GetCurrentThreadId());
  int lastSlot = slot;
  UINT chosen = 0;
  bool chosenFromSystemMenu = false;
  HWND document = m_mdiChild;
  while (slot >= 0) {
    m_trackSlot = slot;
    m_nextSlot = -1;
    UINT command = CommandOfSlot(slot);
    bool system = command == kSystemMenuCommand;
    m_trackPopup = system ? GetSystemMenu(m_mdiChild, FALSE) : GetSubMenu(m_menu, ItemOfSlot(slot));
    m_selMenu = m_trackPopup;
    m_selHasPopup = false;
    RECT button{};
    SendMessage(TB_GETRECT, command, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    SendMessage(TB_PRESSBUTTON, command, TRUE);
    if (fromKeyboard) {
      // The system's menu loop reads it and selects the first item, as a
      // menu opened from the keyboard does.
      PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    }
    UINT result = m_trackPopup != nullptr
                      ? TrackPopupMenuCommand(m_trackPopup, TPM_LEFTBUTTON | TPM_VERTICAL |
                                                                TPM_LEFTALIGN | TPM_TOPALIGN,
                                              button.left, button.bottom, m_hWnd, &button)
                      : 0;
    SendMessage(TB_PRESSBUTTON, command, FALSE);
    if (fromKeyboard) {
      // A pop-up that did not run the system's loop leaves our key behind;
      // ours is the one without a repeat count.
      MSG left;
      if (PeekMessageA(&left, m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && left.wParam == VK_DOWN &&
          left.lParam == 0) {
        PeekMessageA(&left, m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
      }
    }
    lastSlot = slot;
    slot = m_nextSlot;
    if (result != 0) {
      chosen = result;
      chosenFromSystemMenu = system;
      break;
    }
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  t_trackingBar = outer;
  m_trackPopup = nullptr;
  m_tracking = false;
  if (chosen != 0) {
    if (chosenFromSystemMenu) {
      ::PostMessageA(document, WM_SYSCOMMAND, chosen, 0);
    } else {
      ::PostMessageA(m_frame, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    }
  } else if (fromKeyboard) {
    // Esc in a pop-up opened from the keyboard goes back to the bar.
    m_menuMode = true;
    SetHotSlot(lastSlot);
  }
}

bool CMDICommandBarCtrl::OnMenuKey(UINT vk) {
  if (!m_tracking) return false;
  // Right opens a sub-menu when one is selected; Left closes a sub-menu.
  if (vk == VK_RIGHT && m_selHasPopup) return false;
  if (vk == VK_LEFT && m_selMenu != m_trackPopup) return false;
  int next = NextSlot(m_trackSlot, vk == VK_RIGHT ? +1 : -1);
  if (next < 0 || next == m_trackSlot) return false;
  m_nextSlot = next;
  EndMenu();
  return true;
}

bool CMDICommandBarCtrl::OnMenuMouseMove(POINT screen) {
  if (!m_tracking) return false;
  POINT pt = screen;
  ::ScreenToClient(m_hWnd, &pt);
  RECT client = GetClientRect();
  if (!PtInRect(&client, pt)) return false;
  int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  TBBUTTON b{};
  if (index < 0 || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b)) ||
      (b.fsState & TBSTATE_ENABLED) == 0) {
    return false;
  }
  int slot = -1;
  for (int s = 0; s < SlotCount(); ++s) {
    if (CommandOfSlot(s) == static_cast<UINT>(b.idCommand)) slot = s;
  }
  if (slot < 0 || slot == m_trackSlot) return false;
  m_nextSlot = slot;
  EndMenu();
  return true;
}

void CMDICommandBarCtrl::TrackMDIButton(MDIButton button) {
  RECT rect = GetMDIButtonRect(button);
  static const CaptionGlyph kGlyphs[] = {CaptionGlyph::kMinimize, CaptionGlyph::kRestore,
                                          CaptionGlyph::kClose};
  HDC dc = GetDC(m_hWnd);
  DrawCaptionButton(dc, rect, kGlyphs[button], true, false);
  bool inside = true;
  bool released = false;
  SetCapture(m_hWnd);
  MSG msg;
  CaptureEnd end;
  while (NextCaptureMessage(m_hWnd, &msg, &end)) {
    if (msg.message == WM_MOUSEMOVE) {
      bool now = PtInRect(&rect, PointFromLParam(msg.lParam)) != 0;
      if (now != inside) DrawCaptionButton(dc, rect, kGlyphs[button], now, false);
      inside = now;
    } else if (msg.message == WM_LBUTTONUP) {
      inside = PtInRect(&rect, PointFromLParam(msg.lParam)) != 0;
      released = true;
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      break;
    }
  }
  if (GetCapture() == m_hWnd) ReleaseCapture();
  DrawCaptionButton(dc, rect, kGlyphs[button], false, false);
  ReleaseDC(m_hWnd, dc);
  if (released && inside && m_mdiChild != nullptr) {
    static const WPARAM kCommands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    ::PostMessageA(m_mdiChild, WM_SYSCOMMAND, kCommands[button], 0);
  }
}

void CMDICommandBarCtrl::OnLButtonDown(POINT pt) {
  if (m_mdiChild != nullptr) {
    for (int b = kMinimizeButton; b <= kCloseButton; ++b) {
      RECT r = GetMDIButtonRect(static_cast<MDIButton>(b));
      if (PtInRect(&r, pt)) {
        TrackMDIButton(static_cast<MDIButton>(b));
        return;
      }
    }
  }
  int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  TBBUTTON b{};
  if (index < 0 || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b))) return;
  UINT command = static_cast<UINT>(b.idCommand);
  if (command == kSystemMenuCommand) {
    OpenSlot(0, false);
  } else if (command >= kFirstItemCommand && command < kFirstItemCommand + m_itemCount &&
             (b.fsState & TBSTATE_ENABLED)) {
    OpenSlot(SlotOfItem(static_cast<int>(command - kFirstItemCommand)), false);
  }
}

void CMDICommandBarCtrl::DrawMDIDecorations(HDC dc) {
  RECT button{};
  if (SendMessage(TB_GETRECT, kSystemMenuCommand, reinterpret_cast<LPARAM>(&button))) {
    HICON icon = reinterpret_cast<HICON>(::SendMessageA(m_mdiChild, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(m_mdiChild, GCLP_HICONSM));
    if (icon == nullptr) icon = LoadIconA(nullptr, IDI_APPLICATION);
    int x = (button.left + button.right - 16) / 2;
    int y = (button.top + button.bottom - 16) / 2;
    DrawIconEx(dc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
  }
  DrawCaptionButton(dc, GetMDIButtonRect(kMinimizeButton), CaptionGlyph::kMinimize, false, false);
  DrawCaptionButton(dc, GetMDIButtonRect(kRestoreButton), CaptionGlyph::kRestore, false, false);
  DrawCaptionButton(dc, GetMDIButtonRect(kCloseButton), CaptionGlyph::kClose, false, false);
}

LRESULT CMDICommandBarCtrl::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLButtonDown(PointFromLParam(lp));
      return 0;
    case WM_PAINT:
      if (m_mdiChild != nullptr) {
        LRESULT r = DefWindowProc(msg, wp, lp);
        HDC dc = GetDC(m_hWnd);
        DrawMDIDecorations(dc);
        ReleaseDC(m_hWnd, dc);
        return r;
      }
      break;
    case kMsgOpenMenu:
      OpenSlot(static_cast<int>(wp), lp != 0);
      return 0;
    case kMsgRefreshMDI:
      RefreshMDIButtons();
      return 0;
    case WM_MENUSELECT:
      m_selMenu = reinterpret_cast<HMENU>(lp);
      m_selHasPopup = (HIWORD(wp) & MF_POPUP) != 0 && HIWORD(wp) != 0xFFFF;
      return ::SendMessageA(m_frame, msg, wp, lp);
    case WM_INITMENUPOPUP:
      SetMenuImages(reinterpret_cast<HMENU>(wp));
      // The document's system menu is the document's to prepare.
      if (HIWORD(lp) != 0 || (m_mdiChild != nullptr && m_trackPopup == GetSystemMenu(m_mdiChild, FALSE) &&
                              reinterpret_cast<HMENU>(wp) == m_trackPopup)) {
        return ::SendMessageA(m_mdiChild != nullptr ? m_mdiChild : m_frame, msg, wp, lp);
      }
      return ::SendMessageA(m_frame, msg, wp, lp);
    case WM_UNINITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_ENTERIDLE:
      return ::SendMessageA(m_frame, msg, wp, lp);
    case WM_MEASUREITEM:
      if (wp != 0) break;
      if (MeasureMenuImage(reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
      return ::SendMessageA(m_frame, msg, wp, lp);  // owner-drawn menu items of the frame
    case WM_DRAWITEM:
      if (wp != 0) break;
      if (DrawMenuImage(reinterpret_cast<DRAWITEMSTRUCT*>(lp))) return TRUE;
      return ::SendMessageA(m_frame, msg, wp, lp);
    case WM_NCDESTROY:
      if (m_filterRegistered) {
        if (CMessageLoop* loop = CMessageLoop::Current()) loop->RemoveMessageFilter(this);
        m_filterRegistered = false;
      }
      if (m_watcher.m_hWnd != nullptr) m_watcher.UnsubclassWindow();
      break;
  }
  handled = false;
  return 0;
}
