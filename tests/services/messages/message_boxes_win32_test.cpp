#include "services/messages/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"

namespace {

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int count;
};
ShownBox g_shown;

int AnswerBox(HWND owner, const char* text, const char* caption, UINT type) {
  g_shown = ShownBox{owner, text, caption, type, g_shown.count + 1};
  return IDNO;
}

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    g_shown = ShownBox{};
    previous_ = SetMessageBoxFunction(AnswerBox);
  }
  void TearDown() override { SetMessageBoxFunction(previous_); }
  MessageBoxFunction previous_ = nullptr;
};

TEST_F(MessageBoxes, ErrorsAreTaskModalExclamationsCaptionedWithTheProductTitle) {
  ShowError(26);
  EXPECT_EQ(g_shown.count, 1);
  EXPECT_EQ(g_shown.owner, nullptr);
  EXPECT_EQ(g_shown.text, "Invalid password");
  EXPECT_EQ(g_shown.caption, "Talvero");
  EXPECT_EQ(g_shown.type, UINT(MB_TASKMODAL | MB_ICONEXCLAMATION | MB_OK));

  ShowErrorWithLine(57, 12);
  EXPECT_EQ(g_shown.text, "An unexpected xml element\nLine: 12");
  ShowMessage("plain text");
  EXPECT_EQ(g_shown.text, "plain text");
  EXPECT_EQ(g_shown.type, UINT(MB_TASKMODAL | MB_ICONEXCLAMATION | MB_OK));
}

TEST_F(MessageBoxes, StringTableMessagesKeepTheCallersButtonsAndReturnTheAnswer) {
  EXPECT_EQ(ShowMessageRes(IDS_FORMAT_DROPS_PROTECTION, MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(g_shown.text,
            "Your current password protection and encryption settings will be ignored for this file format.");
  EXPECT_EQ(g_shown.type, UINT(MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION));
}

}  // namespace
