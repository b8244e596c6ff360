#ifndef TALVERO_APP_FRAME_SELECTION_REFERENCE_H
#define TALVERO_APP_FRAME_SELECTION_REFERENCE_H

// The name box's text for the active view's selection: whole columns
// ("B:D", "C2:C4") when it spans every row, whole rows ("3:10", "R3:R10")
// when it spans every column, else the cells ("B3", "B3:D10", "R3C2:R10C4"),
// in A1 or R1C1 addressing. Rows and columns count from 0.

#include <cstddef>
#include <cstdint>

// Room for the longest text, with its NUL.
constexpr size_t kSelectionReferenceCapacity = 40;

// A buffer too small for the text gets an empty one.
void FormatSelectionReference(uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow,
                              bool addressingA1, char* buffer, size_t size);

#endif
