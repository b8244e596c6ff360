// xBase tables written from worksheets and read into them: the fields
// derived from a worksheet, the field values each way, records and memos
// of every dialect, and the header checks that refuse a damaged table.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/styles/style_table.h"
#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/xbase/xbase_header.h"
#include "files/xbase/xbase_memo.h"
#include "files/xbase/xbase_values.h"
#include "platform/os_files.h"
#include "platform/os_services.h"
#include "tests/files/exchange_test_support.h"

namespace {

using exchange::Describe;
using exchange::PutNumber;
using exchange::PutText;

void FixedDay(OsLocalTime* out) { *out = OsLocalTime{2009, 3, 4, 5, 10, 0, 0, 0}; }

struct ClockGuard {
  ClockGuard() { OsSetClockForTesting(FixedDay); }
  ~ClockGuard() { OsSetClockForTesting(nullptr); }
};

std::string Field(const XBaseTable& table, uint32_t index) {
  const uint8_t* field = XBaseFieldAt(table, index);
  if (!field)
    return "none";
  char text[64];
  std::snprintf(text, sizeof text, "%.10s %c %u.%u", reinterpret_cast<const char*>(field), field[kXBaseFieldType],
                field[kXBaseFieldLength], field[kXBaseFieldDecimals]);
  return text;
}

// The little-endian 16-bit word of a file's bytes at an offset.
uint32_t Word(const std::string& bytes, size_t at) { return uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8; }

void PutWord(std::string* bytes, size_t at, uint32_t value) {
  (*bytes)[at] = char(value & 0xFF);
  (*bytes)[at + 1] = char(value >> 8);
}

bool SaveTable(CWorkBook* book, const std::string& path) {
  return exchange::SaveWith(book, path, [](CWorkBook* b) { return b->SaveXBase(b->activeWorksheet); });
}

std::unique_ptr<CWorkBook> LoadTable(const std::string& path, uint8_t dialect, uint8_t codePage = kXBaseCodePageAnsi,
                                     bool* loaded = nullptr) {
  auto book = std::make_unique<CWorkBook>();
  book->xbaseTable.dialect = dialect;
  book->xbaseTable.codePage = codePage;
  const bool ok = exchange::LoadWith(book.get(), path, [](CWorkBook* b) { return b->LoadXBase(); });
  if (loaded)
    *loaded = ok;
  else
    EXPECT_TRUE(ok) << path << " error " << int(book->error);
  // Tests write the same files again, which a held file would refuse.
  book->bufferedFile.Close();
  return book;
}

TEST(XBaseFields, DeriveNamesTypesAndLengthsForEachDialect) {
  ClockGuard clock;
  const std::string longText(300, 'm');
  const struct {
    uint8_t dialect;
    std::vector<std::string> fields;
    uint8_t version;
  } cases[] = {
      {kXBaseDBaseIII, {"ThirteenCh C 18.0", "field_2 N 18.0", "AMOUNT M 10.0", "field_4 C 1.0"}, 0x83},
      {kXBaseDBaseIV, {"ThirteenCh C 20.0", "field_2 F 20.6", "AMOUNT M 10.0", "field_4 C 1.0"}, 0x8B},
      {kXBaseFoxPro, {"ThirteenCh C 20.0", "field_2 F 20.6", "AMOUNT C 44.1", "field_4 C 1.0"}, 0x03},
      {kXBaseClipper, {"ThirteenCh C 18.0", "field_2 N 18.0", "AMOUNT C 44.1", "field_4 C 1.0"}, 0x03},
  };
  for (const auto& c : cases) {
    auto book = exchange::NewBook();
    CWorkSheet* sheet = book->activeWorksheet;
    PutText(sheet, 0, 0, "ThirteenChars");
    PutText(sheet, 0, 2, "AMOUNT");
    PutNumber(sheet, 1, 0, 5);  // a number first, then a text: a character field
    PutText(sheet, 2, 0, "abc");
    PutNumber(sheet, 1, 1, 1.5);
    PutText(sheet, 3, 1, "#N/A!", kErrorNA);  // cells with errors do not count
    PutText(sheet, 1, 2, "abc");
    PutText(sheet, 2, 2, longText);
    PutText(sheet, 3, 2, "later texts change nothing after a memo");
    PutText(sheet, 4, 3, "");
    XBaseTable table;
    table.dialect = c.dialect;
    ASSERT_TRUE(book->BuildXBaseFields(sheet, &table));
    ASSERT_EQ(XBaseFieldCount(table), c.fields.size());
    for (uint32_t i = 0; i < c.fields.size(); ++i) EXPECT_EQ(Field(table, i), c.fields[i]) << int(c.dialect);
    EXPECT_EQ(table.header[0], c.version);
    EXPECT_EQ(XBaseRecordCount(table), 4u);
    EXPECT_EQ(table.header[1], 109);
    EXPECT_EQ(table.header[2], 3);
    EXPECT_EQ(table.header[3], 5);
  }
}

TEST(XBaseFields, AnEmptySheetGivesOneFieldAndTooLongRecordsAreRefused) {
  auto book = exchange::NewBook();
  XBaseTable table;
  ASSERT_TRUE(book->BuildXBaseFields(book->activeWorksheet, &table));
  EXPECT_EQ(XBaseFieldCount(table), 1u);
  EXPECT_EQ(Field(table, 0), "field_1 C 1.0");
  EXPECT_EQ(XBaseRecordCount(table), 0u);
  // 300 fields of 250 characters need more than 64K per record.
  for (uint16_t c = 0; c < 300; ++c) PutText(book->activeWorksheet, 1, c, std::string(250, 'x'));
  table.dialect = kXBaseDBaseIII;
  EXPECT_FALSE(book->BuildXBaseFields(book->activeWorksheet, &table));
  EXPECT_EQ(book->error, kFileTooManyFields);
}

TEST(XBaseValues, NumbersFillTheirFieldOrAreMarkedTooWide) {
  const struct {
    double value;
    size_t width;
    int decimals;
    const char* field;
    bool fits;
  } cases[] = {
      {1234567, 5, 0, "*****", false},  {12345, 5, 0, "12345", true},   {-1.5, 8, 2, "   -1.50", true},
      {3.14159, 8, 2, "    3.14", true}, {3.14, 20, 6, "            3.140000", true},
      {-12345, 5, 0, "*****", false},   {0, 3, 0, "  0", true},
      // As tables hold them: fewer decimals, or the shortest exact form.
      {12345, 5, 2, "12345", true},     {1e9, 4, 0, " 1e9", true},      {12.5, 4, 2, "12.5", true},
      {1e9, 2, 0, "**", false},         {7, 0, 2, "", true},            {-0.12, 4, 2, "-.12", true},
      {0.5, 2, 1, ".5", true},
  };
  for (const auto& c : cases) {
    uint8_t field[32] = {};
    EXPECT_EQ(PutXBaseNumber(field, c.width, c.value, c.decimals), c.fits) << c.value;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), c.width), c.field) << c.value;
  }
}

TEST(XBaseValues, FieldsReadAsNumbersDatesAndLogicals) {
  const struct {
    const char* bytes;
    double number;
  } numbers[] = {{"     ", 0}, {"  1.5", 1.5}, {" -2.25", -2.25}, {"+7", 7}, {"1e3", 1000}, {"*****", 0}};
  for (const auto& c : numbers)
    EXPECT_EQ(ParseXBaseNumber(reinterpret_cast<const uint8_t*>(c.bytes), std::strlen(c.bytes)), c.number) << c.bytes;
  const struct {
    const char* bytes;
    XBaseDateKind kind;
    const char* iso;
  } dates[] = {{"20090305", kXBaseDate, "2009-03-05"}, {"20090230", kXBaseDate, "2009-02-30"},
               {"20091305", kXBaseBadDate, ""},        {"00000101", kXBaseBadDate, ""},
               {"2009ab05", kXBaseBadDate, ""},        {"        ", kXBaseNoDate, ""},
               {"\0\0\0\0\0\0\0\0", kXBaseNoDate, ""}};
  for (const auto& c : dates) {
    char iso[11] = {};
    EXPECT_EQ(ParseXBaseDate(reinterpret_cast<const uint8_t*>(c.bytes), iso), c.kind) << c.bytes;
    if (c.kind == kXBaseDate) {
      EXPECT_STREQ(iso, c.iso);
    }
  }
  const std::string logicals = "YyTtNnFf ?x";
  const std::string read("YYYYNNNN\0\0\0", 11);
  for (size_t i = 0; i < logicals.size(); ++i) EXPECT_EQ(ParseXBaseLogical(uint8_t(logicals[i])), read[i]) << i;
  EXPECT_EQ(XBaseLogicalOfText("true"), 'Y');
  EXPECT_EQ(XBaseLogicalOfText("no"), 'N');
  EXPECT_EQ(XBaseLogicalOfText("maybe"), ' ');
  EXPECT_EQ(XBaseLogicalOfNumber(0), 'N');
  EXPECT_EQ(ParseXBaseBlock(reinterpret_cast<const uint8_t*>("        12"), 10), 12u);
  EXPECT_EQ(ParseXBaseBlock(reinterpret_cast<const uint8_t*>("          "), 10), 0u);
}

// A sheet of every kind of field, with its description.
void FillTable(CWorkBook* book, uint8_t dialect) {
  CWorkSheet* sheet = book->activeWorksheet;
  const char* names[] = {"NAME", "QTY", "BORN", "OK", "NOTE", "PRICE", "RAW"};
  for (uint16_t c = 0; c < 7; ++c) PutText(sheet, 0, c, names[c]);
  PutText(sheet, 1, 0, "Ann \xE9");
  PutNumber(sheet, 1, 1, 3.25);
  PutText(sheet, 1, 2, "2009-03-05");
  PutText(sheet, 1, 3, "yes");
  PutText(sheet, 1, 4, "A memo of Ann");
  PutNumber(sheet, 1, 5, 12.5);
  PutText(sheet, 1, 6, "binary");
  PutText(sheet, 2, 0, "Bob");
  PutNumber(sheet, 2, 1, -1);
  PutText(sheet, 2, 2, "not a date");
  PutNumber(sheet, 2, 3, 0);
  PutNumber(sheet, 2, 4, 42.5);
  PutText(sheet, 3, 4, std::string(600, 'z'));
  XBaseTable& table = book->xbaseTable;
  table.dialect = dialect;
  ASSERT_TRUE(book->BuildXBaseFields(sheet, &table));
  const struct {
    char type;
    uint8_t length;
    uint8_t decimals;
  } kinds[] = {{'C', 12, 0}, {'N', 8, 2}, {'D', 8, 0}, {'L', 1, 0}, {'M', 10, 0}, {'F', 10, 3}, {'B', 10, 0}};
  for (uint32_t i = 0; i < 7; ++i) {
    uint8_t* field = XBaseFieldAt(table, i);
    field[kXBaseFieldType] = uint8_t(kinds[i].type);
    field[kXBaseFieldLength] = kinds[i].length;
    field[kXBaseFieldDecimals] = kinds[i].decimals;
  }
}

// The sample table saved at path; the bytes of the file.
std::string SaveSample(uint8_t dialect, const std::string& path, uint8_t codePage = kXBaseCodePageAnsi) {
  auto book = exchange::NewBook();
  FillTable(book.get(), dialect);
  book->xbaseTable.codePage = codePage;
  EXPECT_TRUE(SaveTable(book.get(), path));
  return filetest::ReadAll(path);
}

TEST(XBaseTables, EveryDialectWritesAndReadsItsRecordsAndMemos) {
  for (uint8_t dialect : {kXBaseDBaseIII, kXBaseDBaseIV, kXBaseFoxPro, kXBaseClipper}) {
    SCOPED_TRACE(int(dialect));
    auto book = exchange::NewBook();
    FillTable(book.get(), dialect);
    const std::string path = "xbase_round" + std::to_string(dialect) + ".dbf";
    ASSERT_TRUE(SaveTable(book.get(), path)) << int(book->error);
    const std::string bytes = filetest::ReadAll(path);
    // A date field of a text that is no date is blank.
    EXPECT_NE(bytes.find("Bob            -1.00        N"), std::string::npos);
    EXPECT_EQ(bytes.back() == '\x1A', dialect == kXBaseDBaseIII || dialect == kXBaseDBaseIV);

    auto back = LoadTable(path, dialect);
    CWorkSheet* sheet = back->activeWorksheet;
    EXPECT_STREQ(sheet->name, path.c_str());
    const struct {
      uint32_t row;
      uint16_t column;
      std::string cell;
    } cells[] = {
        {0, 4, "t:NOTE"},         {1, 0, "t:Ann \xE9"},   {1, 1, "n:3.25"},
        {1, 2, "t:2009-03-05"},   {1, 3, "t:Y"},          {1, 4, "t:A memo of Ann"},
        {1, 5, "n:12.5"},         {1, 6, "t:Binary data"}, {2, 0, "t:Bob"},
        {2, 1, "n:-1"},           {2, 2, ""},              {2, 3, "t:N"},
        {2, 4, "t:42.5"},         {3, 3, ""},              {3, 4, "t:" + std::string(600, 'z')},
        {3, 5, "n:0"},
    };
    for (const auto& c : cells) EXPECT_EQ(Describe(sheet, c.row, c.column), c.cell) << c.row << "," << c.column;
    EXPECT_EQ(XBaseRecordCount(back->xbaseTable), 3u);
  }
}

TEST(XBaseTables, OemTextIsConvertedBothWays) {
  EXPECT_NE(SaveSample(kXBaseDBaseIV, "xbase_oem.dbf", kXBaseCodePageOem).find("Ann \x82"), std::string::npos);
  auto back = LoadTable("xbase_oem.dbf", kXBaseDBaseIV, kXBaseCodePageOem);
  EXPECT_EQ(Describe(back->activeWorksheet, 1, 0), "t:Ann \xE9");
}

TEST(XBaseTables, ADeletedRecordLoadsInRedAndIsWrittenBackDeleted) {
  std::string bytes = SaveSample(kXBaseDBaseIII, "xbase_deleted.dbf");
  const uint32_t headerLength = Word(bytes, 8);
  const uint32_t recordLength = Word(bytes, 10);
  bytes[headerLength + recordLength] = '*';  // the second record
  ASSERT_TRUE(filetest::WriteAll("xbase_deleted.dbf", bytes));
  auto back = LoadTable("xbase_deleted.dbf", kXBaseDBaseIII);
  const SheetFormat& format = back->activeWorksheet->format;
  const StyleRecord& red = back->styles.StyleAt(format.CellStyle(2, 0));
  const uint32_t colour = red.fontColor;  // a packed field
  EXPECT_EQ(red.fontColorSet, 1);
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(format.CellStyle(2, kMaxColumn), format.CellStyle(2, 0));
  EXPECT_EQ(format.CellStyle(1, 0), 0);
  ASSERT_TRUE(SaveTable(back.get(), "xbase_deleted_again.dbf"));
  const std::string again = filetest::ReadAll("xbase_deleted_again.dbf");
  EXPECT_EQ(again[headerLength], ' ');
  EXPECT_EQ(again[headerLength + recordLength], '*');
  EXPECT_EQ(again[headerLength + 2 * recordLength], ' ');
}

TEST(XBaseMemos, TheFirstMemoOfANewDBaseIIIFileTakesBlockOne) {
  std::remove("xbase_memo.dbt");
  CWorkBook book;
  uint32_t block = 99;
  ASSERT_TRUE(book.WriteXBaseMemo("xbase_memo.dbf", kXBaseDBaseIII, "abc", 3, &block));
  EXPECT_EQ(block, 1u);
  const std::string memo = filetest::ReadAll("xbase_memo.dbt");
  ASSERT_EQ(memo.size(), 1024u);
  EXPECT_EQ(memo.substr(0, 4), std::string("\x02\0\0\0", 4));
  EXPECT_EQ(memo[16], 3);
  EXPECT_EQ(memo.substr(512, 5), "abc\x1A\x1A");
  EXPECT_EQ(memo.substr(517), std::string(507, '\0'));
  char text[kXBaseMemoCapacity + 1];
  ASSERT_TRUE(ReadXBaseMemo("xbase_memo.dbf", kXBaseDBaseIII, 1, text));
  EXPECT_STREQ(text, "abc");
  // An empty memo is block 0 and leaves the file alone.
  ASSERT_TRUE(book.WriteXBaseMemo("xbase_memo.dbf", kXBaseDBaseIII, "", 0, &block));
  EXPECT_EQ(block, 0u);
  EXPECT_EQ(filetest::ReadAll("xbase_memo.dbt").size(), 1024u);
  char name[64];
  ASSERT_TRUE(XBaseMemoFileName("C:\\data.v2\\Table.DBF", name, sizeof name, kXBaseFoxPro));
  EXPECT_STREQ(name, "C:\\data.v2\\Table.fpt");
  ASSERT_TRUE(XBaseMemoFileName("C:\\data.v2\\table", name, sizeof name, kXBaseDBaseIV));
  EXPECT_STREQ(name, "C:\\data.v2\\table.dbt");
}

TEST(XBaseMemos, EachLayoutReadsItsOwnMemosAndRefusesDamagedOnes) {
  for (uint8_t dialect : {kXBaseDBaseIII, kXBaseDBaseIV, kXBaseFoxPro}) {
    SCOPED_TRACE(int(dialect));
    const std::string table = "xbase_layout" + std::to_string(dialect) + ".dbf";
    ASSERT_TRUE(CreateXBaseMemoFile(table.c_str(), dialect));
    CWorkBook book;
    uint32_t first = 0;
    uint32_t second = 0;
    const std::string longMemo(1500, 'q');
    ASSERT_TRUE(book.WriteXBaseMemo(table.c_str(), dialect, longMemo.data(), longMemo.size(), &first));
    ASSERT_TRUE(book.WriteXBaseMemo(table.c_str(), dialect, "second", 6, &second));
    EXPECT_EQ(first, dialect == kXBaseFoxPro ? 8u : 1u);
    EXPECT_EQ(second, dialect == kXBaseFoxPro ? 8u + 24u : 4u);
    char text[kXBaseMemoCapacity + 1];
    ASSERT_TRUE(ReadXBaseMemo(table.c_str(), dialect, first, text));
    EXPECT_EQ(std::string(text), std::string(1024, 'q'));
    ASSERT_TRUE(ReadXBaseMemo(table.c_str(), dialect, second, text));
    EXPECT_STREQ(text, "second");
  }
  // A dBase IV memo whose count is below its own head is damaged.
  char memoName[64];
  XBaseMemoFileName("xbase_layout4.dbf", memoName, sizeof memoName, kXBaseDBaseIV);
  std::string memo = filetest::ReadAll(memoName);
  memo[512 + 4] = 7;
  memo[512 + 5] = memo[512 + 6] = memo[512 + 7] = 0;
  ASSERT_TRUE(filetest::WriteAll(memoName, memo));
  char text[kXBaseMemoCapacity + 1];
  EXPECT_FALSE(ReadXBaseMemo("xbase_layout4.dbf", kXBaseDBaseIV, 1, text));
  EXPECT_FALSE(ReadXBaseMemo("xbase_no_such_table.dbf", kXBaseDBaseIII, 1, text));
}

TEST(XBaseTables, AMemoThatCannotBeWrittenFailsTheSave) {
  auto book = exchange::NewBook();
  FillTable(book.get(), kXBaseDBaseIII);
  // A folder where the memo file belongs: it can be neither made nor opened.
  std::remove("xbase_blocked.dbt");
  OsCreateFolder("xbase_blocked.dbt");
  ASSERT_TRUE(OsFolderExists("xbase_blocked.dbt"));
  EXPECT_FALSE(SaveTable(book.get(), "xbase_blocked.dbf"));
  EXPECT_EQ(book->error, kFileCannotOpenForWriting);
  // The table itself was written to its end, memo fields blank.
  const std::string bytes = filetest::ReadAll("xbase_blocked.dbf");
  EXPECT_EQ(bytes.back(), '\x1A');
  EXPECT_NE(bytes.find("Bob"), std::string::npos);
}

TEST(XBaseTables, ANumberTooWideForItsFieldIsStarredAndFailsTheSave) {
  auto book = exchange::NewBook();
  PutText(book->activeWorksheet, 0, 0, "N");
  PutNumber(book->activeWorksheet, 1, 0, 1234567);
  PutNumber(book->activeWorksheet, 2, 0, 123);
  book->xbaseTable.dialect = kXBaseDBaseIII;
  ASSERT_TRUE(book->BuildXBaseFields(book->activeWorksheet, &book->xbaseTable));
  XBaseFieldAt(book->xbaseTable, 0)[kXBaseFieldLength] = 5;
  EXPECT_FALSE(SaveTable(book.get(), "xbase_wide.dbf"));
  EXPECT_EQ(book->error, kFileNumberTooWide);
  const std::string bytes = filetest::ReadAll("xbase_wide.dbf");
  // The record length follows the edited field: 1 + 5.
  EXPECT_EQ(bytes[10], 6);
  EXPECT_NE(bytes.find(" *****   123\x1A"), std::string::npos);
}

TEST(XBaseTables, AHeaderLengthWithoutRoomForTheEndMarkIsWidenedOnSave) {
  auto book = exchange::NewBook();
  FillTable(book.get(), kXBaseDBaseIII);
  SetXBaseHeaderWord(&book->xbaseTable, kXBaseHeaderLength, uint16_t(kXBaseHeaderSize + 7 * kXBaseFieldSize));
  ASSERT_TRUE(SaveTable(book.get(), "xbase_widened.dbf"));
  EXPECT_EQ(Word(filetest::ReadAll("xbase_widened.dbf"), 8), kXBaseHeaderSize + 7 * kXBaseFieldSize + 1);
  auto back = LoadTable("xbase_widened.dbf", kXBaseDBaseIII);
  EXPECT_EQ(Describe(back->activeWorksheet, 2, 0), "t:Bob");
}

// A valid dBase III table of a character, a numeric, a date, a logical and
// a memo field, and its header length.
std::string ValidTable(uint32_t* headerLength) {
  std::string bytes = SaveSample(kXBaseDBaseIII, "xbase_valid.dbf");
  *headerLength = Word(bytes, 8);
  return bytes;
}

TEST(XBaseHeader, RefusesHeadersThatDisagreeWithTheirFieldsOrTheFile) {
  uint32_t headerLength = 0;
  const std::string valid = ValidTable(&headerLength);
  const size_t firstField = 32;
  const struct {
    const char* what;
    std::function<void(std::string*)> damage;
  } cases[] = {
      {"a record length of 0", [](std::string* b) { PutWord(b, 10, 0); }},
      {"a record length other than the fields'", [](std::string* b) { PutWord(b, 10, 61); }},
      {"a header length without room for the end mark",
       [&](std::string* b) { PutWord(b, 8, 32 + 7 * 32); }},
      {"a header length past the file's end", [&](std::string* b) { PutWord(b, 8, uint32_t(b->size()) + 1); }},
      {"a header length below one field", [](std::string* b) { PutWord(b, 8, 40); }},
      {"a file shorter than its header", [&](std::string* b) { b->resize(headerLength - 1); }},
      {"a file shorter than a header", [](std::string* b) { b->resize(20); }},
      {"a type byte outside A to Z", [&](std::string* b) { (*b)[firstField + 11] = '1'; }},
      {"a date field of 9", [&](std::string* b) { (*b)[firstField + 2 * 32 + 16] = 9; }},
      {"a logical field of 2", [&](std::string* b) { (*b)[firstField + 3 * 32 + 16] = 2; }},
      {"a memo field of 4", [&](std::string* b) { (*b)[firstField + 4 * 32 + 16] = 4; }},
  };
  for (const auto& c : cases) {
    std::string bytes = valid;
    c.damage(&bytes);
    ASSERT_TRUE(filetest::WriteAll("xbase_damaged.dbf", bytes));
    bool loaded = true;
    auto book = LoadTable("xbase_damaged.dbf", kXBaseDBaseIII, kXBaseCodePageAnsi, &loaded);
    EXPECT_FALSE(loaded) << c.what;
    EXPECT_EQ(book->error, kFileBadFormat) << c.what;
  }
  // Unharmed, it loads; descriptors that end before the header length (a
  // FoxPro back link) end the fields there.
  std::string bytes = valid;
  bytes.insert(headerLength, 263, '\0');
  PutWord(&bytes, 8, headerLength + 263);
  ASSERT_TRUE(filetest::WriteAll("xbase_backlink.dbf", bytes));
  auto book = LoadTable("xbase_backlink.dbf", kXBaseDBaseIII);
  EXPECT_EQ(XBaseFieldCount(book->xbaseTable), 7u);
  EXPECT_EQ(Describe(book->activeWorksheet, 2, 0), "t:Bob");
}

TEST(XBaseHeader, ADamagedMemoLoadsAsNullAndAShortRecordEndsTheTable) {
  std::string table = SaveSample(kXBaseDBaseIV, "xbase_damaged_memo.dbf");
  std::string memo = filetest::ReadAll("xbase_damaged_memo.dbt");
  memo[512 + 4] = 3;  // below the memo's own head
  ASSERT_TRUE(filetest::WriteAll("xbase_damaged_memo.dbt", memo));
  table.resize(table.size() - 10);  // the last record cut short
  ASSERT_TRUE(filetest::WriteAll("xbase_damaged_memo.dbf", table));
  auto back = LoadTable("xbase_damaged_memo.dbf", kXBaseDBaseIV);
  EXPECT_EQ(Describe(back->activeWorksheet, 1, 4), "n:0!30");
  EXPECT_EQ(Describe(back->activeWorksheet, 2, 0), "t:Bob");
  EXPECT_EQ(back->activeWorksheet->cells.GetCell(3, 4), nullptr);
}

TEST(XBaseTables, SaveDocumentFileKeepsTheOldMemoFileWhenTheSaveFails) {
  auto book = exchange::NewBook();
  FillTable(book.get(), kXBaseDBaseIII);
  book->sourceFormat = kXBaseDBaseIII;
  ASSERT_TRUE(SaveDocumentFile(book.get(), "xbase_document.dbf")) << int(book->error);
  book->bufferedFile.Close();
  const std::string table = filetest::ReadAll("xbase_document.dbf");
  const std::string memo = filetest::ReadAll("xbase_document.dbt");
  ASSERT_FALSE(memo.empty());
  // A number too wide for its field fails the next save: both files stay.
  PutNumber(book->activeWorksheet, 3, 1, 123456789.125);
  EXPECT_FALSE(SaveDocumentFile(book.get(), "xbase_document.dbf"));
  EXPECT_EQ(book->error, kFileNumberTooWide);
  EXPECT_EQ(filetest::ReadAll("xbase_document.dbf"), table);
  EXPECT_EQ(filetest::ReadAll("xbase_document.dbt"), memo);
}

// A save that fails leaves the files as they were: an existing table
// without a memo file gets none, and a first save that fails leaves no file.
TEST(XBaseTables, AFailedSaveLeavesNoMemoFileBehind) {
  auto book = exchange::NewBook();
  PutText(book->activeWorksheet, 0, 0, "N");
  PutNumber(book->activeWorksheet, 1, 0, 7);
  book->sourceFormat = kXBaseDBaseIII;
  book->xbaseTable.dialect = kXBaseDBaseIII;
  ASSERT_TRUE(book->BuildXBaseFields(book->activeWorksheet, &book->xbaseTable));
  std::remove("xbase_plain.dbt");
  ASSERT_TRUE(SaveDocumentFile(book.get(), "xbase_plain.dbf")) << int(book->error);
  book->bufferedFile.Close();
  const std::string table = filetest::ReadAll("xbase_plain.dbf");
  ASSERT_FALSE(OsFileExists("xbase_plain.dbt"));
  // A memo field and a number too wide for its field: the save fails.
  FillTable(book.get(), kXBaseDBaseIII);
  book->sourceFormat = kXBaseDBaseIII;
  PutNumber(book->activeWorksheet, 3, 1, 123456789.125);
  EXPECT_FALSE(SaveDocumentFile(book.get(), "xbase_plain.dbf"));
  EXPECT_EQ(book->error, kFileNumberTooWide);
  EXPECT_EQ(filetest::ReadAll("xbase_plain.dbf"), table);
  EXPECT_FALSE(OsFileExists("xbase_plain.dbt"));
  std::remove("xbase_first.dbf");
  std::remove("xbase_first.dbt");
  EXPECT_FALSE(SaveDocumentFile(book.get(), "xbase_first.dbf"));
  EXPECT_FALSE(OsFileExists("xbase_first.dbf"));
  EXPECT_FALSE(OsFileExists("xbase_first.dbt"));
}

// A dBase III table of one record: a field N(5,2) holding "12345", N(4,0)
// holding "1e9", an N field of no width, dates of year 0009 and of 31
// February, and a date field holding no date.
std::string OddTable() {
  struct Descriptor {
    const char* name;
    char type;
    uint8_t length;
    uint8_t decimals;
  };
  const Descriptor fields[] = {{"WIDE", 'N', 5, 2}, {"EXP", 'N', 4, 0}, {"NONE", 'N', 0, 0},
                               {"OLD", 'D', 8, 0},  {"FEB", 'D', 8, 0}, {"BAD", 'D', 8, 0}};
  const std::string values = "12345 1e900090101199902312009ab05";
  const uint32_t count = sizeof fields / sizeof fields[0];
  std::string bytes(32, '\0');
  bytes[0] = 3;
  bytes[1] = 109;
  bytes[2] = 1;
  bytes[3] = 1;
  bytes[4] = 1;  // one record
  PutWord(&bytes, 8, 32 + 32 * count + 1);
  PutWord(&bytes, 10, uint32_t(1 + values.size()));
  for (const Descriptor& field : fields) {
    std::string descriptor(32, '\0');
    std::memcpy(&descriptor[0], field.name, std::strlen(field.name));
    descriptor[11] = field.type;
    descriptor[16] = char(field.length);
    descriptor[17] = char(field.decimals);
    bytes += descriptor;
  }
  bytes += '\x0D';
  bytes += ' ' + values;
  bytes += '\x1A';
  return bytes;
}

// A table that loads saves back with what it held, field for field.
TEST(XBaseTables, EveryTableThatLoadsSavesBackWithWhatItHeld) {
  const std::string original = OddTable();
  ASSERT_TRUE(filetest::WriteAll("xbase_odd.dbf", original));
  auto book = LoadTable("xbase_odd.dbf", kXBaseDBaseIII);
  CWorkSheet* sheet = book->activeWorksheet;
  EXPECT_EQ(Describe(sheet, 1, 0), "n:12345");
  EXPECT_EQ(Describe(sheet, 1, 2), "");
  EXPECT_EQ(sheet->cells.GetCell(1, 5)->ErrorCode(), kErrorValue);
  ASSERT_TRUE(SaveTable(book.get(), "xbase_odd_saved.dbf")) << int(book->error);
  const std::string saved = filetest::ReadAll("xbase_odd_saved.dbf");
  const size_t records = 32 + 32 * 6 + 1;
  ASSERT_GT(saved.size(), records + 34);
  EXPECT_EQ(saved.substr(records, 34), original.substr(records, 34));
  auto again = LoadTable("xbase_odd_saved.dbf", kXBaseDBaseIII);
  for (uint16_t column = 0; column < 6; ++column)
    EXPECT_EQ(Describe(again->activeWorksheet, 1, column), Describe(sheet, 1, column)) << column;
}

// A memo that could not be read is written as no memo, not as the text of
// its error.
TEST(XBaseTables, AnUnreadableMemoIsSavedAsNone) {
  std::string table = SaveSample(kXBaseDBaseIV, "xbase_unread_memo.dbf");
  std::string memo = filetest::ReadAll("xbase_unread_memo.dbt");
  memo[512 + 4] = 3;
  ASSERT_TRUE(filetest::WriteAll("xbase_unread_memo.dbt", memo));
  auto back = LoadTable("xbase_unread_memo.dbf", kXBaseDBaseIV);
  ASSERT_EQ(Describe(back->activeWorksheet, 1, 4), "n:0!30");
  ASSERT_TRUE(SaveTable(back.get(), "xbase_unread_saved.dbf")) << int(back->error);
  EXPECT_EQ(filetest::ReadAll("xbase_unread_saved.dbt").find("#NULL!"), std::string::npos);
  auto again = LoadTable("xbase_unread_saved.dbf", kXBaseDBaseIV);
  EXPECT_EQ(again->activeWorksheet->cells.GetCell(1, 4), nullptr);
}

}  // namespace
