#include "app/frame/selection_reference.h"

#include <gtest/gtest.h>

TEST(SelectionReference, ColumnsRowsAndCellsInBothAddressingStyles) {
  struct Case {
    uint16_t c1;
    uint32_t r1;
    uint16_t c2;
    uint32_t r2;
    const char* a1;
    const char* r1c1;
  };
  const Case cases[] = {
      {1, 2, 1, 2, "B3", "R3C2"},
      {1, 2, 3, 9, "B3:D10", "R3C2:R10C4"},
      {1, 0, 3, 2097151, "B:D", "C2:C4"},
      {0, 2, 2046, 9, "3:10", "R3:R10"},
      {2046, 2097151, 2046, 2097151, "BZS2097152", "R2097152C2047"},
      {0, 0, 2046, 2097151, "A:BZS", "C1:C2047"},  // the whole sheet is its columns
      {4, 0, 4, 2097150, "E1:E2097151", "R1C5:R2097151C5"},
  };
  char text[kSelectionReferenceCapacity];
  for (const Case& c : cases) {
    FormatSelectionReference(c.c1, c.r1, c.c2, c.r2, true, text, sizeof text);
    EXPECT_STREQ(text, c.a1);
    FormatSelectionReference(c.c1, c.r1, c.c2, c.r2, false, text, sizeof text);
    EXPECT_STREQ(text, c.r1c1);
  }
  // A buffer too small is left empty, never overrun.
  char small[6] = "xxxxx";
  FormatSelectionReference(1, 2, 3, 9, true, small, sizeof small);
  EXPECT_STREQ(small, "");
  FormatSelectionReference(1, 2, 3, 9, true, small, 3);
  EXPECT_STREQ(small, "");
}
