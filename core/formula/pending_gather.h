#ifndef TALVERO_CORE_FORMULA_PENDING_GATHER_H
#define TALVERO_CORE_FORMULA_PENDING_GATHER_H

// The formula cells not yet calculated in the pass that one evaluation read
// after the first such cell. A total above the cells it reads would
// otherwise be evaluated once per uncalculated cell it reads, each time from
// the start: the pass calculates the listed cells in their order before
// evaluating the formula again, in place of the evaluations that would each
// have found the next of them first.
//
// Every read of a cell passes through the evaluator's noting of pending
// cells, so every walk lists what it reads, whatever its handler. An
// evaluation is a function of the values it reads (an evaluation that draws
// random numbers, calls another program or tries values in cells says so,
// and its list is not used): while every listed cell taken so far is
// calculated to the value the listing evaluation read, evaluating again
// would read all it read before up to the next listed cell, and find that
// one first. Where a value changed, the next cell may still be taken when
// it was read by the same walk as the changed one and that walk reads every
// cell of its ranges whatever their values (WalkScope): nothing between
// them depends on the value; or when that walk goes on past any number and
// both values are numbers (kPlainValue); or when it is a search that stops
// at the first cell matching its key (SearchScope) and the new value does
// not match either. Anything else ends the list, and the formula is evaluated
// again.
//
// A cell stands in at most one list at a time (kPendingGathered in its
// record): the lists of a pass hold each uncalculated cell once, however
// deep the chain of formulas waiting on one another.
//
// Gathering closes for the rest of the evaluation when a cell or area it
// cannot judge is met (a spill value or a result area), a cell listed
// already is read again, an entry cannot be kept, or a handler says a value
// it reads may decide where its walk stops. The list is then a prefix of
// what the evaluation read, which is still exact.

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/base/result_check.h"
#include "core/cells/cell_store.h"

class PendingGather {
 public:
  // How the handler's walk read the cell.
  // kTameValue: the handler stops its walk when a running total is no longer
  // a number, so a cell whose value changed must be calculated to one that
  // cannot make it so (a number tame for the walk's products, see IsTame, or
  // one the handler skips) before anything after it is taken. Every other
  // value the walk reads once gathering is open (those read with the first
  // uncalculated cell included; the total before it needs no look) is
  // looked at as it is read: one that is not tame (Untame) makes the cells
  // listed after it be read as outside any walk, taken only while no value
  // changed. kGuardedByPrevious: the handler reads
  // the cell only when the entry before it (the other cell of its pair)
  // reads as a number without error; the walk listed it without reading it.
  // kPlainValue: the handler's walk goes on past a cell that reads as a
  // plain number (no error, no text, of a size the result check takes) and
  // may stop at anything else, or decide by a partner cell read with it: a
  // cell listed as such a number must be calculated to another before
  // anything after it is taken (kListedPlain, set when listed).
  static constexpr uint8_t kTameValue = 1;
  static constexpr uint8_t kGuardedByPrevious = 2;
  static constexpr uint8_t kPlainValue = 64;
  static constexpr uint8_t kListedPlain = 128;
  // kMarked: this entry set the cell's kPendingGathered, which it clears.
  // kOutsideWalk: read outside every walk that reads each cell whatever the
  // values. kWalkStart: the first entry of such a walk.
  static constexpr uint8_t kMarked = 4;
  static constexpr uint8_t kOutsideWalk = 8;
  static constexpr uint8_t kWalkStart = 16;
  // kSearched: read by a search that stops at a matching cell; the entry's
  // searches names its key.
  static constexpr uint8_t kSearched = 32;

  // A walk that stops at a bad running total may keep a budget of its terms
  // instead of bounds on each value (see StartBudget): an entry notes the
  // terms the walk read up to it that stand for the pass, and what its own
  // cell adds (its term's role). kBudgeted: the entry's walk keeps one.
  // kSmallTerm: a term below kWideTerm in size other than 0; kPositiveTerm,
  // kNegativeTerm: terms (or the total before the first listed cell) of
  // either sign; kBrokenTerms: a term the budget cannot judge.
  static constexpr uint8_t kBudgeted = 1;
  static constexpr uint8_t kSmallTerm = 2;
  static constexpr uint8_t kPositiveTerm = 4;
  static constexpr uint8_t kNegativeTerm = 8;
  static constexpr uint8_t kBrokenTerms = 16;
  static constexpr uint8_t kStartNoted = 32;  // the total at the start counted
  // 2^-969: every number at least this size is a multiple of twice the
  // smallest normal number.
  static constexpr double kWideTerm = 0x1p-969;
  // The most the terms' sizes may add up to: well below the largest number,
  // whatever the rounding of as many sums as a walk can make.
  static constexpr double kTermsBudget = 0x1p1020;
  // What the cell adds to the total: nothing of its own (kTermNone, or a
  // cell the walk reads for another purpose); itself (kTermOwn); itself
  // times a partner that stands for the pass (kTermBeside, the partner
  // kept); itself times the next entry's cell (kTermPairFirst, then
  // kTermPairSecond); its square (kTermSquare); nothing whatever its value
  // (kTermZero, beside a partner that reads as 0 or an error).
  static constexpr uint8_t kTermNone = 0;
  static constexpr uint8_t kTermOwn = 1;
  static constexpr uint8_t kTermBeside = 2;
  static constexpr uint8_t kTermPairFirst = 3;
  static constexpr uint8_t kTermPairSecond = 4;
  static constexpr uint8_t kTermSquare = 5;
  static constexpr uint8_t kTermZero = 6;

  // Whether a calculated cell's value is one the search stops at, given the
  // bytes of the key the search kept (see SearchScope).
  using SearchMatch = bool (*)(const void* key, const CellRecord* cell);

  // A listed cell. A long column lists a cell per row, and fresh memory is
  // slow to touch, so an entry is small: what the cells listed with it
  // share (their store, its chain changes count, the searches kept, the
  // walk's factors) is a place of the list's, and a budget's numbers stand
  // apart, noted only where they change (FixedBeforeAt) or where a term
  // reads one (PartnerAt). The cell's record stays where it was while its
  // store's chain changes count holds.
  struct Entry {
    const CellRecord* record;
    uint32_t rowColumn;  // the row times kColumnSpan plus the column
    // The place, and kEndsIfKept: the walk read on past the value the cell
    // held when listed, a value that stops it (see EndListIfLastKept).
    uint16_t place;
    uint8_t flags;
    // The budget's bits when listed (kBudgeted to kBrokenTerms), and the
    // cell's term role above them.
    uint8_t bits;

    uint32_t Row() const { return rowColumn / kColumnSpan; }
    uint16_t Column() const { return static_cast<uint16_t>(rowColumn % kColumnSpan); }
    uint16_t Place() const { return place & kPlaceMask; }
    bool EndsIfKept() const { return (place & kEndsIfKept) != 0; }
    uint8_t TermBits() const { return bits & kEntryTermBits; }
    uint8_t Role() const { return static_cast<uint8_t>(bits >> kRoleShift); }
  };
  static constexpr uint32_t kColumnSpan = 2048;
  static constexpr uint16_t kEndsIfKept = 0x8000;
  static constexpr uint16_t kPlaceMask = 0x7FFF;
  static constexpr uint8_t kEntryTermBits = 31;
  static constexpr uint8_t kRoleShift = 5;
  static_assert(sizeof(Entry) <= 16, "a listed cell takes little room");

  PendingGather() = default;
  ~PendingGather() { FreeRoom(); }
  PendingGather(const PendingGather&) = delete;
  PendingGather& operator=(const PendingGather&) = delete;

  // On for the pass's own evaluator while a recalculation runs, unless
  // switched off; off everywhere else. The list's room is kept for the next
  // recalculation while this one used at least a quarter of it, and given
  // back otherwise: fresh memory costs a fault per page on first touch, so
  // a pass that gathered a long column (F9, a new rate) finds its room
  // ready, and what is held stays within four times the last pass's need.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }
  void SetActive(bool active) {
    active_ = active && enabled_;
    depth_ = 0;
    flags_ = 0;
    base_ = 0;
    count_ = 0;
    placeCount_ = 0;
    fixedCount_ = 0;
    partnerCount_ = 0;
    searchCount_ = 0;
    Reset();
    if (active)
      peak_ = 0;
    else if (capacity_ / 4 > peak_)
      FreeRoom();
  }

  // A new evaluation starts with nothing gathered; what it gathers will
  // stand in the list from the base on, above what the cells below it on
  // the pass's chain keep there.
  void Reset() {
    state_ = 0;
    depth_ = 0;
    lastWalk_ = 0;
    search_ = nullptr;
  }
  // Where the next evaluations' entries stand: 0 for a formula evaluated
  // alone, the common case, which therefore sets nothing.
  void SetBase(uint32_t base) { base_ = base; }

  // A walk that reads every cell of its ranges, whatever their values, for
  // as long as the object lives: it cannot be left open by a return. The
  // outermost one open is the walk its cells are read by, and gives them
  // its note flags (kTameValue, kPlainValue; see SetNoteFlags). A walk not
  // entered (enter false) leaves the gathering as it was.
  class WalkScope {
   public:
    explicit WalkScope(PendingGather& gather, uint8_t noteFlags = 0, bool enter = true, uint8_t factors = 2)
        : gather_(enter ? &gather : nullptr), depth_(gather.depth_) {
      if (enter) gather.EnterWalk(noteFlags, factors);
    }
    // The depth it found, as a search does: an evaluation reset inside the
    // walk leaves no walk open for it to leave.
    ~WalkScope() {
      if (gather_) gather_->depth_ = depth_;
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

   private:
    PendingGather* gather_;
    uint32_t depth_;
  };
  // A walk that reads every cell of its ranges whatever their values, its
  // reads interleaved with others that are no part of it: an element-wise
  // call reads each element's cells, then runs its handler on them. Each
  // Enter to the next Pause reads for the same walk; the reads between are
  // outside it (or in the walk open around this one). Break when what came
  // between may have depended on the values read: the next Enter starts
  // another walk, so nothing after a changed value is taken across it.
  class SteppedWalk {
   public:
    explicit SteppedWalk(PendingGather& gather) : gather_(gather) {}
    void Enter() {
      depth_ = gather_.depth_;
      gather_.ResumeWalk(&walk_);
    }
    void Pause() { gather_.depth_ = depth_; }
    void Break() { walk_ = 0; }
    SteppedWalk(const SteppedWalk&) = delete;
    SteppedWalk& operator=(const SteppedWalk&) = delete;

   private:
    PendingGather& gather_;
    uint32_t depth_ = 0;
    uint32_t walk_ = 0;  // its serial once it read as the outermost walk
  };
  // A walk that reads cells in order until one matches the key, for as long
  // as the object lives: a value that changed lets it read on when the new
  // one does not match either. The key's size bytes are kept only when the
  // search lists a cell. A search inside another walk would make that walk
  // stop on a value: the evaluation lists nothing more. Without a match
  // (null), a walk that reads every cell.
  class SearchScope {
   public:
    SearchScope(PendingGather& gather, SearchMatch match, const void* key, uint32_t size, bool enter = true)
        : gather_(gather), depth_(gather.depth_), search_(gather.search_) {
      if (!enter)
        return;
      if (match)
        gather.EnterSearch(match, key, size);
      else
        gather.EnterWalk(0, 2);
    }
    ~SearchScope() { Leave(); }
    // A new search in place of this one, from the next cell read on: a walk
    // of its own, so that nothing after a cell the old key could not judge
    // is taken once a value before it changed.
    void Restart(SearchMatch match, const void* key, uint32_t size) {
      Leave();
      gather_.EnterSearch(match, key, size);
    }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

   private:
    void Leave() {
      gather_.search_ = search_;
      gather_.depth_ = depth_;
    }
    PendingGather& gather_;
    uint32_t depth_;
    SearchMatch search_;
  };
  // Whether the search that listed the entry (kSearched) stops at the cell.
  bool SearchStopsAt(const Entry& entry, const CellRecord* cell) const {
    const Search& search = searches_[places_[entry.Place()].searches - 1];
    return search.match(keys_ + search.keyAt, cell);
  }

  // The evaluation did something each evaluation does anew (drew random
  // numbers, called another program, tried values in cells): it must be
  // evaluated as often as it always was, so nothing it gathers is used.
  void Forbid() { state_ |= kForbidden; }
  bool Forbidden() const { return (state_ & kForbidden) != 0; }

  // The cell this evaluation listed last held a value that stops its walk,
  // which read on past it as though the cell, not yet calculated, were to
  // let it: the list ends there if the cell is calculated to the very value
  // it held; another value its search's match judges as ever. For a walk
  // whose stored values may be missing or of another kind (a file written
  // elsewhere), which would otherwise list one cell per evaluation.
  void EndListIfLastKept() { entries_[count_ - 1].place |= kEndsIfKept; }
  // The same for the entry at list place at (see ListedAt).
  void EndListIfKeptAt(uint32_t at) { entries_[at].place |= kEndsIfKept; }
  // Whether gathering is open and the entry at list place at is this
  // evaluation's listing of the cell given.
  bool ListedAt(uint32_t at, const CellRecord* cell) const {
    return (state_ & kOpen) && at >= base_ && at < count_ && entries_[at].record == cell;
  }

  // A handler made a reference of its arguments' values (INDIRECT's text,
  // OFFSET's shifts), whatever came of it: once such a value changes, the
  // handler reads a cell it did not read, before anything read after it.
  // An element-wise call asks after each element and breaks its walk there.
  void NoteCellsChosenByValue() { chosenByValue_ = true; }
  bool TakeCellsChosenByValue() {
    const bool chosen = chosenByValue_;
    chosenByValue_ = false;
    return chosen;
  }

  // The flags the walk gives the cells it notes next, for a handler whose
  // walk reads some cells one way and some another.
  void SetNoteFlags(uint8_t flags) { flags_ = flags; }
  bool Open() const { return (state_ & kOpen) != 0; }
  // Gathering opened and stayed open to the end of the evaluation: every
  // uncalculated cell it read after the first is listed.
  bool Complete() const { return (state_ & (kNoted | kEnded)) == kNoted; }
  // No more entries in this evaluation, once gathering opened.
  void Close() {
    if (state_ & kOpen) StopNoting();
  }
  // A value the walk read may make its running total bad (see kTameValue):
  // the cells it lists from here on are taken only while no value changed.
  void Untame() { untamedWalk_ = walk_; }
  // No entries at all from here to the end of this evaluation.
  void StopNoting() { state_ = static_cast<uint8_t>((state_ & ~kOpen) | kEnded); }

  // The first uncalculated formula cell of the evaluation was noted.
  void NoteFirst(CellStore* store, const CellRecord* cell) {
    if (!active_ || (state_ & kEnded)) return;
    count_ = base_;
    // The places, searches and numbers of the entries above the base go
    // with them. A place is looked for among the last few made, so an entry
    // below the base may use one made after its own.
    if (base_ == 0) {
      placeCount_ = 0;
    } else if (entries_[base_ - 1].Place() + kPlaceLookBack < placeCount_) {
      placeCount_ = entries_[base_ - 1].Place() + kPlaceLookBack;
    }
    searchCount_ = base_ ? places_[entries_[base_ - 1].Place()].searches : 0;
    while (fixedCount_ > 0 && fixeds_[fixedCount_ - 1].at >= base_) --fixedCount_;
    while (partnerCount_ > 0 && partners_[partnerCount_ - 1].at >= base_) --partnerCount_;
    searchKept_ = false;
    found_ = base_;
    looks_ = 0;
    state_ |= kOpen | kNoted;
    if (!Append(store, cell)) Close();
  }
  // A further one, read while gathering is open; a cell read again at once
  // (a pair of a cell with itself) is noted once, and one this evaluation
  // listed before needs no entry where ListedAgain says so. Any other one
  // listed already, by this evaluation or a formula waiting below it, ends
  // the list: a cell stands in one list at a time.
  void NoteFurther(CellStore* store, const CellRecord* cell) {
    if (count_ > base_ && entries_[count_ - 1].record == cell) {
      // Read again as a value of the walk's totals (the next pair's sum);
      // bounds set for its first partner do not hold for another.
      Entry& entry = entries_[count_ - 1];
      if (depth_ != 0) entry.flags |= flags_ & kTameValue;
      if (entry.Role() >= kTermBeside) Untame();
      return;
    }
    if (cell->Pending() & kPendingGathered) {
      if (!ListedAgain(cell)) Close();
      return;
    }
    if (!Append(store, cell)) Close();
  }

  // Whether a formula cell's value, as it stands, reads as a plain number.
  static bool IsPlainNumberCell(const CellRecord* cell) {
    return cell->ErrorCode() == 0 && !cell->HasCachedText() && !IsBadNumber(cell->CachedNumber());
  }

  // A number no running total of such numbers can turn into one the result
  // check refuses: at most about 2^33 of them, each 0 or of a magnitude
  // between 1e-140 and 1e140, stay between 1e-156 and 1e151 apart from 0;
  // their products by twos too, between 1e-280 and 1e290 (not by threes).
  static bool IsTame(double x) {
    const double magnitude = x < 0 ? -x : x;
    return magnitude == 0 || (magnitude >= 1e-140 && magnitude <= 1e140);
  }
  // The same for values multiplied by factors - 1 others before they join
  // a total: each 0 or of a magnitude between 10^-(280/factors) and
  // 10^(280/factors), their products between 1e-280 and 1e280. At most
  // 2^33 such products (and a first total of that size) sum to less than
  // 1e290, and to 0 or a multiple of an ulp of 1e-280, above the smallest
  // normal number: the total stays one the result check takes, whatever
  // order or subset of them is added. Beyond 8 factors, 10 (sound to 280).
  static bool IsTame(double x, uint8_t factors) {
    static constexpr double kLimits[9] = {1e280, 1e280, 1e140, 1e93, 1e70, 1e56, 1e46, 1e40, 1e35};
    const double limit = factors < 9 ? kLimits[factors] : 10.0;
    const double magnitude = x < 0 ? -x : x;
    return magnitude == 0 || (magnitude >= 1 / limit && magnitude <= limit);
  }

  // The walk under way keeps a budget of its terms, for a handler that
  // stops at a bad running total and says what each term it reads is: the
  // pass then takes the cells after a changed one while the terms that
  // reach them, new values included, keep every total a number (see
  // TermsKeepTotalsSound), whatever each value's size. Set once the walk is
  // entered, before it reads.
  void StartBudget() {
    fixed_ = 0;
    termBits_ = kBudgeted;
  }
  // The total before the walk's first listed cell, read by a walk that
  // keeps a budget when gathering opened in it: any number the result
  // check takes, its sign noted.
  void AddStartOfTerms(double total) {
    if (total != 0) AddFixed(total, 0);
  }
  // The same for a walk that does not follow when gathering opened: the
  // total when it first notes a term (the start, or a sum of terms noted
  // already, whose size and sign are counted twice then).
  void NoteStartOfTerms(double total) {
    if (termBits_ & kStartNoted) return;
    termBits_ |= kStartNoted;
    AddStartOfTerms(total);
  }
  // SetTermAt for the cell of one of the two last entries, given no term
  // yet (one read again adds its term once).
  bool SetTermOfRecent(const CellRecord* cell, uint8_t role) {
    for (uint32_t back = 1; back <= 2 && back <= count_; ++back)
      if (ListedAt(count_ - back, cell))
        return entries_[count_ - back].Role() == kTermNone && SetTermAt(count_ - back, cell, role);
    return false;
  }
  // A term of values that stand for the pass, read while gathering is open.
  void AddTerm(double term) {
    if (term != 0) AddFixed(term, (term < kWideTerm && term > -kWideTerm) ? kSmallTerm : 0);
  }
  // The cell of the entry at list place at, read as the walk's cell given,
  // adds to the total as role says; false, nothing set, when gathering
  // closed or the entry is not that cell's (listed before, its term then
  // its first reading's).
  bool SetTermAt(uint32_t at, const CellRecord* cell, uint8_t role, double partner = 0) {
    if (!ListedAt(at, cell)) return false;
    if (role == kTermBeside && !KeepPartner(at, partner)) return false;
    entries_[at].bits = static_cast<uint8_t>((entries_[at].bits & kEntryTermBits) | (role << kRoleShift));
    return true;
  }
  // Whether every total of a walk whose terms have the bits given and sizes
  // adding up to sizes stays a number the result check takes, each term
  // being one, whatever their order and signs: while no term is small, every
  // total past the first term of size is 0 or a normal number; with small
  // terms, all of one sign (and the total at the start too) never fall
  // below the largest of them; and the sizes keep every total finite.
  static bool TermsKeepTotalsSound(uint8_t bits, double sizes) {
    if (bits & kBrokenTerms) return false;
    if ((bits & kSmallTerm) && (bits & kPositiveTerm) && (bits & kNegativeTerm)) return false;
    return sizes <= kTermsBudget;
  }
  // The bits a term of the size given adds to a budget; kBrokenTerms for
  // one the result check refuses.
  static uint8_t TermBits(double term) {
    if (term == 0) return 0;
    if (IsBadNumber(term)) return kBrokenTerms;
    return static_cast<uint8_t>((term > 0 ? kPositiveTerm : kNegativeTerm) |
                                ((term < kWideTerm && term > -kWideTerm) ? kSmallTerm : 0));
  }

  // The store of the entry's cell.
  CellStore* StoreOf(const Entry& entry) const { return places_[entry.Place()].store; }
  // The factors of the products of the walk that listed the entry (see IsTame).
  uint8_t FactorsOf(const Entry& entry) const { return places_[entry.Place()].factors; }
  // The entry's cell record, looked up again only when records moved.
  CellRecord* RecordOf(const Entry& entry) const {
    const Place& place = places_[entry.Place()];
    if (place.store->ChainChanges() == place.changes) return const_cast<CellRecord*>(entry.record);
    return place.store->GetCell(entry.Row(), entry.Column());
  }
  // For the entry at list place at, of a walk that keeps a budget: the
  // sizes of the terms read before its cell that stand for the pass, the
  // total before the first listed cell among them, added up.
  double FixedBeforeAt(uint32_t at) const {
    const uint32_t found = NumberAt(fixeds_, fixedCount_, at, &fixedHint_);
    return found < fixedCount_ && fixeds_[found].at == at ? fixeds_[found].number
           : found > 0                                    ? fixeds_[found - 1].number
                                                          : 0.0;
  }
  // For the entry at list place at, of role kTermBeside: its partner's value.
  double PartnerAt(uint32_t at) const {
    const uint32_t found = NumberAt(partners_, partnerCount_, at, &partnerHint_);
    return found < partnerCount_ && partners_[found].at == at ? partners_[found].number : 0.0;
  }
  // Entries from..to-1 leave the list: the cells they marked are no longer
  // listed.
  void Unmark(uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i)
      if (entries_[i].flags & kMarked) ClearMark(entries_[i]);
  }
  void ClearMark(const Entry& entry) const {
    if (CellRecord* cell = RecordOf(entry))
      cell->SetPending(static_cast<uint8_t>(cell->Pending() & ~(kPendingGathered | kPendingStood)));
  }

  // Gathered cells the pass took in place of an evaluation, over the
  // object's life: for tests that must know gathering served.
  void NoteTaken() { ++taken_; }
  uint64_t TakenCount() const { return taken_; }
  // The most entries the lists held at once in the recalculation under way
  // or the last one, and the room they hold now: for tests of their memory.
  uint32_t PeakCount() const { return peak_; }
  uint32_t Capacity() const { return capacity_; }

  // This evaluation's entries: list places First() to End(), none unless
  // it noted a first cell. The list's room may move at the next entry
  // noted, so Entries() is read again after any evaluation.
  uint32_t First() const { return base_; }
  uint32_t End() const { return (state_ & kNoted) ? count_ : base_; }
  const Entry* Entries() const { return entries_; }

 private:
  // What the entries listed with one another share.
  struct Place {
    CellStore* store;
    uint64_t changes;
    uint32_t searches;  // the searches kept, the entry's own the last
    uint8_t factors;
  };
  // A number of the entry at list place at.
  struct Number {
    uint32_t at;
    double number;
  };

  void AddFixed(double term, uint8_t small) {
    fixed_ += term < 0 ? -term : term;
    termBits_ = static_cast<uint8_t>(termBits_ | small | (term > 0 ? kPositiveTerm : kNegativeTerm));
  }

  void EnterWalk(uint8_t noteFlags, uint8_t factors) {
    if (depth_++ == 0) {
      flags_ = noteFlags;
      factors_ = factors;
      termBits_ = 0;
      walk_ = NewWalk();
    }
  }
  // The walk of serial *walk again (a new one when 0), outermost, or the
  // walk open around it.
  void ResumeWalk(uint32_t* walk) {
    if (depth_++ == 0) {
      flags_ = 0;
      factors_ = 2;
      termBits_ = 0;
      if (*walk == 0) *walk = NewWalk();
      walk_ = *walk;
    }
  }
  uint32_t NewWalk() {
    if (++walks_ == 0) walks_ = 1;
    return walks_;
  }
  void EnterSearch(SearchMatch match, const void* key, uint32_t size) {
    if (depth_ != 0) StopNoting();
    EnterWalk(0, 2);
    search_ = match;
    searchKey_ = key;
    searchKeySize_ = size;
    searchKept_ = false;
  }

  // Whether the cell, listed already, was listed by this evaluation and is
  // read again outside every walk or by a walk that reads every cell
  // whatever the values (RANK's value after its list, a list read again
  // from its start): taken before the pass reaches this read, it is then
  // calculated, and a value of its that changed made the list diverge at
  // its entry. Looked for from the entry after the one found last, within
  // twice as many looks per evaluation as it has entries, so that no
  // evaluation spends more than its list is long.
  bool ListedAgain(const CellRecord* cell) {
    if (depth_ != 0 && (flags_ != 0 || search_)) return false;
    const uint32_t listed = count_ - base_;
    uint32_t i = found_ < count_ ? found_ : base_;
    for (uint32_t n = 0; n < listed; ++n) {
      if (looks_ > 2 * listed + 64) return false;
      ++looks_;
      if (entries_[i].record == cell) {
        found_ = i + 1;
        return true;
      }
      if (++i == count_) i = base_;
    }
    return false;
  }

  bool Append(CellStore* store, const CellRecord* cell) {
    const uint32_t row = cell->Row();
    const uint16_t column = cell->Column();
    if (row > UINT32_MAX / kColumnSpan || column >= kColumnSpan ||
        !Grow(reinterpret_cast<void**>(&entries_), &capacity_, count_ + 1, sizeof(Entry)))
      return false;
    uint8_t flags = flags_;
    if (depth_ == 0) {
      flags = kOutsideWalk;
    } else {
      if (walk_ != lastWalk_) {
        flags |= kWalkStart;
        lastWalk_ = walk_;
      }
      if (untamedWalk_ == walk_) flags |= kOutsideWalk;
    }
    if ((flags & kPlainValue) && IsPlainNumberCell(cell)) flags |= kListedPlain;
    if (search_ && depth_ == 1) {
      if (!searchKept_ && !KeepSearch()) return false;
      flags |= kSearched;
    }
    uint16_t place = 0;
    if (!PlaceOf(store, &place) || !NoteFixed()) return false;
    // The mark is the pass's bookkeeping in the record, not its value.
    if (!(cell->Pending() & kPendingGathered)) {
      const_cast<CellRecord*>(cell)->SetPending(static_cast<uint8_t>(cell->Pending() | kPendingGathered));
      flags |= kMarked;
    }
    entries_[count_] = Entry{cell, row * kColumnSpan + column, place, flags,
                             static_cast<uint8_t>(termBits_ & kEntryTermBits)};
    ++count_;
    if (count_ > peak_) peak_ = count_;
    return true;
  }

  // For the entry about to be listed, of a walk that keeps a budget, its
  // fixed sizes where they differ from those noted last, or where none of
  // this evaluation's are noted yet.
  bool NoteFixed() {
    if (!(termBits_ & kBudgeted)) return true;
    if (fixedCount_ > 0 && fixeds_[fixedCount_ - 1].at >= base_ &&
        std::memcmp(&fixeds_[fixedCount_ - 1].number, &fixed_, sizeof fixed_) == 0)
      return true;
    if (!Grow(reinterpret_cast<void**>(&fixeds_), &fixedCapacity_, fixedCount_ + 1, sizeof(Number))) return false;
    fixeds_[fixedCount_++] = Number{count_, fixed_};
    return true;
  }

  // The place of the store as its chain now stands, with the searches kept
  // and the walk's factors: one of the last few made, or a new one; false
  // when there is no room for one.
  bool PlaceOf(CellStore* store, uint16_t* place) {
    const uint64_t changes = store->ChainChanges();
    for (uint32_t back = 1; back <= kPlaceLookBack && back <= placeCount_; ++back) {
      const Place& kept = places_[placeCount_ - back];
      if (kept.store == store && kept.changes == changes && kept.searches == searchCount_ && kept.factors == factors_) {
        *place = static_cast<uint16_t>(placeCount_ - back);
        return true;
      }
    }
    if (placeCount_ > kPlaceMask ||
        !Grow(reinterpret_cast<void**>(&places_), &placeCapacity_, placeCount_ + 1, sizeof(Place)))
      return false;
    places_[placeCount_] = Place{store, changes, searchCount_, factors_};
    *place = static_cast<uint16_t>(placeCount_++);
    return true;
  }
  static constexpr uint32_t kPlaceLookBack = 2;

  // Where the number of the entry at list place at stands, or would stand,
  // among count numbers kept in list order: the first at or after it. The
  // pass reads them in list order, so the place after the one found last
  // (hint, set to the place found) is looked at first.
  static uint32_t NumberAt(const Number* numbers, uint32_t count, uint32_t at, uint32_t* hint) {
    uint32_t low = 0;
    uint32_t high = count;
    const uint32_t guess = *hint;
    if (guess <= count && (guess == 0 || numbers[guess - 1].at < at)) {
      low = guess;
      if (guess == count || numbers[guess].at >= at) high = guess;
      else if (guess + 1 == count || numbers[guess + 1].at >= at) low = high = guess + 1;
    }
    while (low < high) {
      const uint32_t middle = low + (high - low) / 2;
      if (numbers[middle].at < at)
        low = middle + 1;
      else
        high = middle;
    }
    *hint = low;
    return low;
  }
  // The partner's value for the entry at list place at, in place of one
  // kept for it before. Entries are given their terms as they are listed,
  // so it goes at or near the end.
  bool KeepPartner(uint32_t at, double partner) {
    uint32_t found = partnerCount_;
    if (found > 0 && partners_[found - 1].at >= at) found = NumberAt(partners_, partnerCount_, at, &partnerHint_);
    if (found < partnerCount_ && partners_[found].at == at) {
      partners_[found].number = partner;
      return true;
    }
    if (!Grow(reinterpret_cast<void**>(&partners_), &partnerCapacity_, partnerCount_ + 1, sizeof(Number)))
      return false;
    if (found < partnerCount_)
      std::memmove(&partners_[found + 1], &partners_[found], (partnerCount_ - found) * sizeof(Number));
    partners_[found] = Number{at, partner};
    ++partnerCount_;
    return true;
  }

  // The search under way's key, copied after the keys of the searches
  // below it, aligned for any field.
  bool KeepSearch() {
    const uint32_t at = searchCount_ ? searches_[searchCount_ - 1].keyEnd : 0;
    const uint32_t end = at + ((searchKeySize_ + 7u) & ~7u);
    if (end < at || !Grow(reinterpret_cast<void**>(&keys_), &keyCapacity_, end, 1) ||
        !Grow(reinterpret_cast<void**>(&searches_), &searchCapacity_, searchCount_ + 1, sizeof(Search)))
      return false;
    std::memcpy(keys_ + at, searchKey_, searchKeySize_);
    searches_[searchCount_++] = Search{search_, at, end};
    searchKept_ = true;
    return true;
  }
  // Room for needed items of size bytes, doubling; false, the room as it
  // was, when it cannot grow (or its size would not fit the address space).
  // The check alone is inline: it runs for every cell listed.
  static bool Grow(void** room, uint32_t* capacity, uint32_t needed, size_t size) {
    return needed <= *capacity || GrowRoom(room, capacity, needed, size);
  }
  static bool GrowRoom(void** room, uint32_t* capacity, uint32_t needed, size_t size) {
    uint32_t grown = *capacity ? *capacity : 256;
    while (grown < needed) {
      if (grown > UINT32_MAX / 2) return false;
      grown *= 2;
    }
    if (grown > SIZE_MAX / size) return false;
    void* moved = std::realloc(*room, size * grown);
    if (!moved) return false;
    *room = moved;
    *capacity = grown;
    return true;
  }

  template <typename Item>
  static void FreeList(Item** room, uint32_t* capacity) {
    std::free(*room);
    *room = nullptr;
    *capacity = 0;
  }
  void FreeRoom() {
    FreeList(&entries_, &capacity_);
    FreeList(&places_, &placeCapacity_);
    FreeList(&fixeds_, &fixedCapacity_);
    FreeList(&partners_, &partnerCapacity_);
    FreeList(&searches_, &searchCapacity_);
    FreeList(&keys_, &keyCapacity_);
  }

  struct Search {
    SearchMatch match;
    uint32_t keyAt;
    uint32_t keyEnd;
  };

  static constexpr uint8_t kOpen = 1;
  static constexpr uint8_t kEnded = 2;
  static constexpr uint8_t kForbidden = 4;
  static constexpr uint8_t kNoted = 8;  // this evaluation's entries stand in the list

  Entry* entries_ = nullptr;
  Place* places_ = nullptr;
  uint32_t placeCount_ = 0;
  uint32_t placeCapacity_ = 0;
  // A budget's fixed sizes where they change, and the partners of terms
  // beside one, in list order.
  Number* fixeds_ = nullptr;
  uint32_t fixedCount_ = 0;
  uint32_t fixedCapacity_ = 0;
  Number* partners_ = nullptr;
  uint32_t partnerCount_ = 0;
  uint32_t partnerCapacity_ = 0;
  mutable uint32_t fixedHint_ = 0;  // where NumberAt found the last one read
  mutable uint32_t partnerHint_ = 0;
  uint64_t taken_ = 0;
  uint32_t base_ = 0;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  uint32_t peak_ = 0;
  uint32_t depth_ = 0;
  uint32_t walks_ = 0;     // the last serial given to a walk
  uint32_t walk_ = 0;      // the outermost walk's serial, never 0
  uint32_t lastWalk_ = 0;  // the walk of this evaluation's last entry
  uint32_t untamedWalk_ = 0;  // the last walk that read a value not tame
  Search* searches_ = nullptr;
  uint32_t found_ = 0;  // the entry after the one ListedAgain found last
  uint32_t looks_ = 0;  // ListedAgain's looks in this evaluation
  uint32_t searchCount_ = 0;
  uint32_t searchCapacity_ = 0;
  uint8_t* keys_ = nullptr;
  uint32_t keyCapacity_ = 0;
  SearchMatch search_ = nullptr;  // the search under way
  const void* searchKey_ = nullptr;
  uint32_t searchKeySize_ = 0;
  bool searchKept_ = false;  // its key kept for this evaluation's entries
  bool chosenByValue_ = false;  // see NoteCellsChosenByValue
  double fixed_ = 0;       // the sizes of the budget's terms so far
  uint8_t termBits_ = 0;   // its bits (kBudgeted...)
  uint8_t flags_ = 0;
  uint8_t factors_ = 2;
  uint8_t state_ = 0;
  bool enabled_ = true;
  bool active_ = false;
};

#endif
