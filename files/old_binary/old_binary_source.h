#ifndef TALVERO_FILES_OLD_BINARY_SOURCE_H
#define TALVERO_FILES_OLD_BINARY_SOURCE_H

// The bytes of an older binary file, read straight from the document's open
// file. Every read is checked against the end of the file and against the
// end of the record being read: a file that ends early throws 38, a part
// that runs past its record throws 21. The reader's entry point catches
// the codes.

#include <cstddef>
#include <cstdint>
#include <cstdio>

class OldBinarySource {
 public:
  // Reads the file from its start; its length is taken once.
  explicit OldBinarySource(std::FILE* file);

  void Read(void* out, size_t count);
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  double F64();
  void Skip(uint64_t count);

  uint64_t Position() const { return position_; }
  uint64_t Size() const { return size_; }
  // Reads stop at this position until it is cleared (the file's end).
  void LimitTo(uint64_t end) { limit_ = end; }
  void ClearLimit() { limit_ = size_; }
  uint64_t Limit() const { return limit_; }
  // Whether the runtime reports an error on the file.
  bool HasError() const;

 private:
  void Require(uint64_t count) const;

  std::FILE* file_;
  uint64_t position_ = 0;
  uint64_t size_ = 0;
  uint64_t limit_ = 0;
};

[[noreturn]] void ThrowOldBinaryError(uint8_t code);

// A little-endian u32 inside a record already read.
inline uint32_t OldU32At(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

#endif
