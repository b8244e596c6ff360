#include "core/edit/text_height_memo.h"

#include <new>

#include "core/base/text_hash.h"

namespace {

// The text's own hash, mixed with the style and the form of the cell.
uint32_t HashOf(const TextLayoutKey& key) {
  const uint64_t h = (uint64_t(HashText(key.text, key.length)) ^
                      static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key.style)) ^ (uint64_t(key.form) << 32)) *
                     0x9E3779B97F4A7C15ull;
  return static_cast<uint32_t>(h >> 32);
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
