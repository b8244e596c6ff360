#include "files/native_xml/xml_series.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/model/chart_record.h"
#include "core/numfmt/double_to_text.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_axis.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_series_view.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

const char* const kScaleNames[] = {"Linear", "Log2", "LogE", "Log10"};
constexpr uint16_t kMaxPeriods = 65534;
constexpr uint32_t kMaxDivisor = 4294967294u;

void WriteSeriesStart(CXmlReader* writer, const char* name, const SeriesRecord& series, int depth) {
  XmlAttributeText attributes;
  if (series.scale >= 1 && series.scale <= 3)
    attributes.Add(" Scale=\"%s\"", kScaleNames[series.scale]);
  writer->WriteElement(name, attributes.Text(), kXmlWriteStart, depth, 1);
}

void AddValue(XmlAttributeText* attributes, const char* name, double value) {
  // The reader takes finite values only; an absent one is not set.
  if (!std::isfinite(value))
    return;
  char number[kExactDoubleTextCapacity];
  DoubleToExactText(value, number, sizeof number, nullptr);
  attributes->Add(" %s=\"%s\"", name, number);
}

void WriteDataArray(CXmlReader* writer, const SeriesRecord& series, bool withRange, int depth) {
  XmlAttributeText attributes;
  if (withRange && (series.flags & kSeriesFromValueSet))
    AddValue(&attributes, "FromValue", series.fromValue);
  if (withRange && (series.flags & kSeriesToValueSet))
    AddValue(&attributes, "ToValue", series.toValue);
  writer->WriteElement("DataArray", attributes.Text(), kXmlWriteStart, depth, 0);
  writer->WriteText(series.dataArray, std::strlen(series.dataArray), true);
  writer->WriteElement("DataArray", nullptr, kXmlWriteEnd, 0, 1);
}

// Values outside what the reader takes are left out, so the series keeps
// its default there.
void WriteDataPeriods(CXmlReader* writer, const SeriesRecord& series, bool categories, int depth) {
  XmlAttributeText attributes;
  if (categories) {
    const uint32_t divisor = series.divisor;
    if (divisor >= 1 && divisor <= kMaxDivisor)
      attributes.Add(" Divisor=\"%u\"", unsigned(divisor));
  } else {
    const uint16_t periods = series.periods;
    const uint16_t subperiods = series.subperiods;
    if (periods >= 1 && periods <= kMaxPeriods)
      attributes.Add(" Periods=\"%d\"", int(periods));
    if (subperiods <= kMaxPeriods)
      attributes.Add(" Subperiods=\"%d\"", int(subperiods));
  }
  writer->WriteElement("DataPeriods", attributes.Text(), kXmlWriteEmpty, depth, 1);
}

void WriteSigma(CXmlReader* writer, const SeriesRecord& series, int depth) {
  writer->WriteElement("Sigma", nullptr, kXmlWriteStart, depth, 1);
  writer->WriteTextElement("Name", series.name, depth + 1, 1);
  WriteDataArray(writer, series, false, depth + 1);
  writer->WriteElement("Sigma", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteXOrY(CXmlReader* writer, const ChartRecord& chart, const SeriesRecord& series, bool isData, int depth) {
  const char* name = isData ? "Y" : "X";
  WriteSeriesStart(writer, name, series, depth);
  writer->WriteTextElement("Name", series.name, depth + 1, 1);
  if (chart.Kind() != kChart3D)
    writer->WriteTextElement("RelatedSigma", series.relatedSigma, depth + 1, 1);
  if (isData)
    writer->WriteTextElement("RelatedX", series.relatedX, depth + 1, 1);
  WriteDataArray(writer, series, true, depth + 1);
  WriteDataPeriods(writer, series, !isData && chart.Kind() != kChartXY, depth + 1);
  WriteXmlNumberFormat(writer, series.numberFormat, depth + 1);
  if (isData)
    WriteXmlSeriesView(writer, chart.Kind(), series, depth + 1);
  WriteXmlAxis(writer, series, depth + 1);
  WriteXmlGridLines(writer, series, depth + 1);
  writer->WriteElement(name, nullptr, kXmlWriteEnd, depth, 1);
}

// The next free slot for a series element just opened, with its role.
SeriesRecord* NextSlot(CXmlReader* reader, ChartRecord* chart, uint8_t role) {
  if (chart->options.seriesCount >= kChartMaxSeries)
    ThrowXmlError(kFileXmlUnexpectedElement);
  // Every series element has required children.
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  SeriesRecord* series = &chart->series[chart->options.seriesCount];
  series->role = role;
  ReadXmlScale(reader, series);
  return series;
}

void ReadText(CXmlReader* reader, const char* name, char* out, size_t size) {
  ReadXmlTextElementInto(reader, name, false, out, size);
}

void ReadDataPeriodsElement(CXmlReader* reader, SeriesRecord* series) {
  OpenXmlElement(reader, "DataPeriods", false);
  ReadXmlDataPeriods(reader, series);
  if (!IsEmptyXmlElement(reader))
    CloseXmlElement(reader, "DataPeriods");
}

void ReadSigma(CXmlReader* reader, ChartRecord* chart) {
  SeriesRecord* series = NextSlot(reader, chart, kSeriesErrorBars);
  ReadText(reader, "Name", series->name, sizeof series->name);
  ReadText(reader, "DataArray", series->dataArray, sizeof series->dataArray);
  ++chart->options.seriesCount;
  CloseXmlElement(reader, "Sigma");
}

void ReadX(CXmlReader* reader, ChartRecord* chart) {
  const uint8_t kind = chart->Kind();
  SeriesRecord* series = NextSlot(reader, chart, kind == kChartXY ? kSeriesXValues : kSeriesCategories);
  ReadText(reader, "Name", series->name, sizeof series->name);
  if (kind != kChart3D)
    ReadText(reader, "RelatedSigma", series->relatedSigma, sizeof series->relatedSigma);
  ReadText(reader, "DataArray", series->dataArray, sizeof series->dataArray);
  if (kind == kChartXY)
    ReadXmlValueRange(reader, series);
  ReadDataPeriodsElement(reader, series);
  ReadXmlNumberFormat(reader, &series->numberFormat);
  ReadXmlAxis(reader, series);
  ReadXmlGridLines(reader, series, false);
  ++chart->options.seriesCount;
  CloseXmlElement(reader, "X");
}

void ReadY(CXmlReader* reader, ChartRecord* chart) {
  const uint8_t kind = chart->Kind();
  SeriesRecord* series = NextSlot(reader, chart, kSeriesData);
  ReadText(reader, "Name", series->name, sizeof series->name);
  if (kind != kChart3D)
    ReadText(reader, "RelatedSigma", series->relatedSigma, sizeof series->relatedSigma);
  ReadText(reader, "RelatedX", series->relatedX, sizeof series->relatedX);
  ReadText(reader, "DataArray", series->dataArray, sizeof series->dataArray);
  ReadXmlValueRange(reader, series);
  ReadDataPeriodsElement(reader, series);
  ReadXmlNumberFormat(reader, &series->numberFormat);
  if (kind == kChart3D)
    ReadXmlSeriesView3D(reader, series);
  else if (kind == kChartXY)
    ReadXmlScatterView(reader, series);
  else
    ReadXmlSeriesView2D(reader, series);
  ReadXmlAxis(reader, series);
  ReadXmlGridLines(reader, series, true);
  ++chart->options.seriesCount;
  CloseXmlElement(reader, "Y");
}

}  // namespace

void WriteXmlSeries(CXmlReader* writer, const ChartRecord& chart, const SeriesRecord& series, int depth) {
  switch (series.role) {
    case kSeriesErrorBars:
      WriteSigma(writer, series, depth);
      break;
    case kSeriesXValues:
    case kSeriesCategories:
      WriteXOrY(writer, chart, series, false, depth);
      break;
    case kSeriesData:
      WriteXOrY(writer, chart, series, true, depth);
      break;
    default:
      break;
  }
}

void ReadXmlSeriesGroups(CXmlReader* reader, ChartRecord* chart) {
  while (OpenXmlElement(reader, "Sigma", true)) ReadSigma(reader, chart);
  while (OpenXmlElement(reader, "X", true)) ReadX(reader, chart);
  while (OpenXmlElement(reader, "Y", true)) ReadY(reader, chart);
}

void ReadXmlScale(CXmlReader* reader, SeriesRecord* series) {
  if (series->role == kSeriesCategories)
    return;
  series->scale = 0;
  if (!reader->FindAttribute(nullptr, "Scale"))
    return;
  // "Log" is the natural logarithm's older word.
  if (!std::strcmp(reader->AttributeValue(), "Log"))
    series->scale = 2;
  else
    series->scale = ReadXmlName(reader, XmlNameTable{kScaleNames, 4});
}

void ReadXmlValueRange(CXmlReader* reader, SeriesRecord* series) {
  const double largest = std::numeric_limits<double>::max();
  double value = 0;
  if (reader->FindAttribute(nullptr, "FromValue")) {
    reader->ParseDouble(&value, -largest, largest, reader->AttributeValue());
    series->fromValue = value;
    series->flags = uint16_t(series->flags | kSeriesFromValueSet);
  }
  if (reader->FindAttribute(nullptr, "ToValue")) {
    reader->ParseDouble(&value, -largest, largest, reader->AttributeValue());
    series->toValue = value;
    series->flags = uint16_t(series->flags | kSeriesToValueSet);
  }
}

void ReadXmlDataPeriods(CXmlReader* reader, SeriesRecord* series) {
  if (series->role == kSeriesCategories) {
    if (reader->FindAttribute(nullptr, "Divisor")) {
      uint32_t divisor = 0;
      reader->ParseUInt32(&divisor, 1, kMaxDivisor, reader->AttributeValue());
      series->divisor = divisor;
    }
    return;
  }
  uint16_t value = 0;
  if (reader->FindAttribute(nullptr, "Periods")) {
    reader->ParseUInt16(&value, 1, kMaxPeriods, reader->AttributeValue());
    series->periods = value;
  }
  if (reader->FindAttribute(nullptr, "Subperiods")) {
    reader->ParseUInt16(&value, 0, kMaxPeriods, reader->AttributeValue());
    series->subperiods = value;
  }
}
