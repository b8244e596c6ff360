#ifndef TALVERO_AUTOMATION_ARRAY_ELEMENTS_H
#define TALVERO_AUTOMATION_ARRAY_ELEMENTS_H

// An array a client hands in is read and written element by element into
// buffers of the element type the interface declares; an array of wider
// elements would overrun them, so it counts as one that cannot be read.

#include <windows.h>

#include <oleauto.h>

inline bool HasElementsOfSize(SAFEARRAY* array, UINT size) {
  return array != nullptr && SafeArrayGetElemsize(array) == size;
}

#endif
