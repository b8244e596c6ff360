#ifndef TALVERO_FILES_NATIVE_XML_SERIES_VIEW_H
#define TALVERO_FILES_NATIVE_XML_SERIES_VIEW_H

// The view element of a data series: how its data are drawn (Column, Bar,
// Line, Area, Pie or Scatter, in 2D or 3D by the chart's kind) with its
// labels, fonts, fills and lines.

#include <cstdint>

class CXmlReader;
struct SeriesRecord;

// The view type a series of a chart of that kind is written with: its own
// when the kind draws it, else the same view of the kind's family (Column
// when there is none).
uint8_t XmlViewTypeForKind(uint8_t chartKind, uint8_t viewType);

// The view element of the series' view type mapped to the chart's kind; a
// Pie is written with at least one slice fill, a Scatter symbol outside
// the named ones as "Rectangle7".
void WriteXmlSeriesView(CXmlReader* writer, uint8_t chartKind, const SeriesRecord& series, int depth);

// The view element of a data series in a chart of each kind (57 when none
// of the kind's views comes next), with its end tag.
void ReadXmlSeriesView2D(CXmlReader* reader, SeriesRecord* series);
void ReadXmlSeriesView3D(CXmlReader* reader, SeriesRecord* series);
void ReadXmlScatterView(CXmlReader* reader, SeriesRecord* series);
// The attributes of the current view tag.
void ReadXmlViewAttributes(CXmlReader* reader, SeriesRecord* series, bool stackedAllowed, bool symbolAllowed);

#endif
