#ifndef TALVERO_CORE_BOUNDED_TEXT_H
#define TALVERO_CORE_BOUNDED_TEXT_H

// A text being written into a caller's fixed buffer. Every write is checked:
// a write that does not fit leaves the text as it was and marks it
// overflowed for good, so a writer may test once at the end. The buffer is
// always NUL-terminated (a zero capacity counts as overflowed from the start
// and is never written).

#include <cstddef>
#include <cstring>

// Copies as much of the text as fits; the buffer is always terminated (a
// size of 0 leaves it alone).
inline void CopyTextCut(char* buffer, size_t size, const char* text) {
  if (size == 0) return;
  const size_t length = strnlen(text, size - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

class BoundedText {
 public:
  // capacity counts the NUL.
  BoundedText(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {
    if (capacity_ == 0)
      overflowed_ = true;
    else
      buffer_[0] = '\0';
  }

  BoundedText& Put(char c) {
    Append(&c, 1);
    return *this;
  }
  BoundedText& Put(const char* text) {
    Append(text, std::strlen(text));
    return *this;
  }
  BoundedText& Put(const BoundedText& other) {
    Append(other.buffer_, other.length_);
    return *this;
  }
  BoundedText& Repeat(char c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
    return *this;
  }
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

  // For writers that must not leave a partial text behind: true when all
  // fitted, else the buffer is emptied.
  bool Finish() {
    if (!overflowed_) return true;
    if (capacity_ > 0) {
      length_ = 0;
      buffer_[0] = '\0';
    }
    return false;
  }

  const char* Text() const { return buffer_; }
  size_t Length() const { return length_; }
  char Last() const { return length_ > 0 ? buffer_[length_ - 1] : '\0'; }
  bool Overflowed() const { return overflowed_; }

 private:
  char* buffer_;
  size_t capacity_;
  size_t length_ = 0;
  bool overflowed_ = false;
};

#endif
