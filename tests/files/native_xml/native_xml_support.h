#ifndef TALVERO_TESTS_FILES_NATIVE_XML_SUPPORT_H
#define TALVERO_TESTS_FILES_NATIVE_XML_SUPPORT_H

// Saving a workbook as a native XML document into a string and loading one
// from a string, through real files as the document window does, and the
// check that xmllint (where installed) accepts a written document.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/file_test_support.h"

namespace xmldoc {

// A file of this test program's own: the programs run side by side, and a
// document's file is held against others while it is open.
inline std::string OwnPath(const char* what) {
  return std::string("files_") + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
         what + ".tmp";
}

inline std::string SaveXmlText(CWorkBook* book, uint8_t* error, const TextMeasurer* measurer = nullptr) {
  const std::string path = OwnPath("save");
  EXPECT_TRUE(book->bufferedFile.Open(path.c_str(), "w+b"));
  SaveXml(book, measurer);
  *error = book->error;
  book->bufferedFile.Close();
  return filetest::ReadAll(path);
}

inline std::unique_ptr<CWorkBook> LoadXmlText(const std::string& content, uint8_t* error,
                                              uint32_t* errorLine = nullptr) {
  const std::string path = OwnPath("load");
  filetest::WriteAll(path, content);
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->bufferedFile.Open(path.c_str(), "rb"));
  LoadXml(book.get(), errorLine);
  *error = book->error;
  book->bufferedFile.Close();
  return book;
}

// Line n (from 1) of a written document, whose lines end in CR LF.
inline std::string LineOf(const std::string& text, uint32_t n) {
  size_t start = 0;
  for (; n > 1 && start != std::string::npos; --n) {
    start = text.find('\n', start);
    if (start != std::string::npos)
      ++start;
  }
  if (start == std::string::npos)
    return "";
  return text.substr(start, text.find('\r', start) - start);
}

// A document with one worksheet whose element holds body, after the
// top-level elements in head.
inline std::string Document(const std::string& body, const std::string& head = "") {
  return "<?xml version=\"1.0\"?><Workbook>" + head + "<Worksheet Name=\"S\">" + body + "</Worksheet></Workbook>";
}

// True when xmllint accepts the document or is not installed.
inline bool WellFormed(const std::string& text) {
#ifndef _WIN32
  if (std::system("xmllint --version >/dev/null 2>&1") != 0)
    return true;
  const std::string path = OwnPath("lint");
  filetest::WriteAll(path, text);
  return std::system(("xmllint --noout " + path).c_str()) == 0;
#else
  (void)text;
  return true;
#endif
}

}  // namespace xmldoc

#endif
