#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/formula/builtin_function_table.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/arg_readers.h"
#include "tests/core/eval_test_cells.h"

namespace {

enum Reader { kInt, kInt64, kNumber, kText, kDate, kRange };

// What the probe handler reads and what it saw, argument by argument in
// source order.
struct Probe {
  Reader reader = kInt;
  double min = -1e9;
  double max = 1e9;
  struct Seen {
    uint8_t error;
    double number;  // integers and numbers; a date's year; a range's cell count
    std::string text;
    bool ownsChain;
  };
  std::vector<Seen> seen;
};
Probe probe;

constexpr int32_t kDefaultInt = -99;

// Reads every argument from the last to the first with the chosen reader,
// outputs starting at their defaults, and answers the argument count.
void ProbeHandler(EvalState& state) {
  const uint16_t first = FirstArg(state);
  probe.seen.assign(ArgCount(state), Probe::Seen{});
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    Probe::Seen& seen = probe.seen[slot - first];
    switch (probe.reader) {
      case kInt: {
        int32_t out = kDefaultInt;
        seen.error = GetArgInt(state, slot, &out, static_cast<int32_t>(probe.min), static_cast<int32_t>(probe.max));
        seen.number = out;
        break;
      }
      case kInt64: {
        int64_t out = kDefaultInt;
        seen.error = GetArgInt64(state, slot, &out, static_cast<int64_t>(probe.min), static_cast<int64_t>(probe.max));
        seen.number = static_cast<double>(out);
        break;
      }
      case kNumber: {
        double out = kDefaultInt;
        seen.error = GetArgNumber(state, slot, &out, probe.min, probe.max);
        seen.number = out;
        break;
      }
      case kText: {
        char buffer[kArgTextCapacity] = "default";
        seen.error = GetArgText(state, slot, buffer);
        seen.text = buffer;
        break;
      }
      case kDate: {
        DateTime date{};
        date.year = kDefaultInt;
        seen.error = GetArgDate(state, slot, &date);
        seen.number = date.year;
        break;
      }
      case kRange: {
        ArgRange range;
        seen.error = GetArgRange(state, slot, &range);
        seen.ownsChain = range.ownsChain;
        int cells = 0;
        while (const CellRecord* cell = NextArgCell(range)) {
          ++cells;
          seen.text += std::to_string(cell->Row()) + "," + std::to_string(cell->Column()) + ";";
        }
        seen.number = cells;
        ReleaseArgRange(state, range);
        break;
      }
    }
    if (slot == first) break;
  }
  SetNumberResult(state, ArgCount(state), 0);
}

class ArgReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_EQ(BindBuiltinFunctionHandler("ABS(", ProbeHandler), 1);
    state.sheet = &sheet;
    PutNumber(sheet, 0, 0, 1);                                        // A1
    PutNumber(sheet, 0, 1, 2);                                        // A2
    PutText(sheet, 1, 0, "abc");                                      // B1
    PutText(sheet, 1, 1, "2009-02-03");                               // B2
    PutFormula(sheet, 1, 2, "=1/0", 0, nullptr, kErrorDivZero, true);  // B3
  }
  void TearDown() override { BindBuiltinFunctionHandler("ABS(", FnNotImplemented); }

  // Evaluates "=ABS(arguments)" in A10 and checks that the stacks own only
  // the result afterwards.
  void Run(const std::string& arguments) {
    const std::string formula = "=ABS(" + arguments + ")";
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, formula.c_str());
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, 0, 9, true)) << formula;
    probe.seen.clear();
    ASSERT_EQ(state.Evaluate(text, 0, 9), kEvalNumber) << formula;
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << formula << ": " << message;
    ASSERT_EQ(probe.seen.size(), state.operands[1].number) << formula;
  }

  CellStore sheet;
  EvalState state;
};

struct NumericCase {
  Reader reader;
  double min, max;
  const char* argument;
  double out;  // the output after reading (the default -99 when left alone)
  uint8_t error;
};

const NumericCase kNumericCases[] = {
    {kInt, -1e9, 1e9, "2.5", 3, 0},
    {kInt, -1e9, 1e9, "-2.5", -3, 0},
    {kInt, -1e9, 1e9, "2.4999", 2, 0},
    {kInt, 1, 10, "10.4", 10, 0},
    {kInt, 1, 10, "10.5", 11, kErrorNum},  // stored although out of bounds
    {kInt, 1, 10, "0", 0, kErrorNum},
    {kInt, -1e9, 1e9, "3E9", 2147483647, kErrorNum},
    {kInt64, -1e12, 1e12, "3E9", 2147483647, kErrorNum},  // the value itself stays 32-bit
    {kInt64, -1e12, 1e12, "-2147483647", -2147483647, 0},
    {kInt, -1e9, 1e9, "'12'", 12, 0},
    {kInt, -1e9, 1e9, "' 12 '", 12, 0},
    {kInt, -1e9, 1e9, "'12x'", kDefaultInt, kErrorNum},
    {kInt, -1e9, 1e9, "A2", 2, 0},
    {kInt, -1e9, 1e9, "Z99", 0, 0},  // an empty cell is 0, not an omitted argument
    {kInt, -1e9, 1e9, "B1", kDefaultInt, kErrorNum},
    {kInt, -1e9, 1e9, "B3", kDefaultInt, kErrorDivZero},
    {kInt, -1e9, 1e9, "1/0", kDefaultInt, kErrorDivZero},
    {kInt, -1e9, 1e9, "A1:A2", kDefaultInt, kErrorValue},
    {kInt, -1e9, 1e9, "{1,2}", kDefaultInt, kErrorValue},
    {kNumber, 0, 1, "0", 0, 0},
    {kNumber, 0, 1, "1", 1, 0},
    {kNumber, 0, 1, "1.0000001", 1.0000001, kErrorNum},
    {kNumber, 0, 1, "-0.1", -0.1, kErrorNum},
    {kNumber, -1e9, 1e9, "'1.5'", 1.5, 0},
    {kNumber, -1e9, 1e9, "A1:A2_A2:B2", 2, 0},
};

TEST_F(ArgReaders, NumericReaders) {
  for (const NumericCase& c : kNumericCases) {
    SCOPED_TRACE(c.argument);
    probe.reader = c.reader;
    probe.min = c.min;
    probe.max = c.max;
    // A trailing omitted argument keeps its default.
    Run(std::string(c.argument) + ",");
    ASSERT_EQ(probe.seen.size(), 2u);
    EXPECT_EQ(probe.seen[0].number, c.out);
    EXPECT_EQ(probe.seen[0].error, c.error);
    EXPECT_EQ(probe.seen[1].number, kDefaultInt);
    EXPECT_EQ(probe.seen[1].error, 0);
  }
}

TEST_F(ArgReaders, TextReader) {
  probe.reader = kText;
  Run("1.5,'abc',A1,B1,1/0,A1:A2,,{1},Z99");
  ASSERT_EQ(probe.seen.size(), 9u);
  const struct {
    const char* text;
    uint8_t error;
  } expected[] = {{"1.5", 0},         {"abc", 0},     {"1", 0},       {"abc", 0},    {"#DIV/0!", kErrorDivZero},
                  {"default", kErrorValue}, {"default", 0}, {"default", kErrorValue}, {"", 0}};
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(probe.seen[i].text, expected[i].text) << i;
    EXPECT_EQ(probe.seen[i].error, expected[i].error) << i;
  }
}

TEST_F(ArgReaders, DateReader) {
  probe.reader = kDate;
  Run("'2010-05-06',B2,'x',5,A1:A2,,'2010-05-06T10:00:00'");
  ASSERT_EQ(probe.seen.size(), 7u);
  const double years[] = {2010, 2009, kDefaultInt, kDefaultInt, kDefaultInt, kDefaultInt, 2010};
  const uint8_t errors[] = {0, 0, kErrorValue, kErrorValue, kErrorValue, 0, 0};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(probe.seen[i].number, years[i]) << i;
    EXPECT_EQ(probe.seen[i].error, errors[i]) << i;
  }
}

TEST_F(ArgReaders, RangeReader) {
  probe.reader = kRange;
  Run("A1:B2,{1,'a';3,4},5,'a',A1,,C1:C9");
  ASSERT_EQ(probe.seen.size(), 7u);
  EXPECT_EQ(probe.seen[0].text, "0,0;0,1;1,0;1,1;");  // storage order, cells that exist
  EXPECT_FALSE(probe.seen[0].ownsChain);
  EXPECT_EQ(probe.seen[1].text, "0,0;0,1;1,0;1,1;");  // an array in its own coordinates
  EXPECT_TRUE(probe.seen[1].ownsChain);
  for (size_t i : {2, 3, 4}) EXPECT_EQ(probe.seen[i].error, kErrorValue) << i;
  EXPECT_EQ(probe.seen[5].error, 0);
  EXPECT_EQ(probe.seen[5].number, 0);
  EXPECT_EQ(probe.seen[6].number, 0);
}

TEST_F(ArgReaders, TooFewArgumentsFailTheFormula) {
  BindBuiltinFunctionHandler("ABS(", [](EvalState& state) {
    if (!RequireArgs(state, 2)) return;
    SetNumberResult(state, 1, 0);
  });
  EXPECT_EQ(state.Evaluate("=ABS('a')", 0, 0), 0u);
  EXPECT_EQ(state.operands[1].error, kErrorSyntax);
  EXPECT_TRUE(state.CheckStackOwnership());
  EXPECT_EQ(state.Evaluate("=ABS('a',)", 0, 0), kEvalNumber);
  EXPECT_EQ(state.Evaluate("=1+ABS({1},'b')", 0, 0), kEvalNumber);
  EXPECT_EQ(state.operands[1].number, 2);
  EXPECT_TRUE(state.CheckStackOwnership());
}

// A handler may leave arguments unread; the evaluator releases them, and a
// text result lands in step with the stack.
TEST_F(ArgReaders, ResultsReplaceTheArguments) {
  BindBuiltinFunctionHandler("ABS(", [](EvalState& state) {
    char buffer[kArgTextCapacity] = "";
    const uint8_t error =
        ArgCount(state) > 0 ? GetArgText(state, static_cast<uint16_t>(state.operandTop - 1), buffer) : 0;
    SetTextResult(state, buffer, std::strlen(buffer), error);
  });
  ASSERT_EQ(state.Evaluate("='<'&ABS({1},'x',R1C2)&'>'", 0, 0), kEvalText);
  EXPECT_STREQ(state.strings.Top(), "<abc>");
  EXPECT_TRUE(state.CheckStackOwnership());
  ASSERT_EQ(state.Evaluate("=ABS()", 0, 0), kEvalText);
  EXPECT_STREQ(state.strings.Top(), "");
  EXPECT_TRUE(state.CheckStackOwnership());
}

}  // namespace
