#include "files/native_xml/xml_style_names.h"

#include <cstring>

#include "files/errors/file_errors.h"
#include "files/xml/xml_reader.h"

namespace {

const char* const kLineStyles[] = {"None",          "Continuous",    "Dot",           "Dash",
                                   "DashDot",       "DashDotDot",    "Continuous1px", "Continuous2px",
                                   "Continuous3px", "Double"};
const char* const kPatterns[] = {"None",           "Solid",
                                 "Gray125",        "Gray75",
                                 "Gray50",         "Gray25",
                                 "Gray0625",       "HorzStripe",
                                 "VertStripe",     "ReverseDiagStripe",
                                 "DiagStripe",     "DiagCross",
                                 "ThickDiagCross", "ThinHorzStripe",
                                 "ThinVertStripe", "ThinReverseDiagStripe",
                                 "ThinDiagStripe", "ThinHorzCross",
                                 "ThinDiagCross",  "VertGradient",
                                 "HorzGradient",   "VertSymGradient",
                                 "HorzSymGradient"};
const char* const kFamilies[] = {"Any", "Swiss", "Modern", "Roman", "Script", "Decorative"};
const char* const kWeights[] = {"Normal", "Thin", "Bold", "Heavy"};
// "Chineese" is the word files have always carried.
const char* const kCharSets[] = {"Default", "Ansi",   "Baltic",   "Chineese", "EastEurope", "GB2312",
                                 "Greek",   "Hangul", "Mac",      "OEM",      "Russian",    "ShiftJIS",
                                 "Symbol",  "Turkish", "Hebrew",  "Arabic",   "Thai"};
const char* const kVertical[] = {nullptr, nullptr, nullptr, nullptr, "Top", "Center", nullptr, "Bottom"};
const char* const kHorizontal[] = {nullptr, "Left", "Center", "Right"};
const char* const kSymbolPositions[] = {"$1.1", "$ 1.1", "1.1$", "1.1 $"};
const char* const kNegativeStyles[] = {"Minus", "Red", "Brackets", "RedAndBrackets"};

template <size_t N>
constexpr XmlNameTable Table(const char* const (&names)[N]) {
  return XmlNameTable{names, N};
}

}  // namespace

const XmlNameTable kXmlLineStyleNames = Table(kLineStyles);
const XmlNameTable kXmlPatternNames = Table(kPatterns);
const XmlNameTable kXmlFontFamilyNames = Table(kFamilies);
const XmlNameTable kXmlFontWeightNames = Table(kWeights);
const XmlNameTable kXmlCharSetNames = Table(kCharSets);
const XmlNameTable kXmlVerticalAlignmentNames = Table(kVertical);
const XmlNameTable kXmlHorizontalAlignmentNames = Table(kHorizontal);
const XmlNameTable kXmlSymbolPositionNames = Table(kSymbolPositions);
const XmlNameTable kXmlNegativeStyleNames = Table(kNegativeStyles);

const char* XmlNameOf(const XmlNameTable& table, uint32_t code) {
  return code < table.count ? table.names[code] : nullptr;
}

bool XmlCodeOf(const XmlNameTable& table, const char* word, uint8_t* code) {
  for (size_t i = 0; i < table.count; ++i)
    if (table.names[i] && std::strcmp(table.names[i], word) == 0) {
      *code = uint8_t(i);
      return true;
    }
  return false;
}

uint8_t ReadXmlName(CXmlReader* reader, const XmlNameTable& table) {
  uint8_t code = 0;
  if (!XmlCodeOf(table, reader->AttributeValue(), &code))
    ThrowXmlError(kFileXmlBadAttribute);
  return code;
}
