#include "dialogs/controls/dialog_opening.h"

#include "platform/ui/window.h"

// The options profile, the help file and the window-transparency routine are
// not part of the program yet: until they are, dialogs open fully opaque,
// help shows nothing and the file dialogs start in the process's folder.

void PlaceOpeningDialog(HWND dialog) { CWindow(dialog).CenterWindow(); }

void ShowDialogHelp(int) {}

void GetDefaultDocumentFolder(char* out, size_t size) {
  if (size > 0) out[0] = '\0';
}
