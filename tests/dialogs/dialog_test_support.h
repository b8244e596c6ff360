#ifndef TALVERO_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H
#define TALVERO_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H

// What the dialog tests share: message boxes answered from a list and
// remembered in order, and the text of a dialog's control.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/message_box.h"

struct AnsweredBoxes {
  std::vector<std::string> texts;
  std::vector<UINT> types;
  std::vector<int> answers;  // given in order; IDOK once they run out
  size_t next = 0;
};

// Answers every message box from `boxes` while it lives.
class ScopedBoxAnswers {
 public:
  explicit ScopedBoxAnswers(AnsweredBoxes* boxes);
  ~ScopedBoxAnswers();

 private:
  MessageBoxFunction previous_;
};

std::string ControlText(HWND dialog, int id);

#endif
