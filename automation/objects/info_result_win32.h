#ifndef TALVERO_AUTOMATION_INFO_RESULT_H
#define TALVERO_AUTOMATION_INFO_RESULT_H

// The HRESULT of an info object's member from what its record answered.

#include <windows.h>

#include <cstdint>

#include "automation/info/info_error.h"

inline HRESULT InfoResult(bool done, uint8_t error) {
  if (done) return S_OK;
  return error == kInfoOutOfMemory ? E_OUTOFMEMORY : E_INVALIDARG;
}

#endif
