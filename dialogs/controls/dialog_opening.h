#ifndef TALVERO_DIALOGS_DIALOG_OPENING_H
#define TALVERO_DIALOGS_DIALOG_OPENING_H

// What every dialog of the program does when it opens, and the program's
// services a dialog reaches: its place on the owner, the opacity option, the
// help topics and the default folder of the file dialogs.

#include <cstddef>

#include <windows.h>

#include "platform/ui/dialog_impl.h"
#include "services/settings/global_options.h"

// Centres the dialog on its owner and applies the opacity option.
void PlaceOpeningDialog(HWND dialog);

// A tool window reopens at its stored rectangle when that still begins
// inside the work area, else centred on its owner.
void PlaceToolWindow(HWND window, const OptionsRect& stored);

// The themed background of a tab's page on a child dialog, or the plain one
// switched back; nothing where the system has no themes.
void EnableTabPageTexture(HWND page, bool enable);

// Creates the page, a child dialog, in the tab control at the top of its
// display area, not yet shown; null when it cannot be created.
HWND CreateTabPage(CDialogImpl& page, HWND tabs);

// The help page of a topic number.
void ShowDialogHelp(int topic);

// The folder the file dialogs start in when the caller gives none; empty
// when the options name none.
void GetDefaultDocumentFolder(char* out, size_t size);

#endif
