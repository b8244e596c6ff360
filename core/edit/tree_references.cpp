#include "core/edit/tree_references.h"

#include <cstring>
#include <new>

#include "core/base/bounded_text.h"
#include "core/edit/reference_adjust.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_literal_print.h"
#include "core/formula/formula_ref_text.h"
#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The qualifier as the sheet operator reads it: blanks around it cut.
std::string TrimmedQualifier(const char* text, size_t length) {
  while (length > 0 && IsFormulaBlank(*text)) {
    ++text;
    --length;
  }
  while (length > 0 && IsFormulaBlank(text[length - 1])) --length;
  return std::string(text, length);
}

struct FoundQualifier {
  uint16_t start;
  uint16_t end;
  std::string text;
};

// The sheet qualifiers of a stored-form formula: each text right before a
// "!", with the characters of its token.
std::vector<FoundQualifier> QualifiersOf(EvalState& state, const char* text) {
  std::vector<FoundQualifier> found;
  if (text[0] != '=' && text[0] != '+') return found;
  state.ResetForFormula(0, 0);
  const char* p = text + 1;
  uint32_t previous = kEvalInvalid;
  FoundQualifier last{0, 0, std::string()};
  for (;;) {
    const char* start = SkipFormulaBlanks(p);
    EvalValue token;
    const uint32_t kind = state.NextToken(&p, &token, true);
    if (kind == kEvalEnd || kind == kEvalInvalid || p == start) break;
    if (kind == kEvalText) {
      last = FoundQualifier{uint16_t(start - text), uint16_t(p - text),
                            TrimmedQualifier(state.strings.Top(), state.strings.TopLength())};
      state.strings.Pop();
    } else if (kind == kEvalArray) {
      if (CellBlock* chain = state.arrays.PopChain()) state.arrays.ReleaseChain(chain);
    }
    if (kind == kOpSheet && previous == kEvalText && !last.text.empty() && last.text[0] != '[')
      found.push_back(last);
    previous = kind;
  }
  state.ResetForFormula(0, 0);
  state.status = 0;
  return found;
}

}  // namespace

bool TreeReferenceKeeper::NoteBefore(CWorkBook* book) {
  formulas_.clear();
  qualifiers_.clear();
  EvalState& state = book->evaluator;
  CellStore* const evaluated = state.sheet;
  try {
    const auto note = [&](CellStore* store, uint16_t column, uint32_t row, char* series, const char* text,
                          size_t length) {
      if (length > kFormulaTextCapacity || !std::memchr(text, '!', length)) return;
      const std::string formula(text, length);
      state.sheet = store;
      const std::vector<FoundQualifier> found = QualifiersOf(state, formula.c_str());
      const uint32_t first = uint32_t(qualifiers_.size());
      for (const FoundQualifier& qualifier : found)
        if (const CTreeItem* item = book->FindItemByQualifier(store, qualifier.text.c_str()))
          qualifiers_.push_back(Qualifier{qualifier.start, qualifier.end, qualifier.text, item});
      if (qualifiers_.size() > first)
        formulas_.push_back(
            Formula{store, column, row, series, formula, first, uint32_t(qualifiers_.size() - first)});
    };
    for (CTreeItem* item = book->firstItem; item; item = item->next) {
      CWorkSheet* sheet = CWorkSheet::FromItem(item);
      if (!sheet) continue;
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = sheet->cells.FirstBlock();
      while (const CellRecord* cell = cursor.Next())
        if (cell->IsFormula())
          note(&sheet->cells, cell->Column(), cell->Row(), nullptr, cell->FormulaText(), cell->FormulaLength());
      for (ContainerRecord* container = sheet->containers; container; container = container->next)
        for (int i = 0; i < container->header.itemCount && i < kContainerMaxItems; ++i) {
          ChartRecord* chart = container->items[i].kind == kItemChart ? container->items[i].chart : nullptr;
          if (!chart) continue;
          for (int s = 0; s < chart->UsedSeriesCount(); ++s) {
            char* text = chart->series[s].dataArray;
            note(&sheet->cells, 0, 0, text, text, strnlen(text, kSeriesFormulaSize - 1));
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

bool TreeReferenceKeeper::RewriteAfter(CWorkBook* book) {
  CellStore rewritten;
  CellStore* rewrittenStore = nullptr;
  bool ok = true;
  const auto flush = [&]() {
    uint8_t failure = kAdjustNoFailure;
    if (rewrittenStore && !RestoreFormulaTexts(rewrittenStore, rewritten, &failure)) ok = false;
    rewritten.Clear(false);
  };
  for (const Formula& formula : formulas_) {
    char buffer[kFormulaTextCapacity + 1];
    BoundedText out(buffer, sizeof buffer);
    size_t copied = 0;
    bool changed = false;
    for (uint32_t q = formula.firstQualifier; q < formula.firstQualifier + formula.qualifierCount; ++q) {
      const Qualifier& qualifier = qualifiers_[q];
      if (book->FindItemByQualifier(formula.store, qualifier.text.c_str()) == qualifier.item) continue;
      char path[kTreePathCapacity];
      if (!qualifier.item->GetFullPath(path, sizeof path)) continue;
      out.Append(formula.text.c_str() + copied, qualifier.start - copied);
      if (NeedsQuotes(path))
        AppendQuotedText(out, path);
      else
        out.Append(path);
      copied = qualifier.end;
      changed = true;
    }
    if (!changed) continue;
    out.Append(formula.text.c_str() + copied);
    // A text that would be too long keeps the formula as it was.
    if (out.Overflowed() || out.Length() > kFormulaTextCapacity) continue;
    if (formula.series) {
      if (out.Length() < kSeriesFormulaSize) std::memcpy(formula.series, out.Text(), out.Length() + 1);
      continue;
    }
    if (formula.store != rewrittenStore) {
      flush();
      rewrittenStore = formula.store;
    }
    FormulaCellFields fields;
    fields.formula = out.Text();
    fields.formulaLength = static_cast<uint16_t>(out.Length());
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

template <class Edit>
bool KeepingReferences(CWorkBook* book, Edit edit) {
  TreeReferenceKeeper keeper;
  if (!keeper.NoteBefore(book) || !edit()) return false;
  keeper.RewriteAfter(book);
  return true;
}

}  // namespace

bool RenameItemKeepingReferences(CWorkBook* book, CTreeItem* item, const char* name) {
  return KeepingReferences(book, [&]() {
    item->SetName(name);
    return true;
  });
}

bool MoveItemsKeepingReferences(CWorkBook* book, CTreeItem* item, CTreeItem* target) {
  return KeepingReferences(book, [&]() { return book->MoveItems(item, target); });
}

bool MoveItemsToKeepingReferences(CWorkBook* book, CTreeItem* item, int32_t index, uint16_t depth) {
  return KeepingReferences(book, [&]() { return book->MoveItemsTo(item, index, depth); });
}
