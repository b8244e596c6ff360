#ifndef TALVERO_CHARTS_JPEG_JPEG_LIBRARY_H
#define TALVERO_CHARTS_JPEG_JPEG_LIBRARY_H

// The JPEG library the codec talks to: a properties record that each call
// fills, five entry points and their modes. The program carries its own
// library behind this interface (jpeg_turbo_library.cpp, on libjpeg-turbo);
// JpegLibrary::Load binds its entry points for one decode or encode.

#include <cstdint>

enum JpegColour : uint32_t {
  kJpegColourBgr = 2,          // blue, green, red bytes
  kJpegColourYCbCr = 3,
  kJpegColourGrey = 4,
  kJpegColourRgba = 5,         // red, green, blue, alpha bytes
  kJpegColourYCbCrAlpha = 6,
  kJpegColourOther = 255,
};

enum JpegMode : uint32_t {
  kJpegReadParameters = 1,  // from jpgBytes: size, channels, colour, comment
  kJpegReadImage = 3,       // from jpgBytes into dibBytes
  kJpegWriteImage = 9,      // from dibBytes into jpgBytes
};

constexpr uint32_t kJpegSubsampling411 = 1;  // chroma halved both ways

// Zeroed before ijlInit; the callers set only what their mode reads.
struct JpegCoreProperties {
  // The bitmap: rows of dibWidth x dibChannels bytes and dibPadBytes of
  // padding. A positive height stores the top row first, a negative one the
  // bottom row first.
  uint8_t* dibBytes;
  uint32_t dibWidth;
  int32_t dibHeight;
  uint32_t dibPadBytes;
  uint32_t dibChannels;
  uint32_t dibColour;  // JpegColour
  // The JPEG. Reading: its bytes and their count. Writing: a malloc block of
  // jpgSizeBytes bytes that the library grows with realloc when the picture
  // needs more (jpgBytes then names the new block); afterwards jpgSizeBytes
  // holds the bytes written.
  const char* jpgFile;  // no file: always null
  uint8_t* jpgBytes;
  uint32_t jpgSizeBytes;
  uint32_t jpgWidth;
  uint32_t jpgHeight;
  uint32_t jpgChannels;
  uint32_t jpgColour;  // JpegColour
  uint32_t jpgSubsampling;
  uint32_t quality;  // 1 to 100
  // A comment found while reading the parameters, NUL-terminated, cut to
  // commentSize - 1 bytes; none without a buffer.
  char* comment;
  uint32_t commentSize;
};

// Each returns 0 on success.
using JpegInitFunction = int (*)(JpegCoreProperties* properties);
using JpegFreeFunction = int (*)(JpegCoreProperties* properties);
using JpegReadFunction = int (*)(JpegCoreProperties* properties, uint32_t mode);
using JpegWriteFunction = int (*)(JpegCoreProperties* properties, uint32_t mode);
using JpegVersionFunction = const char* (*)();

struct JpegEntryPoints {
  JpegInitFunction ijlInit;
  JpegFreeFunction ijlFree;
  JpegReadFunction ijlRead;
  JpegWriteFunction ijlWrite;
  JpegVersionFunction ijlGetLibVersion;
};

// The library built into the program.
const JpegEntryPoints& BuiltInJpegLibrary();

// A table that stands in for the built-in library at every later Load, to
// test a library that lacks entry points; null restores the built-in one.
void SetJpegLibraryForTesting(const JpegEntryPoints* library);

struct JpegLibrary {
  // Binds the five entry points unless they are bound already; true only
  // when all five are there.
  bool Load();
  void Unload();
  // Load, then ijlInit on the record, which it zeroes first: 0, or the
  // image error code (48 no library, 49 it cannot start), the library then
  // unloaded again.
  uint8_t Start(JpegCoreProperties* properties);

  const JpegEntryPoints* module = nullptr;
  JpegInitFunction ijlInit = nullptr;
  JpegFreeFunction ijlFree = nullptr;
  JpegReadFunction ijlRead = nullptr;
  JpegWriteFunction ijlWrite = nullptr;
  JpegVersionFunction ijlGetLibVersion = nullptr;
};

#endif
