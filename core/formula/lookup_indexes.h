#ifndef TALVERO_CORE_FORMULA_LOOKUP_INDEXES_H
#define TALVERO_CORE_FORMULA_LOOKUP_INDEXES_H

// Exact-match lookups (VLOOKUP, MATCH and LOOKUP of type 0) search the same
// column over and over within one recalculation pass: thousands of formulas
// look their keys up in one table. A column of constants is indexed once
// for the pass, its cells' keys hashed with their rows, so that a lookup
// only considers the rows whose key hashes alike; the caller checks each of
// them as the plain search would, in row order, so the first match is the
// one the plain search finds.
//
// Only cells that cannot change inside a pass are indexed: a column whose
// range holds a formula or a spilled value is searched plainly. The indexes
// are tables of the pass (see pass_range_tables.h) with at most kMaxEntries
// entries together; solvers' evaluators, which change their variables'
// cells in place, never run a pass and so never index.

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/pass_range_tables.h"

// The hash of a lookup's key: numbers by value (both zeros alike), texts by
// their bytes up to the first NUL, letter case folded as lookups compare.
uint64_t LookupNumberHash(double number);
uint64_t LookupTextHash(const char* text, size_t length);

class LookupIndexes {
 public:
  static constexpr uint32_t kMaxEntries = uint32_t(1) << 22;
  static constexpr uint32_t kMaxIndexes = PassRangeTables::kMaxTables;
  static constexpr uint32_t kLookupsBeforeIndex = PassRangeTables::kRequestsBeforeBuild;
  static constexpr uint8_t kMaxBuilds = PassRangeTables::kMaxBuilds;
  // Shorter ranges are searched plainly: an index would cost more than it
  // saves, and the few rows of a window above a formula are read fast.
  static constexpr uint32_t kMinRows = 64;

  // The cell's place: a lookup reads the cell, and the cells after it in
  // its row, without searching the store for them.
  struct Entry {
    uint64_t hash;
    uint32_t row;
    RecordPosition at;
  };

  LookupIndexes() : tables_(kMaxEntries, kMinRows, &Fill) {}

  // On by default; off, every lookup searches plainly (for comparing both
  // ways).
  void SetEnabled(bool enabled) { tables_.SetEnabled(enabled); }
  bool Enabled() const { return tables_.Enabled(); }
  // A recalculation pass begins or ends: every index is dropped.
  void BeginPass() { tables_.BeginPass(); }
  void EndPass() { tables_.EndPass(); }

  // The entries of rows firstRow..lastRow of the store's column whose key
  // hashes to hash, in ascending row order, as [*first, *last); false when
  // no index serves the range (see PassRangeTables::Find, and a range the
  // plain search must walk).
  bool Candidates(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, uint64_t hash,
                  const Entry** first, const Entry** last);

  // The same entries read as cells, in row order, where they stand: the
  // store must not change until the last Next (checked in debug builds).
  class CandidateCells {
   public:
    // The next candidate's cell; null after the last.
    const CellRecord* Next() {
      if (next_ == end_) return nullptr;
#ifndef NDEBUG
      assert(store_->ChainChanges() == changes_ && "a store changed while its lookup index was read");
#endif
      return RecordAtPosition((next_++)->at);
    }
    // The place of the cell Next gave last: the cells right of it in its
    // row are found from there.
    RecordPosition Place() const { return next_[-1].at; }

   private:
    friend class LookupIndexes;
    const Entry* next_ = nullptr;
    const Entry* end_ = nullptr;
#ifndef NDEBUG
    const CellStore* store_ = nullptr;
    uint64_t changes_ = 0;
#endif
  };
  bool Candidates(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, uint64_t hash,
                  CandidateCells* out) {
    if (!Candidates(store, column, firstRow, lastRow, hash, &out->next_, &out->end_)) return false;
#ifndef NDEBUG
    out->store_ = store;
    out->changes_ = store->ChainChanges();
#endif
    return true;
  }
  // Indexes built over the object's life, for tests that must know the
  // indexes served.
  uint32_t BuildCount() const { return tables_.BuildCount(); }

 private:
  static bool Fill(PassRangeTables::Table& table, uint32_t budget);

  PassRangeTables tables_;
};

#endif
