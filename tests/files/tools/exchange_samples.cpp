// Writes the text files and xBase tables of tests/files/exchange_samples.h
// into a folder, for tests/golden/generate_text_interop.py and
// generate_xbase_interop.py, which let other programs read them.
//
// Usage: files_exchange_samples FOLDER

#include <cstdio>
#include <string>

#include "tests/files/exchange_samples.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  for (const samples::TextSample& sample : samples::kTextSamples) {
    auto book = exchange::NewBook();
    samples::FillTextSheet(book->activeWorksheet);
    samples::SetTextOptions(sample, &book->textFileOptions);
    if (!exchange::SaveWith(book.get(), folder + sample.file,
                            [](CWorkBook* b) { return b->SaveText(b->activeWorksheet); })) {
      std::fprintf(stderr, "%s: not written\n", sample.file);
      return 1;
    }
  }
  for (const samples::XBaseSample& sample : samples::kXBaseSamples) {
    auto book = exchange::NewBook();
    if (!samples::FillXBaseBook(book.get(), sample.dialect) ||
        !exchange::SaveWith(book.get(), folder + sample.file,
                            [](CWorkBook* b) { return b->SaveXBase(b->activeWorksheet); })) {
      std::fprintf(stderr, "%s: not written (error %d)\n", sample.file, book->error);
      return 1;
    }
  }
  return 0;
}
