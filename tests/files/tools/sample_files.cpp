// Writes native binary files of generated workbooks in every protection mode
// into a folder, with a manifest line per file: name, mode, password in hex.
// The Python checker reads them; the fuzzers start from them and from the
// plain bodies written beside them (a version byte, then the body), from
// the same workbooks as native XML documents, from native XML documents of
// random containers with charts of every kind, from the workbooks' Excel
// 2003 XML exports (*.xmlss) and from files of the older binary format
// (*.old).
//
// Usage: files_sample_files FOLDER [COUNT]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/native_binary/binary_format.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/random_containers.h"
#include "tests/files/old_binary/old_file_writer.h"
#include "tests/files/sample_workbook.h"

namespace {

bool PutToString(void* context, const void* bytes, size_t count) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(bytes), count);
  return true;
}

std::string Hex(const std::string& text) {
  std::string hex;
  char pair[3];
  for (unsigned char c : text) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    hex += pair;
  }
  return hex.empty() ? "-" : hex;
}

// A workbook of one worksheet with a few random containers and charts.
bool WriteChartDocument(const std::string& path, uint32_t seed) {
  randomcharts::Generator generator(seed);
  CWorkBook book;
  CWorkSheet* sheet = NewWorksheet("Charts", 1);
  book.InsertItems(sheet, nullptr);
  book.activeWorksheet = sheet;
  for (uint16_t id = 1; id <= 2; ++id) sheet->AddContainer(generator.Container(id));
  if (!book.bufferedFile.Open(path.c_str(), "w+b"))
    return false;
  const bool saved = SaveXml(&book);
  book.bufferedFile.Close();
  if (!saved)
    std::fprintf(stderr, "saving %s failed with %d\n", path.c_str(), book.error);
  return saved;
}

// An older file whose parts grow with n.
std::string OldFile(int n) {
  oldfile::File file;
  file.lists = {{uint32_t(n), "List", "one\r\ntwo"}};
  file.styles = {oldfile::Style(), oldfile::Style{1u << 9 | 1u << 7 | 1u << 13, 0, 0x02FF0000, 0, 0x00FF, 0x0121, 2, 0}};
  file.fonts = {oldfile::LogFont(), oldfile::LogFont()};
  if (n % 2)
    file.folders = {{"Folder", 1, 1}};
  oldfile::Sheet& sheet = file.sheets[0];
  sheet.level = n % 2 ? 2 : 1;
  sheet.objects = oldfile::ObjectsWith({oldfile::TextObject("Note", uint32_t(n % 5)), oldfile::ChartObject(uint32_t(n % 14), uint32_t(n % 4))});
  sheet.rowCount = 3;
  sheet.heightRuns = {{1, 17}, {2, 30}};
  sheet.styledRows = 2;
  sheet.styleGroups = {{2, 0, {{0, 2, 1}, {4, 4, 1}}}};
  for (int i = 0; i < 10 * n; ++i)
    sheet.cells.push_back({uint16_t(i % 7), uint32_t(i / 7), uint8_t(i % 3 == 0 ? 1 : i % 3 == 1 ? 2 : 4), i * 1.5,
                           i % 3 == 0 ? "text" : "=R1C1+1"});
  return file.Encoded();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [COUNT]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int count = argc > 2 ? std::atoi(argv[2]) : 10;
  const char* passwords[] = {"", "secret", "\xE9t\xE9\xFF", "p", "a much longer password 0123456789"};
  std::FILE* manifest = std::fopen((folder + "/manifest.txt").c_str(), "w");
  if (!manifest)
    return 1;
  for (int i = 0; i < count; ++i) {
    const uint8_t mode = uint8_t(i % kProtectionModeCount);
    auto book = sample::MakeSampleWorkbook(uint32_t(1000 + i), 1 + i % 3, 20 + 40 * i);
    book->protectionMode = mode;
    const std::string password = passwords[i % 5];
    std::snprintf(book->password, sizeof book->password, "%s", password.c_str());
    const std::string name = "sample" + std::to_string(i) + ".tlv";
    if (!filetest::SaveTo(book.get(), folder + "/" + name)) {
      std::fprintf(stderr, "saving %s failed with %d\n", name.c_str(), book->error);
      return 1;
    }
    std::fprintf(manifest, "%s %d %s\n", name.c_str(), mode, Hex(password).c_str());
    std::string body(1, char(3));
    BodySink sink{PutToString, &body};
    WriteBinaryBody(book.get(), &sink, i % 2 == 1);
    filetest::WriteAll(folder + "/sample" + std::to_string(i) + ".body", body);
    if (!WriteChartDocument(folder + "/charts" + std::to_string(i) + ".xml", uint32_t(2000 + i)))
      return 1;
    const std::string xml = folder + "/sample" + std::to_string(i) + ".xml";
    if (!book->bufferedFile.Open(xml.c_str(), "w+b") || !SaveXml(book.get())) {
      std::fprintf(stderr, "saving %s failed with %d\n", xml.c_str(), book->error);
      return 1;
    }
    book->bufferedFile.Close();
    if (!filetest::SaveExcelXmlTo(book.get(), folder + "/spreadsheet" + std::to_string(i) + ".xmlss") ||
        !filetest::WriteAll(folder + "/old" + std::to_string(i) + ".old", OldFile(i)))
      return 1;
  }
  return std::fclose(manifest) == 0 ? 0 : 1;
}
