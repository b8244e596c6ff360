#ifndef TALVERO_FILES_NATIVE_XML_TITLE_H
#define TALVERO_FILES_NATIVE_XML_TITLE_H

// The Title elements of containers and charts: a title and a subtitle, each
// a coloured font and a text of at most 127 characters.

#include <cstddef>

#include "core/model/color_font_record.h"

class CXmlReader;

// Both titles when the second has text (an empty first one then keeps the
// second's place), only the first when it alone has text, none otherwise.
void WriteXmlTitles(CXmlReader* writer, const ColorFontRecord& firstFont, const char* firstText,
                    const ColorFontRecord& secondFont, const char* secondText, int depth);
// An optional Title element: its required Font and Text (at most size - 1
// characters, 60 beyond). False when the next tag is another one.
bool ReadXmlTitle(CXmlReader* reader, ColorFontRecord* font, char* text, size_t size);

#endif
