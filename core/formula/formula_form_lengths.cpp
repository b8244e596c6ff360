#include "core/formula/formula_form_lengths.h"

#include <cstring>
#include <initializer_list>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

// The addressing option for one measurement, put back after it; one thread
// runs all work, so nothing else sees it meanwhile.
class AddressingFor {
 public:
  explicit AddressingFor(bool a1) : saved_(AddressingA1) { AddressingA1 = a1 ? 1 : 0; }
  ~AddressingFor() { AddressingA1 = saved_; }
  AddressingFor(const AddressingFor&) = delete;
  AddressingFor& operator=(const AddressingFor&) = delete;

 private:
  uint8_t saved_;
};

}  // namespace

size_t LongestFormulaForm(EvalState& translator, const char* stored, size_t length, uint32_t column,
                          uint32_t row) {
  if (length > kFormulaTextCapacity || length == 0 || (stored[0] != '=' && stored[0] != '+')) return length;
  size_t longest = length;
  for (const bool a1 : {true, false}) {
    const AddressingFor addressing(a1);
    char text[kFormulaTextCapacity + 1];
    std::memcpy(text, stored, length);
    text[length] = '\0';
    for (const bool toStored : {false, true}) {
      if (!translator.TranslateFormula(text, sizeof text, column, row, toStored)) return kFormulaTextCapacity + 1;
      const size_t written = std::strlen(text);
      if (written > longest) longest = written;
    }
  }
  return longest;
}
