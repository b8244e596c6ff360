#ifndef TALVERO_PLATFORM_UI_COMMAND_BAR_H
#define TALVERO_PLATFORM_UI_COMMAND_BAR_H

// The command bar: the frame's menu drawn as a row of toolbar buttons, one
// per top-level pop-up, that sits in a rebar band instead of a menu bar.
//
// Mouse: pressing a button opens its pop-up under it. Keyboard (the bar is a
// message filter of the thread's loop while it exists): Alt pressed and
// released alone, or F10, enters menu mode (the first item is hot; Left and
// Right move, Down, Up or Enter open, Esc or Alt leave, a mnemonic letter
// opens its item); Alt with a mnemonic letter opens that item at once. While
// a pop-up is open, Left and Right go on to the neighbouring pop-up unless a
// sub-menu is in the way, and the mouse moving onto another button opens
// that button's pop-up instead. Pop-ups are owned by the bar, which forwards their
// messages to the frame; the chosen command reaches the frame as WM_COMMAND.
//
// Menu items may show the picture of their command from a toolbar resource.
//
// With an MDI client, a maximised document shows its icon as a first button
// (opening the document's system menu) and minimise, restore and close
// buttons at the bar's right end.

#include <cstdint>

#include <windows.h>

#include <commctrl.h>

#include "platform/ui/message_loop.h"
#include "platform/ui/window_impl.h"

class CMDICommandBarCtrl : public CWindowImpl, public CMessageFilter {
 public:
  static constexpr int kMaxItems = 24;
  static constexpr int kMaxItemText = 64;
  static constexpr int kMaxImages = 128;
  static constexpr UINT kDefaultId = 0xE801;
  // Button identifiers: the menu items and the document's system menu.
  static constexpr UINT kFirstItemCommand = 0xFE00;
  static constexpr UINT kSystemMenuCommand = 0xFDFF;
  enum MDIButton { kMinimizeButton, kRestoreButton, kCloseButton };

  CMDICommandBarCtrl() = default;
  ~CMDICommandBarCtrl() override;

  // `frame` receives the commands and the pop-ups' messages.
  HWND Create(HWND parent, HWND frame, UINT id = kDefaultId);
  // One button per top-level item of the menu, which the bar keeps but does
  // not own. False when the menu has more than kMaxItems items.
  bool AttachMenu(HMENU menu);
  HMENU GetMenu() const { return m_menu; }
  // Pictures for the menu items from a toolbar resource (RT_TOOLBAR) and the
  // bitmap of the same identifier: the commands of its buttons, in order,
  // take its images. False when either is missing or malformed.
  bool LoadImages(int toolbarResourceId);
  // The image of a command, or -1.
  int ImageOfCommand(UINT command) const;
  // Watches the MDI client for a maximised document.
  bool SetMDIClient(HWND client);
  void RefreshMDIButtons();

  bool PreTranslateMessage(MSG* msg) override;
  // Opens the pop-up of menu item `item` (0 the first top-level item).
  void OpenMenu(int item, bool fromKeyboard);
  // While a pop-up is open: moves to the neighbouring pop-up for VK_LEFT or
  // VK_RIGHT. True when it did (the open pop-up is then closed).
  bool OnMenuKey(UINT vk);
  // While a pop-up is open: the mouse at a point of the screen; over another
  // button of the bar, that button's pop-up replaces the open one (true).
  bool OnMenuMouseMove(POINT screen);

  bool InMenuMode() const { return m_menuMode; }
  // The hot menu item in menu mode (-1 for the document's system menu or none).
  int HotItem() const { return m_menuMode ? ItemOfSlot(m_hotSlot) : -1; }
  int ItemCount() const { return m_itemCount; }
  bool HasMDIButtons() const { return m_mdiChild != nullptr; }
  RECT GetMDIButtonRect(MDIButton button) const;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  // Slots number what the keyboard walks: the system menu (while shown),
  // then the menu items.
  int SlotCount() const { return m_itemCount + (m_mdiChild != nullptr ? 1 : 0); }
  int ItemOfSlot(int slot) const { return m_mdiChild != nullptr ? slot - 1 : slot; }
  int SlotOfItem(int item) const { return m_mdiChild != nullptr ? item + 1 : item; }
  int NextSlot(int from, int step) const;
  UINT CommandOfSlot(int slot) const;
  bool IsFrameMessage(HWND hwnd) const;
  void EnterMenuMode();
  void LeaveMenuMode();
  void SetHotSlot(int slot);
  void HandleMenuModeKey(UINT vk);
  void OpenSlot(int slot, bool fromKeyboard);
  void OnLButtonDown(POINT pt);
  void TrackMDIButton(MDIButton button);
  void DrawMDIDecorations(HDC dc);
  void SetMenuImages(HMENU popup) const;
  bool MeasureMenuImage(MEASUREITEMSTRUCT* item) const;
  bool DrawMenuImage(const DRAWITEMSTRUCT* item) const;

  HWND m_frame = nullptr;
  HMENU m_menu = nullptr;
  int m_itemCount = 0;
  char m_texts[kMaxItems][kMaxItemText] = {};
  bool m_filterRegistered = false;
  HIMAGELIST m_images = nullptr;
  SIZE m_imageSize{};
  uint16_t m_imageCommands[kMaxImages] = {};
  int m_imageCount = 0;

  // Keyboard state.
  bool m_menuMode = false;
  bool m_altAlone = false;
  int m_hotSlot = -1;

  // Pop-up tracking state.
  bool m_tracking = false;
  int m_trackSlot = -1;
  int m_nextSlot = -1;
  HMENU m_trackPopup = nullptr;
  HMENU m_selMenu = nullptr;
  bool m_selHasPopup = false;

  // MDI state.
  class CClientWatcher : public CWindowImpl {
   public:
    HWND bar = nullptr;
    LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  };
  CClientWatcher m_watcher;
  HWND m_mdiClient = nullptr;
  HWND m_mdiChild = nullptr;  // the maximised document, or null
};

#endif
