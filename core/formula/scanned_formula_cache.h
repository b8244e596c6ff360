#ifndef TALVERO_CORE_SCANNED_FORMULA_CACHE_H
#define TALVERO_CORE_SCANNED_FORMULA_CACHE_H

// The tokens of formulas an evaluator scanned before, keyed by their whole
// stored text: a formula filled down a column has the same R1C1 text in
// every row, so its text is scanned, its numbers converted and its function
// names looked up once, and every cell takes the tokens again, resolving
// their references against itself. The text stays the only truth: an edit,
// a structural change or an undo that changes a formula changes its text,
// which then finds other tokens or none. A text met once is only noted, so
// that formulas that are all different cost a lookup and no copy. The
// entries stay within a byte budget (all are dropped when it is reached) and
// are all dropped when memory runs out; the evaluator then scans the text.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/base/text_hash.h"
#include "core/formula/operator_order_program.h"
#include "core/formula/scanned_token.h"

// One scanned formula: its text and its tokens up to and including the end;
// none for a text that cannot be taken again, which is scanned each time.
// The steps of its parse are kept beside them when the parse succeeds
// whatever the values (none otherwise: the tokens are parsed each time).
struct ScannedFormula {
  uint32_t hash;
  uint32_t textLength;
  uint32_t tokenCount;
  const char* text;  // the formula's own copy, NUL-terminated
  const ScannedToken* tokens;
  uint32_t stepCount;
  // Set when the steps compute on numbers alone (IsNumericProgram).
  uint8_t numeric;
  // Set when they take no cell either and compute, as EvaluateNumbers
  // would, constantNumber: the formula's result wherever it stands.
  uint8_t constant;
  const ProgramStep* steps;
  double constantNumber;
  // The text's first word (FormulaTextHead), compared before the rest.
  uint64_t head;
  // Set when the steps are one call over operands (DescribeOneCall), with
  // its callArgumentCount arguments described, the call's function
  // callFunction: such a formula is replayed without the step loop.
  uint8_t oneCall;
  uint8_t callArgumentCount;
  uint16_t callFunction;
  const CallArgument* callArguments;
  // For other steps, when one takes a relative range or cell or a plain number:
  // every step described
  // (DescribeRangeSteps), stepCount of them; else null.
  const CallArgument* stepDescriptions;
};

// The first word of a text, or all of a text shorter than one: for a text
// of eight bytes at most, equal for texts of one length only when their
// bytes are equal.
inline uint64_t FormulaTextHead(const char* bytes, size_t length) {
  return length < 8 ? ShortTextWord(bytes, length) : TextWord(bytes);
}

inline bool SameFormulaBytes(const char* a, const char* b, size_t length) {
  if (length < 8) return ShortTextWord(a, length) == ShortTextWord(b, length);
  for (size_t i = 0; i + 8 < length; i += 8)
    if (TextWord(a + i) != TextWord(b + i)) return false;
  return TextWord(a + length - 8) == TextWord(b + length - 8);
}

class ScannedFormulaCache {
 public:
  // Bytes of entries kept at most, and the slots of the table (at most half
  // of them filled): it starts small, as most evaluators (those of solvers
  // and of references to other workbooks) see few formulas, and doubles.
  static constexpr size_t kByteBudget = size_t(4) << 20;
  static constexpr uint32_t kFirstSlotCount = 64;
  static constexpr uint32_t kSlotCount = 8192;

  ScannedFormulaCache() = default;
  ~ScannedFormulaCache() { Drop(); }
  ScannedFormulaCache(const ScannedFormulaCache&) = delete;
  ScannedFormulaCache& operator=(const ScannedFormulaCache&) = delete;

  // The tokens of the stored-form formula text (length bytes, NUL after
  // them), scanned now when the text is met for the second time; null when
  // the text is met for the first time, cannot be kept (it does not begin
  // with "=" or "+", holds an array constant or a character the scanner
  // refuses), memory ran out, or the cache is off. Valid until the next call.
  const ScannedFormula* Find(const char* text, size_t length);
  // The tokens kept for the text (no NUL needed), or null; nothing is noted
  // or scanned. The formula last found for the same column and length (a
  // formula filled down) is compared first, without hashing the text: in
  // line, as every evaluation of a kept formula starts here.
  const ScannedFormula* FindKept(const char* text, size_t length, uint32_t column) const {
    if (const ScannedFormula* recent = FindRecent(text, length, column)) return recent;
    return FindKeptElsewhere(text, length, RecentIndex(FormulaTextHead(text, length), length, column));
  }
  // The first place FindKept looks: the formula last found for the same
  // column, length and first word; null when that is not the text. Always
  // in line: the evaluation of a formula filled down is little more.
  [[gnu::always_inline]] const ScannedFormula* FindRecent(const char* text, size_t length, uint32_t column) const {
    const uint64_t head = FormulaTextHead(text, length);
    const ScannedFormula* recent = recent_[RecentIndex(head, length, column)];
    if (recent && recent->textLength == length && recent->head == head &&
        (length <= 8 || SameFormulaBytes(recent->text + 8, text + 8, length - 8)))
      return recent;
    return nullptr;
  }

  // Frees every entry and the table.
  void Drop();
  // Off, every formula is scanned from its text: for comparing both ways.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  uint32_t EntryCount() const { return entryCount_; }
  size_t BytesUsed() const { return bytesUsed_; }

 private:
  struct Entry;
  // The place of a text among the recent formulas, from its first word
  // (mostly the function's name), its length and its column: far cheaper
  // than the hash of the whole text. The places go in pairs, so that two
  // formulas met in turn that share a place both stay.
  static uint32_t RecentIndex(uint64_t head, size_t length, uint32_t column) {
    const uint64_t key = (head ^ (uint64_t(length) << 48) ^ (uint64_t(column) << 32)) * 0xFF51AFD7ED558CCDull;
    return static_cast<uint32_t>(key >> (64 - kRecentBits));
  }
  static bool IsText(const ScannedFormula* formula, const char* text, size_t length) {
    return formula && formula->textLength == length && SameFormulaBytes(formula->text, text, length);
  }
  // The kept formula in the other recent place of the pair, or found by the
  // hash of the text and made the first of the pair.
  const ScannedFormula* FindKeptElsewhere(const char* text, size_t length, uint32_t place) const;
  // Scans the text into a new entry of *bytes bytes, without tokens when
  // they cannot be taken again; null when memory runs out.
  Entry* Scan(const char* text, size_t length, uint32_t hash, size_t* bytes);
  // Whether a text of this hash was met before; else it is noted.
  bool SeenBefore(uint32_t hash);
  // The slot holding the text's entry, or the empty slot where it would go.
  uint32_t SlotOf(const char* text, size_t length, uint32_t hash) const;
  // Tables of slotCount slots, the entries moved over; false (nothing
  // changed) when memory runs out.
  bool Resize(uint32_t slotCount);
  void DropEntries();

  Entry** slots_ = nullptr;
  uint32_t* seen_ = nullptr;  // the hashes of texts met once
  uint32_t slotCount_ = 0;
  static constexpr uint32_t kRecentBits = 10;
  static constexpr uint32_t kRecentCount = uint32_t(1) << kRecentBits;
  // Kept formulas only (never one without tokens); none while the cache is
  // off or empty.
  mutable const ScannedFormula* recent_[kRecentCount] = {};  // at RecentIndex
  // Of each pair of places, the one found or filled last (a hint: a formula
  // found in its own place by FindRecent leaves it as it was).
  mutable uint8_t recentNewer_[kRecentCount / 2] = {};
  uint32_t entryCount_ = 0;
  size_t bytesUsed_ = 0;
  bool enabled_ = true;
};

#endif
