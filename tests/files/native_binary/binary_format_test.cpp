#include "files/native_binary/binary_format.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "files/errors/file_errors.h"
#include "platform/md5_digest.h"
#include "platform/rc4_cipher.h"
#include "tests/files/body_bytes.h"
#include "tests/files/file_test_support.h"
#include "tests/files/sample_workbook.h"

// Workbooks live on the heap: one is too large for a Windows thread's stack.

namespace {

using body::Bytes;

using body::ReadBody;

std::string EmptyLists(int version) { return version >= 3 ? std::string(2, '\0') : std::string(4, '\0'); }

std::string OneSheetBody(int version, const body::Sheet& sheet = body::Sheet()) {
  Bytes b;
  b.Add(body::Prologue(EmptyLists(version)));
  if (version >= 2)
    b.U32(1);
  b.Add(body::Head("S", 1, 1, 1)).Add(sheet.Bytes(version));
  return b.s;
}

// The uncompressed content of a gzip (or plain) file.
std::string Inflate(const std::string& path) {
  gzFile gz = gzopen(path.c_str(), "rb");
  std::string out;
  char buffer[65536];
  int got;
  while ((got = gzread(gz, buffer, sizeof buffer)) > 0) out.append(buffer, size_t(got));
  gzclose(gz);
  return out;
}

const char* const kPasswords[] = {"", "secret", "\xE9t\xE9 \xFF\x80 long password with high bytes"};

TEST(BinaryFormat, RoundTripsGeneratedWorkbooksInEveryMode) {
  const uint32_t seed = sample::TestSeed();
  for (uint32_t round = 0; round < 4; ++round) {
    for (uint8_t mode = 0; mode < kProtectionModeCount; ++mode) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + " mode " +
                   std::to_string(mode));
      auto book = sample::MakeSampleWorkbook(seed + round);
      book->protectionMode = mode;
      const char* password = kPasswords[(round + mode) % 3];
      std::snprintf(book->password, sizeof book->password, "%s", password);
      const std::string path = "files_roundtrip.tlv";
      ASSERT_TRUE(filetest::SaveTo(book.get(), path)) << int(book->error);

      uint8_t error = 0;
      bool loaded = false;
      auto copy = filetest::LoadFrom(path, mode ? password : nullptr, &error, &loaded);
      ASSERT_TRUE(loaded) << int(error);
      EXPECT_EQ(sample::Difference(*book, *copy), "");
      EXPECT_EQ(copy->protectionMode, mode);
      EXPECT_STREQ(copy->password, mode ? password : "");
      EXPECT_EQ(copy->readOnly, 0);
      EXPECT_EQ(copy->saveKind, 5);
      char message[200] = "";
      EXPECT_TRUE(copy->CheckTreeInvariants(message, sizeof message)) << message;
      for (auto* item = copy->firstItem; item; item = item->next)
        if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
          EXPECT_TRUE(sheet->cells.CheckInvariants(message, sizeof message)) << message;
          EXPECT_TRUE(sheet->format.CheckInvariants(message, sizeof message)) << message;
        }
      EXPECT_EQ(copy->evaluator.sheet, &copy->activeWorksheet->cells);
    }
  }
}

TEST(BinaryFormat, ValuesOnlyCopyShowsResultsAndIsReadOnly) {
  auto book = sample::MakeSampleWorkbook(7);
  CWorkSheet* sheet = book->activeWorksheet;
  uint8_t record[256];
  FormulaCellFields fields;
  fields.formula = "=1+1";
  fields.formulaLength = 4;
  fields.resultFlags = kResultCachedNumber;
  fields.cachedNumber = 2.5;
  sheet->cells.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
  BuildFormulaCell(record, sizeof record, 0, 0, fields);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  fields.resultFlags = 0;
  fields.cachedText = "=A1";  // a text result that looks like a formula stays a text
  fields.cachedTextLength = 3;
  BuildFormulaCell(record, sizeof record, 0, 1, fields);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  BuildNumberCell(record, sizeof record, 0, 2, 7.0, kCellSpillValue);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));

  for (uint8_t mode : {uint8_t(1), uint8_t(3)}) {
    book->protectionMode = mode;
    std::strcpy(book->password, "pw");
    ASSERT_TRUE(filetest::SaveTo(book.get(), "files_values.tlv"));
    uint8_t error = 0;
    bool loaded = false;
    auto values = filetest::LoadFrom("files_values.tlv", nullptr, &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    EXPECT_EQ(values->readOnly, 1);
    EXPECT_EQ(values->protectionMode, mode);
    for (auto* item = values->firstItem; item; item = item->next) {
      CWorkSheet* copy = CWorkSheet::FromItem(item);
      if (!copy)
        continue;
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = copy->cells.FirstBlock();
      for (CellRecord* cell; (cell = cursor.Next()) != nullptr;) {
        EXPECT_FALSE(cell->IsFormula());
        EXPECT_FALSE(cell->IsSpillValue());
      }
    }
    CWorkSheet* shown = values->activeWorksheet;
    const CellRecord* a1 = shown->cells.GetCell(0, 0);
    ASSERT_NE(a1, nullptr);
    ASSERT_TRUE(a1->IsNumber());
    EXPECT_EQ(a1->Number(), 2.5);
    const CellRecord* b1 = shown->cells.GetCell(0, 1);
    ASSERT_NE(b1, nullptr);
    ASSERT_TRUE(b1->IsText());
    EXPECT_EQ(std::string(b1->Text(), b1->TextLength()), "=A1");
    ASSERT_NE(shown->cells.GetCell(0, 2), nullptr);
    EXPECT_TRUE(shown->cells.GetCell(0, 2)->IsNumber());

    // With the password the full workbook replaces the values.
    values.reset();
    auto full = filetest::LoadFrom("files_values.tlv", "pw", &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    EXPECT_EQ(full->readOnly, 0);
    EXPECT_EQ(sample::Difference(*book, *full), "");
  }
}

TEST(BinaryFormat, WrongOrMissingPasswordLoadsNothing) {
  auto book = sample::MakeSampleWorkbook(11);
  std::strcpy(book->password, "right");
  for (uint8_t mode = 1; mode < kProtectionModeCount; ++mode) {
    SCOPED_TRACE(int(mode));
    book->protectionMode = mode;
    ASSERT_TRUE(filetest::SaveTo(book.get(), "files_password.tlv"));
    for (const char* wrong : {"wrong", "", "Right", "right "}) {
      uint8_t error = 0;
      bool loaded = true;
      auto copy = filetest::LoadFrom("files_password.tlv", wrong, &error, &loaded);
      EXPECT_FALSE(loaded);
      EXPECT_EQ(error, kFileBadPassword);
      EXPECT_EQ(copy->firstItem, nullptr);
      EXPECT_EQ(copy->worksheetCount, 0u);
    }
    if (!ProtectionHasValuesCopy(mode)) {
      uint8_t error = 0;
      bool loaded = true;
      auto copy = filetest::LoadFrom("files_password.tlv", nullptr, &error, &loaded);
      EXPECT_FALSE(loaded);
      EXPECT_EQ(error, kFileBadPassword);
      EXPECT_EQ(copy->firstItem, nullptr);
    }
  }
}

TEST(BinaryFormat, NewWorkbookLayout) {
  auto bookOwner = std::make_unique<CWorkBook>();
  CWorkBook& book = *bookOwner;
  ASSERT_TRUE(book.NewDocument());
  book.panes = PaneLayout{1, 180, 0, 90};
  ASSERT_TRUE(filetest::SaveTo(&book, "files_new.tlv"));
  const std::string content = Inflate("files_new.tlv");
  ASSERT_GE(content.size(), kBinaryHeaderSize);
  EXPECT_EQ(content.substr(0, 11), "30000000000");
  // Header, user, date, panes, no lists, one font, one style, no inspect
  // cells, one item; the worksheet: no containers, one column run of 2047,
  // no rows, no runs, no cells, page and sheet settings; 8 trailing bytes.
  const size_t head = 1 + 10 + 2 + 1 + 1;
  const size_t sheet = 4 + (2 + 6) + 4 + 4 + 4 + 1152 + 472;
  const size_t expected = 11 + 128 + 50 + 8 + 2 + 1 + 135 + 2 + 1152 + 4 + 4 + head + sheet + 8;
  ASSERT_EQ(content.size(), expected);
  const size_t columns = 11 + 128 + 50 + 8 + 2 + 1 + 135 + 2 + 1152 + 4 + 4 + head + 4;
  EXPECT_EQ(uint8_t(content[columns]) | uint8_t(content[columns + 1]) << 8, 2047);

  uint8_t error = 0;
  bool loaded = false;
  auto copy = filetest::LoadFrom("files_new.tlv", nullptr, &error, &loaded);
  ASSERT_TRUE(loaded) << int(error);
  EXPECT_STREQ(copy->firstItem->name, "Worksheet1");
  EXPECT_EQ(copy->activeWorksheet, copy->firstItem);
  EXPECT_EQ(copy->panes.treePaneWidth, 180);
  EXPECT_EQ(copy->panes.inspectPaneHeight, 90);
}

TEST(BinaryFormat, DigestFillerFollowsTheFirstDigestByte) {
  EXPECT_EQ(DigestFillerSize(0), 1u);
  EXPECT_EQ(DigestFillerSize(1), 4u);
  EXPECT_EQ(DigestFillerSize(255), 1020u);
  char header[kBinaryHeaderSize];
  const char* expected[] = {"30000000000", "31100000000", "31000000000", "32100000000", "32000000000"};
  for (uint8_t mode = 0; mode < kProtectionModeCount; ++mode) {
    BuildBinaryHeader(mode, header);
    EXPECT_EQ(std::string(header, 11), expected[mode]);
    BinaryHeader parsed;
    ASSERT_TRUE(ParseBinaryHeader(header, &parsed));
    EXPECT_EQ(parsed.protection, mode);
  }
}

TEST(BinaryFormat, OlderVersionsLoad) {
  // Version 2: 34-byte list records, charts viewed from stored angles,
  // containers numbered in load order whatever ids they carry.
  Bytes lists;
  lists.U32(4);
  auto record = [&](uint16_t list, uint8_t flags, const std::string& text) {
    char padded[30] = {};
    std::memcpy(padded, text.data(), text.size());
    lists.U16(list).U8(flags).U8(uint8_t(text.size())).Raw(padded, 30);
  };
  record(3, 1, "first half ");
  record(3, 2, "skipped");
  record(3, 0, "second half");
  record(7, 0, "only");
  body::Sheet sheet;
  Bytes containers;
  containers.U32(2);
  containers.Add(body::ContainerHeaderBytes(500, 1)).Add(body::Chart(kChart3D, 1, 90));
  containers.Zeros(kSeriesImageBytes);
  containers.Add(body::ContainerHeaderBytes(500, 0));
  sheet.containers = containers.s;
  sheet.cells = body::Blocks({body::NumberCell(2, 3, 4.5)});
  Bytes v2;
  v2.Add(body::Prologue(lists.s)).U32(1).Add(body::Head("Old", 1, 1, 0)).Add(sheet.Bytes(2));
  auto bookOwner = std::make_unique<CWorkBook>();
  CWorkBook& book = *bookOwner;
  ASSERT_EQ(ReadBody(v2.s, 2, &book), 0);
  EXPECT_STREQ(book.dropDownLists[2].name, "List 3.");
  ASSERT_NE(book.dropDownLists[2].entries, nullptr);
  EXPECT_STREQ(book.dropDownLists[2].entries->text, "first half second half");
  EXPECT_EQ(book.dropDownLists[2].EntryCount(), 1u);
  EXPECT_STREQ(book.dropDownLists[6].name, "List 7.");
  EXPECT_STREQ(book.dropDownLists[0].name, "");
  CWorkSheet* loaded = book.activeWorksheet;
  ASSERT_NE(loaded, nullptr);
  ASSERT_NE(loaded->containers, nullptr);
  EXPECT_EQ(loaded->containers->header.id, 1);
  EXPECT_EQ(loaded->containers->next->header.id, 2);
  const ChartRecord* chart = loaded->containers->items[0].chart;
  ASSERT_NE(chart, nullptr);
  ChartMatrix expected;
  ChartRecord::Transform(expected, kResetToIdentity, 0);
  ChartRecord::Transform(expected, kRotateAboutX, 90 * 3.14159265358979 / 180);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(chart->viewMatrix[r][c], expected[r][c]);
  ASSERT_NE(loaded->cells.GetCell(2, 3), nullptr);
  EXPECT_EQ(loaded->cells.GetCell(2, 3)->Number(), 4.5);

  // Version 1: packed column values and no item count: the items run to the
  // end of the data, and a head cut short is no item.
  Bytes columns;
  columns.U16(10).U32(0x00050000u | (40u << 1) | 1u).U16(2037).U32(0);
  body::Sheet old;
  old.columns = columns.s;
  Bytes v1;
  v1.U32(0);  // no list records
  std::string prologue = body::Prologue(v1.s, 1, 6);
  Bytes whole;
  whole.Add(prologue).Add(body::Head("One", 1, 2, 1)).Add(body::Head("Two", 2, 1, 0)).Add(old.Bytes(1));
  whole.U8(5).Raw("Thr", 3);
  auto firstOwner = std::make_unique<CWorkBook>();
  CWorkBook& first = *firstOwner;
  ASSERT_EQ(ReadBody(whole.s, 1, &first), 0);
  EXPECT_EQ(first.folderCount, 1u);
  EXPECT_EQ(first.worksheetCount, 1u);
  CWorkSheet* two = first.activeWorksheet;
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->depth, 2);
  EXPECT_EQ(two->format.columns[9].Width(), 40);
  EXPECT_TRUE(two->format.columns[9].WidthFixed());
  EXPECT_EQ(two->format.columns[9].Style(), 5);
  EXPECT_EQ(two->format.columns[10].Width(), 0);
}

// Versions 1 and 2 have no trailing bytes: their digest covers everything
// after it.
TEST(BinaryFormat, OlderEncryptedVersionsCheckTheirDigest) {
  for (int version : {1, 2}) {
    SCOPED_TRACE(version);
    const std::string body = OneSheetBody(version);
    uint8_t digest[16];
    Md5Digest md5;
    md5.Init();
    md5.Update(body.data(), body.size());
    md5.Final(digest);
    std::string secret(1, char(digest[0]));
    secret.append(DigestFillerSize(digest[0]), char(digest[1]));
    secret.append(reinterpret_cast<const char*>(digest), 16);
    secret += body;
    md5.Init();
    md5.Update("pw", 2);
    uint8_t key[16];
    md5.Final(key);
    Rc4Cipher cipher;
    cipher.SetKey(key, 5);
    cipher.Apply(&secret[0], secret.size());
    ASSERT_TRUE(filetest::WriteAll("files_old.tlv", std::to_string(version) + "1000000000" + secret));
    uint8_t error = 0;
    bool loaded = false;
    auto book = filetest::LoadFrom("files_old.tlv", "pw", &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    EXPECT_EQ(book->protectionMode, 2);
    EXPECT_STREQ(book->firstItem->name, "S");
    book.reset();
    book = filetest::LoadFrom("files_old.tlv", "pW", &error, &loaded);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(error, kFileBadPassword);
  }
}

// Each row breaks one rule of a valid one-worksheet body.
TEST(BinaryFormat, MalformedBodiesAreRefusedWithNothingLoaded) {
  struct Case {
    const char* what;
    std::string bytes;
    int code;
  };
  auto sheetWith = [](auto change) {
    body::Sheet sheet;
    change(sheet);
    return OneSheetBody(3, sheet);
  };
  auto withItems = [](uint32_t count, const std::string& items) {
    Bytes b;
    b.Add(body::Prologue(EmptyLists(3))).U32(count).Add(items);
    return b.s;
  };
  Bytes badSlot;
  badSlot.U16(1).U16(100).U16(0).U32(0);
  Bytes tooManyLists;
  tooManyLists.U16(101);
  const std::string cell = body::NumberCell(5, 5, 1.0);
  std::string badType = cell;
  badType[0] = 0x03;
  std::string badError = cell;
  badError[0] = char(0xD2);
  std::string formula(kFormulaCellHeadSize, '\0');
  formula[0] = kCellFormula;
  formula[33] = char(0xFF);  // a formula text longer than the block
  const std::string cases_sheet = body::Head("S", 1, 1, 0);
  Bytes overshoot;
  overshoot.U16(2000).Zeros(6).U16(48).Zeros(6);
  Bytes zeroRun;
  zeroRun.U16(0).Zeros(6);
  Bytes rowsTooMany;
  rowsTooMany.U32(2097153).U32(2097153).U16(0);
  Bytes rowsOvershoot;
  rowsOvershoot.U32(10).U32(11).U16(0);
  Bytes bigBlock;
  bigBlock.U32(1).U16(8183).Zeros(8183);
  StyleRun reversed{5, 4, 0, 0};
  StyleRun offGrid{0, 2047, 0, 0};
  StyleRun first{0, 10, 3, 0};
  StyleRun overlap{10, 12, 3, 0};
  auto run = [](const StyleRun& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof r); };
  auto containers = [](const std::string& inside) {
    Bytes b;
    b.U32(1).Add(inside);
    return b.s;
  };

  const Case cases[] = {
      {"no fonts", body::Prologue(EmptyLists(3), 0), kFileBadFormat},
      {"129 fonts", body::Prologue(EmptyLists(3), 129), kFileBadFormat},
      {"no styles", body::Prologue(EmptyLists(3), 1, 0), kFileBadFormat},
      {"513 styles", body::Prologue(EmptyLists(3), 1, 513), kFileBadFormat},
      {"list slot 100", body::Prologue(badSlot.s), kFileBadFormat},
      {"101 lists", body::Prologue(tooManyLists.s), kFileBadFormat},
      {"no items", withItems(0, ""), kFileBadFormat},
      {"only a folder", withItems(1, body::Head("F", 1, 2, 0)), kFileBadFormat},
      {"items missing", withItems(3, cases_sheet + body::Sheet().Bytes(3)), kFileReadError},
      {"column runs past the grid", sheetWith([&](body::Sheet& s) { s.columns = overshoot.s; }), kFileBadFormat},
      {"empty column run", sheetWith([&](body::Sheet& s) { s.columns = zeroRun.s; }), kFileBadFormat},
      {"rows past the grid", sheetWith([&](body::Sheet& s) { s.rows = rowsTooMany.s; }), kFileBadFormat},
      {"row runs past the count", sheetWith([&](body::Sheet& s) { s.rows = rowsOvershoot.s; }), kFileBadFormat},
      {"block of 8183 bytes", sheetWith([&](body::Sheet& s) { s.cells = bigBlock.s; }), kFileBadFormat},
      {"cell of two kinds", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({badType}); }), kFileBadFormat},
      {"error code 13", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({badError}); }), kFileBadFormat},
      {"formula past its block", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({formula}); }),
       kFileBadFormat},
      {"cell cut by its block", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({cell.substr(0, 10)}); }),
       kFileBadFormat},
      {"cells out of order",
       sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({cell, body::NumberCell(5, 4, 1.0)}); }),
       kFileBadFormat},
      {"same cell twice", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({cell, cell}); }), kFileBadFormat},
      {"column 2047", sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({body::NumberCell(0, 2047, 1)}); }),
       kFileBadFormat},
      {"row past the grid",
       sheetWith([&](body::Sheet& s) { s.cells = body::Blocks({body::NumberCell(2097152, 0, 1)}); }), kFileBadFormat},
      {"reversed run", sheetWith([&](body::Sheet& s) { s.runs = body::Blocks({run(reversed)}); }), kFileBadFormat},
      {"run off the grid", sheetWith([&](body::Sheet& s) { s.runs = body::Blocks({run(offGrid)}); }), kFileBadFormat},
      {"overlapping runs",
       sheetWith([&](body::Sheet& s) { s.runs = body::Blocks({run(first), run(overlap)}); }), kFileBadFormat},
      {"partial run", sheetWith([&](body::Sheet& s) { s.runs = body::Blocks({run(first).substr(0, 9)}); }),
       kFileBadFormat},
      {"17 series",
       sheetWith([&](body::Sheet& s) {
         s.containers = containers(body::ContainerHeaderBytes(1, 1) + body::Chart(kChart2D, 17));
       }),
       kFileBadFormat},
      {"chart kind 4",
       sheetWith([&](body::Sheet& s) { s.containers = containers(body::ContainerHeaderBytes(1, 1) + body::Chart(4, 0)); }),
       kFileBadFormat},
      {"container id 65535",
       sheetWith([&](body::Sheet& s) { s.containers = containers(body::ContainerHeaderBytes(65535, 0)); }),
       kFileBadFormat},
      {"container id twice",
       sheetWith([&](body::Sheet& s) {
         Bytes b;
         b.U32(2).Add(body::ContainerHeaderBytes(9, 0)).Add(body::ContainerHeaderBytes(9, 0));
         s.containers = b.s;
       }),
       kFileBadFormat},
      {"chart cut short", withItems(1, cases_sheet + containers(body::ContainerHeaderBytes(1, 1) + "abc")),
       kFileReadError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto bookOwner = std::make_unique<CWorkBook>();
    CWorkBook& book = *bookOwner;
    EXPECT_EQ(ReadBody(c.bytes, 3, &book), c.code);
    EXPECT_EQ(book.firstItem, nullptr);
    EXPECT_EQ(book.worksheetCount, 0u);
    EXPECT_EQ(book.styles.fontCount, 1);
    EXPECT_EQ(book.styles.styleCount, 1);
    EXPECT_EQ(book.inspectCells.Count(), 0u);
  }
}

TEST(BinaryFormat, RecordImagesAreMadeSafe) {
  // Levels that break the tree are brought within it; texts without their
  // NUL get one; a font index past the table means the default font.
  Bytes items;
  items.Add(body::Head("deep", 5, 1, 0)).Add(body::Sheet().Bytes(3));
  items.Add(body::Head("below a sheet", 4, 1, 0)).Add(body::Sheet().Bytes(3));
  items.Add(body::Head("folder", 0, 2, 1));
  items.Add(body::Head("inside", 9, 1, 1)).Add(body::Sheet().Bytes(3));
  Bytes b;
  std::string prologue = body::Prologue(EmptyLists(3), 1, 2);
  // The second style refers to font 9 and has no NUL in its code text.
  const size_t secondStyle = prologue.size() - 4 - sizeof(StyleRecord);
  prologue[secondStyle + offsetof(StyleRecord, fontIndex)] = 9;
  std::memset(&prologue[secondStyle + offsetof(StyleRecord, numFormat) + offsetof(NumFormatParams, code)], 'x',
              kNumFormatCodeSize);
  b.Add(prologue).U32(4).Add(items.s);
  auto bookOwner = std::make_unique<CWorkBook>();
  CWorkBook& book = *bookOwner;
  ASSERT_EQ(ReadBody(b.s, 3, &book), 0);
  char message[200] = "";
  EXPECT_TRUE(book.CheckTreeInvariants(message, sizeof message)) << message;
  const int depths[] = {1, 1, 1, 2};
  int i = 0;
  for (auto* item = book.firstItem; item; item = item->next, ++i) EXPECT_EQ(item->depth, depths[i]) << i;
  EXPECT_EQ(book.styles.styles[1].fontIndex, 0);
  EXPECT_EQ(std::strlen(book.styles.styles[1].numFormat.code), kNumFormatCodeSize - 1);
  EXPECT_EQ(std::string(book.activeWorksheet->name), "inside");
}

// Every proper prefix of a saved file fails to load, compressed or not,
// and leaves nothing loaded. The uncompressed content is cut at every byte
// near its ends and at a stride between, to keep the test quick.
TEST(BinaryFormat, EveryTruncatedFileIsRefused) {
  auto bookOwner = std::make_unique<CWorkBook>();
  CWorkBook& book = *bookOwner;
  ASSERT_TRUE(book.NewDocument());
  uint8_t record[64];
  BuildNumberCell(record, sizeof record, 1, 1, 3.0);
  ASSERT_TRUE(book.activeWorksheet->cells.InsertCell(AsCellRecord(record), nullptr));
  for (uint8_t mode : {uint8_t(0), uint8_t(3)}) {
    book.protectionMode = mode;
    std::strcpy(book.password, "p");
    ASSERT_TRUE(filetest::SaveTo(&book, "files_whole.tlv"));
    const std::string compressed = filetest::ReadAll("files_whole.tlv");
    const std::string plain = Inflate("files_whole.tlv");
    for (const std::string* whole : {&compressed, &plain}) {
      const size_t stride = whole == &plain ? 37 : 1;
      for (size_t length = 0; length < whole->size();
           length += (length < 300 || length + 300 > whole->size()) ? 1 : stride) {
        ASSERT_TRUE(filetest::WriteAll("files_cut.tlv", whole->substr(0, length)));
        uint8_t error = 0;
        bool loaded = true;
        auto copy = filetest::LoadFrom("files_cut.tlv", "p", &error, &loaded);
        // An empty file is a new workbook.
        if (length == 0) {
          EXPECT_TRUE(loaded);
          continue;
        }
        ASSERT_FALSE(loaded) << "mode " << int(mode) << ", " << length << " of " << whole->size() << " bytes";
        EXPECT_NE(error, 0);
        EXPECT_EQ(copy->firstItem, nullptr);
      }
      ASSERT_TRUE(filetest::WriteAll("files_cut.tlv", *whole));
      uint8_t error = 0;
      bool loaded = false;
      filetest::LoadFrom("files_cut.tlv", "p", &error, &loaded);
      EXPECT_TRUE(loaded) << int(error);
    }
  }
}

}  // namespace
