#ifndef TALVERO_AUTOMATION_XBASE_INFO_FIELDS_H
#define TALVERO_AUTOMATION_XBASE_INFO_FIELDS_H

// What an XBaseInfo object carries: an xBase flavour, an encoding and a
// table of field descriptors in the layout of the table file's own, so that
// a save or a load copies them as they stand.

#include <cstdint>

#include "automation/info/info_error.h"
#include "core/model/exchange_options.h"

// Room for a field name and its NUL: names fill at most bytes 0 to 10.
constexpr uint32_t kXBaseInfoNameSize = kXBaseFieldNameSize + 1;

struct XBaseInfoFields {
  // dialect is the flavour (default dBase IV), codePage the encoding
  // (default ANSI); the descriptors are allocated by the first field count.
  XBaseTable table;
  int32_t count = 0;
  uint8_t error = kInfoNoError;

  // Clears every descriptor and sets the count; refuses a count outside 0
  // to 2047 (kInfoInvalidArgument) and a failed allocation (kInfoOutOfMemory).
  bool SetFieldCount(int32_t fields);
  // Fills the descriptor of a field below the count: the name (cut to 11
  // bytes), the type letter, and length and decimals as the type keeps them.
  bool SetField(int32_t index, const char* name, uint8_t type, int32_t length, int32_t decimals);
  // The descriptor of a field below the count; name gets at most 11 bytes.
  bool GetField(int32_t index, char (&name)[kXBaseInfoNameSize], uint8_t* type, uint8_t* length,
                uint8_t* decimals);
  // Moves the fields after index down one place.
  bool DeleteField(int32_t index);
  // 2 ANSI or 3 OEM.
  bool SetEncoding(int32_t encoding);

 private:
  uint8_t* Descriptor(int32_t index);
};

#endif
