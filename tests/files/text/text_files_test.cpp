// Text files written from worksheets and read into them: the writer's and
// the reader's rules case by case, the reader's limits, and a randomized
// round trip through every character set.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/text/text_conversion.h"
#include "tests/files/exchange_test_support.h"
#include "tests/test_seed.h"

namespace {

using exchange::Describe;
using exchange::PutNumber;
using exchange::PutText;

struct Cell {
  uint32_t row;
  uint16_t column;
  std::string value;  // "n:" and a number, else a text
};

void Fill(CWorkSheet* sheet, const std::vector<Cell>& cells) {
  for (const Cell& cell : cells) {
    if (cell.value.rfind("n:", 0) == 0)
      PutNumber(sheet, cell.row, cell.column, std::stod(cell.value.substr(2)));
    else
      PutText(sheet, cell.row, cell.column, cell.value);
  }
}

struct Options {
  char separator = ',';
  char quote = '"';
  uint8_t charset = kTextCharsetAnsi;
  std::vector<uint16_t> widths;  // fixed widths when not empty
  uint8_t recognize = 1;
};

void Apply(const Options& given, TextFileOptions* options) {
  *options = TextFileOptions{};
  options->separator = given.separator;
  options->quote = given.quote;
  options->charset = given.charset;
  options->recognizeValues = given.recognize;
  options->fixedWidth = given.widths.empty() ? 0 : 1;
  for (size_t i = 0; i < given.widths.size(); ++i) options->widths[i] = given.widths[i];
}

std::string Saved(const std::vector<Cell>& cells, const Options& options) {
  auto book = exchange::NewBook();
  Fill(book->activeWorksheet, cells);
  Apply(options, &book->textFileOptions);
  const std::string path = "text_saved.txt";
  EXPECT_TRUE(exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveText(b->activeWorksheet); }));
  return filetest::ReadAll(path);
}

std::unique_ptr<CWorkBook> Loaded(const std::string& bytes, const Options& options, const char* name = "loaded.csv") {
  EXPECT_TRUE(filetest::WriteAll(name, bytes));
  auto book = std::make_unique<CWorkBook>();
  Apply(options, &book->textFileOptions);
  EXPECT_TRUE(exchange::LoadWith(book.get(), name, [](CWorkBook* b) { return b->LoadText(); }));
  // The next case writes the same file, which a held file would refuse.
  book->bufferedFile.Close();
  return book;
}

// Every cell of the worksheet, in storage order, as "row,column=value".
std::string Cells(const CWorkBook& book) {
  std::string all;
  for (const CellBlock* block = book.activeWorksheet->cells.FirstBlock(); block; block = block->next) {
    for (uint32_t offset = 0; offset < block->used;) {
      const CellRecord* cell = AsCellRecord(block->payload + offset);
      offset += cell->Size();
      if (!all.empty())
        all += " | ";
      all += std::to_string(cell->Row()) + "," + std::to_string(cell->Column()) + "=" +
             Describe(book.activeWorksheet, cell->Row(), cell->Column());
    }
  }
  return all;
}

TEST(TextWriter, WritesEachRuleOfLinesFieldsQuotesAndCharacterSets) {
  Options fixed;
  fixed.widths = {5, 3, 0, 4};
  Options utf8;
  utf8.charset = kTextCharsetUtf8;
  Options utf8Fixed = fixed;
  utf8Fixed.charset = kTextCharsetUtf8;
  Options oem;
  oem.charset = kTextCharsetOem;
  Options semicolonSingle;
  semicolonSingle.separator = ';';
  semicolonSingle.quote = '\'';
  Options noQuote;
  noQuote.quote = '\0';
  const struct {
    const char* what;
    std::vector<Cell> cells;
    Options options;
    std::string bytes;
  } cases[] = {
      {"an empty row is an empty line; no break after the last row", {{0, 0, "a"}, {2, 0, "b"}}, {}, "a\r\n\r\nb"},
      {"a field stands after as many separators as its column", {{0, 3, "x"}, {1, 1, "y"}, {1, 4, "z"}}, {},
       ",,,x\r\n,y,,,z"},
      {"numbers are written as shown", {{0, 0, "n:1.5"}, {0, 1, "n:-2"}, {0, 2, "n:1e+20"}}, {},
       "1.5,-2,1e+020"},
      {"a separator quotes the text", {{0, 0, "a,b"}}, {}, "\"a,b\""},
      {"a quote is doubled and quotes the text", {{0, 0, "say \"hi\", now"}}, {}, "\"say \"\"hi\"\", now\""},
      {"a text with neither is written as it is", {{0, 0, "plain text"}}, {}, "plain text"},
      {"a line break inside a text quotes it", {{0, 0, "one\r\ntwo"}, {0, 1, "lf\nonly"}}, {},
       "\"one\r\ntwo\",\"lf\nonly\""},
      {"the separator and quote are the options'", {{0, 0, "a;b"}, {0, 1, "it's"}}, semicolonSingle,
       "'a;b';'it''s'"},
      {"without a quote character nothing is quoted", {{0, 0, "a,b"}}, noQuote, "a,b"},
      {"fixed widths cut and pad, skipped columns are blanks",
       {{0, 0, "abcdefg"}, {0, 1, "ab"}, {1, 2, "free width"}, {1, 3, "z"}}, fixed,
       "abcdeab \r\n        free widthz   "},
      {"UTF-8 from ANSI", {{0, 0, "caf\xE9 \x80"}}, utf8, "caf\xC3\xA9 \xE2\x82\xAC"},
      {"UTF-8 fixed widths count characters, never splitting one",
       {{0, 0, "\xE9\xE9\xE9\xE9\xE9\xE9\xE9"}, {0, 1, "\xE9"}}, utf8Fixed,
       "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9  "},
      {"OEM through the DOS code page", {{0, 0, "caf\xE9 \xFC"}}, oem, "caf\x82 \x81"},
  };
  for (const auto& c : cases) EXPECT_EQ(Saved(c.cells, c.options), c.bytes) << c.what;
}

TEST(TextReader, ReadsEachRuleOfFieldsQuotesValuesAndCharacterSets) {
  Options fixed;
  fixed.widths = {2, 3};
  Options tabs;
  tabs.separator = '\t';
  Options asText;
  asText.recognize = 0;
  Options utf8;
  utf8.charset = kTextCharsetUtf8;
  Options oem;
  oem.charset = kTextCharsetOem;
  const struct {
    const char* what;
    std::string bytes;
    Options options;
    std::string cells;
  } cases[] = {
      {"a number, an empty field, a text", "1,,x", {}, "0,0=n:1 | 0,2=t:x"},
      {"CR LF, CR and LF each end a line", "a\r\nb\rc\nd", {}, "0,0=t:a | 1,0=t:b | 2,0=t:c | 3,0=t:d"},
      {"a quoted line break becomes blanks", "\"a\r\nb\",c", {}, "0,0=t:a  b | 0,1=t:c"},
      {"a doubled quote is one quote", "\"say \"\"hi\"\"\"", {}, "0,0=t:say \"hi\""},
      {"what follows a closing quote is a new field in the same column", "\"a\"x,b", {}, "0,0=t:x | 0,1=t:b"},
      {"a formula with value recognition", "=1+2", {}, "0,0=f:=1+2"},
      {"a formula's text without it", "=1+2,7", asText, "0,0=t:=1+2 | 0,1=t:7"},
      {"trailing blanks keep a number, leading ones make a text", "12  , 12,- 5", {},
       "0,0=n:12 | 0,1=t: 12 | 0,2=n:-5"},
      {"exponents and decimals", "1.5e3,.25,1e,1e999", {}, "0,0=n:1500 | 0,1=n:0.25 | 0,2=t:1e | 0,3=t:1e999"},
      {"tabs separate; inside quotes they are blanks", "a\tb\t\"c\td\"", tabs, "0,0=t:a | 0,1=t:b | 0,2=t:c d"},
      {"fixed widths, the last column free", "abcdefgh\r\nxy", fixed,
       "0,0=t:ab | 0,1=t:cde | 0,2=t:fgh | 1,0=t:xy"},
      {"fixed widths keep quotes and separators", "\"a,bc", fixed, "0,0=t:\"a | 0,1=t:,bc"},
      {"blanks padding a fixed field end its text; a field of blanks is empty", "a   x  \r\n  b", fixed,
       "0,0=t:a | 0,1=t:  x | 1,1=t:b"},
      {"UTF-8 to ANSI", "caf\xC3\xA9,\xE2\x82\xAC", utf8, "0,0=t:caf\xE9 | 0,1=t:\x80"},
      {"a 4-byte UTF-8 sequence ends the field's text", "ab\xF0\x9F\x98\x80" "cd,\xF0\x9F\x98\x80", utf8,
       "0,0=t:ab"},
      {"OEM to ANSI", "caf\x82", oem, "0,0=t:caf\xE9"},
      {"a NUL ends the text", std::string("a,b\0c,d", 7), {}, "0,0=t:a | 0,1=t:b"},
      {"an empty file gives an empty worksheet", "", {}, ""},
  };
  for (const auto& c : cases) {
    auto book = Loaded(c.bytes, c.options);
    ASSERT_NE(book->activeWorksheet, nullptr) << c.what;
    EXPECT_EQ(Cells(*book), c.cells) << c.what;
    EXPECT_EQ(book->worksheetCount, 1u);
    EXPECT_STREQ(book->activeWorksheet->name, "loaded.csv");
  }
}

TEST(TextReader, KeepsAtMost3072CharactersOfAFieldAnd1024OfItsText) {
  // 4000 letters: 3072 are read, 1024 stored.
  auto book = Loaded(std::string(4000, 'a') + ",b", {});
  EXPECT_EQ(Describe(book->activeWorksheet, 0, 0), "t:" + std::string(1024, 'a'));
  EXPECT_EQ(Describe(book->activeWorksheet, 0, 1), "t:b");
  // 2000 two-byte characters: 3072 bytes are read, which give 1536
  // characters, of which 1024 are converted.
  std::string wide;
  for (int i = 0; i < 2000; ++i) wide += "\xC3\xA9";
  Options utf8;
  utf8.charset = kTextCharsetUtf8;
  book = Loaded(wide, utf8);
  EXPECT_EQ(Describe(book->activeWorksheet, 0, 0), "t:" + std::string(1024, '\xE9'));
}

TEST(TextReader, DropsFieldsOutsideTheGrid) {
  // Column 2047 and row 2,097,152 lie past the last column and row.
  std::string line(kColumnCount, ',');
  std::string bytes = "first" + line + "past\r\n" + std::string(kMaxRow - 1, '\n') + "last\nbeyond";
  auto book = Loaded(bytes, {});
  EXPECT_EQ(Describe(book->activeWorksheet, 0, 0), "t:first");
  EXPECT_EQ(Describe(book->activeWorksheet, kMaxRow, 0), "t:last");
  EXPECT_EQ(Cells(*book), "0,0=t:first | 2097151,0=t:last");
  Options fixed;
  fixed.widths.assign(kColumnCount, 1);
  book = Loaded(std::string(kColumnCount, 'x') + "rest", fixed);
  EXPECT_EQ(Describe(book->activeWorksheet, 0, kMaxColumn), "t:x");
  EXPECT_EQ(book->activeWorksheet->cells.GetCell(0, kMaxColumn + 1), nullptr);
}

TEST(TextReader, NamesTheWorksheetAfterTheFile) {
  auto book = Loaded("1", {}, "text_name.tsv");
  EXPECT_STREQ(book->activeWorksheet->name, "text_name.tsv");
  EXPECT_EQ(book->activeWorksheet, static_cast<CWorkSheet*>(book->firstItem));
  EXPECT_TRUE(book->CheckTreeInvariants());
}

// What a text becomes on its way out and back: OEM keeps only what the DOS
// code page can hold, and line breaks and other control characters in the
// file read back as blanks.
std::string Expected(std::string text, uint8_t charset) {
  if (charset == kTextCharsetOem)
    AnsiToOemInPlace(text.data(), text.size());
  for (char& c : text)
    if (uint8_t(c) < 32)
      c = ' ';
  if (charset == kTextCharsetOem)
    OemToAnsiInPlace(text.data(), text.size());
  return text;
}

TEST(TextFiles, RandomSheetsComeBackInEveryCharacterSetAndMode) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto below = [&](uint32_t n) { return uint32_t(random() % n); };
  const char kSpecial[] = {',', ';', '"', '\'', '\t', '\r', '\n', ' '};
  for (int round = 0; round < 60; ++round) {
    Options options;
    options.recognize = 0;
    options.charset = uint8_t(1 + below(3));
    const bool fixed = below(4) == 0;
    if (fixed)
      for (int c = 0; c < 12; ++c) options.widths.push_back(uint16_t(1 + below(6)));
    else
      options.separator = ";,\t|"[below(4)];
    if (!fixed && below(3) == 0)
      options.quote = '\'';
    std::vector<Cell> cells;
    for (uint32_t row = 0; row < 8; ++row) {
      for (uint16_t column = 0; column < 12; ++column) {
        if (below(3) == 0)
          continue;
        std::string text;
        for (uint32_t i = 1 + below(fixed ? 6 : 12); i > 0; --i) {
          const uint32_t pick = below(10);
          text += pick < 2 ? kSpecial[below(sizeof kSpecial)] : char(pick < 5 ? 'a' + below(26) : 0x80 + below(128));
        }
        if (fixed) {
          // A fixed field holds its width; blanks at its end are padding.
          text.resize(std::min<size_t>(text.size(), options.widths[column]));
          for (char& c : text)
            if (uint8_t(c) <= ' ')
              c = '_';
        }
        cells.push_back({row, column, text});
      }
    }
    const std::string bytes = Saved(cells, options);
    auto book = Loaded(bytes, options);
    for (const Cell& cell : cells) {
      std::string text = Expected(cell.value, options.charset);
      // Blanks at a fixed field's end are its padding.
      while (fixed && !text.empty() && text.back() == ' ') text.pop_back();
      EXPECT_EQ(Describe(book->activeWorksheet, cell.row, cell.column), text.empty() ? "" : "t:" + text)
          << "round " << round << " cell " << cell.row << "," << cell.column;
    }
  }
}

TEST(TextFiles, SaveDocumentFileWritesTheActiveWorksheetAsText) {
  auto book = exchange::NewBook();
  PutText(book->activeWorksheet, 0, 0, "x");
  PutNumber(book->activeWorksheet, 1, 1, 2.5);
  book->sourceFormat = kFormatText;
  ASSERT_TRUE(SaveDocumentFile(book.get(), "text_document.csv"));
  book->bufferedFile.Close();
  EXPECT_EQ(filetest::ReadAll("text_document.csv"), "x\r\n,2.5");
}

}  // namespace
