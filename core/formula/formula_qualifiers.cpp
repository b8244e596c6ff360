#include "core/formula/formula_qualifiers.h"

#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"

namespace {

// The qualifier as the sheet operator reads it: blanks around it cut.
std::string TrimmedQualifier(const char* text, size_t length) {
  while (length > 0 && IsFormulaBlank(*text)) {
    ++text;
    --length;
  }
  while (length > 0 && IsFormulaBlank(text[length - 1])) --length;
  return std::string(text, length);
}

}  // namespace

std::vector<FormulaQualifier> SheetQualifiersOf(EvalState& state, const char* formula) {
  std::vector<FormulaQualifier> found;
  if (formula[0] != '=' && formula[0] != '+') return found;
  state.ResetForFormula(0, 0);
  const char* p = formula + 1;
  uint32_t previous = kEvalInvalid;
  FormulaQualifier last{0, 0, std::string()};
  for (;;) {
    const char* start = SkipFormulaBlanks(p);
    EvalValue token;
    const uint32_t kind = state.NextToken(&p, &token, true);
    if (kind == kEvalEnd || kind == kEvalInvalid || p == start) break;
    if (kind == kEvalText) {
      last = FormulaQualifier{uint16_t(start - formula), uint16_t(p - formula),
                              TrimmedQualifier(state.strings.Top(), state.strings.TopLength())};
      state.strings.Pop();
    } else if (kind == kEvalArray) {
      if (CellBlock* chain = state.arrays.PopChain()) state.arrays.ReleaseChain(chain);
    }
    if (kind == kOpSheet && previous == kEvalText && !last.text.empty() && last.text[0] != '[')
      found.push_back(last);
    previous = kind;
  }
  state.ResetForFormula(0, 0);
  state.status = 0;
  return found;
}
