#include "core/formula/formula_strings.h"

#include <algorithm>
#include <cstring>

namespace {
const char kEmptyText[] = "";
}

bool FormulaStrings::Push(const char* text, size_t length) {
  const size_t used = starts_[count_];
  if (count_ >= kStringCapacity || length >= kByteCapacity - used) return false;
  std::memmove(bytes_ + used, text, length);  // the text may be a string just popped
  bytes_[used + length] = '\0';
  ++count_;
  starts_[count_] = static_cast<uint16_t>(used + length + 1);
  return true;
}

bool FormulaStrings::PushSz(const char* text) { return Push(text, std::strlen(text)); }

void FormulaStrings::Pop() {
  if (count_ > 0) --count_;
}

const char* FormulaStrings::Top() const {
  return count_ == 0 ? kEmptyText : bytes_ + starts_[count_ - 1];
}

size_t FormulaStrings::TopLength() const {
  return count_ == 0 ? 0 : static_cast<size_t>(starts_[count_] - starts_[count_ - 1] - 1);
}

const char* FormulaStrings::FromTop(uint16_t depth) const {
  return depth >= count_ ? kEmptyText : bytes_ + starts_[count_ - 1 - depth];
}

size_t FormulaStrings::LengthFromTop(uint16_t depth) const {
  if (depth >= count_) return 0;
  const uint16_t index = static_cast<uint16_t>(count_ - 1 - depth);
  return static_cast<size_t>(starts_[index + 1] - starts_[index] - 1);
}

void FormulaStrings::MoveTopDown(uint16_t depth) {
  if (depth == 0 || count_ < 2) return;
  if (depth > count_ - 1) depth = static_cast<uint16_t>(count_ - 1);
  const uint16_t target = static_cast<uint16_t>(count_ - 1 - depth);
  const uint16_t topSize = static_cast<uint16_t>(starts_[count_] - starts_[count_ - 1]);
  std::rotate(bytes_ + starts_[target], bytes_ + starts_[count_ - 1], bytes_ + starts_[count_]);
  // Every string from target up moves up by the top string's size.
  for (uint16_t i = static_cast<uint16_t>(count_ - 1); i > target; --i)
    starts_[i] = static_cast<uint16_t>(starts_[i - 1] + topSize);
}

void FormulaStrings::RemoveFromTop(uint16_t depth) {
  if (depth >= count_) return;
  const uint16_t index = static_cast<uint16_t>(count_ - 1 - depth);
  const uint16_t size = static_cast<uint16_t>(starts_[index + 1] - starts_[index]);
  std::memmove(bytes_ + starts_[index], bytes_ + starts_[index + 1], starts_[count_] - starts_[index + 1]);
  for (uint16_t i = static_cast<uint16_t>(index + 1); i < count_; ++i)
    starts_[i] = static_cast<uint16_t>(starts_[i + 1] - size);
  --count_;
  if (count_ == 0) bytes_[0] = '\0';
}
