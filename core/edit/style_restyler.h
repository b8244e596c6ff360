#ifndef TALVERO_CORE_STYLE_RESTYLER_H
#define TALVERO_CORE_STYLE_RESTYLER_H

// One attribute applied to many styles: each old style index is restyled
// once (a copy of it and its font takes the attribute from the templates,
// and the result is found or added in the table) and remembered, so that a
// rectangle or a column of many runs costs one lookup per distinct style.

#include <cstdint>

#include "core/styles/style_table.h"

class StyleRestyler {
 public:
  StyleRestyler(StyleTable* table, int kind, const StyleRecord& templateStyle, const FontRecord& templateFont);

  // The index of the style `base` becomes; an index past the table means
  // style 0. False when the table has no room for a new font or style.
  bool Map(uint16_t base, uint16_t* result);

 private:
  StyleTable* table_;
  int kind_;
  const StyleRecord& templateStyle_;
  const FontRecord& templateFont_;
  uint8_t known_[StyleTable::kMaxStyles];
  uint16_t mapped_[StyleTable::kMaxStyles];
};

#endif
