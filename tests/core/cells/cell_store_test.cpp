#include "core/cells/cell_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/core/allocation_limit.h"
#include "tests/core/large_sheet.h"
#include "test_seed.h"
#include "test_random.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Key = std::pair<uint32_t, uint16_t>;  // (row, column)
using Model = std::map<Key, Bytes>;

Bytes Text(uint32_t row, uint16_t column, size_t length, uint8_t typeExtra = 0) {
  Bytes bytes(kTextCellHeadSize + length);
  std::string text(length, char('a' + (row + column) % 26));
  BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), uint16_t(length), typeExtra);
  return bytes;
}

Bytes Number(uint32_t row, uint16_t column, double value, uint8_t typeExtra = 0) {
  Bytes bytes(kNumberCellSize);
  BuildNumberCell(bytes.data(), bytes.size(), row, column, value, typeExtra);
  return bytes;
}

Bytes Formula(uint32_t row, uint16_t column, size_t formulaLength, int cachedLength = -1, uint16_t arrayColumns = 1,
              uint32_t arrayRows = 1, uint8_t typeExtra = 0) {
  std::string formula(formulaLength, 'f');
  std::string cached(cachedLength > 0 ? size_t(cachedLength) : 0, 'c');
  FormulaCellFields fields;
  fields.formula = formula.data();
  fields.formulaLength = uint16_t(formulaLength);
  fields.cachedText = cachedLength >= 0 ? cached.data() : nullptr;
  fields.cachedTextLength = uint16_t(cached.size());
  fields.cachedNumber = double(row) + column / 4.0;
  fields.resultFlags = (arrayColumns > 1 || arrayRows > 1) ? kResultArray : kResultCachedNumber;
  fields.arrayColumns = arrayColumns;
  fields.arrayRows = arrayRows;
  fields.typeExtra = typeExtra;
  Bytes bytes(kFormulaCellHeadSize + formulaLength + 2 + cached.size());
  bytes.resize(BuildFormulaCell(bytes.data(), bytes.size(), row, column, fields));
  return bytes;
}

const CellRecord* Record(const Bytes& bytes) { return AsCellRecord(bytes.data()); }

Key KeyOf(const CellRecord* record) { return {record->Row(), record->Column()}; }

// Inserts and records the cell in the model.
void Put(CellStore& store, Model& model, const Bytes& cell, CellCursor* cursor = nullptr) {
  ASSERT_TRUE(store.InsertCell(Record(cell), cursor));
  model[KeyOf(Record(cell))] = cell;
}

::testing::AssertionResult MatchesModel(const CellStore& store, const Model& model) {
  char problem[160];
  if (!store.CheckInvariants(problem, sizeof problem))
    return ::testing::AssertionFailure() << "invariant: " << problem;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  auto expected = model.begin();
  uint32_t size = 0;
  while (const CellRecord* record = cursor.Next(&size)) {
    if (expected == model.end())
      return ::testing::AssertionFailure() << "extra cell at " << record->Row() << "," << record->Column();
    if (KeyOf(record) != expected->first)
      return ::testing::AssertionFailure() << "cell " << record->Row() << "," << record->Column() << " where "
                                           << expected->first.first << "," << expected->first.second << " expected";
    if (size != expected->second.size() || !std::equal(expected->second.begin(), expected->second.end(), record->Bytes()))
      return ::testing::AssertionFailure() << "bytes differ at " << record->Row() << "," << record->Column();
    ++expected;
  }
  if (expected != model.end())
    return ::testing::AssertionFailure() << "missing cell " << expected->first.first << "," << expected->first.second;
  return ::testing::AssertionSuccess();
}

std::vector<Key> KeysOfBlock(const CellBlock* block) {
  std::vector<Key> keys;
  for (uint32_t offset = 0; offset < block->used;) {
    const CellRecord* record = AsCellRecord(block->payload + offset);
    keys.push_back(KeyOf(record));
    offset += record->Size();
  }
  return keys;
}

// The result rectangles that deleting a rectangle takes with it, applied to the model.
struct Rect {
  uint32_t firstColumn, lastColumn, firstRow, lastRow;
  bool Holds(const Key& key) const {
    return key.first >= firstRow && key.first <= lastRow && key.second >= firstColumn && key.second <= lastColumn;
  }
};
void DeleteFromModel(Model& model, Rect rect) {
  std::vector<Rect> pending{rect};
  while (!pending.empty()) {
    Rect r = pending.back();
    pending.pop_back();
    for (auto it = model.begin(); it != model.end();) {
      if (!r.Holds(it->first)) {
        ++it;
        continue;
      }
      const CellRecord* record = Record(it->second);
      if (record->IsSpillingArrayFormula() && record->ArrayRows() > 0)
        pending.push_back({record->Column(),
                           std::min<uint32_t>(record->Column() + record->ArrayColumns() - 1, kMaxColumn),
                           record->Row(),
                           uint32_t(std::min<uint64_t>(uint64_t(record->Row()) + record->ArrayRows() - 1, kMaxRow))});
      it = model.erase(it);
    }
  }
}

Model Renumbered(const Model& model, bool rows, uint32_t from, int64_t shift) {
  Model out;
  for (const auto& [key, bytes] : model) {
    Bytes moved = bytes;
    CellRecord* record = AsCellRecord(moved.data());
    if (rows && key.first >= from)
      record->SetRow(uint32_t(key.first + shift));
    if (!rows && key.second >= from)
      record->SetColumn(uint16_t(key.second + shift));
    out[KeyOf(record)] = moved;
  }
  return out;
}

using Rng = TestRng;

// Mostly a small corner so that blocks fill, split and empty often; now and
// then the far edges of the grid.
uint32_t RandomRow(Rng& rng) { return rng.OneIn(9) ? kMaxRow - rng.Below(20) : rng.Below(28); }
uint16_t RandomColumn(Rng& rng) { return uint16_t(rng.OneIn(7) ? kMaxColumn - rng.Below(6) : rng.Below(12)); }

size_t RandomLength(Rng& rng, size_t longest) {
  uint32_t pick = rng.Below(100);
  size_t length = pick < 60 ? rng.Below(25) : pick < 85 ? 25 + rng.Below(400) : pick < 97 ? 400 + rng.Below(2600)
                                                                                            : 3000 + rng.Below(5174);
  return std::min(length, longest);
}

Bytes RandomCell(Rng& rng, uint32_t row, uint16_t column) {
  uint32_t kind = rng.Below(10);
  if (kind < 3)
    return Number(row, column, rng.Below(1000) / 8.0,
                  uint8_t((rng.OneIn(5) ? kCellSpillValue : 0) | (rng.OneIn(6) ? kErrorNum : 0)));
  if (kind < 6)
    return Text(row, column, RandomLength(rng, kBlockPayload - kTextCellHeadSize), rng.OneIn(5) ? kCellSpillValue : 0);
  size_t formulaLength = RandomLength(rng, 3000);
  int cached = rng.OneIn(2) ? -1 : int(RandomLength(rng, kBlockPayload - kFormulaCellHeadSize - 2 - formulaLength));
  bool array = rng.OneIn(3);
  uint16_t columns = array ? uint16_t(1 + rng.Below(3)) : 1;
  uint32_t rows = array ? rng.Below(4) : 1;
  return Formula(row, column, formulaLength, cached, columns, rows, rng.OneIn(6) ? kErrorFill : 0);
}

Rect RandomRect(Rng& rng) {
  uint32_t r1 = RandomRow(rng), r2 = rng.OneIn(6) ? RandomRow(rng) : r1 + rng.Below(4);
  uint32_t c1 = RandomColumn(rng), c2 = rng.OneIn(6) ? RandomColumn(rng) : c1 + rng.Below(4);
  return {std::min(c1, c2), std::min<uint32_t>(std::max(c1, c2), kMaxColumn), std::min(r1, r2),
          std::min<uint32_t>(std::max(r1, r2), kMaxRow)};
}

void RunRandomEdits(uint64_t seed, int steps) {
  Rng rng{seed};
  CellStore store;
  Model model;
  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    switch (rng.Below(19)) {
      case 16:
      case 17:
      case 18:
      case 0:
      case 1:
      case 2: {  // single inserts and replacements, sometimes from a cursor before the cell
        uint32_t row = RandomRow(rng);
        uint16_t column = RandomColumn(rng);
        Bytes cell = RandomCell(rng, row, column);
        CellCursor cursor;
        if (rng.OneIn(2))
          store.FindCell(row, uint16_t(rng.Below(column + 1)), &cursor);
        cursor.flags = rng.OneIn(2) ? kCursorAfterRecord : 0;
        Put(store, model, cell, &cursor);
        const CellRecord* found = store.FindCell(row, column, nullptr);
        ASSERT_NE(found, nullptr);
        break;
      }
      case 3:
      case 4: {  // a run in storage order through one cursor
        CellCursor cursor;
        cursor.flags = rng.OneIn(3) ? 0 : kCursorAfterRecord;
        uint32_t row = RandomRow(rng);
        uint16_t column = RandomColumn(rng);
        for (int i = 0, n = 1 + int(rng.Below(12)); i < n; ++i) {
          Put(store, model, RandomCell(rng, row, column), &cursor);
          column = uint16_t(column + 1 + rng.Below(3));
          if (column > kMaxColumn || rng.OneIn(4)) {
            column = uint16_t(rng.Below(4));
            if (++row > kMaxRow)
              break;
          }
        }
        break;
      }
      case 5: {  // lookups in ascending order through a cursor, and without one
        std::vector<Key> keys;
        for (int i = 0; i < 12; ++i) keys.push_back({RandomRow(rng), RandomColumn(rng)});
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        CellCursor cursor;
        cursor.flags = rng.OneIn(2) ? kCursorAfterRecord : 0;
        for (const Key& key : keys) {
          auto it = model.find(key);
          for (const CellRecord* found :
               {store.FindCell(key.first, key.second, &cursor), store.GetCell(key.first, key.second)}) {
            ASSERT_EQ(found != nullptr, it != model.end()) << key.first << "," << key.second;
            if (found) {
              EXPECT_TRUE(std::equal(it->second.begin(), it->second.end(), found->Bytes()));
            }
          }
        }
        break;
      }
      case 6:
      case 7: {  // a range walk
        Rect rect = RandomRect(rng);
        CellCursor cursor;
        cursor.flags = kCursorAfterRecord;
        cursor.block = store.FirstBlock();
        std::vector<Key> walked;
        while (const CellRecord* record = cursor.NextInRange(uint16_t(rect.firstColumn), uint16_t(rect.lastColumn),
                                                             rect.firstRow, rect.lastRow))
          walked.push_back(KeyOf(record));
        std::vector<Key> expected;
        for (const auto& entry : model)
          if (rect.Holds(entry.first))
            expected.push_back(entry.first);
        ASSERT_EQ(walked, expected);
        // The walk ends on the first cell past the rectangle.
        auto beyond = model.upper_bound({rect.lastRow, uint16_t(rect.lastColumn)});
        cursor.flags = 0;
        const CellRecord* stop = cursor.Next();
        ASSERT_EQ(stop != nullptr, beyond != model.end());
        if (stop) {
          EXPECT_EQ(KeyOf(stop), beyond->first);
        }
        break;
      }
      case 8:
      case 9: {  // rectangle deletion, from a cursor at or before its first cell
        Rect rect = RandomRect(rng);
        CellCursor cursor;
        if (rng.OneIn(2))
          store.FindCell(rect.firstRow, 0, &cursor);
        store.DeleteRange(uint16_t(rect.firstColumn), uint16_t(rect.lastColumn), rect.firstRow, rect.lastRow,
                          &cursor, rng.OneIn(2));
        DeleteFromModel(model, rect);
        break;
      }
      case 10: {  // row or column insertion, refused as a whole when a cell would leave the grid
        bool rows = rng.OneIn(2);
        uint32_t first = rows ? RandomRow(rng) : RandomColumn(rng);
        uint32_t count = rng.OneIn(5) ? 1 + rng.Below(30) : 1 + rng.Below(3);
        bool fits = true;
        for (const auto& entry : model) {
          uint32_t at = rows ? entry.first.first : entry.first.second;
          if (at >= first && at + count > (rows ? kMaxRow : kMaxColumn))
            fits = false;
        }
        bool done = rows ? store.InsertRows(first, first + count - 1)
                         : store.InsertColumns(uint16_t(first), uint16_t(first + count - 1));
        ASSERT_EQ(done, fits);
        if (done)
          model = Renumbered(model, rows, first, count);
        else
          EXPECT_EQ(store.LastError(), kCellStoreOffGrid);
        break;
      }
      case 11: {  // row or column deletion
        bool rows = rng.OneIn(2);
        uint32_t first = rows ? RandomRow(rng) : RandomColumn(rng);
        uint32_t last = std::min(first + rng.Below(3), rows ? kMaxRow : kMaxColumn);
        if (rows) {
          store.DeleteRows(first, last);
          DeleteFromModel(model, {0, kMaxColumn, first, last});
        } else {
          store.DeleteColumns(uint16_t(first), uint16_t(last));
          DeleteFromModel(model, {first, last, 0, kMaxRow});
        }
        model = Renumbered(model, rows, last + 1, -int64_t(last - first + 1));
        break;
      }
      case 12: {  // the page index of the rows in use, then lookups through it
        CellCursor cursor;
        cursor.flags = rng.OneIn(2) ? kCursorAfterRecord : 0;
        ASSERT_TRUE(store.BuildPageIndex(0, &cursor));
        ASSERT_TRUE(store.BuildPageIndex(kPageCount - 1, rng.OneIn(2) ? &cursor : nullptr));
        for (int i = 0; i < 20; ++i) {
          Key key{RandomRow(rng), RandomColumn(rng)};
          ASSERT_EQ(store.GetCell(key.first, key.second) != nullptr, model.count(key) == 1);
        }
        if (rng.OneIn(3))
          store.ClearPageIndex(rng.OneIn(2));
        break;
      }
      case 13: {  // out of memory: refused and unchanged, or done without a new block
        uint32_t row = RandomRow(rng);
        uint16_t column = RandomColumn(rng);
        Bytes cell = RandomCell(rng, row, column);
        bool done;
        {
          AllocationLimit limit(0);
          done = store.InsertCell(Record(cell), nullptr);
        }
        if (done)
          model[{row, column}] = cell;
        else
          EXPECT_EQ(store.LastError(), kCellStoreOutOfMemory);
        break;
      }
      case 14:
        store.Compact(rng.OneIn(2));
        break;
      case 15:
        if (rng.OneIn(40)) {
          store.Clear(rng.OneIn(2));
          model.clear();
        } else if (rng.OneIn(4)) {
          store.FreePool();
        }
        break;
    }
    ASSERT_TRUE(MatchesModel(store, model));
  }
}

}  // namespace

TEST(CellStore, MatchesModelUnderRandomEdits) {
  const uint64_t base = TestSeed(20240611);
  for (uint64_t seed = base; seed < base + 8; ++seed) {
    SCOPED_TRACE(SeedTrace(uint32_t(seed)));
    RunRandomEdits(seed, 3000);
    if (HasFatalFailure())
      return;
  }
}

// Four texts filling one block exactly, split so that the third cell
// (column 30) starts at the given offset; the new cell goes in at column 20.
TEST(CellStore, SplitsFullBlockAtMidpoint) {
  struct Case {
    uint16_t before;  // payload offset where the new record goes in
    std::vector<Key> firstBlock, secondBlock;
  };
  const Case cases[] = {
      {4090, {{0, 0}, {0, 10}, {0, 20}}, {{0, 30}, {0, 40}}},
      {4091, {{0, 0}, {0, 10}}, {{0, 20}, {0, 30}, {0, 40}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    for (uint8_t flags : {uint8_t(0), kCursorAfterRecord}) {
      CellStore store;
      Model model;
      size_t firstHalf = c.before - 2 * kTextCellHeadSize;
      size_t secondHalf = kBlockPayload - c.before - 2 * kTextCellHeadSize;
      Put(store, model, Text(0, 0, firstHalf / 2));
      Put(store, model, Text(0, 10, firstHalf - firstHalf / 2));
      Put(store, model, Text(0, 30, secondHalf / 2));
      Put(store, model, Text(0, 40, secondHalf - secondHalf / 2));
      ASSERT_EQ(store.BlockCount(), 1u);
      ASSERT_EQ(store.FirstBlock()->used, kBlockPayload);

      CellCursor cursor;
      cursor.flags = flags;
      Put(store, model, Number(0, 20, 1.0), &cursor);
      ASSERT_EQ(store.BlockCount(), 2u);
      EXPECT_EQ(KeysOfBlock(store.FirstBlock()), c.firstBlock);
      EXPECT_EQ(KeysOfBlock(store.FirstBlock()->next), c.secondBlock);
      // The cursor is on the new cell, or just after it.
      cursor.flags = 0;
      const CellRecord* at = cursor.Next();
      ASSERT_NE(at, nullptr);
      EXPECT_EQ(KeyOf(at), (flags ? Key{0, 30} : Key{0, 20}));
      EXPECT_TRUE(MatchesModel(store, model));
    }
  }
}

TEST(CellStore, InsertAtBlockStartAppendsToSmallerPreviousBlock) {
  struct Case {
    uint16_t splitAt;  // payload offset of column 30 in the full block
    bool toPrevious;
  };
  for (const Case& c : {Case{4091, true}, Case{4090, false}}) {
    SCOPED_TRACE(c.splitAt);
    CellStore store;
    Model model;
    size_t firstHalf = c.splitAt - 2 * kTextCellHeadSize;
    size_t secondHalf = kBlockPayload - c.splitAt - 2 * kTextCellHeadSize;
    Put(store, model, Text(0, 0, firstHalf / 2));
    Put(store, model, Text(0, 10, firstHalf - firstHalf / 2));
    Put(store, model, Text(0, 30, secondHalf / 2));
    Put(store, model, Text(0, 40, secondHalf - secondHalf / 2));
    Put(store, model, Number(0, 20, 1.0));  // splits: the blocks now differ in fill
    const CellBlock* first = store.FirstBlock();
    const CellBlock* second = first->next;
    const Key boundary = KeysOfBlock(second).front();
    ASSERT_EQ(c.toPrevious, first->used < second->used);

    // A cell between the blocks' contents.
    Bytes cell = Number(0, uint16_t(boundary.second - 1), 2.0);
    Put(store, model, cell);
    std::vector<Key> firstKeys = KeysOfBlock(first);
    std::vector<Key> secondKeys = KeysOfBlock(second);
    EXPECT_EQ(c.toPrevious ? firstKeys.back() : secondKeys.front(), KeyOf(Record(cell)));
    EXPECT_TRUE(MatchesModel(store, model));
  }
  // Before every cell: offset 0 of the first block, no previous block.
  CellStore store;
  Model model;
  Put(store, model, Text(5, 5, 3000));
  Put(store, model, Text(5, 6, 3000));
  Put(store, model, Text(5, 7, 3000));
  Put(store, model, Number(0, 0, 1.0));
  EXPECT_EQ(KeysOfBlock(store.FirstBlock()).front(), (Key{0, 0}));
  EXPECT_TRUE(MatchesModel(store, model));
}

TEST(CellStore, ReplacingSmallByLargeInFullBlockKeepsOneRecord) {
  for (int granted : {-1, 0}) {
    SCOPED_TRACE(granted);
    CellStore store;
    Model model;
    // A full block: number cells and one text that takes up the rest.
    for (uint16_t column = 0; column < 100; ++column) Put(store, model, Number(1, column, column));
    Put(store, model, Text(2, 0, kBlockPayload - 100 * kNumberCellSize - kTextCellHeadSize));
    ASSERT_EQ(store.BlockCount(), 1u);
    ASSERT_EQ(store.FirstBlock()->used, kBlockPayload);
    store.FreePool();

    Bytes large = Text(1, 50, 5000);
    AllocationLimit limit(granted);
    bool done = store.InsertCell(Record(large), nullptr);
    ASSERT_EQ(done, granted != 0);
    if (done)
      model[{1, 50}] = large;
    else
      EXPECT_EQ(store.LastError(), kCellStoreOutOfMemory);
    EXPECT_TRUE(MatchesModel(store, model));
  }
}

// Records that only fit a block on their own: the split must never write past a block.
TEST(CellStore, LargeRecordsSplitWithoutOverrun) {
  CellStore store;
  Model model;
  for (uint16_t column = 0; column < 6; ++column) Put(store, model, Text(0, uint16_t(column * 2), 2700));
  Put(store, model, Text(0, 3, 8000));
  Put(store, model, Text(0, 7, kBlockPayload - kTextCellHeadSize));
  Put(store, model, Text(0, 1, 6000));
  Put(store, model, Text(0, 9, 4200));
  EXPECT_TRUE(MatchesModel(store, model));
  // Out of memory half way through a two-block split leaves the cells unchanged.
  AllocationLimit limit(1);
  store.FreePool();
  bool done = store.InsertCell(Record(Text(0, 5, 7000)), nullptr);
  if (done)
    model[{0, 5}] = Text(0, 5, 7000);
  EXPECT_TRUE(MatchesModel(store, model));
}

TEST(CellStore, RefusesOversizeAndMalformedRecords) {
  CellStore store;
  Model model;
  Put(store, model, Number(3, 3, 1.0));
  const uint32_t blocks = store.BlockCount();

  std::vector<Bytes> refused;
  refused.push_back(Text(1, 1, kBlockPayload - kTextCellHeadSize + 1));
  refused.push_back(Formula(1, 1, 8000, 200));
  refused.push_back(Formula(1, 1, kBlockPayload - kFormulaCellHeadSize - 1, 0));
  for (uint8_t type : {0x00, 0x03, 0x05, 0x07, 0xF8}) {
    Bytes bad = Number(1, 1, 0.0);
    bad[0] = type;
    refused.push_back(bad);
  }
  refused.push_back(Number(kMaxRow + 1, 0, 0.0));
  refused.push_back(Number(0, kMaxColumn + 1, 0.0));
  for (const Bytes& cell : refused) {
    EXPECT_FALSE(store.InsertCell(Record(cell), nullptr)) << int(cell[0]);
    EXPECT_EQ(store.LastError(), kCellStoreBadRecord);
  }
  EXPECT_FALSE(store.InsertCell(nullptr, nullptr));
  EXPECT_EQ(store.BlockCount(), blocks);
  EXPECT_TRUE(MatchesModel(store, model));

  // The largest records a block can hold are taken.
  Put(store, model, Text(1, 1, kBlockPayload - kTextCellHeadSize));
  Put(store, model, Formula(2, 2, 100, int(kBlockPayload - kFormulaCellHeadSize - 2 - 100)));
  EXPECT_TRUE(MatchesModel(store, model));
}

TEST(CellStore, InsertingRowsOrColumnsOffTheGridIsRefusedAsAWhole) {
  struct Case {
    bool rows;
    uint32_t first, last, cellAt;
    bool fits;
  };
  const Case cases[] = {
      {true, 10, 12, kMaxRow - 2, false},   {true, 10, 12, kMaxRow - 3, true},
      {true, 10, 10, kMaxRow, false},       {true, kMaxRow, kMaxRow, kMaxRow, false},
      {true, 10, 12, 9, true},              {false, 5, 7, kMaxColumn - 2, false},
      {false, 5, 7, kMaxColumn - 3, true},  {false, 5, 5, 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " " + std::to_string(c.first) + ".." + std::to_string(c.last) + " cell " +
                 std::to_string(c.cellAt));
    CellStore store;
    Model model;
    Put(store, model, Number(0, 0, 1.0));
    Put(store, model, Text(20, 9, 10));
    Put(store, model, c.rows ? Number(c.cellAt, 1, 2.0) : Number(30, uint16_t(c.cellAt), 2.0));
    bool done = c.rows ? store.InsertRows(c.first, c.last) : store.InsertColumns(uint16_t(c.first), uint16_t(c.last));
    EXPECT_EQ(done, c.fits);
    if (done)
      model = Renumbered(model, c.rows, c.first, c.last - c.first + 1);
    EXPECT_TRUE(MatchesModel(store, model));
  }
}

TEST(CellStore, DeletingPartOfSpilledArrayDeletesAllOfIt) {
  enum What { kFormulaCell, kSpillValue, kFillFormula, kNestedSpill, kSpillPastGrid };
  struct Case {
    What what;
    Rect rect;
    size_t cellsLeft;
  };
  // A 3x3 array at (10, 5), a lone cell at (11, 4) and one right of the result at (10, 8).
  const Case cases[] = {
      {kFormulaCell, {5, 5, 10, 10}, 2},   // the formula alone in the rectangle takes its result
      {kFormulaCell, {0, 5, 9, 10}, 2},    //
      {kSpillValue, {6, 7, 11, 12}, 7},    // result cells go alone
      {kFillFormula, {5, 5, 10, 10}, 2},   // "#FILL!" from its first element: the extent still tells
      {kNestedSpill, {5, 5, 10, 10}, 2},   // a result holding another array takes that one's too
      {kSpillPastGrid, {kMaxColumn, kMaxColumn, 10, 10}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.what));
    CellStore store;
    Model model;
    uint16_t column = c.what == kSpillPastGrid ? uint16_t(kMaxColumn) : 5;
    Put(store, model,
        Formula(10, column, 20, -1, c.what == kSpillPastGrid ? 5 : 3, 3, c.what == kFillFormula ? kErrorFill : 0));
    for (uint32_t row = 10; row < 13; ++row)
      for (uint16_t col = column; col < column + 3 && col <= kMaxColumn; ++col)
        if (row != 10 || col != column)
          Put(store, model, Number(row, col, row * col, kCellSpillValue));
    if (c.what == kNestedSpill)  // a 2x2 array inside the result, reaching past it
      Put(store, model, Formula(12, 7, 5, -1, 2, 2));
    Put(store, model, Text(11, 4, 3));
    if (column + 3 <= kMaxColumn)
      Put(store, model, Text(10, 8, 3));
    if (c.what == kNestedSpill)
      Put(store, model, Number(13, 8, 7.0, kCellSpillValue));

    Model expected = model;
    DeleteFromModel(expected, c.rect);
    store.DeleteRange(uint16_t(c.rect.firstColumn), uint16_t(c.rect.lastColumn), c.rect.firstRow, c.rect.lastRow,
                      nullptr, true);
    EXPECT_EQ(expected.size(), c.cellsLeft);
    EXPECT_TRUE(MatchesModel(store, expected));
  }
}

// Arrays whose results hold one another, a thousand deep: one pass, no recursion.
TEST(CellStore, DeletingChainedSpillsTerminates) {
  CellStore store;
  Model model;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t i = 0; i < 1000; ++i) Put(store, model, Formula(i, uint16_t(i % 2000), 3, -1, 2, 2), &cursor);
  Put(store, model, Number(5000, 0, 1.0));
  store.DeleteRange(0, 0, 0, 0, nullptr, false);
  EXPECT_EQ(store.BlockCount(), 1u);
  EXPECT_NE(store.GetCell(5000, 0), nullptr);
  EXPECT_TRUE(MatchesModel(store, {{{5000, 0}, Number(5000, 0, 1.0)}}));
}

TEST(CellStore, UsedRange) {
  CellStore store;
  uint16_t firstColumn = 9, lastColumn = 9;
  uint32_t firstRow = 9, lastRow = 9;
  EXPECT_FALSE(store.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow));
  EXPECT_EQ(firstColumn + lastColumn + firstRow + lastRow, 0u);
  EXPECT_FALSE(store.GetUsedRange(nullptr, nullptr, nullptr, nullptr));

  Model model;
  Put(store, model, Number(4, 7, 1.0));
  Put(store, model, Number(6, 2, 1.0));
  Put(store, model, Number(9, 5, 1.0));
  ASSERT_TRUE(store.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow));
  EXPECT_EQ(firstColumn, 2);
  EXPECT_EQ(lastColumn, 7);
  EXPECT_EQ(firstRow, 4u);
  EXPECT_EQ(lastRow, 9u);
  EXPECT_TRUE(store.GetUsedRange(nullptr, &lastColumn, nullptr, nullptr));
}

TEST(CellStore, RangeWalkRightOfARowContinuesOnLaterRows) {
  CellStore store;
  Model model;
  for (uint16_t column = 0; column < 3; ++column) Put(store, model, Number(1, column, 1.0));
  for (uint16_t column = 0; column < 9; ++column) Put(store, model, Number(2, column, 2.0));
  Put(store, model, Number(3, 1, 3.0));
  Put(store, model, Number(4, 6, 4.0));

  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  std::vector<Key> walked;
  while (const CellRecord* record = cursor.NextInRange(5, 9, 1, 3)) walked.push_back(KeyOf(record));
  EXPECT_EQ(walked, (std::vector<Key>{{2, 5}, {2, 6}, {2, 7}, {2, 8}}));
  cursor.flags = 0;
  const CellRecord* stop = cursor.Next();
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(KeyOf(stop), (Key{4, 6}));

  // A cursor without a position finds nothing to walk.
  CellCursor nowhere;
  EXPECT_EQ(nowhere.NextInRange(0, kMaxColumn, 0, kMaxRow), nullptr);
}

TEST(CellStore, OutOfMemoryLeavesStoresUnchangedOrEmptied) {
  // The first block of an empty store.
  {
    CellStore store;
    AllocationLimit limit(0);
    EXPECT_FALSE(store.InsertCell(Record(Number(0, 0, 1.0)), nullptr));
    EXPECT_EQ(store.LastError(), kCellStoreOutOfMemory);
    EXPECT_FALSE(store.ReserveBlock());
    EXPECT_FALSE(store.BuildPageIndex(0, nullptr));
    EXPECT_TRUE(MatchesModel(store, {}));
  }
  CellStore source;
  Model model;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = 0; row < 40; ++row)
    for (uint16_t column = 0; column < 4; ++column) Put(source, model, Text(row, column, 200), &cursor);
  ASSERT_GE(source.BlockCount(), 4u);
  source.FreePool();

  // A split that cannot get its block.
  {
    AllocationLimit limit(0);
    EXPECT_FALSE(source.InsertCell(Record(Text(10, 9, 4000)), nullptr));
    EXPECT_TRUE(MatchesModel(source, model));
  }
  // A copy that runs dry half way is emptied again.
  {
    CellStore copy;
    Model other;
    Put(copy, other, Number(1, 1, 1.0));
    AllocationLimit limit(2);
    EXPECT_FALSE(copy.CopyFrom(&source));
    EXPECT_EQ(copy.LastError(), kCellStoreOutOfMemory);
    EXPECT_TRUE(MatchesModel(copy, {}));
    EXPECT_TRUE(MatchesModel(source, model));
  }
  // So is a gathering of rows.
  {
    CellStore target;
    std::vector<uint32_t> index(40);
    for (uint32_t i = 0; i < 40; ++i) index[i] = 39 - i;
    AllocationLimit limit(1);
    EXPECT_FALSE(source.GatherRows(0, 3, 0, 39, &target, index.data()));
    EXPECT_TRUE(MatchesModel(target, {}));
  }
}

TEST(CellStore, CompactsWhenAFifthOfTheBlocksIsFree) {
  CellStore store;
  Model model;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  // Two texts a block, then every second one deleted: blocks half empty.
  for (uint32_t row = 0; row < 600; ++row) Put(store, model, Text(row, 0, 4000), &cursor);
  const uint32_t fullBlocks = store.BlockCount();
  ASSERT_EQ(fullBlocks, 300u);
  for (uint32_t row = 1; row < 600; row += 2) {
    store.DeleteRange(0, 0, row, row, nullptr, true);
    model.erase({row, 0});
  }
  ASSERT_EQ(store.BlockCount(), fullBlocks);
  ASSERT_GE(store.FreeBytes(), kCompactionMinFreeBytes);
  ASSERT_TRUE(MatchesModel(store, model));

  CellCursor after;
  after.flags = kCursorAfterRecord;
  Put(store, model, Number(700, 3, 1.0), &after);
  EXPECT_LT(store.BlockCount(), fullBlocks / 2 + 2);
  EXPECT_EQ(store.BlockCount() + store.PoolCount(), fullBlocks);  // emptied blocks kept in the pool
  EXPECT_LT(store.FreeBytes(), 8182u);
  EXPECT_TRUE(MatchesModel(store, model));
  // The cursor is found again just after the new cell.
  EXPECT_EQ(after.Next(), nullptr);
  Put(store, model, Number(700, 4, 2.0), &after);
  EXPECT_TRUE(MatchesModel(store, model));
}

TEST(CellStore, PageIndexGivesTheSameCellsAsAPlainSearch) {
  CellStore store;
  Model model;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  // Rows across three pages, long rows spanning blocks, empty rows between.
  for (uint32_t row = 1000; row < 3100; row += 3)
    for (uint16_t column = 0; column < (row % 7 == 0 ? 60 : 2); ++column)
      Put(store, model, Text(row, uint16_t(column * 2), row % 11 == 0 ? 300 : 5), &cursor);
  // Consecutive full rows, where a walk leaves each row early.
  for (uint32_t row = 3200; row < 3240; ++row)
    for (uint16_t column = 0; column < 12; ++column) Put(store, model, Number(row, column, row), &cursor);
  Put(store, model, Number(kMaxRow, kMaxColumn, 1.0), &cursor);

  CellCursor build;
  build.flags = kCursorAfterRecord;
  for (uint32_t page = 0; page < 4; ++page) ASSERT_TRUE(store.BuildPageIndex(page, &build));
  ASSERT_TRUE(store.BuildPageIndex(kPageCount - 1, nullptr));
  // Building a page again from a cursor already inside it indexes the same rows.
  ASSERT_TRUE(store.BuildPageIndex(1, &build));
  ASSERT_TRUE(MatchesModel(store, model));  // checks every indexed entry
  for (uint32_t row = 990; row < 3110; ++row)
    for (uint16_t column : {0, 1, 2, 58, 118, 119}) {
      auto it = model.find({row, column});
      const CellRecord* found = store.GetCell(row, column);
      ASSERT_EQ(found != nullptr, it != model.end()) << row << "," << column;
    }
  EXPECT_NE(store.GetCell(kMaxRow, kMaxColumn), nullptr);
  EXPECT_EQ(store.GetCell(kMaxRow + 1, 0), nullptr);
  // Rectangle walks leave each row at the last column through the index and
  // still meet every cell of the rectangle, in order.
  struct Rectangle {
    uint16_t firstColumn, lastColumn;
    uint32_t firstRow, lastRow;
  };
  for (const Rectangle& r : {Rectangle{0, 0, 990, 3110}, Rectangle{2, 4, 1001, 2060}, Rectangle{58, 60, 1000, 3100},
                             Rectangle{1, 119, 2040, 2050}, Rectangle{3, 5, 3190, 3230}}) {
    std::vector<Key> expected, walked;
    for (const auto& [key, value] : model)
      if (key.first >= r.firstRow && key.first <= r.lastRow && key.second >= r.firstColumn &&
          key.second <= r.lastColumn)
        expected.push_back(key);
    CellCursor walk = store.StartRangeWalk(r.firstRow);
    while (const CellRecord* record = walk.NextInRange(r.firstColumn, r.lastColumn, r.firstRow, r.lastRow))
      walked.push_back(KeyOf(record));
    EXPECT_EQ(walked, expected) << r.firstColumn << "," << r.firstRow;
  }

  // An insert, even one that splits a block, keeps the index in step with
  // the records it moves; other changes drop it rather than leave it
  // pointing at moved records.
  Put(store, model, Text(1003, 1, 7000));
  EXPECT_NE(store.PageFlags(1) & kPageIndexBuilt, 0);
  EXPECT_TRUE(MatchesModel(store, model));
  EXPECT_NE(store.GetCell(1003, 2), nullptr);
  store.DeleteRange(1, 1, 1003, 1003, nullptr, false);
  EXPECT_EQ(store.PageFlags(1) & kPageIndexBuilt, 0);
  EXPECT_NE(store.GetCell(1003, 2), nullptr);
  store.ClearPageIndex(true);
  EXPECT_EQ(store.IndexPage(1), nullptr);
}

TEST(CellStore, GatherRowsReordersTheColumnSpan) {
  CellStore source;
  Model model;
  for (uint32_t row = 0; row < 10; ++row)
    for (uint16_t column = 0; column < 5; ++column)
      if ((row + column) % 3)
        Put(source, model, Text(row, column, row * 40 + column));
  ASSERT_TRUE(source.BuildPageIndex(0, nullptr));
  const uint32_t index[] = {9, 2, 2, 0, 7, 4000};  // rows may repeat or be empty

  CellStore target;
  Model old;
  Put(target, old, Number(50, 0, 1.0));  // emptied first
  ASSERT_TRUE(source.GatherRows(1, 3, 20, 25, &target, index));
  Model expected;
  for (uint32_t r = 20; r <= 25; ++r)
    for (uint16_t column = 1; column <= 3; ++column) {
      auto it = model.find({index[r - 20], column});
      if (it == model.end())
        continue;
      Bytes moved = it->second;
      AsCellRecord(moved.data())->SetRow(r);
      expected[{r, column}] = moved;
    }
  EXPECT_TRUE(MatchesModel(target, expected));
  EXPECT_TRUE(MatchesModel(source, model));
  EXPECT_FALSE(source.GatherRows(0, 1, 0, 1, &source, index));
}

// Copying clears the target first; tiling alone keeps the cells where the
// source has none.
TEST(CellStore, CopyRangeToStoreAndTileRangeFromStoreTileTheSource) {
  CellStore source;
  Model sourceCells;
  Put(source, sourceCells, Number(100, 10, 1.0));
  Put(source, sourceCells, Text(100, 11, 4));
  Put(source, sourceCells, Number(101, 11, 3.0));

  for (const bool clearFirst : {true, false}) {
    CellStore store;
    Model model;
    for (uint32_t row = 0; row < 8; ++row)
      for (uint16_t column = 0; column < 8; ++column) Put(store, model, Number(row, column, row * 8 + column));

    // A 2x2 source over columns 2..6 and rows 1..5: tiles cut at the right and bottom edges.
    if (clearFirst) {
      ASSERT_TRUE(store.CopyRangeToStore(2, 6, 1, 5, 10, 11, 100, 101, source.FirstBlock()));
      DeleteFromModel(model, {2, 6, 1, 5});
    } else {
      ASSERT_TRUE(store.TileRangeFromStore(2, 6, 1, 5, 10, 11, 100, 101, source.FirstBlock()));
    }
    for (uint32_t tileRow = 1; tileRow <= 5; tileRow += 2)
      for (uint32_t tileColumn = 2; tileColumn <= 6; tileColumn += 2)
        for (const auto& [key, bytes] : sourceCells) {
          uint32_t row = key.first - 100 + tileRow;
          uint32_t column = key.second - 10 + tileColumn;
          if (row > 5 || column > 6)
            continue;
          Bytes moved = bytes;
          AsCellRecord(moved.data())->SetRow(row);
          AsCellRecord(moved.data())->SetColumn(uint16_t(column));
          model[{row, uint16_t(column)}] = moved;
        }
    EXPECT_TRUE(MatchesModel(store, model)) << clearFirst;
    EXPECT_GT(store.PoolCount() + store.BlockCount(), 0u);

    // A reversed source rectangle would tile forever: refused.
    EXPECT_FALSE(store.CopyRangeToStore(0, 3, 0, 3, 5, 4, 0, 1, source.FirstBlock()));
    EXPECT_EQ(store.LastError(), kCellStoreBadRange);
    EXPECT_FALSE(store.TileRangeFromStore(0, 3, 0, 3, 5, 4, 0, 1, source.FirstBlock()));
    EXPECT_FALSE(store.CopyRangeToStore(0, 3, 0, 3, 0, 1, 0, 1, store.FirstBlock()));
    EXPECT_TRUE(MatchesModel(store, model)) << clearFirst;
  }
}

TEST(CellStore, CopyFromTakesTheSourcePoolFirst) {
  CellStore source;
  Model model;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = 0; row < 300; ++row) Put(source, model, Text(row, 1, 100), &cursor);
  ASSERT_TRUE(source.ReserveBlock());
  const uint32_t spare = source.PoolCount();
  ASSERT_GE(spare, 1u);

  CellStore copy;
  Model old;
  Put(copy, old, Text(1, 1, 10));
  ASSERT_TRUE(copy.CopyFrom(&source));
  EXPECT_TRUE(MatchesModel(copy, model));
  EXPECT_TRUE(MatchesModel(source, model));
  EXPECT_EQ(copy.BlockCount(), source.BlockCount());
  EXPECT_EQ(source.PoolCount(), 0u);
  EXPECT_FALSE(copy.CopyFrom(&copy));
  EXPECT_TRUE(MatchesModel(copy, model));
}

TEST(CellStore, ChainsMoveBetweenStoresAndPools) {
  CellStore store;
  Model model;
  for (uint32_t row = 0; row < 100; ++row) Put(store, model, Text(row, 0, 300));
  const uint32_t blocks = store.BlockCount();

  // Detach the chain, attach it elsewhere, and back.
  CellStore other;
  CellBlock* chain = store.FirstBlock();
  other.AttachChain(chain);
  store.AttachChain(nullptr);
  EXPECT_TRUE(MatchesModel(store, {}));
  EXPECT_EQ(other.BlockCount(), blocks);
  EXPECT_TRUE(MatchesModel(other, model));

  Model small;
  Put(store, small, Number(0, 0, 1.0));
  store.Attach(other.FirstBlock());  // the one-block chain goes to the pool
  other.AttachChain(nullptr);
  EXPECT_EQ(store.PoolCount(), 1u);
  EXPECT_TRUE(MatchesModel(store, model));

  store.UnlinkBlock(store.FirstBlock()->next, false);
  EXPECT_EQ(store.BlockCount(), blocks - 1);
  EXPECT_EQ(store.PoolCount(), 2u);
  char problem[160];
  EXPECT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;

  store.Clear(false);
  EXPECT_EQ(store.PoolCount(), blocks + 1);
  EXPECT_EQ(store.FreeBytes(), 0u);
  store.FreePool();
  EXPECT_EQ(store.PoolCount(), 0u);
  EXPECT_TRUE(MatchesModel(store, {}));

  // A detached chain handed back to a pool.
  ArrayStore arrays;
  Model values;
  for (uint32_t row = 0; row < 40; ++row) Put(arrays, values, Text(row, 0, 400));
  const uint32_t arrayBlocks = arrays.BlockCount();
  ASSERT_TRUE(arrays.PushChain(arrays.FirstBlock()));
  arrays.AttachChain(nullptr);
  for (uint32_t i = 1; i < kMaxSavedChains; ++i) ASSERT_TRUE(arrays.PushChain(nullptr));
  EXPECT_FALSE(arrays.PushChain(nullptr));
  arrays.ReleaseSavedChains();
  EXPECT_EQ(arrays.SavedCount(), 0u);
  EXPECT_EQ(arrays.PoolCount(), arrayBlocks);
  EXPECT_EQ(arrays.PopChain(), nullptr);
}

TEST(CellStore, DeleteRangeKeepsCellsBeforeTheCursor) {
  CellStore store;
  Model model;
  for (uint16_t column = 0; column < 6; ++column) Put(store, model, Number(3, column, column));
  CellCursor cursor;
  store.FindCell(3, 2, &cursor);
  store.DeleteRange(0, 4, 3, 3, &cursor, true);
  model.erase({3, 2});
  model.erase({3, 3});
  model.erase({3, 4});
  EXPECT_TRUE(MatchesModel(store, model));
  // The cursor stays usable for inserting at the deletion's start.
  Put(store, model, Number(3, 3, 9.0), &cursor);
  EXPECT_TRUE(MatchesModel(store, model));
}

TEST(CellStore, InsertFromACursorPastTheCellKeepsTheOrder) {
  // Enough rows for several blocks, so that the cursor and the cell's place
  // can lie in different blocks.
  CellStore base;
  Model baseModel;
  for (uint32_t row = 0; row < 60; ++row)
    for (uint16_t column = 0; column < 10; column = uint16_t(column + 3))
      Put(base, baseModel, Text(row, column, 40));
  const Key cursorAt[] = {{0, 3}, {20, 0}, {59, 9}, {59, 9}};
  const Key inserted[] = {{0, 1}, {0, 3}, {19, 5}, {20, 0}, {58, 9}, {59, 4}};
  for (size_t c = 0; c < std::size(cursorAt); ++c)
    for (uint8_t flags : {uint8_t(0), kCursorAfterRecord})
      for (const Key& key : inserted) {
        SCOPED_TRACE(::testing::Message() << "cursor " << cursorAt[c].first << "," << cursorAt[c].second << " flags "
                                          << int(flags) << ", cell " << key.first << "," << key.second);
        CellStore store;
        ASSERT_TRUE(store.CopyFrom(&base));
        Model model = baseModel;
        CellCursor cursor;
        cursor.flags = flags;
        // The last case leaves the cursor at the end of the chain.
        ASSERT_NE(store.FindCell(cursorAt[c].first, cursorAt[c].second, &cursor), nullptr);
        if (c + 1 == std::size(cursorAt))
          while (cursor.Next()) cursor.flags = kCursorAfterRecord;
        Put(store, model, Number(key.first, key.second, 5.0), &cursor);
        ASSERT_TRUE(MatchesModel(store, model));
      }
}

TEST(CellStore, WalksAndInsertsFromTheRowIndexAfterEditsThatInvalidateIt) {
  const uint64_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(uint32_t(seed)));
  Rng rng{seed};
  CellStore store;
  Model model;
  // Thousands of rows over many blocks: searches go through the block
  // directory or the page index, never only the head of the chain.
  for (uint32_t row = 0; row < 4000; row += 1 + rng.Below(3))
    for (uint16_t column = 0; column < 8; column = uint16_t(column + 1 + rng.Below(4)))
      Put(store, model, Text(row, column, 5 + rng.Below(40)));
  auto randomRow = [&] { return rng.Below(4100); };

  for (int step = 0; step < 400; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    if (rng.OneIn(3)) {  // index some pages, as a recalculation pass does
      for (uint32_t page = 0; page < 4; ++page) {
        if (rng.OneIn(2)) {
          ASSERT_TRUE(store.BuildPageIndex(page, nullptr));
        }
      }
    }
    switch (rng.Below(6)) {
      case 0:
      case 1: {  // typed cells: no cursor, or one left anywhere in the store
        const uint32_t row = randomRow();
        const uint16_t column = uint16_t(rng.Below(10));
        CellCursor cursor;
        if (rng.OneIn(2)) {
          cursor.flags = rng.OneIn(2) ? kCursorAfterRecord : 0;
          store.FindCell(randomRow(), uint16_t(rng.Below(10)), &cursor);
        }
        Put(store, model, rng.OneIn(8) ? Text(row, column, 1000 + rng.Below(3000)) : Number(row, column, step),
            rng.OneIn(2) ? &cursor : nullptr);
        break;
      }
      case 2: {
        const uint32_t row = randomRow();
        const uint16_t column = uint16_t(rng.Below(10));
        const Rect rect{column, column + rng.Below(4), row, row + rng.Below(rng.OneIn(4) ? 300 : 3)};
        store.DeleteRange(uint16_t(rect.firstColumn), uint16_t(rect.lastColumn), rect.firstRow, rect.lastRow,
                          nullptr, rng.OneIn(2));
        DeleteFromModel(model, rect);
        break;
      }
      case 3: {
        const uint32_t first = randomRow();
        const uint32_t count = 1 + rng.Below(5);
        if (rng.OneIn(2)) {
          ASSERT_TRUE(store.InsertRows(first, first + count - 1));
          model = Renumbered(model, true, first, count);
        } else {
          store.DeleteRows(first, first + count - 1);
          DeleteFromModel(model, {0, kMaxColumn, first, first + count - 1});
          model = Renumbered(model, true, first + count, -int64_t(count));
        }
        break;
      }
      case 4:
        store.Compact(rng.OneIn(2));
        break;
      default:
        break;  // only the index built above
    }
    ASSERT_TRUE(MatchesModel(store, model));

    for (int probe = 0; probe < 6; ++probe) {
      const Key key{randomRow(), uint16_t(rng.Below(10))};
      const CellRecord* found = store.GetCell(key.first, key.second);
      ASSERT_EQ(found != nullptr, model.count(key) == 1) << key.first << "," << key.second;
      if (found) {
        ASSERT_EQ(KeyOf(found), key);
      }
    }
    const uint32_t firstColumn = rng.Below(6);
    const uint32_t firstRow = randomRow();
    const Rect walk{firstColumn, firstColumn + rng.Below(5), firstRow, firstRow + rng.Below(9)};
    CellCursor cursor = store.StartRangeWalk(walk.firstRow);
    std::vector<Key> walked;
    while (const CellRecord* record = cursor.NextInRange(uint16_t(walk.firstColumn), uint16_t(walk.lastColumn),
                                                         walk.firstRow, walk.lastRow))
      walked.push_back(KeyOf(record));
    std::vector<Key> expected;
    Model inside;
    for (auto it = model.lower_bound({walk.firstRow, 0}); it != model.end() && it->first.first <= walk.lastRow; ++it)
      if (walk.Holds(it->first)) {
        expected.push_back(it->first);
        inside.insert(*it);
      }
    ASSERT_EQ(walked, expected);
    // A copy read from the store starts where the walk starts.
    CellStore copy;
    ASSERT_TRUE(copy.CopyRangeToStore(uint16_t(walk.firstColumn), uint16_t(walk.lastColumn), walk.firstRow,
                                      walk.lastRow, uint16_t(walk.firstColumn), uint16_t(walk.lastColumn),
                                      walk.firstRow, walk.lastRow, store));
    ASSERT_TRUE(MatchesModel(copy, inside));
  }
}

TEST(CellStore, RectangleWalksAndSearchesStepOnlyOverTheBlocksOfTheirRows) {
  CellStore store;
  FillLargeSheet(store);
  ASSERT_GT(store.BlockCount(), 300u);
  // The walk, the lookup, the copy and the insert each step over the blocks
  // of their own rows: no more than two, wherever the rows lie.
  constexpr uint64_t kMaxSteps = 2;
  for (const uint32_t firstRow : {0u, 12000u, kLargeSheetRows - 3}) {
    for (const bool indexed : {false, true}) {
      SCOPED_TRACE("row " + std::to_string(firstRow) + (indexed ? ", page indexed" : ""));
      store.ClearPageIndex(false);
      if (indexed) {
        ASSERT_TRUE(store.BuildPageIndex(firstRow / kRowsPerPage, nullptr));
      }
      const uint32_t lastRow = firstRow + 2;
      uint32_t cells = 0;
      EXPECT_LE(BlockStepsOf([&] {
                  CellCursor walk = store.StartRangeWalk(firstRow);
                  while (walk.NextInRange(1, 2, firstRow, lastRow)) ++cells;
                }),
                kMaxSteps);
      EXPECT_EQ(cells, 6u);
      const CellRecord* found = nullptr;
      EXPECT_LE(BlockStepsOf([&] { found = store.GetCell(lastRow, 7); }), kMaxSteps);
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(KeyOf(found), Key(lastRow, 7));
      CellStore copy;
      EXPECT_LE(BlockStepsOf([&] {
                  EXPECT_TRUE(copy.CopyRangeToStore(0, 7, firstRow, lastRow, 0, 7, firstRow, lastRow, store));
                }),
                kMaxSteps);
      uint32_t copied = 0;
      for (CellCursor read = copy.StartRangeWalk(0); read.Next();) ++copied;
      EXPECT_EQ(copied, 24u);
      // A column without cells in these rows (the cell inserted below lies on
      // the last one): the copy ends at the next row all the same.
      CellStore none;
      EXPECT_LE(BlockStepsOf([&] {
                  EXPECT_TRUE(none.CopyRangeToStore(9, 9, firstRow, lastRow - 1, 9, 9, firstRow, lastRow - 1, store));
                }),
                kMaxSteps);
      EXPECT_EQ(none.FirstBlock(), nullptr);
      EXPECT_LE(BlockStepsOf([&] { EXPECT_TRUE(store.InsertCell(Record(Number(lastRow, 9, 1.0)), nullptr)); }),
                kMaxSteps);
    }
  }
  EXPECT_TRUE(store.CheckInvariants());
}

// Cells written mostly in ascending order, as an array value is built, now
// and then out of order, repeated, or after another change to the store:
// appending must leave the very chain the general insert builds.
TEST(CellStore, AppendingBuildsTheSameChainAsInserting) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CellStore appended, inserted;
    CellCursor appendCursor, insertCursor;
    appendCursor.flags = insertCursor.flags = kCursorAfterRecord;
    uint32_t row = 0;
    uint16_t column = 0;
    const uint32_t width = 1 + rng.Below(30);
    const uint32_t cells = 200 + rng.Below(3000);
    for (uint32_t i = 0; i < cells; ++i) {
      if (rng.OneIn(40)) {  // back over cells already written
        row = row > 3 ? row - rng.Below(4) : 0;
        column = uint16_t(rng.Below(width));
      } else if (!rng.OneIn(50) && ++column == width) {  // else the same cell again
        column = 0;
        ++row;
      }
      // Mostly numbers, as most array values hold; texts of any length fill
      // blocks unevenly.
      const Bytes cell = rng.OneIn(3) ? RandomCell(rng, row, column) : Number(row, column, rng.Below(1000) / 4.0);
      if (rng.OneIn(200)) {
        appended.DeleteRange(0, uint16_t(width), row, row, nullptr, false);
        inserted.DeleteRange(0, uint16_t(width), row, row, nullptr, false);
        appendCursor.block = insertCursor.block = nullptr;
      }
      // A cursor holds only while every change goes through it.
      const bool withCursor = !rng.OneIn(10);
      if (!withCursor)
        appendCursor.block = nullptr;
      ASSERT_TRUE(appended.AppendCell(Record(cell), withCursor ? &appendCursor : nullptr));
      ASSERT_TRUE(inserted.InsertCell(Record(cell), &insertCursor));
    }
    char problem[160] = "";
    ASSERT_TRUE(appended.CheckInvariants(problem, sizeof problem)) << problem;
    ASSERT_TRUE(inserted.CheckInvariants(problem, sizeof problem)) << problem;
    ASSERT_EQ(appended.BlockCount(), inserted.BlockCount());
    EXPECT_EQ(appended.FreeBytes(), inserted.FreeBytes());
    for (const CellBlock *a = appended.FirstBlock(), *b = inserted.FirstBlock(); a && b; a = a->next, b = b->next) {
      ASSERT_EQ(a->used, b->used);
      ASSERT_EQ(0, std::memcmp(a->payload, b->payload, a->used));
    }
  }
}

// A cell looked up without a cursor and then placed with one: the cursor
// must land on the record (or right after it) as a search would leave it.
TEST(CellStore, PlacingACellJustLookedUpLeavesTheCursorOnIt) {
  CellStore store;
  for (uint32_t row = 0; row < 400; ++row)
    for (uint16_t column = 0; column < 30; column += uint16_t(1 + row % 3))
      ASSERT_TRUE(store.InsertCell(Record(Number(row, column, row + column / 8.0)), nullptr));
  ASSERT_GT(store.BlockCount(), 1u);
  for (uint32_t row = 0; row < 400; row += 7)
    for (uint8_t flags : {uint8_t(0), kCursorAfterRecord}) {
      const uint16_t column = uint16_t(row % 3 == 0 ? 27 : 0);
      const CellRecord* expected = store.GetCell(row, column);
      ASSERT_NE(expected, nullptr);
      CellCursor placed;
      placed.flags = flags;
      ASSERT_EQ(store.FindCell(row, column, &placed), expected);
      const uint32_t skipped = flags ? expected->Size() : 0;
      EXPECT_EQ(placed.block->payload + placed.offset, expected->Bytes() + skipped);
    }
}

// Rows like a recalculated sheet's (short inputs, long formulas, gaps),
// across pages, some indexed as a pass indexes them: the walk that answers
// in place and the filtered pass must give what the plain cursor gives,
// and leave the cursor where it leaves it.
TEST(CellStore, InPlaceWalksAndFilteredPassesMatchThePlainCursor) {
  const uint64_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(uint32_t(seed)));
  Rng rng{seed};
  CellStore store;
  Model model;
  for (uint32_t row = 0; row < 2600; row += 1 + (rng.OneIn(5) ? rng.Below(4) : 0))
    for (uint16_t column = 0; column < 23; column = uint16_t(column + 1 + (rng.OneIn(4) ? rng.Below(3) : 0))) {
      if (column < 8)
        Put(store, model, rng.OneIn(6) ? Text(row, column, 1 + rng.Below(6)) : Number(row, column, row));
      else
        Put(store, model, Formula(row, column, 10 + rng.Below(40), rng.OneIn(5) ? int(rng.Below(9)) : -1));
    }
  for (uint32_t page = 0; page < 3; ++page) {
    if (!rng.OneIn(3)) {
      ASSERT_TRUE(store.BuildPageIndex(page, nullptr));
    }
  }

  for (int trial = 0; trial < 3000; ++trial) {
    const uint32_t lastRow = rng.Below(2700);
    const uint32_t height = rng.OneIn(3) ? 1 : rng.OneIn(2) ? 5 : 1 + rng.Below(40);
    const uint32_t firstRow = lastRow >= height - 1 ? lastRow - (height - 1) : 0;
    const uint16_t firstColumn = uint16_t(rng.Below(25));
    const uint16_t lastColumn = uint16_t(firstColumn + (rng.OneIn(4) ? rng.Below(30) : rng.Below(8)));
    SCOPED_TRACE(std::to_string(firstColumn) + "-" + std::to_string(lastColumn) + " x " + std::to_string(firstRow) +
                 "-" + std::to_string(lastRow));
    CellCursor plain = store.StartRangeWalk(firstRow);
    CellCursor inPlace = rng.OneIn(4) ? StartRangeWalk(nullptr, store.FirstBlock(), firstRow) : plain;
    if (!inPlace.rows)
      plain = inPlace;
    // Every record from the chain's head on, one by one: the rectangle's
    // cells, and the first record past it, where the walk must stop.
    CellCursor reference;
    reference.flags = kCursorAfterRecord;
    reference.block = store.FirstBlock();
    const CellRecord* past = nullptr;
    for (;;) {
      const CellRecord* expected = plain.NextInRange(firstColumn, lastColumn, firstRow, lastRow);
      const CellRecord* got = NextCellInRange(inPlace, firstColumn, lastColumn, firstRow, lastRow);
      ASSERT_EQ(got, expected);
      ASSERT_EQ(inPlace.block, plain.block);
      ASSERT_EQ(inPlace.offset, plain.offset);
      const CellRecord* inside = nullptr;
      while (!inside && !past) {
        const CellRecord* next = reference.Next();
        if (!next)
          break;
        const uint32_t row = next->Row();
        const uint16_t column = next->Column();
        if (row > lastRow || (row == lastRow && column > lastColumn))
          past = next;
        else if (row >= firstRow && column >= firstColumn && column <= lastColumn)
          inside = next;
      }
      ASSERT_EQ(expected, inside);
      if (!expected) {
        if (past) {
          ASSERT_EQ(plain.block->payload + plain.offset, past->Bytes());
        } else if (plain.block) {
          ASSERT_EQ(plain.offset, plain.block->used);
        }
        break;
      }
    }
  }

  const auto uncalculatedFormula = [](const CellRecord& r) {
    return r.IsFormula() && !(r.ResultFlags() & kResultCalculated);
  };
  for (int trial = 0; trial < 200; ++trial) {
    CellCursor plain;
    plain.flags = kCursorAfterRecord;
    store.FindCell(rng.Below(2700), uint16_t(rng.Below(24)), &plain);
    CellCursor filtered = plain;
    for (uint32_t steps = 0; steps < 300; ++steps) {
      const CellRecord* expected = plain.Next();
      while (expected && !uncalculatedFormula(*expected)) expected = plain.Next();
      ASSERT_EQ(NextRecordWhere(filtered, uncalculatedFormula), expected);
      ASSERT_EQ(filtered.block, plain.block);
      ASSERT_EQ(filtered.offset, plain.offset);
      if (!expected)
        break;
    }
  }
}

// Recalculation clears result areas that are mostly empty already: such a
// deletion must keep the page index and the records in place.
TEST(CellStore, DeletingAnEmptyRectangleKeepsThePageIndex) {
  CellStore store;
  for (uint32_t row = 0; row < 300; ++row)
    for (uint16_t column = 0; column < 6; ++column)
      ASSERT_TRUE(store.InsertCell(Record(Number(row, column, row)), nullptr));
  ASSERT_TRUE(store.BuildPageIndex(0, nullptr));
  const CellRecord* kept = store.GetCell(150, 3);
  const uint64_t changes = store.ChainChanges();
  store.DeleteRange(6, 9, 100, 200, nullptr, false);
  EXPECT_EQ(store.ChainChanges(), changes);
  EXPECT_NE(store.PageFlags(0) & kPageIndexBuilt, 0);
  EXPECT_EQ(store.GetCell(150, 3), kept);
  store.DeleteRange(5, 9, 100, 100, nullptr, false);
  EXPECT_EQ(store.PageFlags(0) & kPageIndexBuilt, 0);
  EXPECT_EQ(store.GetCell(100, 5), nullptr);
  EXPECT_NE(store.GetCell(101, 5), nullptr);
  char problem[160];
  EXPECT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
}

// The store renumbers rows by a walk from the first row that moves: it must
// meet every record from that row's first on, whether the page index, the
// block directory or the chain's head finds the start, and stop where its
// visitor says.
TEST(CellStore, ForEachRecordFromARowMeetsEveryRecordFromThatRowOn) {
  const uint64_t seed = TestSeed(20261209);
  SCOPED_TRACE(SeedTrace(uint32_t(seed)));
  Rng rng{seed};
  CellStore store;
  Model model;
  for (uint32_t row = 0; row < 3000; row += 1 + rng.Below(3))
    for (uint16_t column = uint16_t(rng.Below(3)); column < 9; column = uint16_t(column + 1 + rng.Below(3)))
      Put(store, model, rng.OneIn(4) ? Text(row, column, 1 + rng.Below(12)) : Number(row, column, row));
  ASSERT_GE(store.BlockCount(), BlockDirectory::kMinBlocks);
  ASSERT_TRUE(store.BuildPageIndex(1, nullptr));
  const CellStore& readOnly = store;
  for (int trial = 0; trial < 300; ++trial) {
    const uint32_t fromRow = trial == 0 ? 0 : rng.Below(3100);
    SCOPED_TRACE(fromRow);
    std::vector<Key> met;
    ForEachRecord(
        readOnly,
        [&](const CellRecord& record) {
          met.push_back(KeyOf(&record));
          return true;
        },
        fromRow);
    std::vector<Key> expected;
    for (auto it = model.lower_bound({fromRow, 0}); it != model.end(); ++it) expected.push_back(it->first);
    ASSERT_EQ(met, expected);
  }
  uint32_t visited = 0;
  ForEachRecord(store, [&](CellRecord&) { return ++visited < 5; });
  EXPECT_EQ(visited, 5u);
}

TEST(CellStore, ForEachRecordEndsAtAMalformedRecord) {
  CellStore store;
  CellBlock* block = store.TakeDetachedBlock();
  ASSERT_NE(block, nullptr);
  uint32_t used = 0;
  for (uint32_t row = 0; row < 2; ++row) used += BuildNumberCell(block->payload + used, kNumberCellSize, row, 0, 1.0);
  block->payload[used] = 0;  // a type byte of no kind: the record has no size
  used += kNumberCellSize;
  used += BuildNumberCell(block->payload + used, kNumberCellSize, 5, 0, 1.0);
  block->used = uint16_t(used);
  store.Attach(block);
  uint32_t met = 0;
  ForEachRecord(store, [&](const CellRecord&) { return ++met != 0; });
  EXPECT_EQ(met, 2u);
}
