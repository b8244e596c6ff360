#include "files/native_xml/xml_series_view.h"

#include <cstring>

#include "core/model/chart_record.h"
#include "core/model/series_record.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint8_t kSymbolRectangle5 = 3;
constexpr uint8_t kSymbolRectangle7 = 4;
constexpr uint8_t kSymbolRectangle9 = 5;

const char* const kLabelNames[] = {"None", "X", "Y", "XY", "YX"};
const XmlNameTable kLabelTable{kLabelNames, 5};
const char* const kSymbolNames[] = {nullptr,      "Dot",       "Rectangle3", "Rectangle5", "Rectangle7", "Rectangle9",
                                    "Diamond5",   "Diamond7",  "Diamond9",   "Circle5",    "Circle7",    "Circle9",
                                    "Asterisk7",  "Asterisk9", "Cross7",     "Cross9"};
const XmlNameTable kSymbolTable{kSymbolNames, 16};

// Element names by view type, 2D and 3D alike.
const char* const kViewElements[] = {nullptr, "Column", "Bar", "Line", "Area", "Pie", "Scatter",
                                     "Column", "Bar",    "Line", "Area", "Pie"};

bool HasStacked(uint8_t viewType) {
  return viewType == kViewColumn || viewType == kViewBar || viewType == kViewArea || viewType == kViewColumn3D ||
         viewType == kViewBar3D || viewType == kViewArea3D;
}

void WriteSliceFills(CXmlReader* writer, const SeriesRecord& series, int depth) {
  // The reader needs at least one.
  int count = series.sliceCount < kSeriesSliceCount ? series.sliceCount : kSeriesSliceCount;
  if (count < 1)
    count = 1;
  for (int i = 0; i < count; ++i) WriteXmlFillPattern(writer, series.sliceFills[i], depth);
}

void ReadSliceFills(CXmlReader* reader, SeriesRecord* series) {
  ReadXmlFillPatternElement(reader, &series->sliceFills[0]);
  for (int i = 1; OpenXmlElement(reader, "FillPattern", true); ++i) {
    if (i >= kSeriesSliceCount)
      ThrowXmlError(kFileXmlUnexpectedElement);
    ReadXmlFillPattern(reader, &series->sliceFills[i]);
    if (!IsEmptyXmlElement(reader))
      CloseXmlElement(reader, "FillPattern");
  }
}

// Opens the first of the views (by type) that comes next, reads its
// attributes and returns its type; 0 when none does.
uint8_t OpenView(CXmlReader* reader, SeriesRecord* series, const uint8_t* types, int count) {
  for (int i = 0; i < count; ++i) {
    const uint8_t type = types[i];
    if (!OpenXmlElement(reader, kViewElements[type], true))
      continue;
    ReadXmlViewAttributes(reader, series, HasStacked(type), type == kViewScatter);
    series->viewType = type;
    // Every view has children to read.
    if (IsEmptyXmlElement(reader))
      ThrowXmlError(kFileXmlUnexpectedElement);
    return type;
  }
  ThrowXmlError(kFileXmlUnexpectedElement);
}

void ReadScatterChildren(CXmlReader* reader, SeriesRecord* series) {
  ReadXmlFontElement(reader, &series->labelFont);
  ReadXmlLineElement(reader, "Border", &series->line);
  ReadXmlFillPatternElement(reader, &series->fill);
  ReadXmlLineElement(reader, "ConnectingLine", &series->connectingLine);
}

}  // namespace

uint8_t XmlViewTypeForKind(uint8_t chartKind, uint8_t viewType) {
  if (chartKind == kChartXY)
    return kViewScatter;
  if (chartKind == kChart3D) {
    if (viewType >= kViewColumn3D && viewType <= kViewPie3D)
      return viewType;
    return viewType >= kViewColumn && viewType <= kViewPie ? uint8_t(viewType + 6) : uint8_t(kViewColumn3D);
  }
  if (viewType >= kViewColumn && viewType <= kViewScatter)
    return viewType;
  return viewType >= kViewColumn3D && viewType <= kViewPie3D ? uint8_t(viewType - 6) : uint8_t(kViewColumn);
}

void WriteXmlSeriesView(CXmlReader* writer, uint8_t chartKind, const SeriesRecord& series, int depth) {
  const uint8_t type = XmlViewTypeForKind(chartKind, series.viewType);
  const bool is3D = type >= kViewColumn3D;
  XmlAttributeText attributes;
  if (type == kViewScatter) {
    const uint8_t symbol = series.symbol >= 1 && series.symbol <= 15 ? series.symbol : kSymbolRectangle7;
    attributes.Add(" Symbol=\"%s\"", kSymbolNames[symbol]);
  }
  if (HasStacked(type))
    attributes.Add(" Stacked=\"%s\"", !series.stacked ? "No" : series.relative ? "Relative" : "Normal");
  // A 3D pie draws its slice labels as a 2D one does; every view reads Labels.
  if (!is3D || type == kViewPie3D)
    attributes.Add(" Labels=\"%s\"", series.labelKind < 5 ? kLabelNames[series.labelKind] : kLabelNames[0]);
  attributes.Add(" Visible=\"%d\"", series.visible ? 1 : 0);
  const char* name = kViewElements[type];
  writer->WriteElement(name, attributes.Text(), kXmlWriteStart, depth, 1);
  if (!is3D || type == kViewPie3D)
    WriteXmlColorFont(writer, series.labelFont, depth + 1);
  switch (type) {
    case kViewLine:
      WriteXmlLine(writer, "Line", series.line, depth + 1);
      break;
    case kViewPie:
    case kViewPie3D:
      WriteSliceFills(writer, series, depth + 1);
      break;
    case kViewScatter:
      WriteXmlLine(writer, "Border", series.line, depth + 1);
      WriteXmlFillPattern(writer, series.fill, depth + 1);
      WriteXmlLine(writer, "ConnectingLine", series.connectingLine, depth + 1);
      break;
    default:
      WriteXmlFillPattern(writer, series.fill, depth + 1);
      break;
  }
  writer->WriteElement(name, nullptr, kXmlWriteEnd, depth, 1);
}

void ReadXmlViewAttributes(CXmlReader* reader, SeriesRecord* series, bool stackedAllowed, bool symbolAllowed) {
  if (stackedAllowed && reader->FindAttribute(nullptr, "Stacked")) {
    const char* value = reader->AttributeValue();
    // Another word is no error: the flags keep their values.
    if (!std::strcmp(value, "Normal")) {
      series->stacked = 1;
    } else if (!std::strcmp(value, "Relative")) {
      series->stacked = 1;
      series->relative = 1;
    } else if (!std::strcmp(value, "No")) {
      series->stacked = 0;
    }
  }
  if (reader->FindAttribute(nullptr, "Labels"))
    series->labelKind = ReadXmlName(reader, kLabelTable);
  series->visible = 1;
  if (reader->FindAttribute(nullptr, "Visible"))
    reader->ReadBool(&series->visible, reader->AttributeValue());
  series->symbol = symbolAllowed ? kSymbolRectangle5 : kSymbolRectangle9;
  if (symbolAllowed && reader->FindAttribute(nullptr, "Symbol"))
    series->symbol = ReadXmlName(reader, kSymbolTable);
}

void ReadXmlSeriesView2D(CXmlReader* reader, SeriesRecord* series) {
  static const uint8_t kTypes[] = {kViewColumn, kViewBar, kViewArea, kViewLine, kViewPie, kViewScatter};
  const uint8_t type = OpenView(reader, series, kTypes, 6);
  if (type == kViewScatter) {
    ReadScatterChildren(reader, series);
  } else {
    ReadXmlFontElement(reader, &series->labelFont);
    if (type == kViewLine)
      ReadXmlLineElement(reader, "Line", &series->line);
    else if (type == kViewPie)
      ReadSliceFills(reader, series);
    else
      ReadXmlFillPatternElement(reader, &series->fill);
  }
  CloseXmlElement(reader, kViewElements[type]);
}

void ReadXmlSeriesView3D(CXmlReader* reader, SeriesRecord* series) {
  static const uint8_t kTypes[] = {kViewColumn3D, kViewBar3D, kViewArea3D, kViewLine3D, kViewPie3D};
  const uint8_t type = OpenView(reader, series, kTypes, 5);
  if (type == kViewPie3D) {
    ReadXmlFontElement(reader, &series->labelFont);
    ReadSliceFills(reader, series);
  } else {
    ReadXmlFillPatternElement(reader, &series->fill);
  }
  CloseXmlElement(reader, kViewElements[type]);
}

void ReadXmlScatterView(CXmlReader* reader, SeriesRecord* series) {
  static const uint8_t kTypes[] = {kViewScatter};
  OpenView(reader, series, kTypes, 1);
  ReadScatterChildren(reader, series);
  CloseXmlElement(reader, "Scatter");
}
