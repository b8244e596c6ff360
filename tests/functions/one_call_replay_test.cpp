#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"
#include "test_seed.h"

// A formula that is one call over operands is replayed by its own loop.
// Whatever the function, the arguments and the formula's place (ranges
// falling off the grid included), it must leave what the step loop leaves.

namespace {

std::string Stored(const std::string& display, uint32_t column, uint32_t row) {
  char text[2 * kFormulaTextCapacity];
  std::strncpy(text, display.c_str(), sizeof text - 1);
  text[sizeof text - 1] = '\0';
  EvalState translator;
  return translator.TranslateFormula(text, sizeof text, column, row, true) ? text : "";
}

// Everything an evaluation leaves that recalculation reads.
std::string Outcome(EvalState& state, uint32_t kind) {
  const EvalValue& result = state.operands[1];
  uint64_t bits;
  std::memcpy(&bits, &result.number, sizeof bits);
  char text[256];
  std::snprintf(text, sizeof text, "kind %u status %u top %u slot %u error %u bits %016llx extent %u,%u pending %u R%uC%u",
                kind, state.status, state.operandTop, result.kind, result.error, static_cast<unsigned long long>(bits),
                result.second.column, result.second.row, state.pending.kind, state.pending.cell.row,
                state.pending.cell.column);
  std::string outcome = text;
  if (kind == kEvalText) outcome += std::string(" text ") + state.SlotText(1);
  if (kind == kEvalArray) outcome += " array " + TopArrayText(state, result);
  char message[128];
  if (!state.CheckStackOwnership(message, sizeof message)) outcome += std::string(" OWNERSHIP ") + message;
  return outcome;
}

class CallMaker {
 public:
  explicit CallMaker(std::mt19937& random) : random_(random) {}

  std::string Make() {
    // Some formulas nest calls or join them by operators: the general
    // replay with its ranges described must agree as well.
    const std::string call = Call(Pick(3) == 0 ? 1 : 0);
    return "=" + (Pick(6) == 0 ? call + "+" + Call(0) : call);
  }

 private:
  std::string Call(uint32_t depth) {
    static const char* const kFunctions[] = {"SUM", "COUNT", "COUNTA", "MAX", "MIN", "AVERAGE", "SUMPRODUCT",
                                             "LARGE", "COUNTIF", "CONCATENATE", "INDEX", "TRANSPOSE", "ROWS",
                                             "PRODUCT", "AND", "COUNTBLANK", "MEDIAN", "NOSUCHCALL", "PI"};
    std::string formula = std::string(kFunctions[Pick(19)]) + "(";
    for (uint32_t count = Pick(4), i = 0; i < count; ++i) {
      if (i) formula += ",";
      formula += depth && Pick(3) == 0 ? Call(depth - 1) : Argument();
    }
    return formula + ")";
  }

  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }
  std::string Cell(bool dollars) {
    const std::string column(1, char('A' + Pick(6)));
    const std::string row = std::to_string(1 + Pick(8));
    return dollars && Pick(2) ? "$" + column + row : dollars ? column + "$" + row : column + row;
  }

  std::string Argument() {
    switch (Pick(9)) {
      case 0:
        return std::to_string(Pick(5));
      case 1:
        return Pick(2) ? "\">2\"" : "\"a\"";
      case 2:
        return "";  // omitted
      case 3:
        return Cell(false);
      case 4:
        return Cell(true) + ":" + Cell(true);  // absolute or mixed corners
      case 5:
        return Pick(2) ? "B:C" : "#N/A";
      default:
        return Cell(false) + ":" + Cell(false);  // relative, in any order
    }
  }

  std::mt19937& random_;
};

void FillCells(CellStore& store, std::mt19937& random) {
  const auto pick = [&random](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  for (uint16_t column = 0; column < 6; ++column)
    for (uint32_t row = 0; row < 8; ++row) switch (pick(8)) {
        case 0:
          break;
        case 1:
          PutText(store, column, row, pick(2) ? "ab" : "3");
          break;
        case 2:
          PutNumber(store, column, row, 1, kErrorDivZero);
          break;
        case 3:
          PutFormula(store, column, row, "=1", 2.5, nullptr, 0, pick(3) != 0);
          break;
        default:
          PutNumber(store, column, row, double(pick(40)) / 4 - 3);
          break;
      }
}

TEST(OneCallReplay, LeavesWhatTheStepLoopLeaves) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  const uint32_t seed = TestSeed(6113);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CallMaker maker(random);
  EvalState general;
  general.callShortcuts = 0;
  EvalState replaying;
  uint32_t replayed = 0;
  uint32_t described = 0;
  for (int round = 0; round < 20; ++round) {
    CellStore sheet;
    FillCells(sheet, random);
    general.sheet = &sheet;
    replaying.sheet = &sheet;
    for (int n = 0; n < 40; ++n) {
      const std::string stored = Stored(maker.Make(), 6, 9);
      for (int place = 0; place < 4; ++place) {
        // Far enough from the edges for every reference, or where some of
        // them fall off the grid above or to the left.
        const uint32_t column = place < 2 ? 6 : random() % 3;
        const uint32_t row = place < 2 ? 9 : random() % 4;
        SCOPED_TRACE(stored + " at R" + std::to_string(row + 1) + "C" + std::to_string(column + 1));
        general.pending.Clear();
        replaying.pending.Clear();
        const std::string expected = Outcome(general, general.Evaluate(stored.c_str(), stored.size(), column, row));
        ASSERT_EQ(Outcome(replaying, replaying.Evaluate(stored.c_str(), stored.size(), column, row)), expected);
      }
      const ScannedFormula* kept = replaying.scannedFormulas.FindKept(stored.data(), stored.size(), 6);
      if (kept && kept->oneCall) ++replayed;
      if (kept && kept->stepDescriptions) ++described;
    }
  }
  // Most formulas must take the short loop, or the comparison says little.
  EXPECT_GT(replayed, 400u);
  EXPECT_GT(described, 80u);
  ResetGlobalOptions();
}

}  // namespace
