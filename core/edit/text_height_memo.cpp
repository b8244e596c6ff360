#include "core/edit/text_height_memo.h"

#include <new>

namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  return h;
}

// Eight bytes at a time: a text whose place was not guessed is hashed on
// every row it stands in.
uint32_t HashOf(const TextLayoutKey& key) {
  uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key.style)) ^ (uint64_t(key.form) << 32) ^
               key.length * kMultiplier;
  const auto* bytes = reinterpret_cast<const unsigned char*>(key.text);
  size_t i = 0;
  for (; i + 8 <= key.length; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    h = Mix((h ^ word) * kMultiplier);
  }
  uint64_t tail = 0;
  for (unsigned shift = 0; i < key.length; ++i, shift += 8) tail |= uint64_t(bytes[i]) << shift;
  return static_cast<uint32_t>(Mix((h ^ tail) * kMultiplier));
}

constexpr uint32_t kMask = TextHeightMemo::kPlaces - 1;

}  // namespace

void TextHeightMemo::Make() {
  if (tried_)
    return;
  tried_ = true;
  places_.reset(new (std::nothrow) Place[kPlaces]());
}

void TextHeightMemo::Follow(uint32_t index, Trail* trail) {
  places_[trail->last & kMask].next = index;
  trail->last = index;
  trail->next = places_[index].next;
}

bool TextHeightMemo::Find(const TextLayoutKey& key, Trail* trail, int32_t* height) {
  if (!places_)
    return false;
  const Place& guessed = places_[trail->next & kMask];
  if (Holds(guessed, key)) {
    trail->last = trail->next & kMask;
    trail->next = guessed.next;
    *height = guessed.height;
    return true;
  }
  const uint32_t hash = HashOf(key);
  for (uint32_t probe = 0; probe < kProbes; ++probe) {
    const uint32_t index = (hash + probe) & kMask;
    const Place& place = places_[index];
    // Places are taken in order and never freed: a free one ends the search.
    if (place.style == nullptr)
      return false;
    if (Holds(place, key)) {
      Follow(index, trail);
      *height = place.height;
      return true;
    }
  }
  return false;
}

void TextHeightMemo::Remember(const TextLayoutKey& key, int32_t height, Trail* trail) {
  if (!places_ || key.style == nullptr)
    return;
  const uint32_t hash = HashOf(key);
  uint32_t chosen = hash & kMask;
  for (uint32_t probe = 0; probe < kProbes; ++probe) {
    const uint32_t index = (hash + probe) & kMask;
    if (places_[index].style == nullptr) {
      chosen = index;
      break;
    }
  }
  // A cell's text fits in its block of records, far below 4 GB. A text is
  // first guessed to repeat.
  places_[chosen] = Place{key.style, key.text, static_cast<uint32_t>(key.length), key.form, height, chosen};
  Follow(chosen, trail);
}
