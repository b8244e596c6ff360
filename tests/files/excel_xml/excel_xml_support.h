#ifndef TALVERO_TESTS_FILES_EXCEL_XML_SUPPORT_H
#define TALVERO_TESTS_FILES_EXCEL_XML_SUPPORT_H

// Exporting a workbook as Excel 2003 XML into a string and importing one
// from a string, through real files as the document window does; and the
// small workbooks the export and import tests share.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/native_xml_support.h"

namespace excelxml {

// Measured on the fake screen: 7 x 16 pixel characters, so the default
// column is 63 pixels wide and the default row 18 high, at 96 per inch.
inline const TextMeasurer& Screen() {
  static FakeTextMeasurer fake;
  return fake.Measurer();
}

inline std::string SaveExcelText(CWorkBook* book, uint8_t* error, const TextMeasurer* screen = &Screen()) {
  const std::string path = xmldoc::OwnPath("excel_save");
  filetest::SaveExcelXmlTo(book, path, screen);
  *error = book->error;
  return filetest::ReadAll(path);
}

inline std::unique_ptr<CWorkBook> LoadExcelText(const std::string& content, uint8_t* error,
                                                const TextMeasurer* screen = &Screen()) {
  const std::string path = xmldoc::OwnPath("excel_load");
  filetest::WriteAll(path, content);
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->bufferedFile.Open(path.c_str(), "rb"));
  book->LoadExcelXml(screen);
  *error = book->error;
  book->bufferedFile.Close();
  return book;
}

// A spreadsheet document with one worksheet whose element holds body, after
// the top-level elements in head.
inline std::string Document(const std::string& body, const std::string& head = "") {
  return "<?xml version=\"1.0\"?>\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
         "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">" +
         head + "<Worksheet ss:Name=\"S\">" + body + "</Worksheet></Workbook>";
}

inline void PutCell(CWorkSheet* sheet, const uint8_t* record) {
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

inline CWorkSheet* AddSheet(CWorkBook* book, const char* name, uint16_t depth = 1) {
  CWorkSheet* sheet = NewWorksheet(name, depth);
  book->InsertItems(sheet, nullptr);
  if (!book->activeWorksheet)
    book->activeWorksheet = sheet;
  return sheet;
}

}  // namespace excelxml

#endif
