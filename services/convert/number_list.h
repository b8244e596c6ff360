#ifndef TALVERO_APP_NUMBER_LIST_H
#define TALVERO_APP_NUMBER_LIST_H

// Lists of numbers and ranges such as page lists: "1,3-5". The dialogs check
// them with the grammar printing reads them by (core/base/range_list.h), so
// that a list the dialog takes is a list that prints.

struct NumberListPair {
  int first;  // zero-based, first <= last
  int last;
};

// Items are numbers or two numbers joined by "-", separated by commas or
// blanks (see core/base/range_list.h); every
// number lies in minimum..maximum. Returns the number of items (0 for an
// empty text) or -1 for a malformed list or a number out of bounds. Pairs,
// when given, receive the first capacity items.
int ParseNumberList(const char* text, NumberListPair* pairs, int capacity, int minimum, int maximum);

#endif
