// The text files and xBase tables against other programs, through the
// committed files of tests/golden/exchange (made by its generate_*_interop
// scripts): the writers still write the committed files byte for byte,
// Python's csv module, LibreOffice and python3-dbfread read from them the
// cells they were written from, and tables made by python3-dbf load with
// the values put into them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "core/numfmt/double_to_text.h"
#include "files/text/text_conversion.h"
#include "files/xbase/xbase_memo.h"
#include "tests/files/exchange_samples.h"

namespace {

const std::string kGolden = std::string(TALVERO_GOLDEN_DIR) + "/exchange/";

// A grid cell: "t" and a UTF-8 text, or "n" and a number's text.
using Grid = std::map<std::pair<uint32_t, uint32_t>, std::pair<std::string, std::string>>;

std::string Unescape(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      plain += text[i];
      continue;
    }
    const char next = text[++i];
    plain += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return plain;
}

Grid ReadGrid(const std::string& path) {
  Grid grid;
  const std::string bytes = filetest::ReadAll(path);
  EXPECT_FALSE(bytes.empty()) << path;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos)
      end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 1;
    const size_t a = line.find('\t');
    const size_t b = line.find('\t', a + 1);
    const size_t c = line.find('\t', b + 1);
    if (c == std::string::npos) {
      ADD_FAILURE() << path << ": " << line;
      continue;
    }
    grid[{uint32_t(std::stoul(line.substr(0, a))), uint32_t(std::stoul(line.substr(a + 1, b - a - 1)))}] = {
        line.substr(b + 1, c - b - 1), Unescape(line.substr(c + 1))};
  }
  return grid;
}

std::string Utf8(const char* text, size_t length) {
  char utf8[kUtf8TextCapacity];
  return std::string(utf8, AnsiToUtf8(text, length, utf8));
}

// The worksheet's cells as a grid: texts as UTF-8, numbers as numbers, or
// (asShown) numbers as the text the text writer gives them.
Grid SheetGrid(CWorkSheet* sheet, bool numbersAsShown) {
  Grid grid;
  for (const CellBlock* block = sheet->cells.FirstBlock(); block; block = block->next) {
    for (uint32_t offset = 0; offset < block->used;) {
      const CellRecord* cell = AsCellRecord(block->payload + offset);
      offset += cell->Size();
      const std::pair<uint32_t, uint32_t> at{cell->Row(), cell->Column()};
      if (cell->IsText()) {
        grid[at] = {"t", Utf8(cell->Text(), cell->TextLength())};
      } else if (numbersAsShown) {
        char text[40];
        const size_t length = DoubleToText(cell->Number(), text, sizeof text, nullptr);
        grid[at] = {"t", std::string(text, length)};
      } else {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", cell->Number());
        grid[at] = {"n", text};
      }
    }
  }
  return grid;
}

// Grids agree cell by cell; numbers by value.
void ExpectSameGrid(const Grid& expected, const Grid& actual, const std::string& what) {
  EXPECT_EQ(expected.size(), actual.size()) << what;
  for (const auto& [at, value] : expected) {
    const auto found = actual.find(at);
    if (found == actual.end()) {
      ADD_FAILURE() << what << ": no cell at " << at.first << "," << at.second;
      continue;
    }
    EXPECT_EQ(found->second.first, value.first) << what << " kind at " << at.first << "," << at.second;
    if (value.first == "n")
      EXPECT_EQ(std::strtod(found->second.second.c_str(), nullptr), std::strtod(value.second.c_str(), nullptr))
          << what << " at " << at.first << "," << at.second;
    else
      EXPECT_EQ(found->second.second, value.second) << what << " at " << at.first << "," << at.second;
  }
}

TEST(ExchangeGolden, TextFilesAreReadIntoTheSameGridByPythonAndLibreOffice) {
  for (const samples::TextSample& sample : samples::kTextSamples) {
    auto book = exchange::NewBook();
    samples::FillTextSheet(book->activeWorksheet);
    samples::SetTextOptions(sample, &book->textFileOptions);
    const std::string path = sample.file;
    ASSERT_TRUE(exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveText(b->activeWorksheet); }));
    EXPECT_EQ(filetest::ReadAll(path), filetest::ReadAll(kGolden + sample.file)) << sample.file;
    ExpectSameGrid(SheetGrid(book->activeWorksheet, true), ReadGrid(kGolden + sample.file + ".python.grid"),
                   std::string(sample.file) + " by Python");
    ExpectSameGrid(SheetGrid(book->activeWorksheet, false), ReadGrid(kGolden + sample.file + ".libreoffice.grid"),
                   std::string(sample.file) + " by LibreOffice");
  }
}

std::string MemoName(const std::string& table, uint8_t dialect) {
  char name[kFilePathSize];
  return XBaseMemoFileName(table.c_str(), name, sizeof name, dialect) ? name : "";
}

TEST(ExchangeGolden, OurTablesAreReadByDbfreadWithTheirValues) {
  for (const samples::XBaseSample& sample : samples::kXBaseSamples) {
    auto book = exchange::NewBook();
    ASSERT_TRUE(samples::FillXBaseBook(book.get(), sample.dialect));
    const std::string path = sample.file;
    ASSERT_TRUE(exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveXBase(b->activeWorksheet); }));
    EXPECT_EQ(filetest::ReadAll(path), filetest::ReadAll(kGolden + sample.file)) << sample.file;
    EXPECT_EQ(filetest::ReadAll(MemoName(path, sample.dialect)),
              filetest::ReadAll(MemoName(kGolden + sample.file, sample.dialect)))
        << sample.file;
    ExpectSameGrid(SheetGrid(book->activeWorksheet, false), ReadGrid(kGolden + sample.file + ".dbfread.grid"),
                   std::string(sample.file) + " by dbfread");
  }
}

TEST(ExchangeGolden, TablesOfPythonDbfLoadWithTheirValues) {
  const struct {
    const char* name;
    uint8_t dialect;
  } tables[] = {{"pydbf_dbase3.dbf", kXBaseDBaseIII}, {"pydbf_foxpro.dbf", kXBaseFoxPro}};
  for (const auto& table : tables) {
    // Loaded from copies: a document holds its table open for writing.
    const std::string path = table.name;
    ASSERT_TRUE(filetest::WriteAll(path, filetest::ReadAll(kGolden + table.name)));
    ASSERT_TRUE(filetest::WriteAll(MemoName(path, table.dialect),
                                   filetest::ReadAll(MemoName(kGolden + table.name, table.dialect))));
    auto book = std::make_unique<CWorkBook>();
    book->xbaseTable.dialect = table.dialect;
    ASSERT_TRUE(exchange::LoadWith(book.get(), path, [](CWorkBook* b) { return b->LoadXBase(); }))
        << table.name << " error " << int(book->error);
    ExpectSameGrid(ReadGrid(kGolden + table.name + ".grid"), SheetGrid(book->activeWorksheet, false), table.name);
  }
}

}  // namespace
