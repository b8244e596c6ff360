#include "core/formula/formula_form_lengths.h"

#include <cstring>
#include <initializer_list>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

// A1 addressing for one measurement, the option put back after it; one
// thread runs all work, so nothing else sees it meanwhile.
class A1Addressing {
 public:
  A1Addressing() : saved_(AddressingA1) { AddressingA1 = 1; }
  ~A1Addressing() { AddressingA1 = saved_; }
  A1Addressing(const A1Addressing&) = delete;
  A1Addressing& operator=(const A1Addressing&) = delete;

 private:
  uint8_t saved_;
};

}  // namespace

size_t LongestFormulaForm(EvalState& translator, const char* stored, size_t length, uint32_t column,
                          uint32_t row) {
  if (length > kFormulaTextCapacity || length == 0 || (stored[0] != '=' && stored[0] != '+')) return length;
  // The R1C1 display form, and what typing it back stores, is the stored
  // text the A1 one types back as, but for the lone whole columns and rows
  // that A1 shows and takes back as ranges: it is never the longest.
  const A1Addressing addressing;
  char text[kFormulaTextCapacity + 1];
  std::memcpy(text, stored, length);
  text[length] = '\0';
  size_t longest = length;
  for (const bool toStored : {false, true}) {
    if (!translator.TranslateFormula(text, sizeof text, column, row, toStored)) return kFormulaTextCapacity + 1;
    const size_t written = std::strlen(text);
    if (written > longest) longest = written;
  }
  return longest;
}
