#ifndef TALVERO_CORE_FORMULA_PENDING_GATHER_H
#define TALVERO_CORE_FORMULA_PENDING_GATHER_H

// The formula cells not yet calculated in the pass that one evaluation read
// after the first such cell, while the handler walking them reads every cell
// of its ranges whatever their values. A total above the column it sums
// would otherwise be evaluated once per uncalculated cell it reads, each time
// from the start: the pass calculates the gathered cells in their order
// before evaluating the formula again, which is the order those evaluations
// would have found them in.
//
// Gathering opens only when the first uncalculated cell is noted inside a
// walk scope (GatherWalk), and closes for the rest of the evaluation when that
// scope ends, when a cell or area it cannot judge is met (a spill value or a
// result area), when an entry cannot be kept, or when the handler says a
// value it reads may decide where its walk stops. The list is then a prefix
// of what the walk would note, which is still exact.

#include <cstdint>
#include <cstdlib>

#include "core/cells/cell_store.h"

class PendingGather {
 public:
  // Each entry after the first names a cell noted after it in the walk.
  // kTameValue: the handler stops its walk when a running total is no longer
  // a number, so the cell's value, once calculated, must be one that cannot
  // make it so (a plain number of ordinary size, or one the handler skips)
  // before anything after it is taken. kGuardedByPrevious: the handler reads
  // the cell only when the entry before it (the other cell of its pair)
  // reads as a number without error.
  static constexpr uint8_t kTameValue = 1;
  static constexpr uint8_t kGuardedByPrevious = 2;

  // The cell's record stays where it was while its store's chain changes
  // count holds.
  struct Entry {
    CellStore* store;
    const CellRecord* record;
    uint64_t changes;
    uint32_t row;
    uint16_t column;
    uint8_t flags;
    uint8_t unused;
  };

  PendingGather() = default;
  ~PendingGather() { std::free(entries_); }
  PendingGather(const PendingGather&) = delete;
  PendingGather& operator=(const PendingGather&) = delete;

  // On for the pass's own evaluator while a recalculation runs, unless
  // switched off; off everywhere else.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }
  void SetActive(bool active) {
    active_ = active && enabled_;
    depth_ = 0;
    openDepth_ = 0;
    flags_ = 0;
    base_ = 0;
    Reset();
  }

  // A new evaluation starts with nothing gathered; what it gathers will
  // stand in the list from the base on, above what the cells below it on
  // the pass's chain keep there.
  void Reset() { state_ = 0; }
  // Where the next evaluations' entries stand: 0 for a formula evaluated
  // alone, the common case, which therefore sets nothing.
  void SetBase(uint32_t base) { base_ = base; }

  // A walk that reads every cell of its ranges, whatever their values.
  void EnterWalk() { ++depth_; }
  void LeaveWalk() {
    // openDepth_ is 0 unless gathering is open, and a walk's depth never is.
    if (depth_-- == openDepth_) Close();
  }

  // The evaluation did something each evaluation does anew (drew random
  // numbers, called another program, tried values in cells): it must be
  // evaluated as often as it always was, so nothing it gathers is used.
  void Forbid() { state_ |= kForbidden; }
  bool Forbidden() const { return (state_ & kForbidden) != 0; }

  // The flags the walk gives the cells it notes next; 0 outside the walks
  // that set them (GatherWalk with flags).
  void SetNoteFlags(uint8_t flags) { flags_ = flags; }
  bool Open() const { return (state_ & kOpen) != 0; }
  // No more entries in this evaluation.
  void Close() {
    if (!(state_ & kOpen)) return;
    state_ = static_cast<uint8_t>((state_ & ~kOpen) | kEnded);
    openDepth_ = 0;
  }

  // The first uncalculated formula cell of the evaluation was noted.
  void NoteFirst(CellStore* store, const CellRecord* cell) {
    if (!active_ || depth_ == 0 || (state_ & kEnded)) return;
    count_ = base_;
    state_ |= kOpen | kNoted;
    openDepth_ = depth_;
    if (!Append(store, cell)) Close();
  }
  // A further one, read while gathering is open; a cell read again at once
  // (a pair of a cell with itself) is noted once.
  void NoteFurther(CellStore* store, const CellRecord* cell) {
    if (count_ > base_ && entries_[count_ - 1].record == cell) return;
    if (!Append(store, cell)) Close();
  }

  // A number no running total of such numbers can turn into one the result
  // check refuses: at most about 2^33 of them, each 0 or of a magnitude
  // between 1e-140 and 1e140, stay between 1e-156 and 1e151 apart from 0;
  // their products by twos too, between 1e-280 and 1e290.
  static bool IsTame(double x) {
    const double magnitude = x < 0 ? -x : x;
    return magnitude == 0 || (magnitude >= 1e-140 && magnitude <= 1e140);
  }

  // Gathered cells the pass took in place of an evaluation, over the
  // object's life: for tests that must know gathering served.
  void NoteTaken() { ++taken_; }
  uint64_t TakenCount() const { return taken_; }

  // This evaluation's entries: list places First() to End(), none unless
  // it noted a first cell inside a walk. The list's room may move at the
  // next entry noted, so Entries() is read again after any evaluation.
  uint32_t First() const { return base_; }
  uint32_t End() const { return (state_ & kNoted) ? count_ : base_; }
  const Entry* Entries() const { return entries_; }

 private:
  bool Append(CellStore* store, const CellRecord* cell) {
    if (count_ == capacity_) {
      const uint32_t grown = capacity_ ? capacity_ * 2 : 256;
      if (grown < capacity_) return false;
      auto* moved = static_cast<Entry*>(std::realloc(entries_, sizeof(Entry) * size_t(grown)));
      if (!moved) return false;
      entries_ = moved;
      capacity_ = grown;
    }
    entries_[count_++] = Entry{store, cell, store->ChainChanges(), cell->Row(), cell->Column(), flags_, 0};
    return true;
  }

  static constexpr uint8_t kOpen = 1;
  static constexpr uint8_t kEnded = 2;
  static constexpr uint8_t kForbidden = 4;
  static constexpr uint8_t kNoted = 8;  // this evaluation's entries stand in the list

  Entry* entries_ = nullptr;
  uint64_t taken_ = 0;
  uint32_t base_ = 0;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  uint32_t depth_ = 0;
  uint32_t openDepth_ = 0;
  uint8_t flags_ = 0;
  uint8_t state_ = 0;
  bool enabled_ = true;
  bool active_ = false;
};

// The scope of one such walk.
class GatherWalk {
 public:
  explicit GatherWalk(PendingGather& gather) : gather_(gather) { gather_.EnterWalk(); }
  ~GatherWalk() { gather_.LeaveWalk(); }
  GatherWalk(const GatherWalk&) = delete;
  GatherWalk& operator=(const GatherWalk&) = delete;

 private:
  PendingGather& gather_;
};

// The same for a walk that gives the cells it notes flags, which end with it.
class FlaggedGatherWalk {
 public:
  FlaggedGatherWalk(PendingGather& gather, uint8_t flags) : walk_(gather), gather_(gather) {
    gather_.SetNoteFlags(flags);
  }
  ~FlaggedGatherWalk() { gather_.SetNoteFlags(0); }
  FlaggedGatherWalk(const FlaggedGatherWalk&) = delete;
  FlaggedGatherWalk& operator=(const FlaggedGatherWalk&) = delete;

 private:
  GatherWalk walk_;
  PendingGather& gather_;
};

#endif
