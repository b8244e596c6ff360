#ifndef TALVERO_CORE_RANGE_LIST_H
#define TALVERO_CORE_RANGE_LIST_H

// Lists of numbers and ranges such as "1,3-5": the page lists, excluded rows
// and columns of printing, and what the print dialogs accept for them, read
// by one grammar so that a list the dialog takes is a list that prints.
//
// Items are numbers, or two numbers joined by a dash (5-3 is read as 3-5),
// separated by a comma, by blanks, or by both; blanks may stand around a dash
// and before the first item, and a list may end in a comma. Any other
// character makes the list malformed, so "1;3" is never read as page 13.

#include <cstdint>

// A 127-character text holds at most this many pairs.
constexpr int kRangeListMaxPairs = 65;

struct RangePair {
  uint32_t from;  // from <= to
  uint32_t to;
};

using RangePairSink = void (*)(void* context, uint32_t from, uint32_t to);

// Calls sink (when given) with each pair in order and returns the number of
// pairs: 0 for an empty text, -1 for a malformed one or a number outside
// minimum..maximum. Long digit runs saturate before they are compared, so
// no run of digits wraps into the bounds.
int ParseRangeListEach(const char* text, uint32_t minimum, uint32_t maximum, RangePairSink sink, void* context);

// The same, writing the first capacity pairs to pairs when it is given.
int ParseRangeList(const char* text, RangePair* pairs, int capacity, uint32_t minimum, uint32_t maximum);

// True when value lies in a pair of the list; false for an empty or malformed list.
bool RangeListContains(const char* text, uint32_t value, uint32_t minimum, uint32_t maximum);

#endif
