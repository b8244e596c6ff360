#ifndef TALVERO_FILES_NATIVE_XML_CHART_H
#define TALVERO_FILES_NATIVE_XML_CHART_H

// The chart elements inside a container's Objects: Chart2D, Chart3D or
// ChartXY with the chart's options, titles, legend, 3D transformation, data
// series and plane.

class CXmlReader;
class ChartRecord;

// One chart element at the given depth. Values outside what the reader
// takes are written as the nearest it takes; a 3D plane is written solid.
void WriteXmlChart(CXmlReader* writer, const ChartRecord& chart, int depth);
// The children of the chart element whose start tag was just read, into a
// new chart of the element's kind; the caller reads the end tag.
void ReadXmlChart(CXmlReader* reader, ChartRecord* chart);
// Position and Layout of the current Legend tag into the legend code.
void ReadXmlLegend(CXmlReader* reader, ChartRecord* chart);

#endif
