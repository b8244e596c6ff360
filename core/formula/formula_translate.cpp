#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/builtin_function_table.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_array_constant.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_literal_print.h"
#include "core/formula/formula_operator_char.h"
#include "core/formula/formula_ref_text.h"

namespace {

constexpr size_t kNoQualifier = static_cast<size_t>(-1);

bool NextToColon(const char* after, uint32_t previousKind) {
  return previousKind == kOpRange || *SkipFormulaBlanks(after) == ':';
}

}  // namespace

bool EvalState::TranslateFormula(char* text, size_t capacity, uint32_t ownColumn, uint32_t ownRow,
                                 bool toStored) {
  qualifiedRefTooLong = false;
  if (!text || (text[0] != '=' && text[0] != '+')) return false;
  const bool sourceStored = !toStored;
  const bool sourceA1 = FormUsesA1(sourceStored);
  const bool targetA1 = FormUsesA1(toStored);
  const RegionalSettings& target = FormSeparators(toStored);
  const RegionalSettings& sourceSeparators = FormSeparators(sourceStored);

  char buffer[kFormulaTextCapacity + 1];
  BoundedText out(buffer, sizeof buffer);
  out.Put('=');
  ResetForFormula(ownColumn, ownRow);

  const char* p = text + 1;
  uint32_t previous = kEvalInvalid;
  size_t lastTextStart = kNoQualifier;
  size_t qualifierStart = kNoQualifier;
  bool inQualifiedRef = false;
  for (;;) {
    while (IsFormulaBlank(*p)) out.Put(*p++);
    const char* start = p;
    EvalValue token;
    uint32_t kind = kEvalInvalid;

    // Typed A1 text: "B" or "$3" alone is refused, but beside ":" it is a
    // whole column or row ("A:C", "1:3", where "1" alone is a number).
    RefCorner corner;
    const char* end = nullptr;
    const uint32_t single = OneCharacterToken(*p, sourceSeparators);
    const uint32_t a1Flags = sourceA1 && single == kEvalInvalid ? ParseA1Reference(p, &corner, &end) : 0;
    uint16_t function = 0;
    if (*p == '\0') {
      kind = kEvalEnd;
    } else if (single != kEvalInvalid) {
      kind = single;
      ++p;
    } else if (a1Flags && (IsFullCell(corner) || NextToColon(end, previous))) {
      token.Clear();
      token.kind = kind = kEvalCellRef;
      token.cell = corner;
      p = end;
    } else if (sourceA1 && !a1Flags && IsFormulaLetter(*p) && FindBuiltinFunction(p, &function, &end)) {
      // What the scanner makes of a letter that starts no reference, first.
      kind = kEvalFunctionCall;
      p = end;
    } else {
      kind = NextToken(&p, &token, sourceStored);
      if (kind == kEvalCellRef && sourceA1) return false;
    }

    if (kind == kEvalEnd) break;
    if (kind == kEvalInvalid) {
      // Evaluation will report "#SYNTAX!"; the text is kept as typed.
      out.Append(start);
      break;
    }
    if (p == start) return false;  // a lone "$" or "#" would never end

    switch (kind) {
      case kEvalCellRef: {
        const bool qualified = (previous == kOpSheet && qualifierStart != kNoQualifier) ||
                               (previous == kOpRange && inQualifiedRef);
        if (!qualified) qualifierStart = kNoQualifier;
        if (targetA1) {
          FormatA1Reference(out, token.cell);
          if (!IsFullCell(token.cell) && !NextToColon(p, previous)) {
            out.Put(':');
            FormatA1Reference(out, token.cell);
          }
        } else {
          FormatR1C1Reference(*this, out, token.cell);
        }
        // Like every qualified reference, one written here stays below the
        // limit; a longer one would not find its worksheet again.
        if (qualified && out.Length() - qualifierStart >= kQualifiedRefCapacity) {
          qualifiedRefTooLong = true;
          return false;
        }
        inQualifiedRef = qualified;
        break;
      }
      case kEvalNumber:
        if (token.error != kErrorNone)
          out.Append(ErrorName(static_cast<uint8_t>(token.error)));
        else
          AppendFormulaNumber(out, token.number, toStored);
        break;
      case kEvalText: {
        lastTextStart = out.Length();
        const bool written = AppendQuotedText(out, strings.Top());
        strings.Pop();
        if (!written) return false;
        break;
      }
      case kEvalListSeparator:
        out.Put(target.listSeparator);
        break;
      case kEvalArray: {
        CellBlock* chain = arrays.PopChain();
        const bool written =
            FormatArrayConstant(chain, token.second.column + 1, token.second.row + 1, out, toStored);
        arrays.ReleaseChain(chain);
        if (!written) return false;
        break;
      }
      case kEvalEmpty:  // a text or an array that could not be kept
        return false;
      default:  // operators, parentheses and function names as typed
        if (kind == kOpSheet) qualifierStart = previous == kEvalText ? lastTextStart : kNoQualifier;
        out.Append(start, static_cast<size_t>(p - start));
        break;
    }
    if (kind != kEvalCellRef && kind != kOpRange) inQualifiedRef = false;
    if (out.Overflowed()) return false;
    previous = kind;
  }

  if (out.Overflowed() || out.Length() >= capacity) return false;
  std::memcpy(text, out.Text(), out.Length() + 1);
  return true;
}
