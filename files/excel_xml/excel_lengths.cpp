#include "files/excel_xml/excel_lengths.h"

#include <cmath>

#include "core/numfmt/double_to_text.h"

namespace {

constexpr double kMillimetresPerInch = 25.3995;
constexpr double kPointsPerInch = 72;
constexpr uint32_t kLargestSize = 4095;

}  // namespace

void PixelsToPointsText(uint32_t pixels, int32_t pixelsPerInch, char* out, size_t size) {
  const double quarters = std::trunc(double(pixels) * kPointsPerInch * 400 / double(pixelsPerInch) + 0.5);
  DoubleToText(quarters / 400, out, size, nullptr);
}

uint16_t PointsToPixels(double points, int32_t pixelsPerInch) {
  const double pixels = double(pixelsPerInch) * points / kPointsPerInch;
  if (!(pixels >= 1))
    return 1;
  return uint16_t(pixels >= kLargestSize ? kLargestSize : uint32_t(pixels));
}

void MillimetresToInchesText(double millimetres, char* out, size_t size) {
  const double thousandths = std::trunc(millimetres * 1000 / kMillimetresPerInch + 0.5);
  DoubleToText(thousandths / 1000, out, size, nullptr);
}

double InchesToMillimetres(double inches) { return std::trunc(inches * 1000 * kMillimetresPerInch + 0.5) / 1000; }

double PixelsToMillimetres(uint32_t pixels, int32_t pixelsPerInch) {
  return InchesToMillimetres(double(pixels) / double(pixelsPerInch));
}
