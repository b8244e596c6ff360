// Saving and loading a native binary workbook of 1,000,000 cells in 10
// columns, half numbers and half short formulas. Each benchmark reports
// seconds per save or load, the throughput of the uncompressed content
// (bytes_per_second), the file's size and the process's peak memory.
// "Plain" loads the same content stored uncompressed. The native XML
// benchmarks save the same workbook as XML and load it plain and
// gzip-compressed, in the same run for comparison.

#include <sys/resource.h>
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"

namespace {

constexpr uint32_t kColumns = 10;
constexpr uint32_t kCells = 1000000;
const char kCompressedPath[] = "files_bench.tlv";
const char kPlainPath[] = "files_bench_plain.tlv";
const char kXmlPath[] = "files_bench.xml";
const char kXmlGzipPath[] = "files_bench.xml.gz";

std::unique_ptr<CWorkBook> MakeBook() {
  auto book = std::make_unique<CWorkBook>();
  book->NewDocument();
  CellStore& cells = book->activeWorksheet->cells;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  uint8_t record[128];
  char formula[32];
  for (uint32_t i = 0; i < kCells; ++i) {
    const uint32_t row = i / kColumns;
    const uint16_t column = uint16_t(i % kColumns);
    uint32_t size;
    if (column % 2 == 0) {
      size = BuildNumberCell(record, sizeof record, row, column, row * 0.25 + column);
    } else {
      std::snprintf(formula, sizeof formula, "=RC[-1]*%u+1", row % 97);
      FormulaCellFields fields;
      fields.formula = formula;
      fields.formulaLength = uint16_t(std::strlen(formula));
      fields.resultFlags = kResultCachedNumber;
      fields.cachedNumber = row * 0.5;
      size = BuildFormulaCell(record, sizeof record, row, column, fields);
    }
    if (size)
      cells.InsertCell(AsCellRecord(record), &cursor);
  }
  return book;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

long FileSize(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file)
    return 0;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fclose(file);
  return size;
}

// The uncompressed content of the saved file, kept as a plain file.
long WritePlainCopy() {
  gzFile in = gzopen(kCompressedPath, "rb");
  std::FILE* out = std::fopen(kPlainPath, "wb");
  char buffer[1 << 16];
  long total = 0;
  int got;
  while ((got = gzread(in, buffer, sizeof buffer)) > 0) {
    std::fwrite(buffer, 1, size_t(got), out);
    total += got;
  }
  gzclose(in);
  std::fclose(out);
  return total;
}

void Report(benchmark::State& state, long content, const char* path) {
  state.SetBytesProcessed(int64_t(state.iterations()) * content);
  state.counters["file_MB"] = FileSize(path) / 1e6;
  state.counters["content_MB"] = content / 1e6;
  state.counters["peak_MB"] = PeakMegabytes();
}

void BM_SaveCompressed(benchmark::State& state) {
  auto book = MakeBook();
  for (auto _ : state) {
    book->bufferedFile.Open(kCompressedPath, "w+b");
    if (!book->SaveBinary())
      state.SkipWithError("save failed");
    book->bufferedFile.Close();
  }
  Report(state, WritePlainCopy(), kCompressedPath);
}

void Load(benchmark::State& state, const char* path) {
  const long content = WritePlainCopy();
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->bufferedFile.Open(path, "r+b");
    if (!book->LoadNative(nullptr))
      state.SkipWithError("load failed");
    state.PauseTiming();
    book.reset();
    state.ResumeTiming();
  }
  Report(state, content, path);
}

void BM_LoadCompressed(benchmark::State& state) { Load(state, kCompressedPath); }
void BM_LoadPlain(benchmark::State& state) { Load(state, kPlainPath); }

void BM_SaveXml(benchmark::State& state) {
  auto book = MakeBook();
  for (auto _ : state) {
    book->bufferedFile.Open(kXmlPath, "w+b");
    if (!SaveXml(book.get()))
      state.SkipWithError("save failed");
    book->bufferedFile.Close();
  }
  Report(state, FileSize(kXmlPath), kXmlPath);
}

// The saved XML document compressed as a gzip file.
void WriteXmlGzipCopy() {
  std::FILE* in = std::fopen(kXmlPath, "rb");
  gzFile out = gzopen(kXmlGzipPath, "wb");
  char buffer[1 << 16];
  size_t got;
  while (in && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0) gzwrite(out, buffer, unsigned(got));
  if (in)
    std::fclose(in);
  gzclose(out);
}

void LoadXmlFile(benchmark::State& state, const char* path) {
  const long content = FileSize(kXmlPath);
  for (auto _ : state) {
    auto book = std::make_unique<CWorkBook>();
    book->bufferedFile.Open(path, "rb");
    if (!LoadXml(book.get()))
      state.SkipWithError("load failed");
    state.PauseTiming();
    book.reset();
    state.ResumeTiming();
  }
  Report(state, content, path);
}

void BM_LoadXmlPlain(benchmark::State& state) { LoadXmlFile(state, kXmlPath); }
void BM_LoadXmlGzip(benchmark::State& state) {
  WriteXmlGzipCopy();
  LoadXmlFile(state, kXmlGzipPath);
}

}  // namespace

BENCHMARK(BM_SaveCompressed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadCompressed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveXml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadXmlPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadXmlGzip)->Unit(benchmark::kMillisecond)->Iterations(3);
