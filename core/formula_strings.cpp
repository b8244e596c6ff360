#include "core/formula_strings.h"

#include <cstring>

namespace {
const char kEmptyText[] = "";
}

bool FormulaStrings::Push(const char* text, size_t length) {
  const size_t used = starts_[count_];
  if (count_ >= kStringCapacity || length >= kByteCapacity - used) return false;
  std::memcpy(bytes_ + used, text, length);
  bytes_[used + length] = '\0';
  ++count_;
  starts_[count_] = static_cast<uint16_t>(used + length + 1);
  return true;
}

bool FormulaStrings::PushSz(const char* text) { return Push(text, std::strlen(text)); }

void FormulaStrings::Pop() {
  if (count_ > 0) --count_;
}

void FormulaStrings::Reset() {
  count_ = 0;
  starts_[0] = 0;
  bytes_[0] = '\0';
  empty_ = kEmptyText;
}

const char* FormulaStrings::Top() const {
  return count_ == 0 ? empty_ : bytes_ + starts_[count_ - 1];
}

size_t FormulaStrings::TopLength() const {
  return count_ == 0 ? 0 : static_cast<size_t>(starts_[count_] - starts_[count_ - 1] - 1);
}
