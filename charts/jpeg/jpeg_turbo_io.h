#ifndef TALVERO_CHARTS_JPEG_JPEG_TURBO_IO_H
#define TALVERO_CHARTS_JPEG_JPEG_TURBO_IO_H

// What the built-in JPEG library gives libjpeg: an error manager that
// prints nothing and leaves through a jump buffer set by the entry point
// that called libjpeg, and a destination that grows its malloc block. Only
// libjpeg's C frames and these callbacks, which own nothing, lie between the
// jump and its buffer; no C++ exception passes libjpeg.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "charts/jpeg/jpeg_library.h"

struct JpegErrorTrap {
  jpeg_error_mgr manager;  // first: libjpeg passes its address back
  std::jmp_buf jump;
};

// libjpeg's standard manager with its exit jumping to trap.jump and its
// messages dropped; the caller sets the jump buffer before any libjpeg call.
jpeg_error_mgr* InitJpegErrorTrap(JpegErrorTrap& trap);

struct JpegGrowingDestination {
  jpeg_destination_mgr manager;  // first: libjpeg passes its address back
  JpegCoreProperties* properties;  // jpgBytes and jpgSizeBytes
  size_t capacity;
};

// Writes into properties->jpgBytes (a malloc block of jpgSizeBytes bytes,
// or null), doubling it with realloc when it is full; at the end
// jpgSizeBytes is the count written. A block that cannot grow ends the
// write with libjpeg's out-of-memory error, the old block still in place.
void UseGrowingDestination(jpeg_compress_struct& info, JpegGrowingDestination& destination,
                           JpegCoreProperties* properties);

#endif
