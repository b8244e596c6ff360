#include "files/native_xml/xml_axis.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/model/series_record.h"
#include "core/numfmt/double_to_text.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

// Bits of SeriesRecord::axisFlags that the Axis element carries; the others
// keep their values.
constexpr uint16_t kLabelsVertical = 1;
constexpr uint16_t kLabelsHorizontal = 2;
constexpr uint16_t kTitleVertical = 4;
constexpr uint16_t kTitleHorizontal = 8;
constexpr uint16_t kMajorTicks = 16;
constexpr uint16_t kMinorTicks = 32;

const char* const kAxisTypes[] = {"None", "Primary", "Secondary", "Dual"};
const XmlNameTable kAxisTypeTable{kAxisTypes, 4};
const char* const kOrientations[] = {"None", "Vertical", "Horizontal"};
const XmlNameTable kOrientationTable{kOrientations, 3};

const char* Orientation(uint16_t flags, uint16_t vertical, uint16_t horizontal) {
  return flags & horizontal ? "Horizontal" : flags & vertical ? "Vertical" : "None";
}

// The orientation word sets exactly its own bit of the pair.
uint16_t SetOrientation(CXmlReader* reader, uint16_t flags, uint16_t vertical, uint16_t horizontal) {
  const uint8_t word = ReadXmlName(reader, kOrientationTable);
  flags = uint16_t(flags & ~(vertical | horizontal));
  if (word == 1)
    flags |= vertical;
  else if (word == 2)
    flags |= horizontal;
  return flags;
}

uint16_t SetBit(CXmlReader* reader, uint16_t flags, uint16_t bit) {
  uint8_t on = 0;
  reader->ReadBool(&on, reader->AttributeValue());
  return on ? uint16_t(flags | bit) : uint16_t(flags & ~bit);
}

void WriteUserGridLine(CXmlReader* writer, const BorderLine& line, double value, int depth) {
  XmlAttributeText attributes;
  if (const char* style = line.style ? XmlNameOf(kXmlLineStyleNames, line.style) : nullptr)
    attributes.Add(" Style=\"%s\"", style);
  if (line.colorSet)
    attributes.Add(" Color=\"#%02x%02x%02x\"", unsigned(line.color & 0xFF), unsigned((line.color >> 8) & 0xFF),
                   unsigned((line.color >> 16) & 0xFF));
  char number[kExactDoubleTextCapacity];
  // The reader takes finite values only.
  DoubleToExactText(std::isfinite(value) ? value : 0.0, number, sizeof number, nullptr);
  writer->WriteElement("UserGridLine", attributes.Text(), kXmlWriteStart, depth, 0);
  writer->WriteRaw(number);
  writer->WriteElement("UserGridLine", nullptr, kXmlWriteEnd, 0, 1);
}

// A grid line element, once or, when repeatable, as often as it comes.
void ReadGridLine(CXmlReader* reader, const char* name, BorderLine* line, bool repeatable) {
  while (OpenXmlElement(reader, name, true)) {
    ReadXmlLine(reader, line);
    if (!IsEmptyXmlElement(reader))
      CloseXmlElement(reader, name);
    if (!repeatable)
      return;
  }
}

void ReadUserGridLine(CXmlReader* reader, SeriesRecord* series) {
  if (series->userGridCount >= kSeriesUserGridLines)
    ThrowXmlError(kFileXmlUnexpectedElement);
  const int index = series->userGridCount;
  ReadXmlLine(reader, &series->userGridLines[index]);
  const bool empty = IsEmptyXmlElement(reader);
  reader->text[0] = 0;
  if (!empty) {
    reader->ReadText(nullptr);
    if (reader->DecodeEntities() < 0)
      ThrowXmlError(kFileXmlBadData);
  }
  const double largest = std::numeric_limits<double>::max();
  double value = 0;
  reader->ParseDouble(&value, -largest, largest, nullptr);
  series->userGridValues[index] = value;
  if (!empty)
    CloseXmlElement(reader, "UserGridLine");
  ++series->userGridCount;
}

}  // namespace

void WriteXmlAxis(CXmlReader* writer, const SeriesRecord& series, int depth) {
  const uint16_t flags = series.axisFlags;
  XmlAttributeText attributes;
  attributes.Add(" Type=\"%s\" Labels=\"%s\" Title=\"%s\" Ticks=\"%d\" Subticks=\"%d\"",
                 series.axisType < 4 ? kAxisTypes[series.axisType] : kAxisTypes[0],
                 Orientation(flags, kLabelsVertical, kLabelsHorizontal),
                 Orientation(flags, kTitleVertical, kTitleHorizontal), flags & kMajorTicks ? 1 : 0,
                 flags & kMinorTicks ? 1 : 0);
  writer->WriteElement("Axis", attributes.Text(), kXmlWriteStart, depth, 1);
  writer->WriteTextElement("TitleText", series.axisTitleText, depth + 1, 1);
  WriteXmlColorFont(writer, series.axisTitleFont, depth + 1);
  WriteXmlLine(writer, "Line", series.axisLine, depth + 1);
  writer->WriteElement("Axis", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteXmlGridLines(CXmlReader* writer, const SeriesRecord& series, int depth) {
  writer->WriteElement("GridLines", nullptr, kXmlWriteStart, depth, 1);
  WriteXmlLine(writer, "MajorGridLines", series.majorGrid, depth + 1);
  WriteXmlLine(writer, "MinorGridLines", series.minorGrid, depth + 1);
  const int count = series.userGridCount < kSeriesUserGridLines ? series.userGridCount : kSeriesUserGridLines;
  for (int i = 0; i < count; ++i)
    WriteUserGridLine(writer, series.userGridLines[i], series.userGridValues[i], depth + 1);
  writer->WriteElement("GridLines", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadXmlAxisAttributes(CXmlReader* reader, SeriesRecord* series) {
  if (reader->FindAttribute(nullptr, "Type"))
    series->axisType = ReadXmlName(reader, kAxisTypeTable);
  uint16_t flags = series->axisFlags;
  if (reader->FindAttribute(nullptr, "Labels"))
    flags = SetOrientation(reader, flags, kLabelsVertical, kLabelsHorizontal);
  if (reader->FindAttribute(nullptr, "Title"))
    flags = SetOrientation(reader, flags, kTitleVertical, kTitleHorizontal);
  if (reader->FindAttribute(nullptr, "Ticks"))
    flags = SetBit(reader, flags, kMajorTicks);
  if (reader->FindAttribute(nullptr, "Subticks"))
    flags = SetBit(reader, flags, kMinorTicks);
  series->axisFlags = flags;
}

void ReadXmlAxis(CXmlReader* reader, SeriesRecord* series) {
  if (!OpenXmlElement(reader, "Axis", true))
    return;
  ReadXmlAxisAttributes(reader, series);
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  ReadXmlTextElementInto(reader, "TitleText", false, series->axisTitleText, sizeof series->axisTitleText);
  ReadXmlFontElement(reader, &series->axisTitleFont);
  ReadXmlLineElement(reader, "Line", &series->axisLine);
  CloseXmlElement(reader, "Axis");
}

void ReadXmlGridLines(CXmlReader* reader, SeriesRecord* series, bool repeatable) {
  if (!OpenXmlElement(reader, "GridLines", true) || IsEmptyXmlElement(reader))
    return;
  ReadGridLine(reader, "MajorGridLines", &series->majorGrid, repeatable);
  ReadGridLine(reader, "MinorGridLines", &series->minorGrid, repeatable);
  while (OpenXmlElement(reader, "UserGridLine", true)) ReadUserGridLine(reader, series);
  CloseXmlElement(reader, "GridLines");
}
