#ifndef TALVERO_TESTS_CORE_EVAL_TEST_CELLS_H
#define TALVERO_TESTS_CORE_EVAL_TEST_CELLS_H

// Cells for evaluator fixtures, and the text of an array result.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/base/bounded_text.h"
#include "core/cells/cell_record.h"
#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_array_constant.h"

inline void PutNumber(CellStore& store, uint16_t column, uint32_t row, double value, uint8_t error = 0) {
  uint8_t record[kNumberCellSize];
  ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, value, error));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
}

inline void PutText(CellStore& store, uint16_t column, uint32_t row, const std::string& text, uint8_t error = 0) {
  std::vector<uint8_t> record(kTextCellHeadSize + text.size() + 1);
  ASSERT_TRUE(BuildTextCell(record.data(), record.size(), row, column, text.data(),
                            static_cast<uint16_t>(text.size()), error));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record.data()), nullptr));
}

// A formula cell with its cached result: a text when cachedText is given,
// else the number; calculated says whether this pass has computed it.
inline void PutFormula(CellStore& store, uint16_t column, uint32_t row, const char* formula, double cachedNumber,
                       const char* cachedText, uint8_t error, bool calculated) {
  FormulaCellFields fields;
  fields.formula = formula;
  fields.formulaLength = static_cast<uint16_t>(std::strlen(formula));
  fields.cachedNumber = cachedNumber;
  fields.resultFlags = static_cast<uint8_t>((calculated ? kResultCalculated : 0) |
                                            (cachedText ? 0 : kResultCachedNumber));
  if (cachedText) {
    fields.cachedText = cachedText;
    fields.cachedTextLength = static_cast<uint16_t>(std::strlen(cachedText));
  }
  fields.typeExtra = error;
  uint8_t record[2048];
  ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
}

// The array on top of the array stack, written as a stored-form constant.
inline std::string TopArrayText(EvalState& state, const EvalValue& value) {
  CellBlock* chain = state.arrays.PopChain();
  char buffer[4096];
  BoundedText out(buffer, sizeof buffer);
  const bool written = FormatArrayConstant(chain, value.second.column + 1, value.second.row + 1, out, true);
  state.arrays.PushChain(chain);
  return written ? std::string(out.Text()) : std::string("UNPRINTABLE");
}

#endif
