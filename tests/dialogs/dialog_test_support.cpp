#include "tests/dialogs/dialog_test_support.h"

namespace {

AnsweredBoxes* g_boxes = nullptr;

int Answer(HWND, const char* text, const char*, UINT type) {
  g_boxes->texts.push_back(text);
  g_boxes->types.push_back(type);
  return g_boxes->next < g_boxes->answers.size() ? g_boxes->answers[g_boxes->next++] : IDOK;
}

}  // namespace

ScopedBoxAnswers::ScopedBoxAnswers(AnsweredBoxes* boxes) {
  g_boxes = boxes;
  previous_ = SetMessageBoxFunction(Answer);
}

ScopedBoxAnswers::~ScopedBoxAnswers() {
  SetMessageBoxFunction(previous_);
  g_boxes = nullptr;
}

std::string ControlText(HWND dialog, int id) {
  char text[8192];
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}
