#include "dialogs/composer/composer_state.h"

#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/base/text_compare.h"

namespace {

const FunctionCatalogEntry& CurrentEntry(const ComposerState& state) {
  return kFunctionCatalog[state.currentFunction < kFunctionCatalogCount ? state.currentFunction : 0];
}

// The declared argument's name, or "v1", "v2" ... beyond them.
const char* ParameterName(const FunctionCatalogEntry& entry, uint8_t parameter, char* scratch, size_t size) {
  if (parameter >= entry.argumentCount) {
    std::snprintf(scratch, size, "v%d", parameter - entry.argumentCount + 1);
    return scratch;
  }
  const char* name = entry.argumentNames;
  for (uint8_t i = 0; i < parameter; ++i) name += std::strlen(name) + 1;
  return name;
}

// A call's text, "=name(" then the parts separated by ", " and ")". A part
// goes in only while the text, with room for what follows it, stays below
// kComposerTextCapacity characters.
class CallText {
 public:
  CallText(const char* name, char* out, size_t size) : text_(out, size) {
    text_.Put('=').Put(name).Put('(');
  }
  void AddPart(uint8_t index, const char* part, size_t room, bool current) {
    const size_t length = std::strlen(part);
    if (length + text_.Length() + room >= kComposerTextCapacity) return;
    if (index > 0) text_.Put(", ");
    if (current) highlight_.start = text_.Length();
    text_.Put(part);
    if (current) highlight_.end = text_.Length();
  }
  ComposerHighlight Close() {
    if (text_.Length() + 1 < kComposerTextCapacity) text_.Put(')');
    return highlight_;
  }

 private:
  BoundedText text_;
  ComposerHighlight highlight_ = {0, 0};
};

}  // namespace

void ResetComposerState(ComposerState* state) {
  std::memset(state, 0, sizeof *state);
  state->shownParameters = ParametersShownOnOpening(kFunctionCatalog[0]);
}

uint8_t ParametersShownOnOpening(const FunctionCatalogEntry& entry) {
  return static_cast<uint8_t>(entry.argumentCount + (entry.variadic != 0 ? 1 : 0));
}

uint8_t ParametersShownOnChoice(const FunctionCatalogEntry& entry) {
  return entry.variadic != 0 && entry.argumentCount == 0 ? 1 : entry.argumentCount;
}

void ChooseComposerFunction(ComposerState* state, uint32_t index, uint8_t shownParameters) {
  state->currentFunction = index < kFunctionCatalogCount ? index : 0;
  state->currentParameter = 0;
  state->shownParameters = shownParameters;
  std::memset(state->values, 0, sizeof state->values);
}

uint32_t FirstEntryOfCategory(uint8_t category) {
  if (category >= kFunctionCategoryAll) return 0;
  for (uint32_t i = 0; i < kFunctionCatalogCount; ++i) {
    if (kFunctionCatalog[i].category == category) return i;
  }
  return 0;
}

bool FindCatalogEntry(const char* name, uint32_t* index) {
  const size_t length = std::strlen(name);
  for (uint32_t i = 0; i < kFunctionCatalogCount; ++i) {
    const char* entryName = kFunctionCatalog[i].name;
    if (CompareTextIgnoringCase(name, length, entryName, std::strlen(entryName)) == 0) {
      *index = i;
      return true;
    }
  }
  return false;
}

ComposerStep NextComposerParameter(ComposerState* state) {
  const FunctionCatalogEntry& entry = CurrentEntry(*state);
  const int next = state->currentParameter + 1;
  if (entry.variadic != 0) {
    if (next >= kComposerMaxParameters) return ComposerStep::kRefused;
  } else if (next >= entry.argumentCount) {
    return ComposerStep::kUnchanged;
  }
  state->currentParameter = static_cast<uint8_t>(next);
  if (next >= state->shownParameters) state->shownParameters = static_cast<uint8_t>(next + 1);
  return ComposerStep::kMoved;
}

bool PreviousComposerParameter(ComposerState* state) {
  if (state->currentParameter == 0) return false;
  --state->currentParameter;
  return true;
}

bool ComposerParameterTakesRange(const ComposerState& state) {
  const FunctionCatalogEntry& entry = CurrentEntry(state);
  const uint8_t parameter = state.currentParameter;
  if (parameter >= entry.argumentCount) return false;
  // A kind string shorter than the arguments leaves the rest values.
  return std::strlen(entry.argumentKinds) > parameter && entry.argumentKinds[parameter] == '1';
}

const char* ComposerParameterValue(const ComposerState& state, uint8_t parameter) {
  const char* value = state.values;
  const char* end = state.values + sizeof state.values - 1;
  for (uint8_t i = 0; i < parameter && value < end; ++i) value += std::strlen(value) + 1;
  return value < end ? value : end;
}

void SetComposerParameterValue(ComposerState* state, const char* text) {
  char values[kComposerTextCapacity] = {};
  size_t used = 0;
  for (uint8_t i = 0; i < state->shownParameters && used < kComposerTextCapacity - 1; ++i) {
    const char* value = i == state->currentParameter ? text : ComposerParameterValue(*state, i);
    size_t length = std::strlen(value);
    if (used + length + 4 > kComposerTextCapacity - 1) length = 0;
    std::memcpy(values + used, value, length);
    used += length + 1;
  }
  std::memcpy(state->values, values, sizeof values);
}

ComposerHighlight BuildComposerTemplate(const ComposerState& state, char* out, size_t size) {
  const FunctionCatalogEntry& entry = CurrentEntry(state);
  CallText text(entry.name, out, size);
  for (uint8_t i = 0; i < state.shownParameters; ++i) {
    char scratch[8];
    text.AddPart(i, ParameterName(entry, i, scratch, sizeof scratch), 2, i == state.currentParameter);
  }
  return text.Close();
}

ComposerHighlight BuildComposerFormula(const ComposerState& state, char* out, size_t size) {
  CallText text(CurrentEntry(state).name, out, size);
  for (uint8_t i = 0; i < state.shownParameters; ++i)
    text.AddPart(i, ComposerParameterValue(state, i), 4, i == state.currentParameter);
  return text.Close();
}

const char* ComposerFormulaForBar(const char* formula, bool barEmpty, long selectionStart) {
  if (barEmpty || selectionStart <= 0 || formula[0] != '=') return formula;
  return formula + 1;
}
