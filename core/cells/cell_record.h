#ifndef TALVERO_CORE_CELL_RECORD_H
#define TALVERO_CORE_CELL_RECORD_H

// One cell packed byte by byte, little-endian, with no alignment: a type byte,
// a 16-bit column, a 32-bit row, then a text, a number or a formula. Records
// live back to back in the blocks of a CellStore and are copied whole into
// files, undo steps and the clipboard, so the byte layout is fixed. There is no
// size field: the size always follows from the type byte and the lengths.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/base/error_code.h"

#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are stored little-endian");
#endif
static_assert(std::numeric_limits<double>::is_iec559, "numbers are stored as IEEE doubles");

constexpr uint16_t kMaxColumn = 2046;
constexpr uint32_t kMaxRow = 2097151;
constexpr uint32_t kColumnCount = kMaxColumn + 1;
constexpr uint32_t kRowCount = kMaxRow + 1;

// Type byte. Exactly one of the three kind bits is set.
constexpr uint8_t kCellText = 0x01;
constexpr uint8_t kCellNumber = 0x02;
constexpr uint8_t kCellFormula = 0x04;
constexpr uint8_t kCellKindMask = 0x07;
// A value written by an array formula into its result rectangle.
constexpr uint8_t kCellSpillValue = 0x08;
// The cell's ErrorCode, 0x10 ("#DIV/0!") to 0xC0 ("#SYNTAX!").
constexpr uint8_t kCellErrorMask = 0xF0;

// Result flags of a formula cell.
constexpr uint8_t kResultCachedText = 0x01;  // a cached text follows the formula text
constexpr uint8_t kResultCachedNumber = 0x02;
constexpr uint8_t kResultArray = 0x04;
constexpr uint8_t kResultCalculated = 0x10;     // calculated in this pass
constexpr uint8_t kResultDependantWaits = 0x20;  // a dependant waits on this cell
// Put in by an automation client (PutFormula): its RTD and UDF calls are the
// client's own, made even in a document loaded from a file. Set in memory
// only: no reader ever takes it from a file.
constexpr uint8_t kResultClientFormula = 0x40;

// Recalculation state of a formula cell (its pending byte), all of it
// cleared when a pass begins and left clear when it ends.
// The cell waits on the pass's chain of formulas being calculated.
constexpr uint8_t kPendingOnChain = 0x01;
// Listed among the cells a formula on the chain gathered, and calculated
// to the very value it held when listed (which its readers read then).
constexpr uint8_t kPendingGathered = 0x40;
constexpr uint8_t kPendingStood = 0x80;

#pragma pack(push, 1)
struct CellHead {
  uint8_t type;
  uint16_t column;
  uint32_t row;
};
struct TextCellHead {
  CellHead head;
  uint16_t length;  // text bytes that follow
};
struct NumberCellLayout {
  CellHead head;
  double value;
};
struct FormulaCellHead {
  CellHead head;
  uint16_t arrayColumns;  // 1 for a formula typed into one cell
  uint32_t arrayRows;
  uint8_t pending;  // recalculation state
  uint8_t resultFlags;
  uint16_t dependantColumn;  // return link of recalculation
  uint32_t dependantRow;
  uint32_t dependantSheet;
  double cachedNumber;
  uint16_t formulaLength;  // formula text bytes that follow
};
#pragma pack(pop)

static_assert(sizeof(CellHead) == 7, "cell head layout");
static_assert(offsetof(CellHead, column) == 1 && offsetof(CellHead, row) == 3, "cell head layout");
static_assert(sizeof(TextCellHead) == 9 && offsetof(TextCellHead, length) == 7, "text cell layout");
static_assert(sizeof(NumberCellLayout) == 15 && offsetof(NumberCellLayout, value) == 7,
              "number cell layout");
static_assert(sizeof(FormulaCellHead) == 35, "formula cell layout");
static_assert(offsetof(FormulaCellHead, arrayColumns) == 7 && offsetof(FormulaCellHead, arrayRows) == 9 &&
                  offsetof(FormulaCellHead, pending) == 13 && offsetof(FormulaCellHead, resultFlags) == 14 &&
                  offsetof(FormulaCellHead, dependantColumn) == 15 &&
                  offsetof(FormulaCellHead, dependantRow) == 17 &&
                  offsetof(FormulaCellHead, dependantSheet) == 21 &&
                  offsetof(FormulaCellHead, cachedNumber) == 25 &&
                  offsetof(FormulaCellHead, formulaLength) == 33,
              "formula cell layout");

// The longest text a cell takes from typed input and from replacing: longer
// texts are cut there or refused, so that every cell's text fits the
// 1025-character buffers of editing, display and find. Records read from
// elsewhere may be longer; readers of cell texts cut them to their buffers.
constexpr uint16_t kMaxCellTextLength = 1024;

constexpr uint32_t kTextCellHeadSize = sizeof(TextCellHead);
constexpr uint32_t kNumberCellSize = sizeof(NumberCellLayout);
constexpr uint32_t kFormulaCellHeadSize = sizeof(FormulaCellHead);
constexpr uint32_t kCachedTextLengthSize = 2;

// A view of a record in place (in a block or a caller's buffer); never
// constructed, only reached through a pointer. Fields are read and written by
// byte offset so that the layout is exact on every target.
struct CellRecord {
  CellRecord() = delete;

  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }

  uint8_t Type() const { return type_; }
  void SetType(uint8_t type) { type_ = type; }
  uint8_t Kind() const { return type_ & kCellKindMask; }
  bool IsText() const { return Kind() == kCellText; }
  bool IsNumber() const { return Kind() == kCellNumber; }
  bool IsFormula() const { return Kind() == kCellFormula; }
  bool IsSpillValue() const { return (type_ & kCellSpillValue) != 0; }
  uint8_t ErrorCode() const { return type_ & kCellErrorMask; }

  uint16_t Column() const { return Load<uint16_t>(offsetof(CellHead, column)); }
  void SetColumn(uint16_t column) { Store(offsetof(CellHead, column), column); }
  uint32_t Row() const { return Load<uint32_t>(offsetof(CellHead, row)); }
  void SetRow(uint32_t row) { Store(offsetof(CellHead, row), row); }

  // Bytes of the whole record, or 0 when the type byte names no single kind.
  uint32_t Size() const {
    switch (Kind()) {
      case kCellText:
        return kTextCellHeadSize + TextLength();
      case kCellNumber:
        return kNumberCellSize;
      case kCellFormula: {
        uint32_t size = kFormulaCellHeadSize + FormulaLength();
        if (ResultFlags() & kResultCachedText)
          size += kCachedTextLengthSize + Load<uint16_t>(size);
        return size;
      }
      default:
        return 0;
    }
  }

  // Text cell.
  uint16_t TextLength() const { return Load<uint16_t>(offsetof(TextCellHead, length)); }
  const char* Text() const { return reinterpret_cast<const char*>(Bytes() + kTextCellHeadSize); }

  // Number cell.
  double Number() const { return Load<double>(offsetof(NumberCellLayout, value)); }
  void SetNumber(double value) { Store(offsetof(NumberCellLayout, value), value); }

  // Formula cell.
  uint16_t ArrayColumns() const { return Load<uint16_t>(offsetof(FormulaCellHead, arrayColumns)); }
  void SetArrayColumns(uint16_t columns) { Store(offsetof(FormulaCellHead, arrayColumns), columns); }
  uint32_t ArrayRows() const { return Load<uint32_t>(offsetof(FormulaCellHead, arrayRows)); }
  void SetArrayRows(uint32_t rows) { Store(offsetof(FormulaCellHead, arrayRows), rows); }
  uint8_t Pending() const { return Load<uint8_t>(offsetof(FormulaCellHead, pending)); }
  void SetPending(uint8_t pending) { Store(offsetof(FormulaCellHead, pending), pending); }
  uint8_t ResultFlags() const { return Load<uint8_t>(offsetof(FormulaCellHead, resultFlags)); }
  // Bit 0 (cached text) changes the record's size: keep it as the record was built.
  void SetResultFlags(uint8_t flags) { Store(offsetof(FormulaCellHead, resultFlags), flags); }
  uint16_t DependantColumn() const { return Load<uint16_t>(offsetof(FormulaCellHead, dependantColumn)); }
  void SetDependantColumn(uint16_t column) { Store(offsetof(FormulaCellHead, dependantColumn), column); }
  uint32_t DependantRow() const { return Load<uint32_t>(offsetof(FormulaCellHead, dependantRow)); }
  void SetDependantRow(uint32_t row) { Store(offsetof(FormulaCellHead, dependantRow), row); }
  uint32_t DependantSheet() const { return Load<uint32_t>(offsetof(FormulaCellHead, dependantSheet)); }
  void SetDependantSheet(uint32_t sheet) { Store(offsetof(FormulaCellHead, dependantSheet), sheet); }
  double CachedNumber() const { return Load<double>(offsetof(FormulaCellHead, cachedNumber)); }
  void SetCachedNumber(double value) { Store(offsetof(FormulaCellHead, cachedNumber), value); }
  uint16_t FormulaLength() const { return Load<uint16_t>(offsetof(FormulaCellHead, formulaLength)); }
  const char* FormulaText() const { return reinterpret_cast<const char*>(Bytes() + kFormulaCellHeadSize); }
  bool HasCachedText() const { return (ResultFlags() & kResultCachedText) != 0; }
  // Only when HasCachedText().
  uint16_t CachedTextLength() const { return Load<uint16_t>(kFormulaCellHeadSize + FormulaLength()); }
  const char* CachedText() const {
    return reinterpret_cast<const char*>(Bytes() + kFormulaCellHeadSize + FormulaLength() +
                                         kCachedTextLengthSize);
  }
  // Same length only: the record's size must not change in place.
  char* MutableCachedText() { return const_cast<char*>(CachedText()); }

  // An array formula whose result spills over more than one cell; deleting any
  // part of such a result deletes all of it. A blocked result ("#FILL!")
  // keeps an area of its own cell only, so the extent alone tells: a
  // result whose first element carries "#FILL!" may still spill.
  bool IsSpillingArrayFormula() const {
    if (!IsFormula() || !(ResultFlags() & kResultArray))
      return false;
    uint16_t columns = ArrayColumns();
    return columns > 1 || (columns == 1 && ArrayRows() > 1);
  }

 private:
  template <class T>
  T Load(size_t offset) const {
    T value;
    std::memcpy(&value, Bytes() + offset, sizeof value);
    return value;
  }
  template <class T>
  void Store(size_t offset, T value) {
    std::memcpy(Bytes() + offset, &value, sizeof value);
  }

  uint8_t type_;
};

inline CellRecord* AsCellRecord(void* bytes) { return static_cast<CellRecord*>(bytes); }
inline const CellRecord* AsCellRecord(const void* bytes) { return static_cast<const CellRecord*>(bytes); }

// The record copied to `to` with its spill-value bit cleared, so that a
// value of an array result reads as an ordinary value; returns its size
// (0, nothing copied, for a malformed record).
inline uint32_t CopyRecordWithoutSpillFlag(const CellRecord& record, void* to) {
  const uint32_t size = record.Size();
  if (size == 0)
    return 0;
  std::memcpy(to, record.Bytes(), size);
  CellRecord* copy = AsCellRecord(to);
  copy->SetType(static_cast<uint8_t>(copy->Type() & ~kCellSpillValue));
  return size;
}

// The text a cell holds as its value, its own or a formula's cached one;
// null when it holds none.
inline const char* StoredCellText(const CellRecord* cell, size_t* length) {
  if (cell->IsText()) {
    *length = cell->TextLength();
    return cell->Text();
  }
  if (cell->IsFormula() && cell->HasCachedText()) {
    *length = cell->CachedTextLength();
    return cell->CachedText();
  }
  return nullptr;
}

// Whether two records hold the same cell but for its row: the type byte,
// the column and every byte after the head alike. A malformed record (no
// size) matches none.
inline bool SameCellApartFromRow(const CellRecord& a, const CellRecord& b) {
  const uint32_t size = a.Size();
  if (size == 0 || size != b.Size())
    return false;
  constexpr size_t kRowField = offsetof(CellHead, row);
  constexpr size_t kAfterRow = sizeof(CellHead);
  return std::memcmp(a.Bytes(), b.Bytes(), kRowField) == 0 &&
         std::memcmp(a.Bytes() + kAfterRow, b.Bytes() + kAfterRow, size - kAfterRow) == 0;
}

// Record builders: they write a complete record into buffer and return its
// size, or 0 (nothing written) when it would exceed capacity. typeExtra adds
// the spill-value bit and an error code to the type byte.
uint32_t BuildTextCell(void* buffer, size_t capacity, uint32_t row, uint16_t column, const char* text,
                       uint16_t length, uint8_t typeExtra = 0);
uint32_t BuildNumberCell(void* buffer, size_t capacity, uint32_t row, uint16_t column, double value,
                         uint8_t typeExtra = 0);

struct FormulaCellFields {
  const char* formula = nullptr;  // stored form
  uint16_t formulaLength = 0;
  uint8_t resultFlags = 0;  // bit 0 is set from cachedText
  double cachedNumber = 0.0;
  const char* cachedText = nullptr;  // null: no cached text
  uint16_t cachedTextLength = 0;
  uint16_t arrayColumns = 1;
  uint32_t arrayRows = 1;
  uint8_t typeExtra = 0;
};
uint32_t BuildFormulaCell(void* buffer, size_t capacity, uint32_t row, uint16_t column,
                          const FormulaCellFields& fields);

#endif
