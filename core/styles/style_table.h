#ifndef TALVERO_CORE_STYLE_TABLE_H
#define TALVERO_CORE_STYLE_TABLE_H

// A workbook's cell formats, each kept once. Formats are shared by value: a
// format is never edited in place; the wanted record is built and looked up
// (or appended), so equal formats always share one index. Index 0 is the
// default style and the default font.

#include <cstdint>

#include "core/styles/style_record.h"

// Slots of the marks array of StyleTable::CompareStyleAttributes. Slots 0..10
// are the number-format categories themselves.
enum StyleAttributeMark : uint8_t {
  kMarkFaceName = 11,
  kMarkFontSize,
  kMarkWeight,
  kMarkSlant,
  kMarkUnderline,
  kMarkStrikeOut,
  kMarkCharSet,
  kMarkFontColor,
  kMarkFillPattern,
  kMarkPatternColor,
  kMarkBackgroundColor,
  kMarkBorderSides,
  kMarkBorderStyle,
  kMarkBorderColor,
  kMarkVerticalAlignment,
  kMarkHorizontalAlignment,
  kMarkHorizontalIndent,
  kMarkVerticalIndent,
  kMarkWrapText,
  kMarkFitToCell,
  kMarkRotation,
  kMarkDropDown,
  kMarkHidden,
  kMarkProtected,
  kStyleMarkCount
};
constexpr uint8_t kMarkAgree = 1;
constexpr uint8_t kMarkMixed = 2;

class StyleTable {
 public:
  static constexpr uint8_t kMaxFonts = 128;
  static constexpr uint16_t kMaxStyles = 512;

  StyleTable() { Init(); }

  // One default style and one default font; every slot cleared, every style
  // slot with the default indents.
  void Init();

  static bool FontsEqual(const FontRecord& a, const FontRecord& b);
  // Equal as the user sees them: options and colours that the record's
  // category or flags leave unused do not count.
  static bool StylesEqual(const StyleRecord& a, const StyleRecord& b);

  // The index of the first equal entry, else the entry appended. A full table
  // answers false with index 0 and stays unchanged.
  bool FindOrAddFont(const FontRecord& font, uint8_t* index);
  bool FindOrAddStyle(const StyleRecord& style, uint16_t* index);

  // An index at or past the count means entry 0.
  const FontRecord& FontAt(uint32_t index) const;
  const StyleRecord& StyleAt(uint32_t index) const;

  // Folds one pair of a selection's styles into marks[kStyleMarkCount]: a slot
  // becomes kMarkMixed where the two differ and kMarkAgree where they agree
  // and no earlier pair differed. The category marks the slot of each style's
  // category (categories above 10 use slot 10); two user patterns also
  // compare their code texts.
  void CompareStyleAttributes(const StyleRecord& a, const StyleRecord& b,
                              uint8_t* marks) const;

  // The table side of compacting a workbook's styles: keeps style 0, font 0
  // and the styles marked in used[kMaxStyles] with their fonts, moves them
  // down in index order and points every kept style at its font's new index.
  // newStyleIndex[kMaxStyles] receives each old style's new index (0 for the
  // removed ones), for the caller to rewrite its style references.
  void RemoveUnused(const uint8_t* used, uint16_t* newStyleIndex);

  // Counts within 1..maximum; for tests and debugging.
  bool CheckInvariants() const;

  uint16_t styleCount;
  uint8_t fontCount;
  FontRecord fonts[kMaxFonts];
  StyleRecord styles[kMaxStyles];

 private:
  uint32_t UsableFontCount() const;
  uint32_t UsableStyleCount() const;
};

#endif
