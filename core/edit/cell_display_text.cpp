#include "core/edit/cell_display_text.h"

#include <cstring>

#include "core/base/bounded_text.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

// Holds a cell's text while it is formatted.
constexpr size_t kWorkTextSize = 1032;

// A cell's value: an error, a number or a text (copied, NUL-terminated).
struct CellValue {
  uint8_t error = kErrorNone;
  bool isText = false;
  double number = 0;
  size_t textLength = 0;
  char text[kWorkTextSize] = {};
};

void TakeText(const char* text, size_t length, CellValue* value) {
  value->isText = true;
  value->textLength = length < kWorkTextSize - 1 ? length : kWorkTextSize - 1;
  std::memcpy(value->text, text, value->textLength);
  value->text[value->textLength] = '\0';
}

void ReadValue(const CellRecord& cell, CellValue* value) {
  value->error = cell.ErrorCode();
  if (cell.IsNumber()) {
    value->number = cell.Number();
  } else if (cell.IsFormula() && !cell.HasCachedText()) {
    value->number = cell.CachedNumber();
  } else if (cell.IsFormula()) {
    TakeText(cell.CachedText(), cell.CachedTextLength(), value);
  } else if (cell.IsText()) {
    TakeText(cell.Text(), cell.TextLength(), value);
  } else {
    TakeText("", 0, value);
  }
}

// The user pattern of category 10; a code that is not terminated inside its
// field is no code.
const char* UserCode(const NumFormatParams& format) {
  return std::memchr(format.code, '\0', sizeof format.code) ? format.code : "";
}

bool IsDateCategory(uint8_t category) {
  return category == kNumFormatDate || category == kNumFormatTime || category == kNumFormatDateTime;
}

bool ShowsNumbersPlain(uint8_t category) {
  return category == kNumFormatDefault || IsDateCategory(category);
}

// The code a predefined category's options give, in the generic form that
// codes are compiled in.
bool BuiltCode(const NumFormatParams& format, char* code, size_t size) {
  return BuildFormatCode(format.category, format.options, code, size, nullptr);
}

void FormatNumberText(double number, const NumFormatParams& format, char* buffer, size_t size) {
  const RegionalSettings& current = CurrentRegionalSettings();
  char text[kFormattedTextCapacity];
  if (format.category == kNumFormatUserPattern) {
    FormatNumberToString(number, UserCode(format), text, sizeof text, &current);
  } else if (ShowsNumbersPlain(format.category)) {
    DoubleToText(number, text, sizeof text, &current);
  } else {
    char code[kNumFormatCodeSize];
    if (format.category == kNumFormatPercent) number *= 100;
    if (BuiltCode(format, code, sizeof code)) {
      FormatNumberToString(number, code, text, sizeof text, &current);
    } else {
      DoubleToText(number, text, sizeof text, &current);
    }
  }
  CopyTextCut(buffer, size, text);
}

void FormatTextText(const char* value, const NumFormatParams& format, char* buffer, size_t size) {
  const RegionalSettings& current = CurrentRegionalSettings();
  char text[kFormattedTextCapacity];
  char code[kNumFormatCodeSize];
  if (format.category == kNumFormatUserPattern) {
    FormatTextToString(value, UserCode(format), text, sizeof text, &current);
  } else if (IsDateCategory(format.category) && BuiltCode(format, code, sizeof code)) {
    FormatTextToString(value, code, text, sizeof text, &current);
  } else {
    CopyTextCut(buffer, size, value);
    return;
  }
  CopyTextCut(buffer, size, text);
}

void FormatValue(const CellValue& value, const NumFormatParams& format, char* buffer, size_t size) {
  if (value.error != kErrorNone) {
    CopyTextCut(buffer, size, ErrorName(value.error));
  } else if (value.isText) {
    FormatTextText(value.text, format, buffer, size);
  } else {
    FormatNumberText(value.number, format, buffer, size);
  }
}

// Whether typing the text into a cell of this format gives the value back.
bool ReadsBack(const char* text, const CellValue& value, const NumFormatParams& format) {
  if (text[0] == '=') return false;  // typed, it would be a formula
  NumFormatParams typed = format;
  alignas(8) uint8_t bytes[kCellInputCapacity];
  if (ParseValueInput(text, &typed, 0, 0, bytes, sizeof bytes) == 0) return false;
  const CellRecord* cell = AsCellRecord(bytes);
  if (value.isText) {
    return cell->IsText() && cell->ErrorCode() == kErrorNone && cell->TextLength() == value.textLength &&
           std::memcmp(cell->Text(), value.text, value.textLength) == 0;
  }
  // Editing and entering again must not change the number, not even in its
  // last bits.
  return cell->IsNumber() && cell->ErrorCode() == kErrorNone && cell->Number() == value.number;
}

}  // namespace

bool FormatCellDisplayText(const CellRecord& cell, const NumFormatParams& format, char* buffer, size_t size) {
  CellValue value;
  ReadValue(cell, &value);
  FormatValue(value, format, buffer, size);
  return true;
}

bool FormatNumberDisplayText(double number, uint8_t error, const NumFormatParams& format, char* buffer,
                             size_t size) {
  CellValue value;
  value.error = error;
  value.number = number;
  FormatValue(value, format, buffer, size);
  return true;
}

bool FormatCellValueText(const CellRecord& cell, const NumFormatParams& format, char* buffer, size_t size) {
  CellValue value;
  ReadValue(cell, &value);
  char shown[kCellTextCapacity];
  FormatValue(value, format, shown, sizeof shown);
  if (value.error == kErrorNone && !ReadsBack(shown, value, format)) {
    if (value.isText) {
      CopyTextCut(shown, sizeof shown, value.text);
    } else {
      DoubleToExactText(value.number, shown, sizeof shown, &CurrentRegionalSettings());
    }
  }
  CopyTextCut(buffer, size, shown);
  return true;
}

size_t FormulaDisplayText(EvalState& translator, const CellRecord& cell, char* buffer, size_t size) {
  if (size == 0) return 0;
  if (!cell.IsFormula()) {
    buffer[0] = '\0';
    return 0;
  }
  char formula[kFormulaTextCapacity + 1];
  const size_t length = cell.FormulaLength() < kFormulaTextCapacity ? cell.FormulaLength() : kFormulaTextCapacity;
  std::memcpy(formula, cell.FormulaText(), length);
  formula[length] = '\0';
  // A formula cut to fit would be translated wrongly; it is shown as stored.
  if (length == cell.FormulaLength() && FormulaDisplayFormDiffers())
    translator.TranslateFormula(formula, sizeof formula, cell.Column(), cell.Row(), false);
  CopyTextCut(buffer, size, formula);
  return std::strlen(buffer);
}

bool FormatCellForDisplay(EvalState& translator, bool showFormulas, const CellRecord& cell,
                          const NumFormatParams& format, NumberFormat* out) {
  const RegionalSettings& current = CurrentRegionalSettings();
  CellValue value;
  if (showFormulas && cell.IsFormula()) {
    char formula[kFormulaTextCapacity + 1];
    const size_t length = FormulaDisplayText(translator, cell, formula, sizeof formula);
    TakeText(formula, length, &value);
  } else {
    ReadValue(cell, &value);
  }

  char code[kNumFormatCodeSize];
  const bool userPattern = format.category == kNumFormatUserPattern;
  const bool built = !userPattern && BuiltCode(format, code, sizeof code);
  const char* ownCode = userPattern ? UserCode(format) : code;
  if (value.error != kErrorNone) {
    out->Clear();
    out->AddString(ErrorName(value.error), 0);
  } else if (!value.isText) {
    double number = value.number;
    bool shown = false;
    if (userPattern) {
      shown = out->FormatNumber(number, ownCode, &current);
    } else if (!ShowsNumbersPlain(format.category) && built) {
      if (format.category == kNumFormatPercent) number *= 100;
      shown = out->FormatNumber(number, ownCode, &current);
    }
    if (!shown) out->FormatNumber(number, "", &current);  // the general form
  } else {
    const bool throughCode = userPattern || (IsDateCategory(format.category) && built);
    if (!throughCode || !out->FormatText(value.text, ownCode, &current)) {
      out->Clear();
      out->AddString(value.text, 0);
    }
  }
  return out->overflow == 0;
}
