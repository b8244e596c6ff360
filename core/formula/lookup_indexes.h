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
// live from the pass's start to its end, are rebuilt when the store's chain
// changes (a record inserted or removed), keep at most kMaxEntries entries
// together, and are dropped when memory runs out; solvers' evaluators, which
// change their variables' cells in place, never run a pass and so never
// index.

#include <cstddef>
#include <cstdint>

class CellStore;

// The hash of a lookup's key: numbers by value (both zeros alike), texts by
// their bytes up to the first NUL, letter case folded as lookups compare.
uint64_t LookupNumberHash(double number);
uint64_t LookupTextHash(const char* text, size_t length);

class LookupIndexes {
 public:
  // Entries over all indexes of a pass, and ranges followed at once: a range
  // not yet indexed gives its place to a new one, the least recently
  // looked up first, so that ranges looked up once each never keep a table
  // looked up again and again from its index.
  static constexpr uint32_t kMaxEntries = uint32_t(1) << 22;
  static constexpr uint32_t kMaxIndexes = 64;
  // A range is indexed from its second lookup in a pass; a range whose
  // store changed this often in one pass is searched plainly after that.
  static constexpr uint32_t kLookupsBeforeIndex = 2;
  // Shorter ranges are searched plainly: an index would cost more than it
  // saves, and the few rows of a window above a formula are read fast.
  static constexpr uint32_t kMinRows = 64;
  static constexpr uint8_t kMaxBuilds = 4;

  struct Entry {
    uint64_t hash;
    uint32_t row;
  };

  LookupIndexes() = default;
  ~LookupIndexes() { Drop(); }
  LookupIndexes(const LookupIndexes&) = delete;
  LookupIndexes& operator=(const LookupIndexes&) = delete;

  // On by default; off, every lookup searches plainly (for comparing both
  // ways).
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  // A recalculation pass begins or ends: every index is dropped.
  void BeginPass();
  void EndPass();

  // The entries of rows firstRow..lastRow of the store's column whose key
  // hashes to hash, in ascending row order, as [*first, *last); false when
  // no index serves the range (off, outside a pass, fewer than kMinRows
  // rows, a range the plain search must walk, not yet looked up often
  // enough, memory or the budget ran out).
  bool Candidates(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, uint64_t hash,
                  const Entry** first, const Entry** last);
  // Indexes built over the object's life, for tests that must know the
  // indexes served.
  uint32_t BuildCount() const { return buildCount_; }

 private:
  struct Index {
    CellStore* store;
    uint32_t firstRow;
    uint32_t lastRow;
    uint16_t column;
    uint8_t builds;
    bool usable;  // false: searched plainly for the rest of the pass
    uint32_t lookups;
    uint64_t lastUse;  // the lookup count of the pass at its last lookup
    uint64_t changes;  // the store's chain changes when built
    Entry* entries;    // std::malloc; null until built
    uint32_t count;
  };

  Index* IndexOf(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow);
  bool Build(Index& index);
  void Drop();

  // kMaxIndexes places, allocated at the first lookup: most evaluators
  // never index, and the evaluator's own fields stay close together.
  Index* indexes_ = nullptr;
  uint32_t indexCount_ = 0;
  uint32_t entriesKept_ = 0;
  uint32_t buildCount_ = 0;
  uint64_t passLookups_ = 0;
  bool enabled_ = true;
  bool inPass_ = false;
};

#endif
