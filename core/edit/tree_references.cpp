#include "core/edit/tree_references.h"

#include <cstring>
#include <new>

#include "core/base/bounded_text.h"
#include "core/edit/reference_adjust.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_form_lengths.h"
#include "core/formula/formula_literal_print.h"
#include "core/formula/formula_qualifiers.h"
#include "core/formula/formula_ref_text.h"
#include "core/model/chart_record.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// A series' text takes what a cell formula's takes, so that one limit, on
// every form of the text, holds both.
static_assert(kSeriesFormulaSize - 1 == kFormulaTextCapacity, "a series formula holds a formula's characters");

}  // namespace

bool TreeReferenceKeeper::NoteBefore(CWorkBook* book) {
  formulas_.clear();
  qualifiers_.clear();
  EvalState& state = book->evaluator;
  CellStore* const evaluated = state.sheet;
  try {
    const auto note = [&](CellStore* store, uint16_t column, uint32_t row, char* series, uint16_t containerId,
                          const char* text, size_t length) {
      if (length > kFormulaTextCapacity || !std::memchr(text, '!', length)) return;
      const std::string formula(text, length);
      state.sheet = store;
      const std::vector<FormulaQualifier> found = SheetQualifiersOf(state, formula.c_str());
      const uint32_t first = uint32_t(qualifiers_.size());
      for (const FormulaQualifier& qualifier : found)
        if (const CTreeItem* item = book->FindItemByQualifier(store, qualifier.text.c_str()))
          qualifiers_.push_back(Qualifier{qualifier.start, qualifier.end, qualifier.text, item});
      if (qualifiers_.size() > first)
        formulas_.push_back(Formula{store, series ? uint16_t(0) : column, series ? 0 : row, series, containerId,
                                    series ? column : uint16_t(0), series ? row : 0, formula, first,
                                    uint32_t(qualifiers_.size() - first), std::string()});
    };
    for (CTreeItem* item = book->firstItem; item; item = item->next) {
      CWorkSheet* sheet = CWorkSheet::FromItem(item);
      if (!sheet) continue;
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = sheet->cells.FirstBlock();
      while (const CellRecord* cell = cursor.Next())
        if (cell->IsFormula())
          note(&sheet->cells, cell->Column(), cell->Row(), nullptr, 0, cell->FormulaText(), cell->FormulaLength());
      for (ContainerRecord* container = sheet->containers; container; container = container->next)
        for (int i = 0; i < container->header.itemCount && i < kContainerMaxItems; ++i) {
          ChartRecord* chart = container->items[i].kind == kItemChart ? container->items[i].chart : nullptr;
          if (!chart) continue;
          for (int s = 0; s < chart->UsedSeriesCount(); ++s) {
            char* text = chart->series[s].dataArray;
            note(&sheet->cells, uint16_t(i), uint32_t(s), text, container->header.id, text,
                 strnlen(text, kSeriesFormulaSize - 1));
          }
        }
    }
  } catch (const std::bad_alloc&) {
    formulas_.clear();
    qualifiers_.clear();
    state.sheet = evaluated;
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  state.sheet = evaluated;
  return true;
}

uint8_t TreeReferenceKeeper::PlanRewrite(CWorkBook* book) {
  try {
    for (Formula& formula : formulas_) {
      formula.rewritten.clear();
      char buffer[kFormulaTextCapacity + 1];
      BoundedText out(buffer, sizeof buffer);
      size_t copied = 0;
      bool changed = false;
      for (uint32_t q = formula.firstQualifier; q < formula.firstQualifier + formula.qualifierCount; ++q) {
        const Qualifier& qualifier = qualifiers_[q];
        if (book->FindItemByQualifier(formula.store, qualifier.text.c_str()) == qualifier.item) continue;
        // The item's path must read back before any reference, in either
        // form, or the formula would lose its item.
        char path[kTreePathCapacity];
        if (!qualifier.item->GetFullPath(path, sizeof path) || std::strlen(path) > kLongestNameablePath)
          return kWorkbookPathTooLong;
        out.Append(formula.text.c_str() + copied, qualifier.start - copied);
        if (NeedsQuotes(path)) {
          if (!AppendQuotedText(out, path) && !out.Overflowed()) return kWorkbookPathUnwritable;
        } else {
          out.Append(path);
        }
        copied = qualifier.end;
        changed = true;
      }
      if (!changed) continue;
      out.Append(formula.text.c_str() + copied);
      // The rewritten formula must be one the user can see and enter again:
      // its path is written bare but shown quoted, and A1 references can be
      // longer than the R1C1 ones kept.
      if (out.Overflowed() ||
          LongestFormulaForm(book->evaluator, out.Text(), out.Length(), formula.column, formula.row) >
              kFormulaTextCapacity)
        return kWorkbookFormulaTooLong;
      formula.rewritten.assign(out.Text(), out.Length());
    }
  } catch (const std::bad_alloc&) {
    return kWorkbookOutOfMemory;
  }
  return kWorkbookNoError;
}

bool TreeReferenceKeeper::RewriteAfter(CWorkBook* book, KeptFormulaTexts* kept) {
  CellStore rewritten;
  CellStore* rewrittenStore = nullptr;
  bool ok = true;
  const auto flush = [&]() {
    uint8_t failure = kAdjustNoFailure;
    if (rewrittenStore && !RestoreFormulaTexts(rewrittenStore, rewritten, &failure)) ok = false;
    rewritten.Clear(false);
  };
  for (const Formula& formula : formulas_) {
    if (formula.rewritten.empty()) continue;
    const std::string& text = formula.rewritten;
    if (kept) {
      try {
        kept->push_back(KeptFormulaText{formula.store, formula.series ? formula.containerId : uint16_t(0),
                                        formula.series ? formula.slot : formula.column,
                                        formula.series ? formula.seriesIndex : formula.row, text, formula.text});
      } catch (const std::bad_alloc&) {
        ok = false;
      }
    }
    if (formula.series) {
      std::memcpy(formula.series, text.c_str(), text.size() + 1);
      continue;
    }
    if (formula.store != rewrittenStore) {
      flush();
      rewrittenStore = formula.store;
    }
    FormulaCellFields fields;
    fields.formula = text.c_str();
    fields.formulaLength = static_cast<uint16_t>(text.size());
    uint8_t record[kBlockPayload];
    const uint32_t size = BuildFormulaCell(record, sizeof record, formula.row, formula.column, fields);
    if (size == 0 || !rewritten.InsertCell(AsCellRecord(record), nullptr)) ok = false;
  }
  flush();
  formulas_.clear();
  qualifiers_.clear();
  if (!ok) book->error = kWorkbookOutOfMemory;
  return ok;
}

namespace {

// The text of a chart series' formula that a kept text names, or null when
// the series is gone.
char* KeptSeriesText(CWorkSheet* sheet, const KeptFormulaText& entry) {
  for (ContainerRecord* container = sheet->containers; container; container = container->next) {
    if (container->header.id != entry.containerId) continue;
    if (entry.column >= container->header.itemCount || entry.column >= kContainerMaxItems) return nullptr;
    ChartRecord* chart = container->items[entry.column].kind == kItemChart ? container->items[entry.column].chart
                                                                          : nullptr;
    if (!chart || entry.row >= uint32_t(chart->UsedSeriesCount())) return nullptr;
    return chart->series[entry.row].dataArray;
  }
  return nullptr;
}

bool ReadsText(const CellRecord* cell, const std::string& text) {
  return cell && cell->IsFormula() && cell->FormulaLength() == text.size() &&
         std::memcmp(cell->FormulaText(), text.data(), text.size()) == 0;
}

// Whether the kept formula reads the text now.
bool KeptFormulaReads(CWorkBook* book, const KeptFormulaText& entry, const std::string& text) {
  CWorkSheet* sheet = book->FindWorksheetByStore(entry.store);
  if (!sheet) return false;
  if (entry.containerId == 0) return ReadsText(sheet->cells.GetCell(entry.row, uint16_t(entry.column)), text);
  const char* series = KeptSeriesText(sheet, entry);
  return series && text == series;
}

}  // namespace

bool SwapKeptFormulaTexts(CWorkBook* book, KeptFormulaTexts* kept) {
  if (!kept) return true;
  bool ok = true;
  CellStore rewritten;
  CellStore* rewrittenStore = nullptr;
  const auto flush = [&]() {
    uint8_t failure = kAdjustNoFailure;
    if (rewrittenStore && !RestoreFormulaTexts(rewrittenStore, rewritten, &failure)) ok = false;
    rewritten.Clear(false);
  };
  for (const KeptFormulaText& entry : *kept) {
    if (!KeptFormulaReads(book, entry, entry.present)) continue;
    CWorkSheet* sheet = book->FindWorksheetByStore(entry.store);
    if (entry.containerId != 0) {
      if (entry.other.size() < kSeriesFormulaSize)
        std::memcpy(KeptSeriesText(sheet, entry), entry.other.c_str(), entry.other.size() + 1);
      continue;
    }
    if (&sheet->cells != rewrittenStore) {
      flush();
      rewrittenStore = &sheet->cells;
    }
    FormulaCellFields fields;
    fields.formula = entry.other.c_str();
    fields.formulaLength = static_cast<uint16_t>(entry.other.size());
    uint8_t record[kBlockPayload];
    const uint32_t size = BuildFormulaCell(record, sizeof record, entry.row, uint16_t(entry.column), fields);
    if (size == 0 || !rewritten.InsertCell(AsCellRecord(record), nullptr)) ok = false;
  }
  flush();
  // Only the formulas that took their other text swap, so that the texts
  // and the formulas stay in step even after a failure.
  for (KeptFormulaText& entry : *kept)
    if (KeptFormulaReads(book, entry, entry.other)) entry.present.swap(entry.other);
  if (!ok) book->error = kWorkbookOutOfMemory;
  return ok;
}

namespace {

// The edit is made between the halves of a keeper; when some formula could
// not follow it, revert takes it back and the keeper's refusal is the
// workbook's error.
template <class Edit, class Revert>
bool KeepingReferences(CWorkBook* book, KeptFormulaTexts** kept, Edit edit, Revert revert) {
  if (kept) *kept = nullptr;
  TreeReferenceKeeper keeper;
  if (!keeper.NoteBefore(book) || !edit()) return false;
  if (const uint8_t refusal = keeper.PlanRewrite(book)) {
    revert();
    book->error = refusal;
    return false;
  }
  KeptFormulaTexts* texts = kept ? new (std::nothrow) KeptFormulaTexts : nullptr;
  // Texts that could not all be kept are not kept at all: the step finds
  // the formulas again as it is applied.
  if (!keeper.RewriteAfter(book, texts) && texts) {
    delete texts;
    texts = nullptr;
  }
  if (kept) *kept = texts;
  return true;
}

// Where an item stands and what it is called, to be put back so.
struct ItemPlace {
  int32_t index;
  uint16_t depth;
  char name[kTreeItemNameSize];

  ItemPlace(CWorkBook* book, const CTreeItem* item)
      : index(item ? book->IndexOfItem(item) : -1), depth(item ? item->depth : 0) {
    std::memcpy(name, item ? item->name : "", item ? sizeof name : 1);
  }
  void Restore(CWorkBook* book, CTreeItem* item) const {
    if (book->IndexOfItem(item) != index || item->depth != depth) book->MoveItemsTo(item, index, depth);
    item->SetName(name);
  }
};

}  // namespace

bool RenameItemKeepingReferences(CWorkBook* book, CTreeItem* item, const char* name, KeptFormulaTexts** kept) {
  const ItemPlace before(book, item);
  return KeepingReferences(
      book, kept,
      [&]() {
        item->SetName(name);
        return true;
      },
      [&]() { item->SetName(before.name); });
}

bool MoveItemsKeepingReferences(CWorkBook* book, CTreeItem* item, CTreeItem* target, KeptFormulaTexts** kept) {
  const ItemPlace before(book, item);
  return KeepingReferences(
      book, kept,
      [&]() {
        if (!book->MoveItems(item, target)) return false;
        UndoHistory::MakeUniqueName(item);
        const uint8_t refusal = ItemPathsRefusal(item);
        if (refusal == kWorkbookNoError) return true;
        before.Restore(book, item);
        book->error = refusal;
        return false;
      },
      [&]() { before.Restore(book, item); });
}

bool PutItemBack(CWorkBook* book, CTreeItem* item, int32_t index, uint16_t depth, const char* name,
                 KeptFormulaTexts* kept) {
  const ItemPlace before(book, item);
  const auto edit = [&]() {
    if (index >= 0 && !book->MoveItemsTo(item, index, depth)) return false;
    if (name) item->SetName(name);
    return true;
  };
  if (!kept) return KeepingReferences(book, nullptr, edit, [&]() { before.Restore(book, item); });
  if (!edit()) return false;
  SwapKeptFormulaTexts(book, kept);
  return true;
}
