#ifndef TALVERO_PLATFORM_UI_DIALOG_SCRIPT_H
#define TALVERO_PLATFORM_UI_DIALOG_SCRIPT_H

// Scripted answers for modal dialogs, so that no test waits for a person. A
// script belongs to one dialog template: when a modal dialog of that template
// has opened and its queue is empty, the steps up to and including the next
// button press are carried out as a user would (controls changed with their
// notifications sent, buttons clicked); more steps follow each time the
// dialog goes idle again. A dialog still open when the script has run out
// (a refused OK, a forgotten step) ends with IDABORT and the script is marked
// stalled, so a faulty test fails instead of hanging.

#include <cstdint>

#include <windows.h>

enum class DialogAction : uint8_t {
  kSetText,     // the control's text becomes `text`
  kSetCheck,    // a check box or radio button takes `value` (0, 1, 2)
  kSelectItem,  // a combo box, list box or list view selects item `value`
  kPress,       // the button is clicked
  kInspect,     // the test's inspector reads the dialog (nothing is changed)
};

// Controls are looked for in the dialog, then in its shown child dialogs
// (the pages of a sheet); a tab control selects its tab as a click does.
struct DialogScriptStep {
  int controlId;
  DialogAction action;
  const char* text;
  int value;
  void (*inspect)(HWND dialog) = nullptr;
};

struct DialogScript {
  int templateId;
  const DialogScriptStep* steps;
  int stepCount;
  // Filled in when the dialog runs.
  bool ran;
  bool stalled;
  INT_PTR result;
};

// The scripts modal dialogs answer from; null (or count 0) lets people
// answer. The array must outlive the dialogs that use it.
void SetDialogScripts(DialogScript* scripts, int count);
DialogScript* FindDialogScript(int templateId);

// Carries out the steps from `first` up to and including the next press;
// returns the index of the step after them.
int ApplyDialogScriptSteps(HWND dialog, const DialogScript& script, int first);

#endif
