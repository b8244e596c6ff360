#ifndef TALVERO_FILES_NATIVE_XML_AXIS_H
#define TALVERO_FILES_NATIVE_XML_AXIS_H

// The Axis and GridLines elements of X and Y series: the axis type, label
// and title orientation, tick marks, title and line, and the major, minor
// and user grid lines.

class CXmlReader;
struct SeriesRecord;

void WriteXmlAxis(CXmlReader* writer, const SeriesRecord& series, int depth);
void WriteXmlGridLines(CXmlReader* writer, const SeriesRecord& series, int depth);

// The attributes of the current Axis tag into the axis type and flags.
void ReadXmlAxisAttributes(CXmlReader* reader, SeriesRecord* series);
// An optional Axis element.
void ReadXmlAxis(CXmlReader* reader, SeriesRecord* series);
// An optional GridLines element; with `repeatable` the major and minor
// grid lines may each come more than once, the last one counting.
void ReadXmlGridLines(CXmlReader* reader, SeriesRecord* series, bool repeatable);

#endif
