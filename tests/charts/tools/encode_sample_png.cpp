// Writes the sample picture as our encoder makes it, for
// tests/golden/generate_png_imagemagick.py to hand to another decoder.
#include <cstdio>
#include <cstdlib>

#include "charts/png/png_codec.h"
#include "tests/charts/png/sample_picture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  SampleDibPtr dib = MakeSampleDib(false);
  uint8_t* bytes = nullptr;
  size_t count = 0;
  uint8_t error = 0;
  if (!EncodePng(dib.get(), &bytes, &count, 0.0, &error)) {
    fprintf(stderr, "encoding failed with %d\n", error);
    return 1;
  }
  FILE* out = fopen(argv[1], "wb");
  bool written = out && fwrite(bytes, 1, count, out) == count;
  if (out) written = fclose(out) == 0 && written;
  free(bytes);
  return written ? 0 : 1;
}
