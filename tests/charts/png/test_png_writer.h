#ifndef TALVERO_TESTS_CHARTS_PNG_TEST_PNG_WRITER_H
#define TALVERO_TESTS_CHARTS_PNG_TEST_PNG_WRITER_H

// Writes PNG files of any colour type, bit depth and interlacing, with the
// optional chunks the decoder reacts to, straight through libpng: the inputs
// of the decoder's tests.

#include <png.h>

#include <cstdint>
#include <vector>

struct TestPngSpec {
  int colorType;
  int bitDepth;
  bool interlaced;
  // Samples per pixel as the file stores them (palette: one index), each
  // 0..2^depth-1, rows from the top.
  uint32_t width;
  uint32_t height;
  std::vector<uint16_t> samples;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS of a palette image
  bool hasTransparentColor = false;    // tRNS of a grey or RGB image
  png_color_16 transparentColor{};
  bool hasBackground = false;
  png_color_16 background{};
  double gamma = 0.0;  // 0: no gAMA chunk
};

inline void AppendPngBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

inline int SamplesPerPixel(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
  }
}

// The packed rows libpng expects: samples at the bit depth, big-endian.
inline std::vector<std::vector<png_byte>> PackRows(const TestPngSpec& spec) {
  int perPixel = SamplesPerPixel(spec.colorType);
  size_t bitsPerRow = size_t{spec.width} * perPixel * spec.bitDepth;
  std::vector<std::vector<png_byte>> rows(spec.height, std::vector<png_byte>((bitsPerRow + 7) / 8, 0));
  for (uint32_t y = 0; y < spec.height; ++y) {
    for (size_t s = 0; s < size_t{spec.width} * perPixel; ++s) {
      uint16_t v = spec.samples[y * size_t{spec.width} * perPixel + s];
      size_t bit = s * spec.bitDepth;
      if (spec.bitDepth == 16) {
        rows[y][bit / 8] = static_cast<png_byte>(v >> 8);
        rows[y][bit / 8 + 1] = static_cast<png_byte>(v);
      } else {
        int shift = 8 - spec.bitDepth - static_cast<int>(bit % 8);
        rows[y][bit / 8] |= static_cast<png_byte>(v << shift);
      }
    }
  }
  return rows;
}

// A libpng error here aborts the test program: no jump buffer is set.
inline std::vector<uint8_t> WriteTestPng(const TestPngSpec& spec) {
  std::vector<uint8_t> out;
  std::vector<std::vector<png_byte>> rows = PackRows(spec);
  std::vector<png_bytep> rowPointers;
  for (auto& row : rows) rowPointers.push_back(row.data());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendPngBytes, nullptr);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  if (!spec.paletteAlpha.empty())
    png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()), nullptr);
  if (spec.hasTransparentColor) png_set_tRNS(png, info, nullptr, 0, &spec.transparentColor);
  if (spec.hasBackground) png_set_bKGD(png, info, &spec.background);
  if (spec.gamma != 0.0) png_set_gAMA(png, info, spec.gamma);
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

#endif
