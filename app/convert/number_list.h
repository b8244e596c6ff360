#ifndef TALVERO_APP_NUMBER_LIST_H
#define TALVERO_APP_NUMBER_LIST_H

// Lists of numbers and ranges such as page lists: "1, 3-5 8".

struct NumberListPair {
  int first;  // zero-based, first <= last
  int last;
};

// Items are numbers or two numbers joined by "-" (blanks allowed around it),
// separated by blanks or commas; every number lies in minimum..maximum.
// Returns the number of items (0 for an empty text) or -1 at the first bad
// character or number. Pairs, when given, receive the first capacity items.
int ParseNumberList(const char* text, NumberListPair* pairs, int capacity, int minimum, int maximum);

#endif
