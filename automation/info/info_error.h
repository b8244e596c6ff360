#ifndef TALVERO_AUTOMATION_INFO_ERROR_H
#define TALVERO_AUTOMATION_INFO_ERROR_H

// Why a member of an info object refused its arguments; the object's
// interface turns the code into its HRESULT.

#include <cstdint>

enum InfoError : uint8_t {
  kInfoNoError = 0,
  kInfoInvalidArgument = 1,  // a value out of range or an index past the fields
  kInfoOutOfMemory = 2,
};

#endif
