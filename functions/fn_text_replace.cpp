#include <cstring>

#include "core/base/bounded_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_text.h"
#include "functions/wildcard_match.h"

namespace {

constexpr int32_t kIntMax = 2147483647;
constexpr int32_t kIntMin = -2147483647;
// Texts these functions build are bounded like joined texts.
constexpr size_t kResultCapacity = EvalState::kJoinedTextCapacity;

uint8_t Larger(uint8_t a, uint8_t b) { return a > b ? a : b; }

void SetBuiltText(EvalState& state, BoundedText& result, uint8_t error) {
  if (error == kErrorNone && result.Overflowed()) error = kErrorValue;
  SetTextOrError(state, result.Text(), result.Length(), error);
}

}  // namespace

void FnReplace(EvalState& state) {
  if (!BeginElementCall(state, 4)) return;
  char oldText[kArgTextCapacity] = "";
  char newText[kArgTextCapacity] = "";
  // An empty start position keeps 0, which is no character of the text.
  int32_t start = 0;
  int32_t count = 0;
  uint8_t error = GetArgText(state, ArgSlot(state, 3), newText);
  error = Larger(error, GetArgInt(state, ArgSlot(state, 2), &count, 0, kIntMax));
  error = Larger(error, GetArgInt(state, ArgSlot(state, 1), &start, kIntMin, kIntMax));
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), oldText));
  const size_t length = std::strlen(oldText);
  if (error == kErrorNone && (start < 1 || static_cast<size_t>(start) > length)) error = kErrorValue;
  char buffer[kResultCapacity + 1];
  BoundedText result(buffer, sizeof buffer);
  if (error == kErrorNone) {
    const size_t before = static_cast<size_t>(start) - 1;
    const size_t resume = static_cast<size_t>(count) < length - before ? before + count : length;
    result.Append(oldText, before);
    result.Append(newText);
    result.Append(oldText + resume, length - resume);
  }
  SetBuiltText(state, result, error);
}

void FnRept(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char text[kArgTextCapacity] = "";
  int32_t n = 0;
  uint8_t error = GetArgInt(state, ArgSlot(state, 1), &n, 0, kIntMax);
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), text));
  const size_t length = std::strlen(text);
  char buffer[kResultCapacity + 1];
  BoundedText result(buffer, sizeof buffer);
  if (error == kErrorNone && uint64_t(length) * uint64_t(n) > kResultCapacity) error = kErrorValue;
  if (error == kErrorNone && length > 0)
    for (int32_t i = 0; i < n; ++i) result.Append(text, length);
  SetBuiltText(state, result, error);
}

// Occurrences are found as patterns ("*", "?", "~" as in SEARCH), letter
// case aside; each replaced or skipped occurrence is exactly the characters
// its pattern matched, so that "~" escapes and wildcards neither cut into
// nor reach past the text.
void FnSubstitute(EvalState& state) {
  if (!BeginElementCall(state, 4)) return;
  char text[kArgTextCapacity] = "";
  char search[kArgTextCapacity] = "";
  char replacement[kArgTextCapacity] = "";
  int32_t instance = 0;
  uint8_t error = GetArgInt(state, ArgSlot(state, 3), &instance, 0, kIntMax);
  error = Larger(error, GetArgText(state, ArgSlot(state, 2), replacement));
  error = Larger(error, GetArgText(state, ArgSlot(state, 1), search));
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), text));
  char buffer[kResultCapacity + 1];
  BoundedText result(buffer, sizeof buffer);
  if (error == kErrorNone) {
    const size_t length = std::strlen(text);
    const size_t replacementLength = std::strlen(replacement);
    size_t position = 0;
    int32_t counter = 0;
    while (position < length && !result.Overflowed()) {
      int32_t end = 0;
      const int32_t found = WildcardMatch(search, text + position, nullptr, &end);
      // A match takes at least one character; only "*" alone could take
      // none, and it takes the whole rest.
      if (found < 0 || end <= found) break;
      ++counter;
      result.Append(text + position, static_cast<size_t>(found));
      if (instance == 0 || instance == counter)
        result.Append(replacement, replacementLength);
      else
        result.Append(text + position + found, static_cast<size_t>(end - found));
      position += static_cast<size_t>(end);
    }
    result.Append(text + position, length - position);
  }
  SetBuiltText(state, result, error);
}
