#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "platform/os_files.h"
#include "tests/files/file_test_support.h"
#include "tests/files/sample_workbook.h"

// Workbooks live on the heap: one is too large for a Windows thread's stack.

namespace {

std::string Gzip(const std::string& content, const char* mode = "wb") {
  gzFile gz = gzopen("files_sniff_gz.tmp", mode);
  if (!content.empty())
    gzwrite(gz, content.data(), unsigned(content.size()));
  gzclose(gz);
  return filetest::ReadAll("files_sniff_gz.tmp");
}

TEST(SniffNative, ClassifiesTheFirstElevenBytes) {
  struct Case {
    const char* what;
    std::string bytes;
    int kind;  // 0: refused with code
    int hint;
    int code;
  };
  const std::string bom = "\xEF\xBB\xBF";
  const Case cases[] = {
      {"empty", "", kNativeEmpty, 0, 0},
      {"older binary", std::string("Talvero6000\0rest", 16), kNativeOldBinary, 0, 0},
      {"xml", "<?xml version=\"1.0\"?><Workbook/>", kNativeXmlPlain, 0, 0},
      {"xml compressed", Gzip("<?xml version=\"1.0\"?>"), kNativeXmlGzip, 0, 0},
      {"xml after a byte-order mark", bom + "<?xml version", kNativeXmlPlain, 0, 0},
      {"byte-order mark and no xml", bom + "<html>....", 0, 0, kFileBadFormat},
      {"UTF-16 little-endian", "\xFF\xFE<\0?\0", 0, 0, kFileBadFormat},
      {"UTF-16 big-endian", "\xFE\xFF\0<\0?", 0, 0, kFileOnlyUtf8},
      {"UTF-32", std::string("\0\0\xFE\xFF", 4), 0, 0, kFileOnlyUtf8},
      {"zero and something", std::string("\0x", 2), 0, 0, kFileBadFormat},
      {"binary", "30000000000body", kNativeBinaryPlain, 0, 0},
      {"binary compressed", Gzip("30000000000body"), kNativeBinaryGzip, 0, 0},
      {"values readable", "32100000000", kNativeBinaryPlain, kHintValuesReadable, 0},
      {"all encrypted", Gzip("31000000000"), kNativeBinaryGzip, kHintAllEncrypted, 0},
      {"a letter in the header", "3000000000x", 0, 0, kFileBadFormat},
      {"version 4", "40000000000", 0, 0, kFileBadFormat},
      {"short header", "300", 0, 0, kFileBadFormat},
      {"other", "PK\x03\x04 zip", 0, 0, kFileBadFormat},
      {"damaged gzip", Gzip(std::string(5000, '3')).substr(0, 30), 0, 0, kFileReadError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(filetest::WriteAll("files_sniff.tlv", c.bytes));
    auto bookOwner = std::make_unique<CWorkBook>();
    CWorkBook& book = *bookOwner;
    ASSERT_TRUE(book.bufferedFile.Open("files_sniff.tlv", "r+b"));
    uint8_t kind = 99, hint = 99;
    EXPECT_EQ(book.SniffNative(&kind, &hint), c.kind != 0);
    EXPECT_EQ(kind, c.kind);
    EXPECT_EQ(hint, c.hint);
    EXPECT_EQ(book.error, c.code);
    // The document's file stays open.
    EXPECT_EQ(std::fseek(book.bufferedFile.file, 0, SEEK_SET), 0);
  }
}

TEST(LoadNative, EachKindGoesToItsReader) {
  ASSERT_TRUE(filetest::WriteAll("files_empty.tlv", ""));
  uint8_t error = 0;
  bool loaded = false;
  auto book = filetest::LoadFrom("files_empty.tlv", nullptr, &error, &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_STREQ(book->firstItem->name, "Worksheet1");
  EXPECT_EQ(book->saveKind, kNativeBinaryPlain);
  EXPECT_EQ(book->sourceFormat, kFormatNative);

  const std::string xml = "<?xml version=\"1.0\"?><Workbook><Worksheet Name=\"X\"></Worksheet></Workbook>";
  struct Case {
    std::string content;
    bool loads;
    int kind;  // the sub-kind kept, or the code
    uint32_t line;
  };
  const Case cases[] = {
      {xml, true, kNativeXmlPlain, 0},
      {Gzip(xml), true, kNativeXmlGzip, 0},
      {"<?xml version=\"1.0\"?>\r\n<Workbook/>", false, kFileXmlUnexpectedElement, 2},
      // The older reader finds the file ending after its signature.
      {std::string("Talvero6000\0", 12), false, kFileReadError, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(filetest::WriteAll("files_kinds.tlv", c.content));
    auto other = filetest::LoadFrom("files_kinds.tlv", nullptr, &error, &loaded);
    EXPECT_EQ(loaded, c.loads);
    EXPECT_EQ(c.loads ? other->saveKind : error, c.kind);
    EXPECT_EQ(other->xmlErrorLine, c.line);
    if (c.loads) {
      EXPECT_STREQ(other->activeWorksheet->name, "X");
    }
  }
}

TEST(FileErrors, TextsOfTheCodes) {
  EXPECT_STREQ(FileErrorText(26), "Invalid password");
  EXPECT_STREQ(FileErrorText(38), "Error while reading from a file");
  EXPECT_STREQ(FileErrorText(39), "Error while writing to a file");
  EXPECT_STREQ(FileErrorText(56), "Out of memory while loading an xml document");
  EXPECT_EQ(std::string(FileErrorText(21)).find("Invalid Talvero file format\n\nPlease choose"), 0u);
  EXPECT_STREQ(FileErrorText(0), "No error");
  EXPECT_STREQ(FileErrorText(200), "No error");
}

TEST(DocumentFile, SavesOverItsOwnFileAndHoldsIt) {
  auto book = sample::MakeSampleWorkbook(3);
  std::remove("files_doc.tlv");
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_doc.tlv")) << int(book->error);
  EXPECT_STREQ(book->bufferedFile.path, "files_doc.tlv");
  EXPECT_NE(book->lastModification.date[0], '\0');
  book->activeWorksheet->viewFormat.zoom = 333;
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_doc.tlv")) << int(book->error);
  EXPECT_FALSE(OsFileExists("files_doc.tlv.~0"));
  // Held by the document, the file is kept from others (on Windows).
  book->bufferedFile.Close();
  auto copy = std::make_unique<CWorkBook>();
  ASSERT_TRUE(OpenDocumentFile(copy.get(), "files_doc.tlv"));
  ASSERT_TRUE(copy->LoadNative(nullptr)) << int(copy->error);
  EXPECT_EQ(sample::Difference(*book, *copy), "");
  EXPECT_EQ(copy->activeWorksheet->viewFormat.zoom, 333);

  std::remove("files_missing.tlv");
  auto missingOwner = std::make_unique<CWorkBook>();
  CWorkBook& missing = *missingOwner;
  EXPECT_FALSE(OpenDocumentFile(&missing, "files_missing.tlv"));
  EXPECT_EQ(missing.error, kFileCannotOpenForReading);
}

// A path longer than a file name can be is refused whole: cut, it would
// name another file, which must stay as it was.
TEST(DocumentFile, APathTooLongIsRefusedNotCut) {
  auto book = sample::MakeSampleWorkbook(2);
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_long.tlv"));
  book->bufferedFile.Close();
  const std::string before = filetest::ReadAll("files_long.tlv");
  // The file's own name with more after it than a name can hold.
  const std::string longer = "files_long.tlv" + std::string(kFilePathSize, 'x');
  EXPECT_FALSE(SaveDocumentFile(book.get(), longer.c_str()));
  EXPECT_EQ(book->error, kFilePathTooLong);
  EXPECT_FALSE(OpenDocumentFile(book.get(), longer.c_str()));
  EXPECT_EQ(book->error, kFilePathTooLong);
  EXPECT_EQ(filetest::ReadAll("files_long.tlv"), before);
  EXPECT_STREQ(FileErrorText(kFilePathTooLong), "The file path is too long");

  char out[8];
  EXPECT_TRUE(CopyWholePath(out, sizeof out, "1234567"));
  EXPECT_STREQ(out, "1234567");
  EXPECT_FALSE(CopyWholePath(out, sizeof out, "12345678"));
  EXPECT_STREQ(out, "");
}

TEST(DocumentFile, AFormatWithoutWriterLeavesTheFileAsItWas) {
  auto book = sample::MakeSampleWorkbook(4);
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_keep.tlv"));
  book->bufferedFile.Close();
  const std::string before = filetest::ReadAll("files_keep.tlv");
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(OpenDocumentFile(book.get(), "files_keep.tlv"));
  // A kind past the xBase dialects has no writer.
  const uint8_t noWriter = kFormatXBaseLast + 1;
  book->sourceFormat = noWriter;
  EXPECT_FALSE(SaveDocumentFile(book.get(), "files_keep.tlv"));
  EXPECT_EQ(book->error, kFileBadFormat);
  EXPECT_EQ(book->sourceFormat, noWriter);
  EXPECT_STREQ(book->bufferedFile.path, "files_keep.tlv");
  EXPECT_NE(book->bufferedFile.file, nullptr);
  book->bufferedFile.Close();
  EXPECT_EQ(filetest::ReadAll("files_keep.tlv"), before);
}

#ifdef _WIN32
// Only Windows has share modes: a document's file is kept from every other
// opener while the document holds it.
TEST(DocumentFile, HeldFilesAreKeptFromOthers) {
  auto book = sample::MakeSampleWorkbook(8);
  std::remove("files_held.tlv");
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_held.tlv"));
  auto other = std::make_unique<CWorkBook>();
  EXPECT_FALSE(OpenDocumentFile(other.get(), "files_held.tlv"));
  EXPECT_EQ(other->error, kFileCannotOpenForReading);
  EXPECT_EQ(std::fopen("files_held.tlv", "rb"), nullptr);
  book->bufferedFile.Close();
  ASSERT_TRUE(OpenDocumentFile(other.get(), "files_held.tlv"));
  EXPECT_EQ(other->readOnly, 0);
  EXPECT_TRUE(other->LoadNative(nullptr)) << int(other->error);
}
#else
// A full disk: the writer's failure shows in the result, never a
// truncated file reported as saved.
TEST(DocumentFile, FullDiskFailsTheSaveAndKeepsTheOldFile) {
  auto onDeviceOwner = std::make_unique<CWorkBook>();
  CWorkBook& onDevice = *onDeviceOwner;
  ASSERT_TRUE(onDevice.NewDocument());
  if (onDevice.bufferedFile.Open("/dev/full", "w+b")) {
    EXPECT_FALSE(onDevice.SaveBinary());
    EXPECT_EQ(onDevice.error, kFileWriteError);
  }

  auto book = sample::MakeSampleWorkbook(5, 3, 4000);
  ASSERT_TRUE(SaveDocumentFile(book.get(), "files_full.tlv"));
  const std::string before = filetest::ReadAll("files_full.tlv");
  ASSERT_GT(before.size(), 20000u);
  for (CWorkSheetTree::CTreeItem* item = book->firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      sheet->viewFormat.zoom = 77;
  // Files may not grow past a few kilobytes now: the new content fails
  // part way, or at its last bytes.
  for (rlim_t limit : {rlim_t(4096), rlim_t(before.size() - 10)}) {
    SCOPED_TRACE(limit);
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const uint8_t kind = book->saveKind;
    const bool saved = SaveDocumentFile(book.get(), "files_full.tlv");
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_FALSE(saved);
    EXPECT_EQ(book->error, kFileWriteError);
    EXPECT_EQ(book->saveKind, kind);
    EXPECT_STREQ(book->bufferedFile.path, "files_full.tlv");
    EXPECT_EQ(filetest::ReadAll("files_full.tlv"), before);
    EXPECT_FALSE(OsFileExists("files_full.tlv.~0"));
  }
}

// Independent gzip tools accept our files, and files they compress read back.
TEST(DocumentFile, GzipToolsAgreeWithOurFiles) {
  if (std::system("gzip --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no gzip";
  auto book = sample::MakeSampleWorkbook(6);
  book->protectionMode = 3;
  std::strcpy(book->password, "tool");
  ASSERT_TRUE(filetest::SaveTo(book.get(), "files_tool.tlv"));
  EXPECT_EQ(std::system("gzip -t files_tool.tlv"), 0);
  ASSERT_EQ(std::system("zcat files_tool.tlv > files_tool.plain"), 0);
  ASSERT_EQ(std::system("gzip -9 -c files_tool.plain > files_tool9.tlv"), 0);
  for (const char* path : {"files_tool.plain", "files_tool9.tlv"}) {
    SCOPED_TRACE(path);
    uint8_t error = 0;
    bool loaded = false;
    auto copy = filetest::LoadFrom(path, "tool", &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    EXPECT_EQ(sample::Difference(*book, *copy), "");
    EXPECT_EQ(copy->saveKind, std::string(path).find("9") == std::string::npos ? kNativeBinaryPlain
                                                                                : kNativeBinaryGzip);
  }
}
#endif

}  // namespace
