#ifndef TALVERO_VIEW_IMAGE_FILE_H
#define TALVERO_VIEW_IMAGE_FILE_H

// A painted image written to its file: as the packed bitmap itself, or
// through the PNG or JPEG encoder. The encoders belong to the image codecs
// above this layer; the program installs them when it starts, and a format
// whose encoder is not installed is refused as unsupported.

#include <cstddef>
#include <cstdint>

// Encodes a 24-bit packed bitmap (its 40-byte header, then its rows) into a
// block from malloc; number is the format's quality or gamma. False with
// the codec's error code.
using ImageEncoder = bool (*)(const uint8_t* packedDib, double number, uint8_t** bytesOut, size_t* countOut,
                              uint8_t* error);

struct ImageEncoders {
  ImageEncoder png;
  ImageEncoder jpeg;
};

// The encoders every later save uses; null removes them. The table must
// outlive its use.
void SetImageEncoders(const ImageEncoders* encoders);

// Writes the bitmap of dibBytes bytes in the format (ImageFormat) to the
// file at path, created anew. False with kImageSaveUnsupportedFormat for
// another format, a missing encoder or a failed one (before the file is
// touched), kImageSaveCannotOpen, or kImageSaveWriteError when not every
// byte reached the file.
bool SaveImageFile(const uint8_t* dib, size_t dibBytes, uint8_t format, double number, const char* path,
                   uint8_t* error);

#endif
