#ifndef TALVERO_AUTOMATION_PAGE_INFO_MARGINS_H
#define TALVERO_AUTOMATION_PAGE_INFO_MARGINS_H

// What a PageInfo object takes as a margin from its client.

// The longest margin in millimetres: 65,534 cm, the most the print sheet's
// length fields take, and longer than any paper.
constexpr double kMaxPageMargin = 655340.0;

// True for millimetres from 0 to kMaxPageMargin; a negative length, one
// beyond any paper or one that is not a number cannot be a margin.
bool IsPageMargin(double millimetres);

#endif
