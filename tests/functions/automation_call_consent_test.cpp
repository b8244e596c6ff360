// The question a document read from a file asks before its formulas call
// other programs, and the programs it names.

#include "functions/automation_call_consent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"

namespace {

std::vector<std::string> g_questions;
bool g_answer = false;
CWorkBook* g_book = nullptr;
uint8_t g_permissionWhileAsked = 0xFF;

bool Answer(const char* text) {
  g_questions.push_back(text);
  if (g_book) g_permissionWhileAsked = g_book->automationCalls;
  return g_answer;
}

class AutomationCallConsent : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    CellStore& cells = book.activeWorksheet->cells;
    PutFormula(cells, 0, 0, "=RTD(\"Alpha.One\",,\"Value\")", 0, nullptr, 0, false);
    PutFormula(cells, 1, 0, "=UDF( 'beta.two',\"host\",\"Sum\",1)", 0, nullptr, 0, false);
    PutFormula(cells, 2, 0, "=RTD(\"ALPHA.ONE\",,\"Other\")", 0, nullptr, 0, false);
    // A call spelled inside a text, a longer name ending in RTD, and a
    // ProgID that a cell computes name no program.
    PutFormula(cells, 0, 1, "=CONCATENATE(\"RTD(\",\"Hidden.Text\")", 0, nullptr, 0, false);
    PutFormula(cells, 1, 1, "=XRTD(\"Not.Called\")", 0, nullptr, 0, false);
    PutFormula(cells, 2, 1, "=RTD(A1,,\"Value\")", 0, nullptr, 0, false);
    CWorkSheet* second = NewWorksheet("Second", 1);
    ASSERT_NE(second, nullptr);
    book.InsertItems(second, nullptr);
    PutFormula(second->cells, 0, 0, "=udf(\"Gamma.Three\",,\"m\")", 0, nullptr, 0, false);
    std::snprintf(book.bufferedFile.path, sizeof book.bufferedFile.path, "C:\\Documents\\received.tlv");
    g_questions.clear();
    g_book = &book;
    g_permissionWhileAsked = 0xFF;
  }
  void TearDown() override {
    SetAutomationCallQuestion(nullptr);
    g_book = nullptr;
  }
  CWorkBook book;
};

TEST_F(AutomationCallConsent, ListsTheCalledProgramThenEachWrittenOneOnce) {
  char list[256];
  EXPECT_EQ(ListAutomationProgIds(book, "Current.Call", list, sizeof list), 4u);
  EXPECT_STREQ(list, "Current.Call\nAlpha.One\nbeta.two\nGamma.Three\n");
  EXPECT_EQ(ListAutomationProgIds(book, "alpha.one", list, sizeof list), 3u);
  EXPECT_STREQ(list, "alpha.one\nbeta.two\nGamma.Three\n");
  // Names that no longer fit give way to one line saying so.
  EXPECT_EQ(ListAutomationProgIds(book, "Current.Call", list, 25), 1u);
  EXPECT_STREQ(list, "Current.Call\n...\n");
}

TEST_F(AutomationCallConsent, TheQuestionNamesTheFileAndThePrograms) {
  char question[kAutomationQuestionCapacity];
  ComposeAutomationQuestion(book, "Alpha.One", question, sizeof question);
  const std::string text(question);
  EXPECT_NE(text.find("\"received.tlv\""), std::string::npos) << text;
  EXPECT_NE(text.find("\n\nAlpha.One\nbeta.two\nGamma.Three\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Allow"), std::string::npos) << text;
}

TEST_F(AutomationCallConsent, ADocumentFromAFileAsksOnceAndKeepsTheAnswer) {
  const struct {
    uint8_t permission;
    bool questionInstalled;
    bool answer;
    bool allowed;
    uint8_t after;
    size_t questions;
  } cases[] = {
      {kAutomationCallsAllowed, true, false, true, kAutomationCallsAllowed, 0},
      {kAutomationCallsAsk, true, true, true, kAutomationCallsAllowed, 1},
      {kAutomationCallsAsk, true, false, false, kAutomationCallsRefused, 1},
      {kAutomationCallsAsk, false, true, false, kAutomationCallsRefused, 0},
      {kAutomationCallsRefused, true, true, false, kAutomationCallsRefused, 0},
  };
  for (const auto& c : cases) {
    book.automationCalls = c.permission;
    g_answer = c.answer;
    g_questions.clear();
    SetAutomationCallQuestion(c.questionInstalled ? Answer : nullptr);
    // The second call finds the answer of the first.
    for (int call = 0; call < 2; ++call) {
      EXPECT_EQ(AutomationCallAllowed(book.evaluator, "Alpha.One"), c.allowed) << int(c.permission) << call;
      EXPECT_EQ(book.automationCalls, c.after) << int(c.permission) << call;
    }
    EXPECT_EQ(g_questions.size(), c.questions) << int(c.permission);
  }
  // While the question is open the document calls nothing.
  EXPECT_EQ(g_permissionWhileAsked, kAutomationCallsRefused);
  // An evaluator of no document has no file to come from.
  EvalState alone;
  SetAutomationCallQuestion(Answer);
  g_questions.clear();
  EXPECT_TRUE(AutomationCallAllowed(alone, "Alpha.One"));
  EXPECT_TRUE(g_questions.empty());
}

// A document an automation client loaded calls only from the formulas the
// client put in itself; the mark lives in the formula record and survives
// its results.
TEST_F(AutomationCallConsent, ALoadedDocumentCallsOnlyFromTheClientsOwnFormulas) {
  book.automationCalls = kAutomationCallsRefused;
  SetAutomationCallQuestion(Answer);
  CellStore& cells = book.activeWorksheet->cells;
  EvalState& state = book.evaluator;
  state.sheet = &cells;
  state.column = 0;
  state.row = 0;
  EXPECT_FALSE(AutomationCallAllowed(state, "Alpha.One")) << "the file's formula";
  CellRecord* own = cells.GetCell(1, 0);
  ASSERT_NE(own, nullptr);
  own->SetResultFlags(static_cast<uint8_t>(own->ResultFlags() | kResultClientFormula));
  state.row = 1;
  EXPECT_TRUE(AutomationCallAllowed(state, "beta.two")) << "the client's formula";
  EXPECT_EQ(book.automationCalls, kAutomationCallsRefused);
  state.row = 7;  // no formula there
  EXPECT_FALSE(AutomationCallAllowed(state, "beta.two"));
  EXPECT_TRUE(g_questions.empty()) << "nobody is asked";
  ASSERT_TRUE(book.Recalculate(&cells));
  own = cells.GetCell(1, 0);
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->ResultFlags() & kResultClientFormula) << "kept with the new result";
  EXPECT_FALSE(cells.GetCell(0, 0)->ResultFlags() & kResultClientFormula);
}

}  // namespace
