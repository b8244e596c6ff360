#ifndef TALVERO_CORE_EDIT_TEXT_HEIGHT_MEMO_H
#define TALVERO_CORE_EDIT_TEXT_HEIGHT_MEMO_H

// The heights of the texts one refit of row heights has laid out, so that a
// text met again is not laid out again however many others came between: a
// block of texts tiled down a whole column brings each of them back a
// million times, in turn. The texts are kept where their cells store them,
// which holds for one refit only: it reads the cells and changes none.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

struct StyleRecord;

// What a cell's laid-out height depends on besides the measurer: the same
// stored text (or a value's "X") in the same style lays out the same;
// wrapped, in the same column, whose width a refit does not change.
struct TextLayoutKey {
  const StyleRecord* style;  // null in a key that stands for no text
  const char* text;
  size_t length;
  uint32_t form;  // LayoutForm of the cell
};

// The column when the style wraps (0 otherwise), the cell's error code, and
// whether it shows its own text rather than a value's "X", in one word: a
// key made of narrower fields is written piecemeal and read back whole when
// compared, which stalls the processor on every row of a refit.
inline uint32_t LayoutForm(uint16_t column, uint8_t error, bool shown) {
  return uint32_t(column) | uint32_t(error) << 16 | uint32_t(shown) << 24;
}

inline bool SameLayout(const TextLayoutKey& a, const TextLayoutKey& b) {
  return a.style == b.style && a.form == b.form && a.length == b.length &&
         std::memcmp(a.text, b.text, a.length) == 0;
}

// A table of fixed size addressed by a hash of the key. A key is looked for
// in a few places after its own; one that finds them all taken replaces the
// key in its own place, so the table never grows. Each place also notes the
// place of the text that followed it in the same column, which is tried
// before the hash: down a tiled block the texts come back in the same order,
// and a guess that fails costs one comparison.
class TextHeightMemo {
 public:
  static constexpr uint32_t kPlaces = 16384;  // a power of two
  static constexpr uint32_t kProbes = 4;

  // A column's way through the table: the place of its last text, and the
  // place guessed for its next. Any values will do, as a guess is checked.
  struct Trail {
    uint32_t last = 0;
    uint32_t next = 0;
  };

  // Makes the table, empty, at the first call only: memory that runs out
  // leaves the memo without one, which only costs the layouts it would save.
  void Make();
  bool Made() const { return places_ != nullptr; }
  // The height remembered for key, met next on the column's trail, which
  // then moves on to key's place. False when key is not remembered (or there
  // is no table).
  bool Find(const TextLayoutKey& key, Trail* trail, int32_t* height);
  // Remembers the height of a key Find did not find, met next on the trail.
  void Remember(const TextLayoutKey& key, int32_t height, Trail* trail);

 private:
  // Aligned so that the place a guess reads lies in one cache line.
  struct alignas(32) Place {
    const StyleRecord* style;  // null while the place is free
    const char* text;
    uint32_t length;
    uint32_t form;
    int32_t height;
    uint32_t next;  // the place of the text that followed, a guess too
  };

  static bool Holds(const Place& place, const TextLayoutKey& key) {
    return SameLayout({place.style, place.text, place.length, place.form}, key);
  }
  // Moves the trail on to the place at index.
  void Follow(uint32_t index, Trail* trail);

  std::unique_ptr<Place[]> places_;
  bool tried_ = false;
};

#endif
