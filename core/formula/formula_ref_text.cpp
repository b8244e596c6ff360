#include "core/formula/formula_ref_text.h"

#include <cstring>

#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_literal_print.h"
#include "core/formula/formula_scanner.h"

namespace {

// Digit runs longer than any grid coordinate saturate here, so that no
// count can wrap; the corner is outside the grid either way.
constexpr uint32_t kSaturatedNumber = 99999999;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EndsReference(char c) { return !(IsFormulaLetter(c) || IsFormulaDigit(c) || c == '('); }

const char* ReadSaturated(const char* p, uint32_t* number) {
  uint32_t n = 0;
  for (; IsFormulaDigit(*p); ++p) {
    n = n * 10 + static_cast<uint32_t>(*p - '0');
    if (n > kSaturatedNumber) n = kSaturatedNumber;
  }
  *number = n;
  return p;
}

// One "R..." or "C..." part after its letter: nothing (the own row or
// column), an absolute 1-based number, or "[n]" / "[-n]". A relative part
// keeps its distance in *value until it is resolved. Null when the brackets
// are malformed, which makes the whole text no reference.
const char* ReadR1C1Part(const char* p, uint32_t limit, int32_t* value, uint32_t* flags, bool* bare,
                         uint32_t relativeFlag, uint32_t negativeFlag) {
  if (*p == '[') {
    ++p;
    const bool negative = *p == '-';
    if (negative) ++p;
    if (!IsFormulaDigit(*p)) return nullptr;
    uint32_t distance = 0;
    p = ReadSaturated(p, &distance);
    if (*p != ']') return nullptr;
    ++p;
    *flags |= relativeFlag | (negative && distance != 0 ? negativeFlag : 0);
    *value = negative ? -int32_t(distance) : int32_t(distance);
    return p;
  }
  if (IsFormulaDigit(*p)) {
    uint32_t number = 0;
    p = ReadSaturated(p, &number);
    if (number == 0 || number > limit) *flags |= kRefOutsideGrid;
    *value = static_cast<int32_t>(number - 1);
    return p;
  }
  // The own row or column itself, which lies on the grid without a test.
  *flags |= relativeFlag;
  *value = 0;
  *bare = true;
  return p;
}

uint32_t ReadR1C1Corner(const char* position, uint32_t baseColumn, uint32_t baseRow, RefCorner* corner,
                        const char** end) {
  R1C1Corner written;
  const uint32_t flags = ::ScanR1C1Corner(position, &written, end);
  if (flags) *corner = ResolveR1C1Corner(written, baseColumn, baseRow);
  return flags;
}

void AppendColumnLetters(BoundedText& out, uint32_t column) {
  char letters[8];
  int count = 0;
  for (uint32_t n = column + 1; n > 0 && count < 8; n = (n - 1) / 26)
    letters[count++] = static_cast<char>('A' + (n - 1) % 26);
  while (count > 0) out.Put(letters[--count]);
}

void AppendDecimal(BoundedText& out, int64_t value) {
  char digits[24];
  int count = 0;
  uint64_t magnitude = value < 0 ? uint64_t(-value) : uint64_t(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) out.Put('-');
  while (count > 0) out.Put(digits[--count]);
}

void AppendR1C1Part(BoundedText& out, char letter, uint32_t value, uint32_t base, bool relative) {
  out.Put(letter);
  if (relative) {
    const int32_t distance = static_cast<int32_t>(value - base);
    if (distance != 0) {
      out.Put('[');
      AppendDecimal(out, distance);
      out.Put(']');
    }
  } else {
    AppendDecimal(out, static_cast<uint32_t>(value + 1));
  }
}

bool SameCell(const RefCorner& a, const RefCorner& b) {
  return IsFullCell(a) && IsFullCell(b) && a.column == b.column && a.row == b.row;
}

}  // namespace

uint32_t ParseA1Reference(const char* position, RefCorner* corner, const char** end) {
  const char* p = position;
  uint32_t flags = 0;
  uint32_t column = 0;
  uint32_t row = 0;

  const bool absoluteColumn = p[0] == '$' && IsFormulaLetter(p[1]);
  const char* q = p + (absoluteColumn ? 1 : 0);
  if (IsFormulaLetter(*q)) {
    uint32_t number = 0;
    while (IsFormulaLetter(*q)) {
      number = number * 26 + static_cast<uint32_t>(Upper(*q) - 'A' + 1);
      ++q;
      if (number > kColumnCount) {
        flags |= kRefOutsideGrid;
        break;
      }
    }
    column = number - 1;
    flags |= kRefHasColumn | (absoluteColumn ? 0 : kRefColumnRelative);
    p = q;
  }

  const bool absoluteRow = p[0] == '$' && IsFormulaDigit(p[1]);
  q = p + (absoluteRow ? 1 : 0);
  if (IsFormulaDigit(*q)) {
    uint32_t number = 0;
    while (IsFormulaDigit(*q)) {
      number = number * 10 + static_cast<uint32_t>(*q - '0');
      ++q;
      if (number > kRowCount) {
        flags |= kRefOutsideGrid;
        break;
      }
    }
    if (number == 0) flags |= kRefOutsideGrid;
    row = number - 1;
    flags |= kRefHasRow | (absoluteRow ? 0 : kRefRowRelative);
    p = q;
  }

  if (!(flags & kRefCell) || !EndsReference(*p)) return 0;
  *corner = RefCorner{column, row, flags};
  *end = p;
  return flags;
}

uint32_t ScanR1C1Corner(const char* position, R1C1Corner* written, const char** end) {
  const char* p = position;
  uint32_t flags = 0;
  int32_t column = 0;
  int32_t row = 0;
  bool bareColumn = false;
  bool bareRow = false;
  for (int part = 0; part < 2; ++part) {
    const char letter = Upper(*p);
    if (letter == 'R' && !(flags & kRefHasRow)) {
      flags |= kRefHasRow;
      p = ReadR1C1Part(p + 1, kRowCount, &row, &flags, &bareRow, kRefRowRelative, kRefRowNegative);
    } else if (letter == 'C' && !(flags & kRefHasColumn)) {
      flags |= kRefHasColumn;
      p = ReadR1C1Part(p + 1, kColumnCount, &column, &flags, &bareColumn, kRefColumnRelative, kRefColumnNegative);
    } else {
      break;
    }
    if (!p) return 0;
  }
  if (!(flags & kRefCell) || !EndsReference(*p)) return 0;
  *written = R1C1Corner{column, row, flags, static_cast<uint8_t>((bareColumn ? 1 : 0) | (bareRow ? 2 : 0))};
  *end = p;
  return flags;
}

uint32_t ParseR1C1Reference(const EvalState& state, const char* position, RefCorner* corner,
                            const char** end) {
  return ReadR1C1Corner(position, state.column, state.row, corner, end);
}

bool FormatA1Reference(BoundedText& out, const RefCorner& corner) {
  if (corner.flags & kRefHasColumn) {
    if (!(corner.flags & kRefColumnRelative)) out.Put('$');
    if (corner.column >= kColumnCount)
      out.Put('?');
    else
      AppendColumnLetters(out, corner.column);
  }
  if (corner.flags & kRefHasRow) {
    if (!(corner.flags & kRefRowRelative)) out.Put('$');
    if (corner.row >= kRowCount)
      out.Put('?');
    else
      AppendDecimal(out, corner.row + 1);
  }
  return !out.Overflowed();
}

bool FormatR1C1Reference(const EvalState& state, BoundedText& out, const RefCorner& corner) {
  if (corner.flags & kRefHasRow)
    AppendR1C1Part(out, 'R', corner.row, state.row, (corner.flags & kRefRowRelative) != 0);
  if (corner.flags & kRefHasColumn)
    AppendR1C1Part(out, 'C', corner.column, state.column,
                   (corner.flags & kRefColumnRelative) != 0);
  return !out.Overflowed();
}

bool FormatFormulaRef(const EvalState& state, const char* fileName, const char* sheetText,
                      const EvalValue& range, BoundedText& out, bool storedForm, bool isRange) {
  const RefCorner& first = range.first;
  const RefCorner& second = range.second;
  if (first.flags == 0) return true;

  char referenceBuffer[kFormulaTextCapacity + 1];
  BoundedText reference(referenceBuffer, sizeof referenceBuffer);
  const bool a1 = FormUsesA1(storedForm);
  bool oneCorner;
  if (a1) {
    oneCorner = SameCell(first, second) && !isRange;
  } else if (isRange && IsFullCell(first)) {
    oneCorner = false;
  } else {
    oneCorner = (!(first.flags & kRefHasColumn) || first.column == second.column) &&
                (!(first.flags & kRefHasRow) || first.row == second.row);
  }
  const auto formatCorner = [&](const RefCorner& corner) {
    return a1 ? FormatA1Reference(reference, corner)
              : FormatR1C1Reference(state, reference, corner);
  };
  formatCorner(first);
  if (!oneCorner) {
    reference.Put(':');
    formatCorner(second);
  }
  if (reference.Overflowed()) return false;

  if (!sheetText || !sheetText[0]) return out.Append(reference.Text(), reference.Length());

  char qualifierBuffer[kQualifiedRefCapacity];
  BoundedText qualifier(qualifierBuffer, sizeof qualifierBuffer);
  if (fileName && fileName[0]) {
    qualifier.Put('[');
    qualifier.Append(fileName);
    qualifier.Put(']');
  }
  qualifier.Append(sheetText);
  // A qualifier that does not fit is refused rather than dropped: the bare
  // reference would point into the wrong worksheet.
  if (qualifier.Overflowed() ||
      qualifier.Length() + reference.Length() + 3 >= kQualifiedRefCapacity)
    return false;
  if (NeedsQuotes(qualifier.Text())) {
    if (!AppendQuotedText(out, qualifier.Text())) return false;
  } else {
    out.Append(qualifier.Text(), qualifier.Length());
  }
  out.Put('!');
  out.Append(reference.Text(), reference.Length());
  return !out.Overflowed();
}

bool NeedsQuotes(const char* text) {
  if (!text[0]) return false;
  // "_" cannot open a name: the scanner reads it as the intersection operator.
  if (!IsFormulaLetter(text[0]) && text[0] != '\\') return true;
  for (const char* p = text + 1; *p; ++p)
    if (!IsNameChar(*p)) return true;
  // Names such as "B3", "RC2" or "True" would read back as something else.
  RefCorner corner;
  const char* end;
  double value;
  return ParseA1Reference(text, &corner, &end) != 0 ||
         ReadR1C1Corner(text, 0, 0, &corner, &end) != 0 || ParseBoolLiteral(text, &value, &end);
}
