// Formulas that call other programs (RTD, UDF) in a document read from a
// file run only after its user said yes: the question comes once, at the
// first such recalculation, through the message box; No gives "#REF!" until
// the document is read again. A document made in this session calls freely.

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "app/document/document_window_fixture.h"
#include "app/frame/activity_clock.h"
#include "numerics/numeric_function_table.h"
#include "tests/functions/automation_test_server/test_server_client.h"

namespace {

const char kFormula[] = "=RTD(\"Talvero.TestCalculator\",,\"Number\")";

class AutomationCallQuestion : public DocumentEditingTest {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartTestServerClient()); }
  static void TearDownTestSuite() { StopTestServerClient(); }
  void SetUp() override {
    DocumentEditingTest::SetUp();
    ASSERT_TRUE(InstallFunctionLibrary());
  }

  // A1 as it shows: its number, or its error's name.
  std::string Shown(CChildFrame* doc) {
    const CellRecord* cell = doc->Workbook()->activeWorksheet->cells.GetCell(0, 0);
    if (cell == nullptr || !cell->IsFormula()) return "?";
    if (cell->ErrorCode() != 0) return ErrorName(cell->ErrorCode());
    return std::to_string(cell->CachedNumber()).substr(0, 3);
  }
  // F9, as the user presses it, with the question answered as given.
  void Recalculate(CChildFrame* doc, int answer) {
    g_answers = {answer};
    FocusCell(doc, 5, 5);
    Key(VK_F9);
    g_answers.clear();
  }
  // A new document with the formula typed into A1.
  CChildFrame* NewDocumentCalling() {
    CChildFrame* doc = NewDocument();
    if (doc == nullptr) return nullptr;
    FocusCell(doc, 0, 0);
    Type(kFormula);
    Key(VK_RETURN);
    return doc;
  }
  CChildFrame* Reopen(const std::string& path) {
    g_openPath = path;
    frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    Pump();
    return frame.GetActiveChildFrame();
  }
};

TEST_F(AutomationCallQuestion, AskedOnceForADocumentReadFromAFile) {
  CChildFrame* doc = NewDocumentCalling();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(Shown(doc), "2.5");
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();

  const std::string path = FullPath("automation_question.tlv");
  doc = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, "automation_question.tlv");
  ASSERT_NE(doc, nullptr);
  g_boxes.clear();
  Recalculate(doc, IDNO);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("\"automation_question.tlv\""), std::string::npos) << g_boxes[0];
  EXPECT_NE(g_boxes[0].find("\nTalvero.TestCalculator\n"), std::string::npos) << g_boxes[0];
  EXPECT_EQ(Shown(doc), "#REF!");
  // The answer holds for the document.
  Recalculate(doc, IDYES);
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(Shown(doc), "#REF!");

  // Read again, the document asks again; Yes lets its formulas call.
  Command(doc, ID_RELOAD);
  Recalculate(doc, IDYES);
  EXPECT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(Shown(doc), "2.5");
  Recalculate(doc, IDNO);
  EXPECT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(Shown(doc), "2.5");

  Command(doc, ID_FILE_CLOSE);
  doc = Reopen(path);
  ASSERT_NE(doc, nullptr);
  Recalculate(doc, IDNO);
  EXPECT_EQ(g_boxes.size(), 3u);
  EXPECT_EQ(Shown(doc), "#REF!");
  Command(doc, ID_FILE_CLOSE);
  std::remove(path.c_str());
}

int64_t g_clock = 0;
int64_t TestClock() { return g_clock; }
HWND g_frame = nullptr;

// The question left open while the frame's timer comes due for auto-close,
// as when the user walks away from it.
int AnswerAfterAutoCloseIsDue(HWND, const char* text, const char*, UINT) {
  g_boxes.push_back(text);
  g_clock += 600;
  PostMessageA(g_frame, WM_TIMER, CMainFrame::kTimerId, 0);
  if (CMessageLoop* current = CMessageLoop::Current()) current->RunPending(10000, true);
  return IDYES;
}

// Auto-close would close the document whose recalculation the question
// interrupted; it waits for the box like for any modal window.
TEST_F(AutomationCallQuestion, AutoCloseWaitsWhileTheQuestionIsOpen) {
  CChildFrame* doc = NewDocumentCalling();
  ASSERT_NE(doc, nullptr);
  doc = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, "automation_auto_close.tlv");
  ASSERT_NE(doc, nullptr);
  g_clock = 5000000;
  SetActivityClockForTesting(TestClock);
  g_frame = frame.m_hWnd;
  Options.AutoClose = 1;
  SetMessageBoxFunction(AnswerAfterAutoCloseIsDue);
  FocusCell(doc, 5, 5);
  Key(VK_F9);
  SetMessageBoxFunction(AnswerBox);
  ASSERT_EQ(g_boxes.size(), 1u);
  ASSERT_EQ(CountOpenDocuments(), 1u);
  EXPECT_EQ(Shown(doc), "2.5");
  Options.AutoClose = 0;
  const std::string path = FullPath("automation_auto_close.tlv");
  Command(doc, ID_FILE_CLOSE);
  std::remove(path.c_str());
}

}  // namespace
