#include "files/xml/xml_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/errors/file_errors.h"
#include "files/text/code_pages.h"
#include "tests/test_seed.h"
#include "tests/files/xml/xml_test_support.h"

namespace {

using xmltest::CodeOf;
using xmltest::Document;

TEST(XmlReader, FindElementAcceptsTagKindsByItsFlags) {
  struct Case {
    const char* document;
    uint8_t flags;
    int code;
  };
  const Case cases[] = {
      {"<a/>", kXmlStartTag | kXmlEndTag, 0},
      {"<a/>", 0, 0},
      {"<a/>", kXmlStartTag, kFileXmlUnexpectedElement},
      {"<a/>", kXmlEndTag, kFileXmlUnexpectedElement},
      {"</a>", kXmlEndTag, 0},
      {"</a>", kXmlStartTag, kFileXmlUnexpectedElement},
      {"<a>", kXmlStartTag, 0},
      {"<b>", kXmlStartTag, kFileXmlUnexpectedElement},
      {"<x:a>", kXmlStartTag, 0},
      {"", kXmlStartTag, kFileXmlUnexpectedElement},
      {"<a.b/>", 0, kFileXmlUnexpectedElement},
      {"<\xE9/>", 0, kFileXmlUnexpectedElement},
      {"<a x=1/>", 0, kFileXmlBadAttribute},
      {"<a x='1/>", 0, kFileXmlBadAttribute},
      {"<a x'1'/>", 0, kFileXmlUnexpectedElement},
      {"<a", 0, kFileXmlUnexpectedElement},
      {"<!-- c --><a/>", 0, 0},
      {"<!-- c", 0, kFileXmlUnexpectedElement},
  };
  for (const Case& c : cases) {
    Document doc(c.document);
    EXPECT_EQ(CodeOf([&] { doc->FindElement(nullptr, "a", c.flags); }), c.code) << c.document << " " << int(c.flags);
  }
}

TEST(XmlReader, OptionalMismatchLeavesTheTagForTheNextSearch) {
  Document doc("<b/><a/>");
  EXPECT_FALSE(doc->FindElement(nullptr, "a", kXmlOptional));
  EXPECT_TRUE(doc->FindElement(nullptr, "b", kXmlPeek));
  EXPECT_TRUE(doc->FindElement(nullptr, "b", 0));
  EXPECT_TRUE(doc->FindElement(nullptr, "a", 0));
  EXPECT_FALSE(doc->FindElement(nullptr, "a", kXmlOptional));
}

TEST(XmlReader, AttributesAccumulateUntilASearchClearsThem) {
  for (bool clearOnChild : {false, true}) {
    Document doc("<?xml version='1.0'?><a one=\"1\"><b two='2'/></a>");
    doc->FindElement(nullptr, "?xml", kXmlClearAttributes);
    doc->FindElement(nullptr, "a", kXmlClearAttributes | kXmlStartTag);
    doc->FindElement(nullptr, "b", clearOnChild ? kXmlClearAttributes : 0);
    EXPECT_EQ(doc->FindAttribute(nullptr, "one"), !clearOnChild);
    ASSERT_TRUE(doc->FindAttribute(nullptr, "two"));
    EXPECT_STREQ(doc->AttributeValue(), "2");
    EXPECT_FALSE(doc->FindAttribute(nullptr, "version"));
  }
}

TEST(XmlReader, ElementTextsDecodeAsTheWriterEncodes) {
  struct Case {
    const char* inFile;
    const char* text;  // null: the element is refused with 60
  };
  const Case cases[] = {
      {" a  b\r\n c ", " a b c "},
      {"a &nbsp;b", "a  b"},
      {"&#65;&#x41;&#x4a;&#;", "AAJ"},
      {"&lt;&gt;&amp;&quot;&apos;&copy;", "<>&\"'&copy;"},
      {"&#X41;", nullptr},
      {"&#256;", nullptr},
      {"&#65", nullptr},
      {"\xC3\xA9", "\xE9"},
      {"\xC4\x80", ""},  // above U+00FF
      {"\xFF", ""},      // not UTF-8
      {"a<!-- x > y -->", "a y --"},
  };
  for (const Case& c : cases) {
    Document doc(std::string("<t>") + c.inFile + "</t>");
    const int code = CodeOf([&] { doc->ReadElementText(nullptr, "t", kXmlStartTag, 1024); });
    if (!c.text) {
      EXPECT_EQ(code, kFileXmlBadData) << c.inFile;
      continue;
    }
    // The comment's text after its first ">" is character data, and then
    // the end tag is not next.
    if (std::strstr(c.inFile, "<!--")) {
      EXPECT_EQ(code, 0);
      continue;
    }
    EXPECT_EQ(code, 0) << c.inFile;
    EXPECT_STREQ(doc->text, c.text) << c.inFile;
  }
}

TEST(XmlReader, WrittenTextsReadBackUnchanged) {
  const std::string texts[] = {"two  blanks", "line\r\nbreak", "<&'\">", "\xE9t\xE9", "\t tab", "  lead"};
  for (const std::string& original : texts) {
    const std::string file = xmltest::Written([&](CXmlReader* w) { w->WriteTextElement("T", original.c_str(), 0, 1); });
    Document doc(file);
    doc->ReadElementText(nullptr, "T", kXmlStartTag, 1024);
    EXPECT_EQ(std::string(doc->text), original) << file;
  }
  const std::string file = xmltest::Written([](CXmlReader* w) { w->WriteTextElement("T", "a  b\r\n<&'", 1, 1); });
  EXPECT_EQ(file, "\t<T>a &#32;b&#13;&#10;&lt;&amp;&apos;</T>\r\n");
}

uint16_t DecodeAnsi(uint8_t byte) { return DecodeCodePageByte(kCodePageAnsi, byte); }
uint8_t EncodeAnsi(uint32_t codePoint) {
  return codePoint > 0xFFFF ? uint8_t('?') : EncodeCodePageUnit(kCodePageAnsi, uint16_t(codePoint));
}
const XmlCodePage kAnsi = {DecodeAnsi, EncodeAnsi};

// The files of other programs: every blank counts, characters come through
// the code page, and nothing XML forbids is written.
TEST(XmlReader, InterchangeTextsReadAndWriteThroughTheCodePage) {
  const struct {
    const char* inFile;
    const char* text;
  } reads[] = {
      {" a  b\r\n c\r", " a  b\n c\n"},
      // What the code page lacks is its best fit, else "?".
      {"\xE2\x82\xAC\xC4\x80 &#8364;&#x2122;&#1000;", "\x80" "A \x80\x99?"},
      {"\xF0\x9F\x98\x80|\xFF|\xC3", "?|?|?"},
      {"&#1114112;", nullptr},
  };
  for (const auto& c : reads) {
    Document doc(std::string("<t>") + c.inFile + "</t>");
    doc->interchangeText = &kAnsi;
    const int code = CodeOf([&] { doc->ReadElementText(nullptr, "t", kXmlStartTag, 1024); });
    EXPECT_EQ(code, c.text ? 0 : kFileXmlBadData) << c.inFile;
    if (c.text) {
      EXPECT_STREQ(doc->text, c.text) << c.inFile;
    }
  }
  const std::string file = xmltest::Written([](CXmlReader* w) {
    w->interchangeText = &kAnsi;
    w->WriteTextElement("T", "a \x01 b\x1F\t\x80\xE9", 0, 0);
  });
  EXPECT_EQ(file, "<T>a &#32;b&#09;\xE2\x82\xAC\xC3\xA9</T>");
}

TEST(XmlReader, TextLimitsOnReadingAndWriting) {
  for (size_t length : {size_t(32765), size_t(32766)}) {
    Document doc("<t>" + std::string(length, 'x') + "</t>");
    EXPECT_EQ(CodeOf([&] { doc->ReadElementText(nullptr, "t", 0, 40000); }),
              length == 32765 ? 0 : int(kFileXmlBadData));
  }
  struct Case {
    std::string text;
    int code;
  };
  const Case cases[] = {
      {std::string(32760, 'a'), 0},
      {std::string(32762, 'a'), kFileXmlBadData},
      {std::string(8192, '<'), kFileXmlBadData},
      // Fits escaped, but not once each byte takes two in UTF-8: refused,
      // never written empty.
      {std::string(20000, '\xE9'), kFileXmlBadData},
  };
  for (const Case& c : cases) {
    int code = -1;
    const std::string file = xmltest::Written([&](CXmlReader* w) { w->WriteText(c.text.data(), c.text.size(), true); },
                                              &code);
    EXPECT_EQ(code, c.code) << c.text.size();
    if (code == 0) {
      EXPECT_EQ(file.size(), c.text.size());
    }
  }
}

TEST(XmlReader, ValueParsersTable) {
  auto reader = std::make_unique<CXmlReader>();
  reader->Reset();
  CXmlReader& r = *reader;
  struct Case {
    const char* text;
    int code;
  };
  for (const Case& c : {Case{" 5 ", 0}, {"100", 0}, {"0", 60}, {"101", 60}, {"5x", 60}, {"-1", 60}}) {
    uint16_t v = 0;
    EXPECT_EQ(CodeOf([&] { r.ParseUInt16(&v, 1, 100, c.text); }), c.code) << c.text;
  }
  uint16_t zero = 9;
  r.ParseUInt16(&zero, 0, 100, "");
  EXPECT_EQ(zero, 0);

  // A 32-bit long on every build: saturation and unsigned negation.
  int32_t i32 = 0;
  r.ParseInt32(&i32, INT32_MIN, INT32_MAX, "99999999999");
  EXPECT_EQ(i32, INT32_MAX);
  r.ParseInt32(&i32, INT32_MIN, INT32_MAX, "-99999999999");
  EXPECT_EQ(i32, INT32_MIN);
  uint32_t u32 = 0;
  r.ParseUInt32(&u32, 0, UINT32_MAX, "99999999999");
  EXPECT_EQ(u32, UINT32_MAX);
  r.ParseUInt32(&u32, 0, UINT32_MAX, "-2");
  EXPECT_EQ(u32, UINT32_MAX - 1);
  EXPECT_EQ(CodeOf([&] { r.ParseUInt32(&u32, 1, 4294967294u, "4294967296"); }), 60);
  int8_t i8 = 0;
  r.ParseInt8(&i8, -90, 90, "-90");
  EXPECT_EQ(i8, -90);

  const char* words[] = {"%"};
  for (const Case& c : {Case{"150%", 0}, {"150 %", 0}, {"150", 60}, {"5%", 60}}) {
    uint16_t v = 0;
    EXPECT_EQ(CodeOf([&] { r.ParseUInt16Unit(&v, 10, 1000, words, 1, c.text); }), c.code) << c.text;
  }

  for (const Case& c : {Case{"true", 1}, {"1", 1}, {"Yes", 1}, {"10", 1}, {"false", 0}, {"0", 0}, {"No", 0},
                        {"01", 0}, {"TRUE", -58}, {"", -58}}) {
    uint8_t v = 7;
    const int code = CodeOf([&] { r.ReadBool(&v, c.text); });
    EXPECT_EQ(code ? -code : int(v), c.code) << c.text;
  }
}

// Number texts read the same whatever the C locale's decimal separator.
TEST(XmlReader, DoublesReadAlikeUnderEveryLocale) {
  auto reader = std::make_unique<CXmlReader>();
  reader->Reset();
  const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "de-DE"};
  bool ranUnderComma = false;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      for (const char* name : commaLocales)
        if (std::setlocale(LC_ALL, name)) {
          ranUnderComma = true;
          break;
        }
      if (!ranUnderComma)
        break;
    }
    struct Case {
      const char* text;
      double value;
      int code;
    };
    const double huge = 1.7976931348623157e308;
    for (const Case& c : {Case{"1.5", 1.5, 0}, {" -2.25e3 ", -2250, 0}, {".5", 0.5, 0}, {"1e-400", 0, 0},
                          {"0.1", 0.1, 0}, {"1,5", 1, 60}, {"inf", 0, 60}, {"1e400", 0, 60}, {"0x10", 0, 60}}) {
      double v = -1;
      EXPECT_EQ(CodeOf([&] { reader->ParseDouble(&v, -huge, huge, c.text); }), c.code) << c.text << " " << pass;
      if (c.code == 0) {
        EXPECT_EQ(v, c.value) << c.text;
      }
    }
    const char* end = nullptr;
    double v = 0;
    reader->ParseDouble(&v, -huge, huge, "2.5 rest", &end);
    EXPECT_STREQ(end, "rest");
  }
  std::setlocale(LC_ALL, "C");
  if (!ranUnderComma)
    GTEST_SKIP() << "no comma-decimal locale installed";
}

// Every tag, attribute and text of a document, as the reader hands them out.
std::vector<std::string> Tokens(Document& doc) {
  std::vector<std::string> tokens;
  for (int guard = 0; guard < 100000; ++guard) {
    if (!doc->FindElement(nullptr, nullptr, kXmlClearAttributes | kXmlOptional))
      break;
    std::string token = std::string(doc->tag.isEnd ? "/" : "") + doc->prefix + ":" + doc->name;
    if (doc->FindAttribute(nullptr, "v"))
      token += std::string(" v=") + doc->AttributeValue();
    tokens.push_back(token + " line " + std::to_string(doc->tag.line));
    if (doc->tag.hasContent && !doc->tag.isEnd) {
      doc->ReadText(nullptr);
      doc->DecodeEntities();
      tokens.push_back(doc->text);
    }
  }
  return tokens;
}

TEST(XmlReader, DocumentsPaddedPastTheWindowReadIdentically) {
  const uint32_t seed = TestSeed(27110);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 4; ++round) {
    std::string body;
    for (int i = 0; i < 400; ++i) {
      body += "<e v=\"" + std::to_string(random() % 1000) + "\">";
      body += std::string(random() % 300, 'a' + char(random() % 26)) + "&amp;</e>\r\n";
    }
    const size_t padding = 65535 - 20 + random() % 40 + round * 32767;
    const std::string padded = "<!--" + std::string(padding, '-') + "-->" + std::string(round, ' ') + body;
    Document plain("<!---->" + body, "files_xml_plain.tmp");
    Document slid(padded, "files_xml_padded.tmp");
    const std::vector<std::string> expected = Tokens(plain);
    ASSERT_EQ(expected.size(), 1200u);
    EXPECT_EQ(Tokens(slid), expected);
  }
}

}  // namespace
