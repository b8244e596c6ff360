#ifndef TALVERO_CORE_FORMULA_PASS_RANGE_TABLES_H
#define TALVERO_CORE_FORMULA_PASS_RANGE_TABLES_H

// Tables a recalculation pass builds over one column range of a store and
// reads again and again: thousands of formulas look keys up in one table
// or walk one whole column. A range is tabled from its second request in a
// pass (a range asked once costs no table), rebuilt when the store's chain
// changes (a record inserted, removed or moved), read plainly after
// kMaxBuilds builds, and every table is dropped at the pass's start and
// end. All tables of one owner hold at most its budget of entries together
// and are left out when memory runs out: the caller then reads the range
// plainly, as it does outside a pass.
//
// A table names records in place (their addresses or places in blocks),
// and Find checks the store's chain only when it is asked. So nothing may
// change the store between a table's Find and the last read through it in
// one handler: a handler reads its arguments' cells and changes no store
// while it does. Readers of a table keep the store's chain change count
// seen at Find and, in debug builds, assert at each step that it holds
// (RangeWalk's listed mode, LookupIndexes::CandidateCells).

#include <cstdint>

class CellStore;

class PassRangeTables {
 public:
  // Ranges followed at once: a range not yet tabled gives its place to a new
  // one, the least recently asked first, so that ranges asked once each
  // never push out a table asked again and again.
  static constexpr uint32_t kMaxTables = 64;
  static constexpr uint32_t kRequestsBeforeBuild = 2;
  static constexpr uint8_t kMaxBuilds = 4;

  struct Table {
    CellStore* store;
    uint32_t firstRow;
    uint32_t lastRow;
    uint16_t column;
    uint8_t builds;
    bool usable;  // false: read plainly for the rest of the pass
    uint32_t requests;
    uint64_t lastUse;  // the request count of the pass at its last request
    uint64_t changes;  // the store's chain changes when built
    void* entries;     // std::malloc; null until built
    uint32_t count;
  };
  // Fills table.entries (std::malloc) and table.count for the table's range
  // with at most budget entries; false when the range cannot be tabled.
  using Fill = bool (*)(Table& table, uint32_t budget);

  // Ranges of fewer than minRows rows are never tabled: the few rows near a
  // formula are read faster than a table is built.
  PassRangeTables(uint32_t maxEntries, uint32_t minRows, Fill fill)
      : maxEntries_(maxEntries), minRows_(minRows), fill_(fill) {}
  ~PassRangeTables() { Drop(); }
  PassRangeTables(const PassRangeTables&) = delete;
  PassRangeTables& operator=(const PassRangeTables&) = delete;

  // On by default; off, every range is read plainly (for comparing both ways).
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void BeginPass();
  void EndPass();

  // The range's table, built or built again as needed; null when none
  // serves (off, outside a pass, a short range, not yet asked often enough,
  // a range the fill refused, memory or the budget ran out).
  const Table* Find(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow);
  // Tables built over the object's life, for tests that must know they served.
  uint32_t BuildCount() const { return buildCount_; }

 private:
  Table* TableOf(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow);
  bool Build(Table& table);
  void Drop();

  const uint32_t maxEntries_;
  const uint32_t minRows_;
  const Fill fill_;
  // kMaxTables places, allocated at the first request: most evaluators never
  // table a range, and the evaluator's own fields stay close together.
  Table* tables_ = nullptr;
  uint32_t tableCount_ = 0;
  uint32_t entriesKept_ = 0;
  uint32_t buildCount_ = 0;
  uint64_t passRequests_ = 0;
  bool enabled_ = true;
  bool inPass_ = false;
};

#endif
