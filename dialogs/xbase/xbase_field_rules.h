#ifndef TALVERO_DIALOGS_XBASE_FIELD_RULES_H
#define TALVERO_DIALOGS_XBASE_FIELD_RULES_H

// What the xBase field dialog edits of one field descriptor and how its
// values go back into the descriptor.

#include <cstddef>
#include <cstdint>

#include "dialogs/xbase/xbase_description.h"

constexpr int32_t kXBaseLengthMinimum = 1;
constexpr int32_t kXBaseLengthMaximum = 32767;
constexpr int32_t kXBaseDecimalsMaximum = 18;

// The types the dialog offers, in the order of its list, and their names.
constexpr char kXBaseOfferedTypes[] = "CNFLDM";
constexpr int kXBaseOfferedTypeCount = 6;
extern const char* const kXBaseOfferedTypeNames[kXBaseOfferedTypeCount];
// The list item of a type letter; -1 for a type the list does not offer.
int XBaseTypeItem(char type);

struct XBaseFieldValues {
  char name[kXBaseFieldNameSize];
  char type;
  int32_t length;
  int32_t decimals;
};

// The values of a descriptor. A FoxPro 2.x or Clipper character field keeps
// the high byte of its length in the decimals byte; the dialog shows its
// whole length with no decimals.
XBaseFieldValues XBaseFieldValuesOf(const uint8_t* field, uint8_t dialect);

// A new type: logical, date and memo fields have fixed lengths (1, 8, 10)
// and no decimals.
void ApplyXBaseFieldType(XBaseFieldValues* values, char type);
inline bool XBaseLengthEditable(char type) { return type == 'C' || type == 'N' || type == 'F'; }
inline bool XBaseDecimalsEditable(char type) { return type == 'N'; }

// The longest length a descriptor of the dialect keeps for the type: numbers
// 20, dBase character fields 254, FoxPro 2.x and Clipper character fields
// 65535 (over the length and decimals bytes), any other type 255.
int32_t XBaseLengthLimit(uint8_t dialect, char type);

// Writes the values into the descriptor: the length at most the limit above,
// decimals at most 18. The name fills the 11 name bytes, padded with NULs.
void StoreXBaseField(uint8_t* field, uint8_t dialect, const XBaseFieldValues& values);

#endif
