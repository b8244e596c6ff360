#ifndef TALVERO_CORE_FORMULA_STRINGS_H
#define TALVERO_CORE_FORMULA_STRINGS_H

// The evaluator's text pool: a stack of NUL-terminated strings in one fixed
// buffer. Text values own the top strings, so pushes and pops follow the
// operand stack exactly; nothing here allocates.

#include <cstddef>
#include <cstdint>

class FormulaStrings {
 public:
  static constexpr size_t kByteCapacity = 3072;  // NULs included
  static constexpr uint16_t kStringCapacity = 50;

  FormulaStrings() { Reset(); }

  // False, with the pool unchanged, when the string count or the bytes would
  // pass their capacity.
  bool Push(const char* text, size_t length);
  bool PushSz(const char* text);
  // Drops the top string; nothing when the pool is empty.
  void Pop();
  void Reset() {
    count_ = 0;
    starts_[0] = 0;
    bytes_[0] = '\0';
  }

  // The top string; the shared empty text when the pool is empty.
  const char* Top() const;
  size_t TopLength() const;

  // The string depth places below the top (0 is the top); the shared empty
  // text when there is none. A value deeper in the operand stack owns a
  // deeper string, so operators and argument readers reach their operands'
  // texts this way without disturbing the order.
  const char* FromTop(uint16_t depth) const;
  size_t LengthFromTop(uint16_t depth) const;
  // Moves the top string below the depth strings under it: a text made for
  // an operand that has later operands above it takes its place in the order.
  void MoveTopDown(uint16_t depth);
  // Drops the string depth places below the top; the strings above it keep
  // their order.
  void RemoveFromTop(uint16_t depth);
  uint16_t Count() const { return count_; }
  size_t BytesUsed() const { return starts_[count_]; }

 private:
  char bytes_[kByteCapacity];
  uint16_t starts_[kStringCapacity + 1];  // starts_[count_] is the first free byte
  uint16_t count_;
};

#endif
