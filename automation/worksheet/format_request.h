#ifndef TALVERO_AUTOMATION_FORMAT_REQUEST_H
#define TALVERO_AUTOMATION_FORMAT_REQUEST_H

// What a format call asks of the style table: one attribute kind of the
// core, applied from a template style and a template font built from a
// FormatInfo object's attributes.

#include "automation/info/format_info_record.h"
#include "core/styles/style_record.h"

// The FORMAT_TYPES of the type library that are not the core's own kinds.
constexpr int kFormatTypeUserNumberFormat = 2;  // taken as the standard numeric format
constexpr int kFormatTypeInterior = 18;
constexpr int kFormatTypeProtection = 19;
constexpr int kLastFormatType = kFormatTypeProtection;

struct FormatRequest {
  int kind;  // StyleAttributeKind; 0: the call changes nothing
  StyleRecord style;
  FontRecord font;
};

// The request of a FORMAT_TYPES value. Both templates start cleared, so the
// kinds whose fields the info object does not carry (character set,
// alignment, wrap, drop-down list) apply zero values. The value is the
// style table's kind unchanged: the interior type (18) is the outline kind
// and changes nothing, the protection type (19) is the fill kind and applies
// the fill; a standard numeric format takes styleID as its
// category (10 counting as 0) with the category's default options, and a
// styleID above 10 changes nothing. False for a value that is no
// FORMAT_TYPES (below 1 or above 19).
bool BuildFormatRequest(int formatType, const FormatInfoRecord& info, FormatRequest* request);

// Whether a FORMAT_TYPES value changes what automatic row heights measure:
// the font size, the face name, all font options.
bool FormatChangesRowHeights(int formatType);

#endif
