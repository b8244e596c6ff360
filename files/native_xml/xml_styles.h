#ifndef TALVERO_FILES_NATIVE_XML_STYLES_H
#define TALVERO_FILES_NATIVE_XML_STYLES_H

// The Styles element of the native XML workbook, and the elements it shares
// with the rest of the document: Font (with a colour for titles, chart texts
// and page headers), FillPattern, line elements (Style and Color) and
// NumberFormat. Writers write at the given depth; readers fill records from
// the current tag or look for their optional element, and throw the XML
// codes on bad input.

#include <cstdint>

#include "core/model/color_font_record.h"
#include "core/numfmt/num_format_params.h"
#include "core/styles/fill_and_border_line.h"
#include "core/styles/style_table.h"

class CXmlReader;

// The whole Styles element: fonts and styles from index 1 (index 0 of both
// is the default, never written).
void WriteXmlStyles(CXmlReader* writer, const StyleTable& table);
// An optional Styles element; its fonts and styles are appended to the table.
void ReadXmlStyles(CXmlReader* reader, StyleTable* table);

// A workbook font: a Font element with ID.
void WriteXmlFont(CXmlReader* writer, const FontRecord& font, int index, int depth);
// A Font element without ID, with Color when the colour is set.
void WriteXmlColorFont(CXmlReader* writer, const FontRecord& font, uint8_t colorSet, uint32_t color, int depth);
inline void WriteXmlColorFont(CXmlReader* writer, const ColorFontRecord& font, int depth) {
  WriteXmlColorFont(writer, font.font, font.colorSet, font.color, depth);
}
// The font attributes of the current tag; absent ones leave their fields.
void ReadXmlFontAttributes(CXmlReader* reader, FontRecord* font);
// The same, and Color into the colour with its flag set.
void ReadXmlColorFont(CXmlReader* reader, FontRecord* font, uint8_t* colorSet, uint32_t* color);
inline void ReadXmlColorFont(CXmlReader* reader, ColorFontRecord* font) {
  uint32_t color = font->color;  // the record is packed
  ReadXmlColorFont(reader, &font->font, &font->colorSet, &color);
  font->color = color;
}

void WriteXmlFillPattern(CXmlReader* writer, const FillRecord& fill, int depth);
// The fill attributes of the current tag. The writer leaves out a colour
// the user left at its default, so an absent colour is the system colour
// with its flag cleared, whatever defaults the record started from (a chart
// series starts from set palette colours).
void ReadXmlFillPattern(CXmlReader* reader, FillRecord* fill);

// An empty element of the given name carrying the line's Style and Color.
void WriteXmlLine(CXmlReader* writer, const char* elementName, const BorderLine& line, int depth);
// Its colour read as a fill's is: absent, the window-text colour, unset.
void ReadXmlLine(CXmlReader* reader, BorderLine* line);

void WriteXmlNumberFormat(CXmlReader* writer, const NumFormatParams& params, int depth);
// An optional NumberFormat element into params, whose code is then rebuilt
// from the category and options (user patterns keep their text). False,
// params unchanged, when the element is absent or empty.
bool ReadXmlNumberFormat(CXmlReader* reader, NumFormatParams* params);

// When the current tag has the attribute: its colour ("#" and six
// hexadecimal digits, or a colour name; 58 otherwise) and true.
bool ReadXmlColorAttribute(CXmlReader* reader, const char* name, uint32_t* color);

// Finds an optional element written empty ("<Name .../>") or as a start tag
// directly followed by its end tag; its attributes stay readable. An end
// tag of that name in its place throws 57.
bool FindXmlEmptyElement(CXmlReader* reader, const char* name);

#endif
