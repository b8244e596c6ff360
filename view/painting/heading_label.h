#ifndef TALVERO_VIEW_HEADING_LABEL_H
#define TALVERO_VIEW_HEADING_LABEL_H

#include <cstddef>
#include <cstdint>

// The label of a column heading on screen and on paper: its letters with A1
// addressing, "C" and its number with R1C1.
void ColumnHeadingLabel(uint16_t column, char* buffer, size_t size);

#endif
