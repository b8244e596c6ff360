#include "files/native_xml/xml_chart.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/model/chart_record.h"
#include "core/numfmt/double_to_text.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_series.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/native_xml/xml_title.h"
#include "files/native_xml/xml_value_element.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr double kDegreesToRadians = 3.14159265358979 / 180.0;

const char* const kLegendPositions[] = {"Left", "Top", "Right", "Bottom"};

const char* ChartElementName(uint8_t kind) {
  return kind == kChart3D ? "Chart3D" : kind == kChartXY ? "ChartXY" : "Chart2D";
}

uint8_t Clamp(uint8_t value, uint8_t lowest, uint8_t highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

uint16_t Clamp16(uint16_t value, uint16_t lowest, uint16_t highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

// The options a chart of the kind carries, in the order of writing; the
// byte of each within ChartOptions.
struct OptionValue {
  const char* name;
  size_t offset;
  uint8_t lowest;
  bool only3D;
};

const OptionValue kOptionValues[] = {
    {"ViewWidth", offsetof(ChartOptions, viewWidth), 1, false},
    {"ViewHeight", offsetof(ChartOptions, viewHeight), 1, false},
    {"BarSize", offsetof(ChartOptions, barSize), 1, false},
    {"StackBarSize", offsetof(ChartOptions, stackBarSize), 1, false},
    {"LineWidth3D", offsetof(ChartOptions, lineWidth3D), 1, true},
    {"PieTickness3D", offsetof(ChartOptions, pieTickness3D), 1, true},
    {"PieSplit", offsetof(ChartOptions, pieSplit), 0, false},
};

uint8_t* OptionByte(ChartOptions* options, const OptionValue& value) {
  return reinterpret_cast<uint8_t*>(options) + value.offset;
}

void WriteOptions(CXmlReader* writer, const ChartRecord& chart, int depth) {
  ChartOptions options = chart.options;
  writer->WriteElement("Options", nullptr, kXmlWriteStart, depth, 1);
  for (const OptionValue& value : kOptionValues)
    if (!value.only3D || chart.Kind() == kChart3D)
      WriteXmlValueElement(writer, value.name, Clamp(*OptionByte(&options, value), value.lowest, 100), depth + 1);
  writer->WriteElement("Options", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteLegend(CXmlReader* writer, const ChartOptions& options, int depth) {
  if (!options.legend)
    return;
  XmlAttributeText attributes;
  if (options.legend > 8) {
    attributes.Add(" Position=\"None\" Layout=\"Horizontal\"");
  } else {
    attributes.Add(" Position=\"%s\" Layout=\"%s\"", kLegendPositions[(options.legend - 1) / 2],
                   (options.legend - 1) % 2 ? "Horizontal" : "Vertical");
  }
  writer->WriteElement("Legend", attributes.Text(), kXmlWriteStart, depth, 1);
  WriteXmlColorFont(writer, options.legendFont, depth + 1);
  writer->WriteElement("Legend", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteTransformation(CXmlReader* writer, const ChartRecord& chart, int depth) {
  writer->WriteElement("Transformation", nullptr, kXmlWriteStart, depth, 1);
  XmlAttributeText attributes;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      char name[4] = {'m', char('1' + row), char('1' + column), 0};
      // Exact, so that every save gives the same matrix back; the reader
      // takes finite numbers only.
      const double value = chart.viewMatrix[row][column];
      char number[kExactDoubleTextCapacity];
      DoubleToExactText(std::isfinite(value) ? value : 0.0, number, sizeof number, nullptr);
      attributes.Add(" %s=\"%s\"", name, number);
    }
  writer->WriteElement("Matrix", attributes.Text(), kXmlWriteEmpty, depth + 1, 1);
  const ChartOptions& options = chart.options;
  WriteXmlValueElement(writer, "LightDirectionX", Clamp16(options.lightDirectionX, 0, 180), depth + 1);
  WriteXmlValueElement(writer, "LightDirectionY", Clamp16(options.lightDirectionY, 0, 180), depth + 1);
  WriteXmlValueElement(writer, "Perspective", Clamp16(options.perspective, 1, 100), depth + 1);
  writer->WriteElement("Transformation", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteDataSeries(CXmlReader* writer, const ChartRecord& chart, int depth) {
  writer->WriteElement("DataSeries", nullptr, kXmlWriteStart, depth, 1);
  const int count = chart.UsedSeriesCount();
  // Error bars, then X values or categories, then data: each group is read
  // into the slots in that order.
  static const uint8_t kGroupRoles[3][2] = {
      {kSeriesErrorBars, kSeriesErrorBars}, {kSeriesXValues, kSeriesCategories}, {kSeriesData, kSeriesData}};
  for (const auto& roles : kGroupRoles)
    for (int i = 0; i < count; ++i)
      if (chart.series[i].role == roles[0] || chart.series[i].role == roles[1])
        WriteXmlSeries(writer, chart, chart.series[i], depth + 1);
  writer->WriteElement("DataSeries", nullptr, kXmlWriteEnd, depth, 1);
}

void WritePlane(CXmlReader* writer, const ChartRecord& chart, int depth) {
  const ChartOptions& options = chart.options;
  const bool is3D = chart.Kind() == kChart3D;
  XmlAttributeText attributes;
  attributes.Add(" PlaneXY=\"%d\"", options.planeXY ? 1 : 0);
  if (is3D)
    attributes.Add(" PlaneXZ=\"%d\" PlaneYZ=\"%d\"", options.planeXZ ? 1 : 0, options.planeYZ ? 1 : 0);
  writer->WriteElement("ChartPlane", attributes.Text(), kXmlWriteStart, depth, 1);
  FillRecord fill = options.wallFill;
  // 3D walls are drawn solid or, without a fill, as outlines only; the chart
  // in memory keeps its own pattern.
  if (is3D && fill.pattern != 0)
    fill.pattern = 1;
  WriteXmlFillPattern(writer, fill, depth + 1);
  WriteXmlLine(writer, "Border", options.wallBorder, depth + 1);
  writer->WriteElement("ChartPlane", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadOptions(CXmlReader* reader, ChartRecord* chart) {
  if (!OpenXmlElement(reader, "Options", true))
    return;
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  for (const OptionValue& value : kOptionValues)
    if (!value.only3D || chart->Kind() == kChart3D)
      *OptionByte(&chart->options, value) = uint8_t(ReadXmlUnsignedElement(reader, value.name, value.lowest, 100));
  CloseXmlElement(reader, "Options");
}

void ReadMatrix(CXmlReader* reader, ChartRecord* chart) {
  // A cell whose attribute is missing is 0, not the identity's value.
  double cells[4][4] = {};
  const double largest = std::numeric_limits<double>::max();
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      const char name[4] = {'m', char('1' + row), char('1' + column), 0};
      if (reader->FindAttribute(nullptr, name))
        reader->ParseDouble(&cells[row][column], -largest, largest, reader->AttributeValue());
    }
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      chart->viewMatrix[row][column] = float(std::fmax(-FLT_MAX, std::fmin(FLT_MAX, cells[row][column])));
  if (!IsEmptyXmlElement(reader))
    CloseXmlElement(reader, "Matrix");
}

void ReadTransformation(CXmlReader* reader, ChartRecord* chart) {
  if (!OpenXmlElement(reader, "Transformation", true))
    return;
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  ChartOptions& options = chart->options;
  if (OpenXmlElement(reader, "Matrix", true)) {
    ReadMatrix(reader, chart);
  } else {
    // Older files keep rotations, from which the matrix is built.
    options.rotationX = int16_t(ReadXmlSignedElement(reader, "RotationX", -360, 360));
    options.rotationY = int16_t(ReadXmlSignedElement(reader, "RotationY", -360, 360));
    options.rotationZ = int16_t(ReadXmlSignedElement(reader, "RotationZ", -360, 360));
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutX, options.rotationX * kDegreesToRadians);
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutY, options.rotationY * kDegreesToRadians);
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutZ, options.rotationZ * kDegreesToRadians);
  }
  options.lightDirectionX = uint16_t(ReadXmlUnsignedElement(reader, "LightDirectionX", 0, 180));
  options.lightDirectionY = uint16_t(ReadXmlUnsignedElement(reader, "LightDirectionY", 0, 180));
  options.perspective = uint16_t(ReadXmlUnsignedElement(reader, "Perspective", 1, 100));
  CloseXmlElement(reader, "Transformation");
}

uint8_t ReadPlaneFlag(CXmlReader* reader, const char* name) {
  uint8_t flag = 1;
  if (reader->FindAttribute(nullptr, name))
    reader->ReadBool(&flag, reader->AttributeValue());
  return flag;
}

void ReadPlane(CXmlReader* reader, ChartRecord* chart) {
  if (!OpenXmlElement(reader, "ChartPlane", true))
    return;
  ChartOptions& options = chart->options;
  options.planeXY = ReadPlaneFlag(reader, "PlaneXY");
  if (chart->Kind() == kChart3D) {
    options.planeXZ = ReadPlaneFlag(reader, "PlaneXZ");
    options.planeYZ = ReadPlaneFlag(reader, "PlaneYZ");
  }
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  ReadXmlFillPatternElement(reader, &options.wallFill);
  ReadXmlLineElement(reader, "Border", &options.wallBorder);
  CloseXmlElement(reader, "ChartPlane");
}

}  // namespace

void WriteXmlChart(CXmlReader* writer, const ChartRecord& chart, int depth) {
  const char* name = ChartElementName(chart.Kind());
  const ChartOptions& options = chart.options;
  writer->WriteElement(name, nullptr, kXmlWriteStart, depth, 1);
  WriteOptions(writer, chart, depth + 1);
  WriteXmlTitles(writer, options.titleFont, options.titleText, options.subtitleFont, options.subtitleText,
                 depth + 1);
  WriteLegend(writer, options, depth + 1);
  if (chart.Kind() == kChart3D)
    WriteTransformation(writer, chart, depth + 1);
  WriteDataSeries(writer, chart, depth + 1);
  WritePlane(writer, chart, depth + 1);
  writer->WriteElement(name, nullptr, kXmlWriteEnd, depth, 1);
}

void ReadXmlLegend(CXmlReader* reader, ChartRecord* chart) {
  int position = 5;
  if (reader->FindAttribute(nullptr, "Position")) {
    static const char* const kPositions[] = {"None", "Left", "Top", "Right", "Bottom"};
    const int code = ReadXmlName(reader, XmlNameTable{kPositions, 5});
    position = code ? 2 * code - 1 : 0;
  }
  int layout = 0;
  if (reader->FindAttribute(nullptr, "Layout")) {
    static const char* const kLayouts[] = {"Vertical", "Horizontal"};
    layout = ReadXmlName(reader, XmlNameTable{kLayouts, 2});
  }
  if (position)
    chart->options.legend = uint8_t(position + layout);
}

void ReadXmlChart(CXmlReader* reader, ChartRecord* chart) {
  ChartOptions& options = chart->options;
  ReadOptions(reader, chart);
  if (ReadXmlTitle(reader, &options.titleFont, options.titleText, sizeof options.titleText))
    ReadXmlTitle(reader, &options.subtitleFont, options.subtitleText, sizeof options.subtitleText);
  if (OpenXmlElement(reader, "Legend", true)) {
    ReadXmlLegend(reader, chart);
    if (IsEmptyXmlElement(reader))
      ThrowXmlError(kFileXmlUnexpectedElement);
    ReadXmlFontElement(reader, &options.legendFont);
    CloseXmlElement(reader, "Legend");
  }
  if (chart->Kind() == kChart3D)
    ReadTransformation(reader, chart);
  OpenXmlElement(reader, "DataSeries", false);
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  ReadXmlSeriesGroups(reader, chart);
  CloseXmlElement(reader, "DataSeries");
  ReadPlane(reader, chart);
}
