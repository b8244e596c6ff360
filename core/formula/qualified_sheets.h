#ifndef TALVERO_CORE_FORMULA_QUALIFIED_SHEETS_H
#define TALVERO_CORE_FORMULA_QUALIFIED_SHEETS_H

// The worksheets qualifier texts named during one recalculation pass. The
// same few qualifiers ("Products!") come back in every row of a sheet, and
// resolving one walks the workbook's tree comparing paths; the tree does
// not change within a pass, so a qualifier read from one worksheet names
// the same worksheet until the pass ends. Outside a pass nothing is kept.

#include <cstddef>
#include <cstdint>
#include <cstring>

class CellStore;

class QualifiedSheets {
 public:
  static constexpr uint32_t kEntries = 8;
  // Longer qualifiers are resolved every time.
  static constexpr size_t kTextBytes = 48;

  void BeginPass() {
    inPass_ = true;
    count_ = 0;
    next_ = 0;
  }
  void EndPass() {
    inPass_ = false;
    count_ = 0;
  }

  // The worksheet the qualifier text named when read from the worksheet
  // from, or null when none is kept.
  CellStore* Find(const CellStore* from, const char* text) const {
    if (count_ == 0) return nullptr;
    const size_t length = std::strlen(text);
    for (uint32_t i = 0; i < count_; ++i) {
      const Entry& entry = entries_[i];
      if (entry.from == from && entry.length == length && std::memcmp(entry.text, text, length) == 0)
        return entry.sheet;
    }
    return nullptr;
  }
  // Keeps what the qualifier named, in a pass; the oldest entry gives way.
  void Keep(const CellStore* from, const char* text, CellStore* sheet) {
    const size_t length = std::strlen(text);
    if (!inPass_ || !sheet || length >= kTextBytes) return;
    Entry& entry = entries_[next_];
    next_ = (next_ + 1) % kEntries;
    if (count_ < kEntries) ++count_;
    entry.from = from;
    entry.sheet = sheet;
    entry.length = length;
    std::memcpy(entry.text, text, length);
  }

 private:
  struct Entry {
    const CellStore* from;
    CellStore* sheet;
    size_t length;
    char text[kTextBytes];
  };
  Entry entries_[kEntries];
  uint32_t count_ = 0;
  uint32_t next_ = 0;
  bool inPass_ = false;
};

#endif
