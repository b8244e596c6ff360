#ifndef TALVERO_FILES_EXCEL_XML_LENGTHS_H
#define TALVERO_FILES_EXCEL_XML_LENGTHS_H

// Lengths as Excel 2003 XML files give them: widths and heights in points,
// page margins in inches. The program keeps pixels of the screen and
// millimetres, with 25.3995 millimetres to the inch as it always had.

#include <cstddef>
#include <cstdint>

// Room for the text of one converted length.
constexpr size_t kExcelLengthTextSize = 32;

// Pixels (at pixelsPerInch) as points, to 1/400 point.
void PixelsToPointsText(uint32_t pixels, int32_t pixelsPerInch, char* out, size_t size);
// Points as pixels: truncated, limited to 1..4095.
uint16_t PointsToPixels(double points, int32_t pixelsPerInch);
// Millimetres as inches, to 1/1000 inch.
void MillimetresToInchesText(double millimetres, char* out, size_t size);
// Inches as millimetres, to 1/1000 mm.
double InchesToMillimetres(double inches);
// Pixels (at pixelsPerInch) as millimetres, to 1/1000 mm.
double PixelsToMillimetres(uint32_t pixels, int32_t pixelsPerInch);

#endif
