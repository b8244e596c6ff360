#ifndef TALVERO_FILES_XML_READER_H
#define TALVERO_FILES_XML_READER_H

// The one small pull reader (and writer) of every XML file: tags with an
// optional namespace prefix, quoted attributes, character data, the five
// predefined entities plus "&nbsp;", character references below 256, and
// "<!" constructs, which it skips. Callers drive it element by element.
// Anything that does not fit throws one of the integer codes 57 to 60
// (FileErrorCode), which each format's entry point catches and stores in
// the workbook. Text inside the program is single-byte (byte n is code
// point n); conversion to and from UTF-8 happens here.
//
// The record is large and allocates nothing: keep it on the heap.

#include <cstddef>
#include <cstdint>

#include "files/xml/xml_attribute_table.h"
#include "files/xml/xml_source.h"

constexpr uint32_t kXmlTextSize = 32767;
// Character data stops at this many bytes.
constexpr uint32_t kXmlMaxCharacterData = 32766;
// An escaped text whose output reaches this many bytes is refused.
constexpr uint32_t kXmlEscapeLimit = 32761;

// Flags of CXmlReader::FindElement.
enum XmlFindFlags : uint8_t {
  kXmlClearAttributes = 1,
  kXmlStartTag = 2,
  kXmlEndTag = 4,
  kXmlOptional = 8,
  kXmlPeek = 16,
};

// Modes of CXmlReader::WriteElement.
constexpr int kXmlWriteStart = 2;
constexpr int kXmlWriteEnd = 4;
constexpr int kXmlWriteEmpty = 6;

// Encodings of a document's texts.
constexpr uint8_t kXmlEncodingUtf8 = 1;
constexpr uint8_t kXmlEncodingBytes = 2;
constexpr uint8_t kXmlEncodingIso = 3;

struct XmlTagState {
  uint8_t hasContent;
  uint8_t isEnd;
  uint8_t encoding;
  uint32_t line;
};

// How the texts of the files other programs exchange with us map to the
// program's single-byte text: a byte's UTF-16 unit (0 for a byte that
// stands for no character), and a code point's byte ("?" where the code
// page has none).
struct XmlCodePage {
  uint16_t (*decodeByte)(uint8_t byte);
  uint8_t (*encodeCodePoint)(uint32_t codePoint);
};

class CXmlReader {
 public:
  // Everything cleared: no tag, no text, no attributes, no pending tag, an
  // empty window, line 1, UTF-8. The stream is the caller's to set.
  void Reset();

  // The tokenizer.
  void SkipWhitespace();
  bool SkipDeclaration();
  bool ReadTag();
  void ReadText(uint8_t* overflow) { ReadTextInto(text, kXmlTextSize, overflow); }
  // ReadText into a buffer of the caller's, which holds capacity - 1 bytes
  // of character data and the terminator.
  void ReadTextInto(char* out, size_t capacity, uint8_t* overflow);
  bool FindElement(const char* prefix, const char* name, uint8_t flags);
  void SkipElement(const char* prefix, const char* name);
  bool ReadElementText(const char* prefix, const char* name, uint8_t flags, int32_t maximum) {
    int32_t length;
    return ReadElementTextInto(prefix, name, flags, maximum, text, kXmlTextSize, &length);
  }
  // ReadElementText into a buffer of the caller's; the decoded text's length
  // in *length, as a text may hold NUL bytes.
  bool ReadElementTextInto(const char* prefix, const char* name, uint8_t flags, int32_t maximum, char* out,
                           size_t capacity, int32_t* length);
  bool TagIs(const char* prefix, const char* name) const;
  void PushBackTag();
  void TakePendingTag();

  bool FindAttribute(const char* prefix, const char* name) { return attributes.Find(prefix, name); }
  // The value of the attribute the last successful FindAttribute found.
  const char* AttributeValue() const { return attributes.currentValue; }
  bool AddAttribute(const char* prefix, size_t prefixLength, const char* name, size_t nameLength,
                    const char* value, size_t valueLength) {
    return attributes.Add(prefix, prefixLength, name, nameLength, value, valueLength);
  }
  // Copies the current attribute's value into the text buffer and decodes
  // it there; its length, or -1 when it is too long or does not decode.
  int32_t DecodeAttributeText(int32_t maximum);

  // Texts. Decoding works in place: on the text buffer, or on a buffer of
  // the caller's of capacity bytes; the length, or -1.
  int32_t DecodeEntities() { return DecodeEntitiesIn(text, kXmlTextSize); }
  int32_t DecodeEntitiesIn(char* buffer, size_t capacity);
  // Into the text buffer; previous is the byte written before the text (a
  // blank after a blank must be written as a reference).
  int32_t EscapeText(const char* source, size_t length, char previous = 0);

  // Writing through the source's stream.
  void WriteElement(const char* elementName, const char* attributeText, int mode, int indent, int lineBreaks);
  void WriteText(const char* source, size_t length, bool escape);
  // A text of any length, escaped piece by piece, for the readers that take
  // texts longer than the text buffer.
  void WriteLongText(const char* source, size_t length);
  // indent, <name>, the escaped text, </name>, line breaks.
  void WriteTextElement(const char* elementName, const char* source, int indent, int lineBreaks);
  void WriteRaw(const char* source);

  // Value parsers: the text (null: the text buffer) read as a number of the
  // parser's kind, then checked against the inclusive limits. With `end`
  // the position after the value and its trailing whitespace is stored;
  // without, anything left is refused. All throw 60 on failure. The
  // integer conversions behave as on a platform whose long has 32 bits, and
  // none depends on the C locale.
  void ParseUInt8(uint8_t* out, uint32_t lowest, uint32_t highest, const char* source, const char** end = nullptr);
  void ParseUInt16(uint16_t* out, uint32_t lowest, uint32_t highest, const char* source,
                   const char** end = nullptr);
  void ParseUInt32(uint32_t* out, uint32_t lowest, uint32_t highest, const char* source,
                   const char** end = nullptr);
  void ParseInt8(int8_t* out, int32_t lowest, int32_t highest, const char* source, const char** end = nullptr);
  void ParseSignedInt16(int16_t* out, int32_t lowest, int32_t highest, const char* source,
                        const char** end = nullptr);
  void ParseInt16(int16_t* out, int32_t lowest, int32_t highest, const char* source, const char** end = nullptr) {
    ParseSignedInt16(out, lowest, highest, source, end);
  }
  void ParseInt32(int32_t* out, int32_t lowest, int32_t highest, const char* source, const char** end = nullptr);
  void ParseDouble(double* out, double lowest, double highest, const char* source, const char** end = nullptr);
  // A number, then one of the unit words; the word's number from 1.
  int ParseUInt16Unit(uint16_t* out, uint32_t lowest, uint32_t highest, const char* const* words, int wordCount,
                      const char* source, const char** end = nullptr);
  // 1 for "Yes", "true", "1", 0 for "No", "false", "0" (each compared over
  // its own length); anything else throws 58.
  void ReadBool(uint8_t* out, const char* source);

  char prefix[kXmlTextSize];
  char name[kXmlTextSize];
  char text[kXmlTextSize];
  XmlTagState tag;
  XmlAttributeTable attributes;
  uint8_t pending;
  char pendingPrefix[kXmlTextSize];
  char pendingName[kXmlTextSize];
  XmlTagState pendingTag;
  XmlAttributeTable pendingAttributes;
  // Room for converting a text to UTF-8 before it replaces the text buffer.
  char scratch[kXmlTextSize];
  XmlSource source;
  // Set for the files other programs read and write: their texts convert
  // through this code page, every blank of their character data counts,
  // and the control characters XML 1.0 forbids are left out when writing.
  // Null for the native files, which keep byte n as the code point n and
  // write every control character as a reference.
  const XmlCodePage* interchangeText;

 private:
  void CollectName(char* out, bool allowQuestion, size_t* length);
  const char* NumberText(const char* source) const { return source ? source : text; }
};

// UTF-8 to single-byte text (each code point up to 255 one byte); the
// length, 0 when the text is invalid, holds a character above 255, or is
// too long for capacity bytes. The output may be the input.
size_t XmlUtf8ToText(const char* source, size_t length, char* out, size_t capacity = kXmlTextSize);
// Single-byte text to UTF-8; the length (not terminated), 0 when it does
// not fit in kXmlTextSize.
size_t XmlTextToUtf8(const char* source, size_t length, char* out);
// The same pair as XmlUtf8ToText and XmlTextToUtf8 through a code page.
// Reading never fails: a malformed sequence stands for a character the
// code page lacks; the output (which may be the input) is never longer
// than the input.
size_t XmlUtf8ToCodePage(const XmlCodePage& codePage, const char* source, size_t length, char* out);
size_t XmlCodePageToUtf8(const XmlCodePage& codePage, const char* source, size_t length, char* out);

// Throws an XML error code; the format's entry point catches it.
[[noreturn]] void ThrowXmlError(uint8_t code);

#endif
