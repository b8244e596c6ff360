// RTD and UDF formulas calling the tests' automation server
// (automation_test_server.cpp) in a process of its own: property values of
// every kind, methods given numbers, texts and arrays, and the failures
// that give "#REF!". Every object the formulas create is released again.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "tests/functions/automation_test_server/test_server_client.h"
#include "tests/functions/formula_result_text.h"

namespace {

// The formulas' object, P in the cases.
std::string Call(const char* function, const char* rest) {
  return std::string("=") + function + "(\"" + kTestServerProgId + "\"," + rest + ")";
}

class AutomationClientCalls : public FormulaTableTest {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartTestServerClient()); }
  static void TearDownTestSuite() { StopTestServerClient(); }

  // The test holds an object of its own, through which it counts the
  // server's objects.
  void SetUp() override {
    FormulaTableTest::SetUp();
    const HRESULT created = CoCreateInstance(kTestServerClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                             reinterpret_cast<void**>(&held));
    ASSERT_EQ(created, S_OK) << std::hex << static_cast<unsigned long>(created);
    ASSERT_NE(held, nullptr);
  }
  void TearDown() override {
    if (held != nullptr) {
      // This test's object and the suite's.
      EXPECT_EQ(LiveObjects(), 2) << "an object of a formula was not released";
      held->Release();
    }
    FormulaTableTest::TearDown();
  }
  int LiveObjects() {
    LPOLESTR name = const_cast<LPOLESTR>(L"Live");
    DISPID id = 0;
    VARIANT count;
    VariantInit(&count);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (FAILED(held->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) ||
        FAILED(held->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &count, nullptr,
                            nullptr)))
      return -1;
    return V_I4(&count);
  }
  void CheckCalls(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) {
      const std::string formula = c.formula;
      const size_t open = formula.find('(');
      const std::string function = formula.substr(0, open);
      EXPECT_EQ(Run(Call(function.c_str(), formula.substr(open + 1).c_str())), c.result) << c.formula;
    }
  }

  IDispatch* held = nullptr;
};

// Each case is written FUNCTION(rest): P comes first.
TEST_F(AutomationClientCalls, RtdReadsPropertiesOfEveryKind) {
  CheckCalls({
      {"RTD(,\"Number\"", "2.5"},
      {"RTD(,\"text\"", "\"hello\""},
      {"RTD(,\"Money\"", "12.3456"},
      {"RTD(,\"Decimal\"", "-7.25"},
      {"RTD(,\"When\"", "\"2005-12-01\""},
      {"RTD(,\"Missing\"", "#N/A!"},
      {"RTD(,\"Flag\"", "1"},
      {"RTD(,\"Nothing\"", "0"},
      {"RTD(,\"Infinite\"", "#NUM!"},
      {"RTD(,\"Matrix\"", "{1, \"a\"; 2.5, 1; #VALUE!, #N/A!}"},
      {"RTD(,\"Doubles\"", "{0.5; 1.5; 2.5}"},
      {"RTD(,\"Cube\"", "#REF!"},
  });
}

TEST_F(AutomationClientCalls, RtdWithSeveralNamesGivesAColumn) {
  PutText(sheet, 0, 0, "Number");
  PutText(sheet, 0, 1, "Flag");
  PutText(sheet, 1, 0, "Text");
  CheckCalls({
      {"RTD(,\"Number\",\"Text\"", "{2.5; \"hello\"}"},
      {"RTD(,\"Number\",\"Missing\",\"When\"", "{2.5; #N/A!; \"2005-12-01\"}"},
      {"RTD(,\"Number\",\"Nothing\",\"Text\"", "{2.5; ; \"hello\"}"},
      // A range's cells in storage order, then the next position.
      {"RTD(,A1:B2,\"Money\"", "{2.5; \"hello\"; 1; 12.3456}"},
      {"RTD(,\"Number\",\"Matrix\"", "#REF!"},
      {"RTD(,\"Number\",\"NoSuchName\"", "#REF!"},
      {"RTD(,C1:C5", "#VALUE!"},
  });
}

TEST_F(AutomationClientCalls, UdfPassesNumbersTextsAndArraysLastFirst) {
  PutNumber(sheet, 1, 0, 1);
  PutNumber(sheet, 2, 0, 2);
  PutNumber(sheet, 3, 0, 3);
  PutText(sheet, 1, 1, "x");
  PutNumber(sheet, 3, 1, 6);
  CheckCalls({
      {"UDF(,\"Sum\",1,2,3", "6"},
      {"UDF(,\"join\",\"a\",\"b\",1", "\"ab1\""},
      // An omitted position passes nothing; the text comes first in the
      // list, the number second, and the server reads them in call order.
      {"UDF(,\"Describe\",1,,\"x\"", "\"1|x\""},
      {"UDF(,\"Describe\",B1:D2", "\"ARRAY2(2x3):1,2,3,x,,6\""},
      {"UDF(,\"Describe\",B1:B1", "\"ARRAY1(1x1):1\""},
      {"UDF(,\"Describe\",B1,C2,B2", "\"1|x\""},
      {"UDF(,\"Describe\",{1,2;3,4}", "\"ARRAY2(2x2):1,2,3,4\""},
      {"UDF(,\"Sum\",B1:D2,10", "22"},
      {"UDF(,\"Echo\",B1:D2", "{1, 2, 3; \"x\", #VALUE!, 6}"},
      {"UDF(,\"Echo\",\"back\"", "\"back\""},
      {"UDF(,\"Sum\",1/0,2", "#DIV/0!"},
  });
}

TEST_F(AutomationClientCalls, FailuresToCreateNameOrCallGiveRef) {
  Check({
      {"=RTD(\"Talvero.NoSuchObject\",,\"Number\")", "#REF!"},
      {"=UDF(\"Talvero.NoSuchObject\",,\"Sum\",1)", "#REF!"},
      {"=RTD(1/0,,\"Number\")", "#DIV/0!"},
  });
  CheckCalls({
      {"RTD(,\"NoSuchName\"", "#REF!"},
      {"UDF(,\"NoSuchMethod\",1", "#REF!"},
      {"UDF(,\"Fail\",1,\"x\",{1,2}", "#REF!"},
      // A method that returns nothing gives an empty value.
      {"UDF(,\"Echo\"", "0"},
  });
}

}  // namespace
