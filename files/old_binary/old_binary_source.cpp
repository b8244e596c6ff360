#include "files/old_binary/old_binary_source.h"

#include <cstring>

#include "files/errors/file_errors.h"

void ThrowOldBinaryError(uint8_t code) { throw int(code); }

OldBinarySource::OldBinarySource(std::FILE* file) : file_(file) {
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long end = std::ftell(file_);
    size_ = end > 0 ? uint64_t(end) : 0;
  }
  std::rewind(file_);
  limit_ = size_;
}

void OldBinarySource::Require(uint64_t count) const {
  if (count > size_ - position_)
    ThrowOldBinaryError(kFileReadError);
  if (count > limit_ - position_)
    ThrowOldBinaryError(kFileBadFormat);
}

void OldBinarySource::Read(void* out, size_t count) {
  Require(count);
  if (count && std::fread(out, 1, count, file_) != count)
    ThrowOldBinaryError(kFileReadError);
  position_ += count;
}

uint8_t OldBinarySource::U8() {
  uint8_t value;
  Read(&value, 1);
  return value;
}

uint16_t OldBinarySource::U16() {
  uint8_t b[2];
  Read(b, 2);
  return uint16_t(b[0] | b[1] << 8);
}

uint32_t OldBinarySource::U32() {
  uint8_t b[4];
  Read(b, 4);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

double OldBinarySource::F64() {
  uint8_t b[8];
  Read(b, 8);
  double value;
  std::memcpy(&value, b, sizeof value);
  return value;
}

void OldBinarySource::Skip(uint64_t count) {
  Require(count);
  if (count && std::fseek(file_, long(position_ + count), SEEK_SET) != 0)
    ThrowOldBinaryError(kFileReadError);
  position_ += count;
}

bool OldBinarySource::HasError() const { return std::ferror(file_) != 0; }
