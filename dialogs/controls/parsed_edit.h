#ifndef TALVERO_DIALOGS_PARSED_EDIT_H
#define TALVERO_DIALOGS_PARSED_EDIT_H

// An edit control of a dialog that takes only integers, decimals or column
// letters and steps its value with the up-down control beside it. The dialog
// subclasses its edit with it and calls Step with the delta of the up-down
// control's UDN_DELTAPOS.

#include <windows.h>

#include <string>

#include "dialogs/controls/parsed_text.h"
#include "platform/ui/window_impl.h"

class CParsedEdit : public CWindowImpl {
 public:
  // The decimal separator is the current regional settings' at construction.
  CParsedEdit(uint8_t mode, int32_t minimum, int32_t maximum);
  // Limits and decimals (-1 the shortest text) of the decimal mode.
  void SetDecimalLimits(double minimum, double maximum, int decimals);

  // Subclasses the dialog's edit and makes the up-down control beside it
  // its stepper (InitStepSpin).
  void AttachWithUpDown(HWND edit, HWND upDown);
  // The text stepped by delta within the limits; an invalid text beeps and
  // stays. 1 when stepped, 0 when not.
  int Step(int delta);

  // The edit's text, however long.
  std::string WholeText() const;
  // That text as an integer within the edit's limits (kFieldValue), or why
  // it is none.
  uint8_t ReadInteger(int32_t* value) const;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  const ParsedEditRules& Rules() const { return m_rules; }

 private:
  ParsedEditRules m_rules;
};

// A UDN_DELTAPOS of the up-down control of one of the edits steps that edit
// (its buddy). True when the notification was one: the dialog then answers
// 1, so that the up-down control stays at its middle.
bool StepEditOfUpDown(const NMHDR& header, CParsedEdit* edits, int count);

// The up-down control of a stepped field: range 0 to 10000 held at 5000, so
// that every click gives a delta; faster after 2, 4 and 6 seconds.
void InitStepSpin(HWND upDown);

#endif
