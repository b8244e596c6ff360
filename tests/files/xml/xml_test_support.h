#ifndef TALVERO_TESTS_FILES_XML_TEST_SUPPORT_H
#define TALVERO_TESTS_FILES_XML_TEST_SUPPORT_H

// An XML reader over a document held in a test string, read through the
// gzip side of a file stream as the workbook reader reads, and the code an
// XML step throws.

#include <cstdio>
#include <memory>
#include <string>

#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"
#include "tests/files/file_test_support.h"

namespace xmltest {

class Document {
 public:
  explicit Document(const std::string& content, const std::string& path = "files_xml_doc.tmp") {
    filetest::WriteAll(path, content);
    file_ = std::fopen(path.c_str(), "rb");
    stream_.Reset();
    stream_.OpenGz(file_, "rb");
    reader = std::make_unique<CXmlReader>();
    reader->Reset();
    reader->source.stream = &stream_;
    reader->source.gzip = true;
  }
  ~Document() {
    stream_.CloseGz();
    if (file_)
      std::fclose(file_);
  }
  CXmlReader* operator->() { return reader.get(); }

  std::unique_ptr<CXmlReader> reader;

 private:
  std::FILE* file_ = nullptr;
  FileStream stream_;
};

// 0 when the step ran through, else the code it threw.
template <typename Step>
int CodeOf(Step step) {
  try {
    step();
  } catch (int code) {
    return code;
  }
  return 0;
}

// What the writer's steps put into a file, as text.
template <typename Steps>
std::string Written(Steps steps, int* code = nullptr) {
  const char* path = "files_xml_written.tmp";
  std::FILE* file = std::fopen(path, "w+b");
  FileStream stream;
  stream.Reset();
  stream.Attach(file);
  auto writer = std::make_unique<CXmlReader>();
  writer->Reset();
  writer->source.stream = &stream;
  const int thrown = CodeOf([&] { steps(writer.get()); });
  if (code)
    *code = thrown;
  std::fclose(file);
  return filetest::ReadAll(path);
}

}  // namespace xmltest

#endif
