#ifndef TALVERO_CHARTS_PNG_PNG_MEMORY_IO_H
#define TALVERO_CHARTS_PNG_PNG_MEMORY_IO_H

// The callbacks the codec gives libpng: reading from and writing to memory,
// and keeping libpng's messages. Errors leave through libpng's jump buffer,
// never as C++ exceptions, which must not cross libpng's C frames.

#include <png.h>

#include <cstddef>
#include <cstdint>

struct PngReadSource {
  const uint8_t* bytes;
  size_t count;
  size_t position;
};

// With capacity 0 the sink only counts what would be written.
struct PngWriteSink {
  uint8_t* buffer;
  size_t capacity;
  size_t position;
};

// libpng's last message, kept for a debugger; never shown to the user.
constexpr size_t kPngMessageBufferSize = 1028;
constexpr size_t kPngMessageMaxLength = 1023;

void PngReadFromMemory(png_structp png, png_bytep data, size_t length);
void PngWriteToMemory(png_structp png, png_bytep data, size_t length);
void PngFlushNone(png_structp png);
void PngErrorHandler(png_structp png, png_const_charp message);
void PngWarningHandler(png_structp png, png_const_charp message);

#endif
