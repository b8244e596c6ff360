// Cell store costs on a sheet of 1,000,000 number cells (10,000 rows of 100).
// Every benchmark reports the time per cell (in seconds, with an SI prefix)
// and the bytes of blocks per cell.

#include "core/cells/cell_store.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr uint32_t kColumns = 100;
constexpr uint32_t kCells = 1000000;
constexpr uint32_t kRows = kCells / kColumns;

void FillNumbers(CellStore& store) {
  uint8_t record[kNumberCellSize];
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t i = 0; i < kCells; ++i) {
    BuildNumberCell(record, sizeof record, i / kColumns, uint16_t(i % kColumns), double(i));
    if (!store.InsertCell(AsCellRecord(record), &cursor))
      return;
  }
}

// Built once: the lookups and walks only read it.
CellStore& FilledStore() {
  static std::unique_ptr<CellStore> store = [] {
    auto filled = std::make_unique<CellStore>();
    FillNumbers(*filled);
    return filled;
  }();
  return *store;
}

void ReportPerCell(benchmark::State& state, const CellStore& store, uint64_t cellsPerIteration) {
  state.SetItemsProcessed(int64_t(state.iterations() * cellsPerIteration));
  state.counters["time_per_cell"] = benchmark::Counter(double(cellsPerIteration),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  state.counters["bytes_per_cell"] = double(store.BlockCount()) * 8192 / kCells;
}

uint32_t NextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

void BM_InsertNumbersInRowOrder(benchmark::State& state) {
  uint32_t blocks = 0;
  for (auto _ : state) {
    auto store = std::make_unique<CellStore>();
    FillNumbers(*store);
    blocks = store->BlockCount();
    benchmark::DoNotOptimize(store->FirstBlock());
  }
  state.SetItemsProcessed(int64_t(state.iterations() * kCells));
  state.counters["time_per_cell"] = benchmark::Counter(double(kCells),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  state.counters["bytes_per_cell"] = double(blocks) * 8192 / kCells;
}
BENCHMARK(BM_InsertNumbersInRowOrder)->Unit(benchmark::kMillisecond);

// Without a page index each lookup skips blocks from the head of the chain.
void BM_RandomLookup(benchmark::State& state) {
  CellStore& store = FilledStore();
  const bool indexed = state.range(0) != 0;
  store.ClearPageIndex(false);
  if (indexed) {
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    for (uint32_t page = 0; page <= (kRows - 1) / kRowsPerPage; ++page) store.BuildPageIndex(page, &cursor);
  }
  constexpr uint32_t kLookups = 1000;
  uint32_t random = 2463534242u;
  for (auto _ : state)
    for (uint32_t i = 0; i < kLookups; ++i) {
      uint32_t cell = NextRandom(random) % kCells;
      benchmark::DoNotOptimize(store.GetCell(cell / kColumns, uint16_t(cell % kColumns)));
    }
  ReportPerCell(state, store, kLookups);
  store.ClearPageIndex(true);
}
BENCHMARK(BM_RandomLookup)->Arg(0)->Arg(1)->ArgNames({"indexed"});

void BM_RangeWalk(benchmark::State& state) {
  CellStore& store = FilledStore();
  uint64_t cells = 0;
  for (auto _ : state) {
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = store.FirstBlock();
    cells = 0;
    while (const CellRecord* record = cursor.NextInRange(0, kMaxColumn, 0, kMaxRow)) {
      benchmark::DoNotOptimize(record);
      ++cells;
    }
  }
  if (cells != kCells)
    state.SkipWithError("the walk missed cells");
  ReportPerCell(state, store, kCells);
}
BENCHMARK(BM_RangeWalk)->Unit(benchmark::kMillisecond);

}  // namespace
