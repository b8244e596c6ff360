#include "core/numfmt/date_style_codes.h"

#include <cstring>

#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/regional_settings.h"

namespace {

// Everything BuildFormatCode reads for these categories.
struct StyleKey {
  uint8_t category;
  uint8_t dateStyle;
  uint8_t timeStyle;
  uint8_t useLocaleOrder;
  uint8_t timeFirst;
  uint8_t shortDateOrder;
  uint8_t longDateOrder;
  uint8_t spare;
};

bool SameKey(const StyleKey& a, const StyleKey& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Direct-mapped; a slot holds the last of the codes that fall into it.
constexpr uint32_t kStyleSlots = 128;

struct StyleSlot {
  uint8_t filled;
  StyleKey key;
  DateStyleCode code;
};

// The styles tried for one text (each date style, each time style, and for
// a date/time cell each of both with the other part first) fall into
// distinct slots for every combination of the order flag and date orders.
uint32_t SlotOf(const StyleKey& key) {
  const uint32_t mixed = key.category * 11u + key.dateStyle + key.timeStyle + key.timeFirst * 11u +
                         key.useLocaleOrder * 71u + key.shortDateOrder * 37u + key.longDateOrder * 41u;
  return mixed % kStyleSlots;
}

// Fields read as digit runs; names, literals and separators are not.
bool ReadsNumber(const FormatToken& token) {
  const uint32_t kind = token.kind & ~kTokenElapsed;
  const bool elapsed = (token.kind & kTokenElapsed) != 0;
  switch (kind) {
    case kTokenYear:
    case kTokenHour:
    case kTokenMinute:
    case kTokenSecond:
      return true;
    case kTokenMonth:
      return token.character <= 2;
    case kTokenDay:
      return elapsed || token.character <= 2;
    default:
      return false;
  }
}

void CompileStyle(const StyleKey& key, const DateTimeFormatOptions& options, DateStyleCode* code) {
  std::memset(code, 0, sizeof *code);
  NumFormatOptions all;
  std::memset(&all, 0, sizeof all);
  all.dateTime = options;
  char text[kNumFormatCodeSize];
  // Static for its size alone (over 8 KB of tokens): compiled afresh here,
  // it carries nothing from one call to the next.
  static NumberFormat compiled;
  if (!BuildFormatCode(key.category, all, text, sizeof text, nullptr) || !compiled.Compile(text, nullptr) ||
      compiled.sectionCount == 0)
    return;
  const FormatSection& first = compiled.sections[0];
  code->compiled = 1;
  code->kinds = first.kinds;
  code->tokenCount = first.tokenCount;
  if (first.tokenCount > kMaxDateStyleTokens) return;
  code->kept = 1;
  std::memcpy(code->tokens, &compiled.tokens[first.firstToken], first.tokenCount * sizeof(FormatToken));
  if (first.tokenCount > 0) code->firstNeedsDigit = ReadsNumber(code->tokens[0]) ? 1 : 0;
}

}  // namespace

const DateStyleCode& CompiledDateStyle(uint8_t category, const DateTimeFormatOptions& options) {
  // Process-wide, with no owner to invalidate it: the key holds everything
  // the code depends on (the options, and the current regional settings'
  // date orders; the separators are the generic ones), so a change of
  // region only selects other slots.
  static StyleSlot slots[kStyleSlots];
  const RegionalSettings& current = CurrentRegionalSettings();
  StyleKey key{};
  key.category = category;
  key.dateStyle = options.dateStyle;
  key.timeStyle = options.timeStyle;
  key.useLocaleOrder = options.useLocaleOrder;
  key.timeFirst = options.timeFirst;
  key.shortDateOrder = current.shortDateOrder;
  key.longDateOrder = current.longDateOrder;
  StyleSlot& slot = slots[SlotOf(key)];
  if (!slot.filled || !SameKey(slot.key, key)) {
    CompileStyle(key, options, &slot.code);
    slot.key = key;
    slot.filled = 1;
  }
  return slot.code;
}
