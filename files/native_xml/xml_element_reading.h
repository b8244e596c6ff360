#ifndef TALVERO_FILES_NATIVE_XML_ELEMENT_READING_H
#define TALVERO_FILES_NATIVE_XML_ELEMENT_READING_H

// The steps every nested element of the native XML document is read with:
// an element is looked for where it must stand, an optional one is left
// pending for the next step when another tag comes, and anything out of
// place ends the document with 57 at the first step that cannot take it.

#include <cstddef>
#include <cstdint>

#include "core/model/color_font_record.h"
#include "core/styles/fill_and_border_line.h"

class CXmlReader;

// The start tag (or empty-element tag) of `name` next, its attributes
// collected afresh. When another tag comes: false with that tag pending
// when optional, else 57.
bool OpenXmlElement(CXmlReader* reader, const char* name, bool optional);
// Whether the tag just opened was an empty element (nothing to close).
bool IsEmptyXmlElement(const CXmlReader* reader);
// The end tag of `name` next, else 57.
void CloseXmlElement(CXmlReader* reader, const char* name);

// A text element: its decoded text, at most `maximum` characters (60
// beyond), in the reader's text buffer. False when optional and absent.
bool ReadXmlTextElement(CXmlReader* reader, const char* name, bool optional, int32_t maximum);
// The same, the text copied into out (size bytes with the NUL).
bool ReadXmlTextElementInto(CXmlReader* reader, const char* name, bool optional, char* out, size_t size);

// Required elements of the shared vocabulary, each read with its end tag
// when it was not written empty: a Font with its colour, a FillPattern, a
// line element of the given name.
void ReadXmlFontElement(CXmlReader* reader, ColorFontRecord* font);
void ReadXmlFillPatternElement(CXmlReader* reader, FillRecord* fill);
void ReadXmlLineElement(CXmlReader* reader, const char* elementName, BorderLine* line);

#endif
