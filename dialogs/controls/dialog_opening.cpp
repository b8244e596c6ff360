#include "dialogs/controls/dialog_opening.h"

#include <cstdio>

#include "services/settings/global_options.h"
#include "services/ui_services/help_topics.h"
#include "services/ui_services/window_transparency.h"
#include "platform/ui/window.h"

void PlaceOpeningDialog(HWND dialog) {
  CWindow(dialog).CenterWindow();
  SetWindowTransparency(dialog, Options.Opacity);
}

void ShowDialogHelp(int topic) { ShowHelpTopic(topic); }

void GetDefaultDocumentFolder(char* out, size_t size) {
  if (size > 0) std::snprintf(out, size, "%s", Options.Folder);
}
