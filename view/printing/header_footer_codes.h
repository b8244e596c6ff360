#ifndef TALVERO_VIEW_HEADER_FOOTER_CODES_H
#define TALVERO_VIEW_HEADER_FOOTER_CODES_H

// Header and footer code texts: "&" and a letter. &l, &c and &r begin the
// left, centre and right sections; &p the numbers of the pages on the sheet
// of paper (with an optional +n or -n added), &n the pages of the list, &m
// the number of the sheet, &f the file, &a the worksheet path, &d and &t the
// date and time now, &g and &z those of the file's last change. Any other
// character after "&" is printed with the "&". The expansion is plain text
// work: the runs it produces go to a sink that draws or measures them.

#include <cstddef>
#include <cstdint>

#include "platform/os_services.h"

// A section's run holds at most this many characters; an insertion that
// would pass it is left out whole.
constexpr size_t kHeaderRunCapacity = 1024;
constexpr int kPrintedSheetMaxPages = 252;

// What the codes read of the sheet of paper being printed.
struct PrintedSheetInfo {
  uint32_t pageCount;    // entries of the page list, copies included
  uint32_t sheetNumber;  // from 1
  // Positions in the page list (from 1) of the pages on this sheet, ended by 0.
  uint32_t pages[kPrintedSheetMaxPages + 1];
};

enum HeaderSection : int {
  kSectionLeft = 0,
  kSectionCentre = 1,
  kSectionRight = 2,
};

// A date or time in the user's format; false when it cannot be written.
using HeaderTimeFormatter = bool (*)(const OsLocalTime& time, char* buffer, size_t size);

// The sources of the codes; an absent one (null) makes its code insert
// nothing. The current date and time come from OsGetLocalTime.
struct HeaderFooterSources {
  const char* filePath;
  const char* sheetPath;
  const PrintedSheetInfo* sheet;
  const OsLocalTime* fileTime;  // the file's last modification
  HeaderTimeFormatter formatDate;
  HeaderTimeFormatter formatTime;
};

// Receives each run as it ends: its section and its text (possibly empty).
// False when it could not be drawn or measured.
using HeaderRunSink = bool (*)(void* context, int section, const char* text, size_t length);

// Reads the codes left to right and hands every run to the sink; false when
// the sink failed for any run (the others are still handed on).
bool ExpandHeaderFooter(const char* codes, const HeaderFooterSources& sources, HeaderRunSink sink, void* context);

#endif
