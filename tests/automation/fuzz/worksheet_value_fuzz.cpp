// libFuzzer target: what an automation client hands the worksheet members.
// A cell argument in either addressing style is taken only as a rectangle
// inside the grid, corners in order; a value of each kind, written into a
// small rectangle, reads back as the client gave it (a text cut to what
// cells keep); a formula text of the client's own is stored as given.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "automation/worksheet/cell_argument.h"
#include "automation/worksheet/worksheet_value.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

// The bytes after a choice byte: the argument text up to the first NUL,
// the rest the value's text.
void CheckArgument(const std::string& text, bool a1) {
  static EvalState evaluator;
  AddressingA1 = a1 ? 1 : 0;
  CellRange range;
  if (!ParseCellArgument(text.c_str(), evaluator, &range))
    return;
  Check(range.firstColumn <= range.lastColumn && range.firstRow <= range.lastRow);
  Check(range.lastColumn <= kMaxColumn && range.lastRow <= kMaxRow);
}

void CheckValue(uint8_t choice, const uint8_t* data, size_t size) {
  WorksheetValue value = {};
  value.kind = uint8_t(choice % 4);
  value.error = uint8_t(kFirstClientError + choice / 4 % kLastClientError);
  if (size >= sizeof value.number)
    std::memcpy(&value.number, data, sizeof value.number);
  value.text = reinterpret_cast<const char*>(data);
  value.length = uint16_t(size < 0xFFFF ? size : 0xFFFF);
  const CellRange range = {uint16_t(choice % 3), uint32_t(choice % 5), uint16_t(choice % 3 + choice / 64),
                           uint32_t(choice % 5 + choice / 128)};
  CellStore cells;
  if (!FillRangeWithValue(&cells, range, value))
    return;
  Check(cells.CheckInvariants());
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    for (uint16_t column = range.firstColumn; column <= range.lastColumn; ++column) {
      const WorksheetValue read = ReadWorksheetValue(cells.GetCell(row, column));
      Check(read.kind == value.kind);
      if (value.kind == kWorksheetNumber)
        Check(std::memcmp(&read.number, &value.number, sizeof value.number) == 0);
      if (value.kind == kWorksheetError)
        Check(read.error == value.error);
      if (value.kind == kWorksheetText) {
        const size_t kept = value.length < kMaxCellTextLength ? value.length : kMaxCellTextLength;
        Check(read.length == kept && std::memcmp(read.text, value.text, kept) == 0);
      }
    }
  }
  // The text as a client's formula, NUL-terminated and cut as the setter cuts it.
  std::string formula(value.text, value.length < kFormulaTextCapacity ? value.length : kFormulaTextCapacity - 1);
  CellStore formulas;
  if (FillRangeWithFormula(&formulas, range, formula.c_str()))
    Check(formulas.CheckInvariants());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const uint8_t choice = data[0];
  const char* rest = reinterpret_cast<const char*>(data + 1);
  const size_t restSize = size - 1;
  const size_t nul = strnlen(rest, restSize);
  CheckArgument(std::string(rest, nul), (choice & 1) != 0);
  CheckValue(choice, data + 1, restSize);
  return 0;
}
