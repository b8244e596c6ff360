#include "core/formula/scanned_formula_cache.h"

#include <cstring>

#include "core/cells/block_store.h"
#include "core/eval/run_numbers_program.h"
#include "core/formula/eval_state.h"
#include "core/formula/eval_value.h"

struct ScannedFormulaCache::Entry {
  ScannedFormula formula;
  // The text and the tokens follow in the same allocation.
};

namespace {

// Texts met once are noted in a table this many times as large as that of
// the entries, since most of them are never met again.
constexpr uint32_t kSeenPerSlot = 4;

// Steps of a kept formula's parse at most: one per token of a formula text
// of the longest a cell holds, its end included.
constexpr uint32_t kProgramCapacity = kFormulaTextCapacity + 1;

static_assert((ScannedFormulaCache::kSlotCount & (ScannedFormulaCache::kSlotCount - 1)) == 0 &&
                  (ScannedFormulaCache::kFirstSlotCount & (ScannedFormulaCache::kFirstSlotCount - 1)) == 0,
              "slot counts are powers of two");

size_t AlignedSize(size_t size) { return (size + alignof(ScannedToken) - 1) & ~(alignof(ScannedToken) - 1); }

bool Matches(const ScannedFormula& formula, uint32_t hash, const char* text, size_t length) {
  return formula.hash == hash && formula.textLength == length && SameFormulaBytes(formula.text, text, length);
}

}  // namespace

void ScannedFormulaCache::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) Drop();
}

void ScannedFormulaCache::DropEntries() {
  for (uint32_t i = 0; i < slotCount_; ++i) {
    FreeStorePage(slots_[i]);
    slots_[i] = nullptr;
  }
  entryCount_ = 0;
  bytesUsed_ = 0;
  for (const ScannedFormula*& recent : recent_) recent = nullptr;
}

void ScannedFormulaCache::Drop() {
  DropEntries();
  FreeStorePage(slots_);
  FreeStorePage(seen_);
  slots_ = nullptr;
  seen_ = nullptr;
  slotCount_ = 0;
}

bool ScannedFormulaCache::Resize(uint32_t slotCount) {
  Entry** slots = static_cast<Entry**>(AllocateStorePage(slotCount * sizeof *slots));
  uint32_t* seen = static_cast<uint32_t*>(AllocateStorePage(kSeenPerSlot * slotCount * sizeof *seen));
  if (!slots || !seen) {
    FreeStorePage(slots);
    FreeStorePage(seen);
    return false;
  }
  std::memset(slots, 0, slotCount * sizeof *slots);
  std::memset(seen, 0, kSeenPerSlot * slotCount * sizeof *seen);
  const uint32_t mask = slotCount - 1;
  for (uint32_t i = 0; i < slotCount_; ++i) {
    if (!slots_[i]) continue;
    uint32_t slot = slots_[i]->formula.hash & mask;
    while (slots[slot]) slot = (slot + 1) & mask;
    slots[slot] = slots_[i];
  }
  FreeStorePage(slots_);
  FreeStorePage(seen_);
  slots_ = slots;
  seen_ = seen;
  slotCount_ = slotCount;
  return true;
}

ScannedFormulaCache::Entry* ScannedFormulaCache::Scan(const char* text, size_t length, uint32_t hash, size_t* bytes) {
  // At most one token per character, and the end.
  const size_t capacity = length + 1;
  ScannedToken* tokens = static_cast<ScannedToken*>(AllocateStorePage(capacity * sizeof(ScannedToken)));
  if (!tokens) {
    Drop();
    return nullptr;
  }
  uint32_t count = 0;
  const char* p = text + 1;
  bool keep = length > 0 && (text[0] == '=' || text[0] == '+');
  while (keep && count < capacity) {
    const char* at = p;
    const uint32_t kind = ScanFormulaToken(text, &p, &tokens[count], true);
    ++count;
    if (kind == kEvalEnd) break;
    // An array constant is read into the evaluator's store, a refused
    // character ends the formula, and an empty name does not advance.
    if (kind == kEvalInvalid || kind == kEvalArray || p == at) {
      keep = false;
      break;
    }
  }
  // A text that cannot be kept is kept without tokens, so that it is not
  // scanned twice at every meeting.
  if (!keep || tokens[count - 1].kind != kEvalEnd) count = 0;
  ProgramStep steps[kProgramCapacity];
  const uint32_t stepCount = count <= kProgramCapacity ? BuildOperatorOrderProgram(tokens, count, steps) : 0;
  // Other programs keep a description of every step when one is a relative
  // range or a plain number; a long one (rare) takes its tokens each time.
  constexpr uint32_t kDescribedStepCapacity = 128;
  static_assert(kDescribedStepCapacity >= EvalState::kStackSlots, "room for a call's arguments");
  CallArgument arguments[kDescribedStepCapacity];
  const bool oneCall = stepCount != 0 && DescribeOneCall(tokens, steps, stepCount, arguments);
  const bool describeSteps = !oneCall && stepCount != 0 && stepCount <= kDescribedStepCapacity &&
                             DescribeRangeSteps(tokens, steps, stepCount, arguments);
  const uint32_t argumentCount = oneCall ? stepCount - 1 : describeSteps ? stepCount : 0;
  const size_t textBytes = AlignedSize(sizeof(Entry) + length + 1);
  *bytes = textBytes + count * sizeof(ScannedToken) + stepCount * sizeof(ProgramStep) +
           argumentCount * sizeof(CallArgument);
  Entry* entry = static_cast<Entry*>(AllocateStorePage(*bytes));
  if (!entry) {
    FreeStorePage(tokens);
    Drop();
    return nullptr;
  }
  char* ownText = reinterpret_cast<char*>(entry + 1);
  std::memcpy(ownText, text, length);
  ownText[length] = '\0';
  ScannedToken* ownTokens = reinterpret_cast<ScannedToken*>(reinterpret_cast<char*>(entry) + textBytes);
  std::memcpy(ownTokens, tokens, count * sizeof(ScannedToken));
  FreeStorePage(tokens);
  ProgramStep* ownSteps = reinterpret_cast<ProgramStep*>(ownTokens + count);
  std::memcpy(ownSteps, steps, stepCount * sizeof(ProgramStep));
  // The steps start on a token's alignment and are four bytes each.
  static_assert(alignof(CallArgument) <= sizeof(ProgramStep) && alignof(ScannedToken) % alignof(CallArgument) == 0,
                "descriptions after the steps are aligned");
  CallArgument* ownArguments = reinterpret_cast<CallArgument*>(ownSteps + stepCount);
  std::memcpy(ownArguments, arguments, argumentCount * sizeof(CallArgument));
  ScannedFormula& formula = entry->formula;
  formula = ScannedFormula{};
  formula.hash = hash;
  formula.textLength = static_cast<uint32_t>(length);
  formula.tokenCount = count;
  formula.text = ownText;
  formula.tokens = ownTokens;
  formula.stepCount = stepCount;
  formula.numeric = IsNumericProgram(ownTokens, ownSteps, stepCount) ? 1 : 0;
  formula.steps = stepCount ? ownSteps : nullptr;
  formula.head = FormulaTextHead(ownText, length);
  if (oneCall) {
    formula.oneCall = 1;
    formula.callArgumentCount = static_cast<uint8_t>(argumentCount);
    formula.callFunction = static_cast<uint16_t>(ownTokens[ownSteps[stepCount - 1].token].textLength);
    formula.callArguments = ownArguments;
  }
  if (describeSteps) formula.stepDescriptions = ownArguments;
  // Numbers alone computed now as every evaluation would compute them; a
  // cell taken, or a result the numbers' way refuses, leaves it to them.
  const auto readNumber = [](const ScannedToken& token, double* number) {
    if (token.kind != kEvalNumber) return false;
    *number = token.number;
    return true;
  };
  if (formula.numeric && RunNumbersProgram(formula, readNumber, &formula.constantNumber)) formula.constant = 1;
  return entry;
}

uint32_t ScannedFormulaCache::SlotOf(const char* text, size_t length, uint32_t hash) const {
  const uint32_t mask = slotCount_ - 1;
  uint32_t slot = hash & mask;
  while (slots_[slot] && !Matches(slots_[slot]->formula, hash, text, length)) slot = (slot + 1) & mask;
  return slot;
}

bool ScannedFormulaCache::SeenBefore(uint32_t hash) {
  // Four places a hash may take, so that texts met in turn do not keep
  // pushing each other out before they are met again.
  constexpr uint32_t kWays = 4;
  const uint32_t first = hash & (kSeenPerSlot * slotCount_ - 1) & ~(kWays - 1);
  for (uint32_t way = 0; way < kWays; ++way)
    if (seen_[first + way] == hash) return true;
  for (uint32_t way = 0; way < kWays; ++way)
    if (seen_[first + way] == 0) {
      seen_[first + way] = hash;
      return false;
    }
  seen_[first + (hash >> 29) % kWays] = hash;
  return false;
}

const ScannedFormula* ScannedFormulaCache::FindKeptElsewhere(const char* text, size_t length, uint32_t place) const {
  const uint32_t pair = place >> 1;
  if (IsText(recent_[place ^ 1], text, length)) {
    recentNewer_[pair] = static_cast<uint8_t>((place ^ 1) & 1);
    return recent_[place ^ 1];
  }
  if (!enabled_ || !slots_) return nullptr;
  const Entry* entry = slots_[SlotOf(text, length, HashText(text, length))];
  if (!entry || entry->formula.tokenCount == 0) return nullptr;
  // The formula found takes its own place; the one there moves to the other
  // place only when it was used last, so that two formulas met in turn whose
  // own places make a pair do not keep pushing each other out.
  if (recentNewer_[pair] == (place & 1)) recent_[place ^ 1] = recent_[place];
  recent_[place] = &entry->formula;
  recentNewer_[pair] = static_cast<uint8_t>(place & 1);
  return &entry->formula;
}

const ScannedFormula* ScannedFormulaCache::Find(const char* text, size_t length) {
  if (!enabled_) return nullptr;
  if (!slots_ && !Resize(kFirstSlotCount)) return nullptr;
  const uint32_t hash = HashText(text, length);
  uint32_t slot = SlotOf(text, length, hash);
  if (slots_[slot]) return slots_[slot]->formula.tokenCount ? &slots_[slot]->formula : nullptr;

  if (!SeenBefore(hash)) return nullptr;
  size_t bytes = 0;
  Entry* entry = Scan(text, length, hash, &bytes);
  if (!entry) return nullptr;
  if (bytesUsed_ + bytes > kByteBudget) {
    // Full: start again from the formulas met from now on.
    DropEntries();
  } else if (entryCount_ + 1 > slotCount_ / 2) {
    if (slotCount_ >= kSlotCount || !Resize(slotCount_ * 2)) DropEntries();
  }
  slot = hash & (slotCount_ - 1);
  while (slots_[slot]) slot = (slot + 1) & (slotCount_ - 1);
  slots_[slot] = entry;
  ++entryCount_;
  bytesUsed_ += bytes;
  return entry->formula.tokenCount ? &entry->formula : nullptr;
}
