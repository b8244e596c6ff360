// Writes the sample picture as our JPEG encoder makes it (sample.jpg, at the
// default quality) and as a BMP file (sample.bmp) into a folder: what
// tests/golden/generate_jpeg_imagemagick.py hands to another decoder, and
// seeds of the BMP and JPEG decoders' fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "charts/jpeg/jpeg_codec.h"
#include "tests/charts/png/sample_picture.h"

namespace {

bool WriteFile(const std::string& path, const uint8_t* bytes, size_t count, const uint8_t* head = nullptr,
               size_t headCount = 0) {
  FILE* out = fopen(path.c_str(), "wb");
  bool written = out && fwrite(head, 1, headCount, out) == headCount && fwrite(bytes, 1, count, out) == count;
  if (out) written = fclose(out) == 0 && written;
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  SampleDibPtr dib = MakeSampleDib(true);
  uint8_t* bytes = nullptr;
  size_t count = 0;
  uint8_t error = 0;
  if (!EncodeJpeg(dib.get(), &bytes, &count, 0, &error)) {
    fprintf(stderr, "encoding failed with %d\n", error);
    return 1;
  }
  bool written = WriteFile(folder + "/sample.jpg", bytes, count);
  free(bytes);
  const size_t dibBytes = sizeof(BitmapInfoHeader) + dib->biSizeImage;
  const uint32_t fileSize = static_cast<uint32_t>(14 + dibBytes);
  const uint8_t fileHeader[14] = {'B', 'M', uint8_t(fileSize), uint8_t(fileSize >> 8), uint8_t(fileSize >> 16),
                                  uint8_t(fileSize >> 24), 0, 0, 0, 0, 54, 0, 0, 0};
  written = WriteFile(folder + "/sample.bmp", reinterpret_cast<const uint8_t*>(dib.get()), dibBytes, fileHeader,
                      sizeof fileHeader) &&
            written;
  return written ? 0 : 1;
}
