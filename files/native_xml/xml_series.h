#ifndef TALVERO_FILES_NATIVE_XML_SERIES_H
#define TALVERO_FILES_NATIVE_XML_SERIES_H

// The series elements inside a chart's DataSeries: Sigma for error bars, X
// for X values or categories, Y for data, each with its name, related
// series, array formula and periods, and for X and Y the number format,
// axis and grid lines (Y also its view).

class CXmlReader;
class ChartRecord;
struct SeriesRecord;

// One series element of the chart at the given depth; what the chart's
// kind gives an X element on reading (X values in an XY chart, categories
// otherwise) decides which periods it is written with.
void WriteXmlSeries(CXmlReader* writer, const ChartRecord& chart, const SeriesRecord& series, int depth);
// The Sigma, then X, then Y elements after the start tag of DataSeries,
// each into the chart's next series slot (57 beyond 16).
void ReadXmlSeriesGroups(CXmlReader* reader, ChartRecord* chart);

// Attribute readers of the current tag.
void ReadXmlScale(CXmlReader* reader, SeriesRecord* series);
void ReadXmlValueRange(CXmlReader* reader, SeriesRecord* series);
void ReadXmlDataPeriods(CXmlReader* reader, SeriesRecord* series);

#endif
