#include "charts/png/png_memory_io.h"

#include <cstring>

namespace {

void KeepMessage(png_structp png, png_const_charp message) {
  char* buffer = static_cast<char*>(png_get_error_ptr(png));
  if (buffer == nullptr) return;
  size_t length = message ? strnlen(message, kPngMessageMaxLength) : 0;
  memcpy(buffer, message ? message : "", length);
  buffer[length] = '\0';
}

}  // namespace

void PngReadFromMemory(png_structp png, png_bytep data, size_t length) {
  PngReadSource* source = static_cast<PngReadSource*>(png_get_io_ptr(png));
  if (length > source->count - source->position) png_error(png, "");
  memcpy(data, source->bytes + source->position, length);
  source->position += length;
}

void PngWriteToMemory(png_structp png, png_bytep data, size_t length) {
  PngWriteSink* sink = static_cast<PngWriteSink*>(png_get_io_ptr(png));
  size_t start = sink->position;
  sink->position += length;
  if (sink->capacity == 0) return;
  if (start > sink->capacity || length > sink->capacity - start) png_error(png, "");
  memcpy(sink->buffer + start, data, length);
}

void PngFlushNone(png_structp) {}

void PngErrorHandler(png_structp png, png_const_charp message) {
  KeepMessage(png, message);
  png_longjmp(png, 1);
}

void PngWarningHandler(png_structp png, png_const_charp message) { KeepMessage(png, message); }
