#include "core/formula/formula_qualifiers.h"

#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"

std::vector<std::string> SheetQualifiersOf(EvalState& state, const char* formula) {
  std::vector<std::string> found;
  if (formula[0] != '=' && formula[0] != '+') return found;
  state.ResetForFormula(0, 0);
  const char* p = formula + 1;
  uint32_t previous = kEvalInvalid;
  std::string last;
  for (;;) {
    const char* start = SkipFormulaBlanks(p);
    EvalValue token;
    const uint32_t kind = state.NextToken(&p, &token, true);
    if (kind == kEvalEnd || kind == kEvalInvalid || p == start) break;
    if (kind == kEvalText) {
      const char* text = state.strings.Top();
      size_t length = state.strings.TopLength();
      while (length > 0 && IsFormulaBlank(*text)) {
        ++text;
        --length;
      }
      while (length > 0 && IsFormulaBlank(text[length - 1])) --length;
      last.assign(text, length);
      state.strings.Pop();
    } else if (kind == kEvalArray) {
      if (CellBlock* chain = state.arrays.PopChain()) state.arrays.ReleaseChain(chain);
    }
    if (kind == kOpSheet && previous == kEvalText && !last.empty() && last[0] != '[') found.push_back(last);
    previous = kind;
  }
  state.ResetForFormula(0, 0);
  state.status = 0;
  return found;
}
