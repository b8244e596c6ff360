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
  void Reset();

  // The top string; the shared empty text when the pool is empty.
  const char* Top() const;
  size_t TopLength() const;
  uint16_t Count() const { return count_; }
  size_t BytesUsed() const { return starts_[count_]; }

 private:
  char bytes_[kByteCapacity];
  uint16_t starts_[kStringCapacity + 1];  // starts_[count_] is the first free byte
  uint16_t count_;
  const char* empty_;
};

#endif
