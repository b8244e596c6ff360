#ifndef TALVERO_CORE_TEXT_HASH_H
#define TALVERO_CORE_TEXT_HASH_H

// Texts read a word at a time in place, the last word overlapping the one
// before, and hashed so: the tables that find texts by hash (scanned
// formulas, laid-out cell texts) compare the texts themselves, so only equal
// texts must hash alike.

#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint64_t TextWord(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// The bytes of a text shorter than a word, as one word: equal for texts of
// one length only when their bytes are equal.
inline uint64_t ShortTextWord(const char* bytes, size_t length) {
  if (length >= 4) {
    uint32_t low;
    uint32_t high;
    std::memcpy(&low, bytes, sizeof low);
    std::memcpy(&high, bytes + length - 4, sizeof high);
    return low | uint64_t(high) << 32;
  }
  // The first, middle and last bytes are every byte of one to three.
  if (length == 0) return 0;
  const auto byte = [bytes](size_t i) { return uint64_t(static_cast<uint8_t>(bytes[i])); };
  return byte(0) | byte(length / 2) << 8 | byte(length - 1) << 16;
}

// Eight bytes at a time, mixed by multiplication; never 0, which a table
// may take to mark an empty place.
inline uint32_t HashText(const char* text, size_t length) {
  uint64_t hash = 0x9E3779B97F4A7C15ull ^ length;
  uint64_t tail;
  if (length >= 8) {
    for (size_t i = 0; i + 8 < length; i += 8) {
      hash = (hash ^ TextWord(text + i)) * 0xFF51AFD7ED558CCDull;
      hash ^= hash >> 32;
    }
    tail = TextWord(text + length - 8);
  } else {
    tail = ShortTextWord(text, length);
  }
  hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53ull;
  hash ^= hash >> 29;
  return static_cast<uint32_t>(hash) | 1u;
}

#endif
