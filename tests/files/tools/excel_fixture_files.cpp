// Writes the Excel 2003 XML exports of the golden fixture into a folder:
// excel_export.xml with the formulas' results, excel_export_formulas.xml
// without them. tests/golden/generate_excel_xml.py has other programs read
// them.
//
// Usage: files_excel_fixture_files FOLDER

#include <cstdio>
#include <string>

#include "tests/files/excel_xml/excel_fixture.h"
#include "tests/files/file_test_support.h"

namespace {

bool Write(const std::string& path, bool withResults) {
  auto book = excelfixture::BuildFixture(withResults);
  const bool saved = filetest::SaveExcelXmlTo(book.get(), path);
  if (!saved)
    std::fprintf(stderr, "saving %s failed with %d\n", path.c_str(), book->error);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  return Write(folder + "/excel_export.xml", true) && Write(folder + "/excel_export_formulas.xml", false) ? 0 : 1;
}
