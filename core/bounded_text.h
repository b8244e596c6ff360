#ifndef TALVERO_CORE_BOUNDED_TEXT_H
#define TALVERO_CORE_BOUNDED_TEXT_H

// A text being written into a caller's fixed buffer. Every write is checked:
// a write that does not fit leaves the text as it was and marks it
// overflowed for good, so a writer may test once at the end. The buffer is
// always NUL-terminated.

#include <cstddef>
#include <cstring>

class BoundedText {
 public:
  // capacity counts the NUL; it must be at least 1.
  BoundedText(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = '\0';
  }

  bool Put(char c) { return Append(&c, 1); }
  bool Append(const char* text) { return Append(text, std::strlen(text)); }
  bool Append(const char* text, size_t length) {
    if (overflowed_ || length >= capacity_ - length_) {
      overflowed_ = true;
      return false;
    }
    std::memcpy(buffer_ + length_, text, length);
    length_ += length;
    buffer_[length_] = '\0';
    return true;
  }

  const char* Text() const { return buffer_; }
  size_t Length() const { return length_; }
  bool Overflowed() const { return overflowed_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t length_ = 0;
  bool overflowed_ = false;
};

#endif
