#include "platform/ui/popup_menu.h"

namespace {

UINT SystemTrackPopupMenu(HMENU popup, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
  TPMPARAMS params{sizeof params, {}};
  if (exclude != nullptr) params.rcExclude = *exclude;
  return static_cast<UINT>(TrackPopupMenuEx(popup, flags | TPM_RETURNCMD, x, y, owner,
                                            exclude != nullptr ? &params : nullptr));
}

TrackPopupMenuFunction g_track = SystemTrackPopupMenu;

}  // namespace

UINT TrackPopupMenuCommand(HMENU popup, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
  return g_track(popup, flags, x, y, owner, exclude);
}

TrackPopupMenuFunction SetTrackPopupMenuFunction(TrackPopupMenuFunction fn) {
  TrackPopupMenuFunction previous = g_track;
  g_track = fn != nullptr ? fn : SystemTrackPopupMenu;
  return previous;
}
