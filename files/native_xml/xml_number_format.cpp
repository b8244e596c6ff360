// The NumberFormat element: a number-format category with its options, or a
// user pattern. Only the options are carried for the predefined categories;
// their code is rebuilt on reading, so the stored code is always the one the
// options produce.

#include <cstring>

#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/regional_settings.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr int32_t kMaxUserPattern = 1024;
constexpr uint8_t kMaxDecimals = 14;
constexpr uint8_t kMaxDateTimeIndex = 10;
constexpr uint64_t kMaxFixedDenominator = 4294967294u;

const char* Bool(uint8_t flag) { return flag ? "1" : "0"; }

const char* NameOr(const XmlNameTable& table, uint8_t code) {
  const char* word = XmlNameOf(table, code);
  return word ? word : XmlNameOf(table, 0);
}

// Some writers left option bytes outside the ranges the reader takes;
// they are written as the code builder reads them, so the file loads.
uint8_t Digits(uint8_t value, uint8_t lowest) {
  return value < lowest ? lowest : (value > kMaxDecimals ? kMaxDecimals : value);
}

// A date or time style past the last one is the first, as stored files
// are checked when read.
uint8_t DateTimeIndex(uint8_t value) { return value > kMaxDateTimeIndex ? 0 : value; }

void AddCurrency(CXmlReader* writer, XmlAttributeText* text, const CurrencyFormatOptions& o) {
  char symbol[kCurrencySymbolSize];
  std::memcpy(symbol, o.symbol, sizeof symbol);
  symbol[kCurrencySymbolSize - 1] = 0;
  text->Add(" DecimalDigits=\"%u\"", unsigned(Digits(o.decimals, 0)));
  text->AddEscaped(writer, " Symbol=\"%s\"", symbol);
}

// The element name and attributes of a category; false for a user pattern.
bool DescribeCategory(CXmlReader* writer, const NumFormatParams& params, const char** name,
                      XmlAttributeText* text) {
  const NumFormatOptions& o = params.options;
  switch (params.category) {
    case kNumFormatGeneral:
      *name = "General";
      if (o.number.fixedDecimals)
        text->Add(" DecimalDigits=\"%u\"", unsigned(Digits(o.number.decimals, 0)));
      if (o.number.leadingZeros)
        text->Add(" LeadingZeroes=\"%u\"", unsigned(Digits(o.number.integerDigits, 0)));
      if (o.number.grouping)
        text->Add(" GroupDigits=\"1\"");
      text->Add(" Negative=\"%s\"", NameOr(kXmlNegativeStyleNames, o.number.negativeStyle));
      return true;
    case kNumFormatCurrency:
      *name = "Currency";
      AddCurrency(writer, text, o.currency);
      text->Add(" SymbolPosition=\"%s\"", NameOr(kXmlSymbolPositionNames, o.currency.symbolPosition));
      text->Add(" Negative=\"%s\"", NameOr(kXmlNegativeStyleNames, o.currency.negativeStyle));
      return true;
    case kNumFormatAccounting:
      *name = "Accounting";
      AddCurrency(writer, text, o.currency);
      return true;
    case kNumFormatDate:
      *name = "Date";
      text->Add("Index=\"%u\" SystemDateOrder=\"%s\"", unsigned(DateTimeIndex(o.dateTime.dateStyle)),
                Bool(o.dateTime.useLocaleOrder));
      return true;
    case kNumFormatTime:
      *name = "Time";
      text->Add("Index=\"%u\"", unsigned(DateTimeIndex(o.dateTime.timeStyle)));
      return true;
    case kNumFormatDateTime:
      *name = "DateTime";
      text->Add("DateIndex=\"%u\" TimeIndex=\"%u\" DateAfterTime=\"%s\" SystemDateOrder=\"%s\"",
                unsigned(DateTimeIndex(o.dateTime.dateStyle)),
                unsigned(DateTimeIndex(o.dateTime.timeStyle)), Bool(o.dateTime.timeFirst),
                Bool(o.dateTime.useLocaleOrder));
      return true;
    case kNumFormatPercent:
      *name = "Percentage";
      text->Add(" DecimalDigits=\"%u\"", unsigned(Digits(o.number.decimals, 0)));
      return true;
    case kNumFormatFraction: {
      *name = "Fraction";
      const uint64_t denominator = o.fraction.denominator;
      // A zero fixed denominator is shown by digits, as the code builder does.
      if (o.fraction.fixedDenominator && denominator != 0)
        text->Add(" Denominator=\"%llu\"",
                  static_cast<unsigned long long>(denominator > kMaxFixedDenominator ? kMaxFixedDenominator
                                                                                     : denominator));
      else
        text->Add(" DenominatorDigits=\"%u\"", unsigned(Digits(o.fraction.denominatorDigits, 1)));
      return true;
    }
    case kNumFormatScientific:
      *name = "Scientific";
      if (o.scientific.fixedDecimals)
        text->Add(" DecimalDigits=\"%u\"", unsigned(Digits(o.scientific.decimals, 0)));
      if (o.scientific.exponentStyle == kExponentFixedPositive || o.scientific.exponentStyle == kExponentFixedNegative) {
        const int magnitude = o.scientific.exponentValue > 99 ? 99 : o.scientific.exponentValue;
        text->Add(" Exponent=\"%d\"", o.scientific.exponentStyle == kExponentFixedNegative ? -magnitude : magnitude);
      }
      return true;
    case kNumFormatUserPattern:
      *name = "UserDefined";
      return false;
    default:
      *name = "Default";
      return true;
  }
}

}  // namespace

void WriteXmlNumberFormat(CXmlReader* writer, const NumFormatParams& params, int depth) {
  writer->WriteElement("NumberFormat", nullptr, kXmlWriteStart, depth, 1);
  const char* name = nullptr;
  XmlAttributeText text;
  if (DescribeCategory(writer, params, &name, &text)) {
    writer->WriteElement(name, text.Text(), kXmlWriteEmpty, depth + 1, 1);
  } else {
    char code[kNumFormatCodeSize];
    std::memcpy(code, params.code, sizeof code);
    code[kNumFormatCodeSize - 1] = 0;
    writer->WriteTextElement(name, code, depth + 1, 1);
  }
  writer->WriteElement("NumberFormat", nullptr, kXmlWriteEnd, depth, 1);
}

namespace {

bool Has(CXmlReader* reader, const char* name) { return reader->FindAttribute(nullptr, name); }

void ReadDigits(CXmlReader* reader, const char* name, uint8_t* flag, uint8_t* value) {
  if (!Has(reader, name))
    return;
  reader->ParseUInt8(value, 0, kMaxDecimals, reader->AttributeValue());
  if (flag)
    *flag = 1;
}

void ReadBoolAttribute(CXmlReader* reader, const char* name, uint8_t* flag) {
  if (Has(reader, name))
    reader->ReadBool(flag, reader->AttributeValue());
}

void ReadCurrency(CXmlReader* reader, CurrencyFormatOptions* o) {
  o->decimals = 2;
  ReadDigits(reader, "DecimalDigits", nullptr, &o->decimals);
  if (!Has(reader, "Symbol"))
    ThrowXmlError(kFileXmlMissingAttribute);
  const int32_t length = reader->DecodeAttributeText(int32_t(kCurrencySymbolSize - 1));
  if (length < 0)
    ThrowXmlError(kFileXmlBadAttribute);
  std::memset(o->symbol, 0, sizeof o->symbol);
  std::memcpy(o->symbol, reader->text, size_t(length));
}

void ReadCategory(CXmlReader* reader, uint8_t category, NumFormatParams* params) {
  NumFormatOptions& o = params->options;
  params->category = category;
  switch (category) {
    case kNumFormatGeneral:
      ReadDigits(reader, "DecimalDigits", &o.number.fixedDecimals, &o.number.decimals);
      ReadDigits(reader, "LeadingZeroes", &o.number.leadingZeros, &o.number.integerDigits);
      ReadBoolAttribute(reader, "GroupDigits", &o.number.grouping);
      if (Has(reader, "Negative"))
        o.number.negativeStyle = ReadXmlName(reader, kXmlNegativeStyleNames);
      break;
    case kNumFormatCurrency:
      ReadCurrency(reader, &o.currency);
      if (Has(reader, "SymbolPosition"))
        o.currency.symbolPosition = ReadXmlName(reader, kXmlSymbolPositionNames);
      if (Has(reader, "Negative"))
        o.currency.negativeStyle = ReadXmlName(reader, kXmlNegativeStyleNames);
      break;
    case kNumFormatAccounting:
      ReadCurrency(reader, &o.currency);
      break;
    case kNumFormatTime:
      if (Has(reader, "Index"))
        reader->ParseUInt8(&o.dateTime.timeStyle, 0, kMaxDateTimeIndex, reader->AttributeValue());
      break;
    case kNumFormatDate:
      ReadBoolAttribute(reader, "SystemDateOrder", &o.dateTime.useLocaleOrder);
      if (Has(reader, "Index"))
        reader->ParseUInt8(&o.dateTime.dateStyle, 0, kMaxDateTimeIndex, reader->AttributeValue());
      break;
    case kNumFormatDateTime:
      if (Has(reader, "DateIndex"))
        reader->ParseUInt8(&o.dateTime.dateStyle, 0, kMaxDateTimeIndex, reader->AttributeValue());
      if (Has(reader, "TimeIndex"))
        reader->ParseUInt8(&o.dateTime.timeStyle, 0, kMaxDateTimeIndex, reader->AttributeValue());
      ReadBoolAttribute(reader, "DateAfterTime", &o.dateTime.timeFirst);
      ReadBoolAttribute(reader, "SystemDateOrder", &o.dateTime.useLocaleOrder);
      break;
    case kNumFormatPercent:
      ReadDigits(reader, "DecimalDigits", &o.number.fixedDecimals, &o.number.decimals);
      break;
    case kNumFormatFraction:
      o.fraction.denominatorDigits = 2;
      if (Has(reader, "DenominatorDigits")) {
        reader->ParseUInt8(&o.fraction.denominatorDigits, 1, kMaxDecimals, reader->AttributeValue());
        o.fraction.fixedDenominator = 0;
      } else if (Has(reader, "Denominator")) {
        uint32_t denominator = 0;
        reader->ParseUInt32(&denominator, 1, uint32_t(kMaxFixedDenominator), reader->AttributeValue());
        o.fraction.fixedDenominator = 1;
        o.fraction.denominator = denominator;
      }
      break;
    case kNumFormatScientific:
      ReadDigits(reader, "DecimalDigits", &o.scientific.fixedDecimals, &o.scientific.decimals);
      if (Has(reader, "Exponent")) {
        int8_t exponent = 0;
        reader->ParseInt8(&exponent, -99, 99, reader->AttributeValue());
        o.scientific.exponentStyle = exponent < 0 ? kExponentFixedNegative : kExponentFixedPositive;
        o.scientific.exponentValue = uint8_t(exponent < 0 ? -exponent : exponent);
      }
      break;
    default:
      break;
  }
}

}  // namespace

bool ReadXmlNumberFormat(CXmlReader* reader, NumFormatParams* params) {
  if (!reader->FindElement(nullptr, "NumberFormat", kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional))
    return false;
  if (!reader->tag.hasContent)
    ThrowXmlError(kFileXmlUnexpectedElement);
  if (reader->tag.isEnd)
    return false;
  static const struct {
    const char* name;
    uint8_t category;
  } kChildren[] = {{"Default", kNumFormatDefault},   {"General", kNumFormatGeneral},
                   {"Currency", kNumFormatCurrency}, {"Accounting", kNumFormatAccounting},
                   {"Time", kNumFormatTime},         {"Date", kNumFormatDate},
                   {"DateTime", kNumFormatDateTime}, {"Percentage", kNumFormatPercent},
                   {"Fraction", kNumFormatFraction}, {"Scientific", kNumFormatScientific}};
  bool found = false;
  for (const auto& child : kChildren)
    if (FindXmlEmptyElement(reader, child.name)) {
      ReadCategory(reader, child.category, params);
      found = true;
      break;
    }
  if (!found &&
      reader->ReadElementText(nullptr, "UserDefined", kXmlClearAttributes | kXmlOptional, kMaxUserPattern) &&
      reader->text[0]) {
    params->category = kNumFormatUserPattern;
    std::memset(params->code, 0, sizeof params->code);
    std::memcpy(params->code, reader->text, std::strlen(reader->text));
  }
  if (params->category >= kNumFormatGeneral && params->category <= kNumFormatScientific) {
    char code[kNumFormatCodeSize];
    if (!BuildFormatCode(params->category, params->options, code, sizeof code, &kGenericRegionalSettings))
      code[0] = 0;
    std::memset(params->code, 0, sizeof params->code);
    std::memcpy(params->code, code, std::strlen(code));
  }
  reader->FindElement(nullptr, "NumberFormat", kXmlEndTag);
  return true;
}
