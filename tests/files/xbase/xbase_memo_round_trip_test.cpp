// Memo texts through a save and a load. Whatever text a memo loads as saves
// and loads back the same in every memo layout. The dBase III+ layout (and
// Clipper's) ends a memo with two 0x1A bytes, so it holds no text that ends
// with one or holds a pair: such a text loads back cut, the same on every
// later round trip, and the rest of the table is unharmed.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/xbase/xbase_memo.h"
#include "tests/files/exchange_test_support.h"

namespace {

using exchange::Describe;
using exchange::PutText;

const uint8_t kDialects[] = {kXBaseDBaseIII, kXBaseDBaseIV, kXBaseFoxPro, kXBaseClipper};

bool EndsMemosWithAPair(uint8_t dialect) { return dialect == kXBaseDBaseIII || dialect == kXBaseClipper; }

void PutLittle(std::string* bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) (*bytes)[at + i] = char(value >> (8 * i));
}

bool SaveTable(CWorkBook* book, const std::string& path) {
  return exchange::SaveWith(book, path, [](CWorkBook* b) { return b->SaveXBase(b->activeWorksheet); });
}

std::unique_ptr<CWorkBook> LoadTable(const std::string& path, uint8_t dialect) {
  auto book = std::make_unique<CWorkBook>();
  book->xbaseTable.dialect = dialect;
  EXPECT_TRUE(exchange::LoadWith(book.get(), path, [](CWorkBook* b) { return b->LoadXBase(); }))
      << path << " error " << int(book->error);
  // The tests write the same files again, which a held file would refuse.
  book->bufferedFile.Close();
  return book;
}

std::string Expected(const std::string& text) { return text.empty() ? "" : "t:" + text; }

// A dBase III+ table of one memo field whose records point at the memo
// bodies in turn, each from a block boundary of its memo file and padded
// with NULs to the next one; the file ends right after the last body when
// asked, as a memo file another program left unpadded.
void WriteDBaseIIITable(const std::string& path, const std::vector<std::string>& bodies, bool padLast) {
  std::string memo(512, '\0');
  memo[16] = 3;
  std::string records;
  for (const std::string& body : bodies) {
    char field[16];
    std::snprintf(field, sizeof field, " %10u", unsigned(memo.size() / 512));
    records += field;
    memo += body;
    if (padLast || &body != &bodies.back())
      memo.resize((memo.size() + 511) / 512 * 512, '\0');
  }
  PutLittle(&memo, 0, uint32_t((memo.size() + 511) / 512), 4);
  std::string table(32, '\0');
  table[0] = '\x83';
  table[1] = 109;
  table[2] = table[3] = 1;
  PutLittle(&table, 4, uint32_t(bodies.size()), 4);
  PutLittle(&table, 8, 32 + 32 + 1, 2);
  PutLittle(&table, 10, 1 + 10, 2);
  std::string descriptor(32, '\0');
  descriptor.replace(0, 4, "NOTE");
  descriptor[11] = 'M';
  descriptor[16] = 10;
  table += descriptor + '\x0D' + records + '\x1A';
  char memoPath[256];
  ASSERT_TRUE(XBaseMemoFileName(path.c_str(), memoPath, sizeof memoPath, kXBaseDBaseIII));
  ASSERT_TRUE(filetest::WriteAll(path, table));
  ASSERT_TRUE(filetest::WriteAll(memoPath, memo));
}

// The reported memo: 1A 00 1A 1A closed itself with its first byte, so it
// holds no text; a lone end byte that the text's NUL leaves last is an end
// mark wherever the scan stops after it. What each memo loads as saves and
// loads back the same in every layout.
TEST(XBaseMemoRoundTrip, WhatADBaseIIIMemoLoadsAsSavesBackInEveryLayout) {
  const std::string kept1023(1023, 'q');
  const struct {
    const char* what;
    std::string body;
    std::string text;
  } memos[] = {
      {"a lone end byte, a NUL, then a pair", std::string("\x1A\0\x1A\x1A", 4), ""},
      {"a text, a lone end byte, a NUL, then a pair", std::string("ab\x1A\0cd\x1A\x1A", 9), "ab"},
      {"a lone end byte and NULs to the block's end", "ef\x1A", "ef"},
      {"an end pair", "gh\x1A\x1A", "gh"},
      {"a run of three end bytes", "ij\x1A\x1A\x1A", "ij"},
      {"a lone end byte inside the text", "k\x1Al\x1A\x1A", "k\x1Al"},
      {"an end byte leading the text", "\x1Am\x1A\x1A", "\x1Am"},
      {"an end byte as the last character kept", kept1023 + "\x1Ar\x1A\x1A", kept1023},
      {"a lone end byte at the file's end", "st\x1A", "st"},
  };
  std::vector<std::string> bodies;
  for (const auto& m : memos) bodies.push_back(m.body);
  WriteDBaseIIITable("xbase_memo_bytes.dbf", bodies, false);
  auto book = LoadTable("xbase_memo_bytes.dbf", kXBaseDBaseIII);
  const uint32_t count = uint32_t(bodies.size());
  for (uint32_t i = 0; i < count; ++i)
    EXPECT_EQ(Describe(book->activeWorksheet, i + 1, 0), Expected(memos[i].text)) << memos[i].what;

  for (uint8_t dialect : kDialects) {
    SCOPED_TRACE(int(dialect));
    book->xbaseTable.dialect = dialect;
    const std::string path = "xbase_memo_bytes_saved" + std::to_string(dialect) + ".dbf";
    ASSERT_TRUE(SaveTable(book.get(), path)) << int(book->error);
    auto back = LoadTable(path, dialect);
    for (uint32_t i = 0; i < count; ++i)
      EXPECT_EQ(Describe(back->activeWorksheet, i + 1, 0), Describe(book->activeWorksheet, i + 1, 0)) << memos[i].what;
  }
}

// Texts the writer meets in cells, up to the longest a cell holds. The
// length-counted layouts (dBase IV, FoxPro) hold each as it is. The
// dBase III+ layout cuts a text before its first end pair and drops the end
// bytes it ends with, so a text of end bytes alone loads as no cell; what
// loads back loads back again unchanged, and the other field of each
// record and the memos after it are untouched.
TEST(XBaseMemoRoundTrip, TextsWithEndBytesSaveAndLoadBackInEveryLayout) {
  const std::string kept1023(1023, 'q');
  const struct {
    std::string text;
    std::string inPairLayout;
  } texts[] = {
      {"\x1A" "abc", "\x1A" "abc"},
      {"a\x1A" "b", "a\x1A" "b"},
      {"abc\x1A", "abc"},
      {"abc\x1A\x1A", "abc"},
      {"a\x1A\x1A" "b", "a"},
      {"\x1A", ""},
      {"\x1A\x1A\x1A", ""},
      {kept1023 + "\x1A", kept1023},
      {"plain", "plain"},
  };
  const uint32_t count = sizeof texts / sizeof texts[0];
  for (uint8_t dialect : kDialects) {
    SCOPED_TRACE(int(dialect));
    auto book = exchange::NewBook();
    CWorkSheet* sheet = book->activeWorksheet;
    PutText(sheet, 0, 0, "NOTE");
    PutText(sheet, 0, 1, "TAG");
    for (uint32_t i = 0; i < count; ++i) {
      PutText(sheet, i + 1, 0, texts[i].text);
      PutText(sheet, i + 1, 1, "tag " + std::to_string(i));
    }
    book->xbaseTable.dialect = dialect;
    ASSERT_TRUE(book->BuildXBaseFields(sheet, &book->xbaseTable));
    uint8_t* note = XBaseFieldAt(book->xbaseTable, 0);
    note[kXBaseFieldType] = 'M';
    note[kXBaseFieldLength] = 10;
    note[kXBaseFieldDecimals] = 0;
    const std::string path = "xbase_memo_texts" + std::to_string(dialect) + ".dbf";
    ASSERT_TRUE(SaveTable(book.get(), path)) << int(book->error);
    auto back = LoadTable(path, dialect);
    for (uint32_t i = 0; i < count; ++i) {
      const std::string& expected = EndsMemosWithAPair(dialect) ? texts[i].inPairLayout : texts[i].text;
      EXPECT_EQ(Describe(back->activeWorksheet, i + 1, 0), Expected(expected)) << i;
      EXPECT_EQ(Describe(back->activeWorksheet, i + 1, 1), "t:tag " + std::to_string(i));
    }
    const std::string again = "xbase_memo_texts_again" + std::to_string(dialect) + ".dbf";
    ASSERT_TRUE(SaveTable(back.get(), again)) << int(back->error);
    auto twice = LoadTable(again, dialect);
    for (uint32_t i = 0; i < count; ++i) {
      for (uint16_t column = 0; column < 2; ++column)
        EXPECT_EQ(Describe(twice->activeWorksheet, i + 1, column), Describe(back->activeWorksheet, i + 1, column))
            << i << "," << column;
    }
  }
}

}  // namespace
