#include "core/recalc/formula_references.h"

#include <cstring>

#include "core/formula/formula_chars.h"
#include "core/formula/take_scanned_token.h"
#include "core/workbook/workbook.h"

namespace {

constexpr size_t kQualifierCapacity = 256;

void DiscardPayload(EvalState& state, uint32_t kind) {
  if (kind == kEvalText) {
    state.strings.Pop();
  } else if (kind == kEvalArray) {
    if (CellBlock* chain = state.arrays.PopChain()) state.arrays.ReleaseChain(chain);
  }
}

// The span of one corner: a whole row or column reaches across the grid.
void CornerSpan(const RefCorner& corner, CellRectangle& span) {
  const bool column = (corner.flags & kRefHasColumn) != 0;
  const bool row = (corner.flags & kRefHasRow) != 0;
  span.firstColumn = column ? uint16_t(corner.column) : 0;
  span.lastColumn = column ? uint16_t(corner.column) : kMaxColumn;
  span.firstRow = row ? corner.row : 0;
  span.lastRow = row ? corner.row : kMaxRow;
}

bool Usable(const RefCorner& corner) {
  return !(corner.flags & kRefOutsideGrid) && (corner.flags & kRefCell) != 0 && corner.column <= kMaxColumn &&
         corner.row <= kMaxRow;
}

// The qualifier text as the sheet operator reads it: blanks around it cut.
void CopyQualifier(const char* text, size_t length, char* out) {
  while (length > 0 && IsFormulaBlank(*text)) {
    ++text;
    --length;
  }
  while (length > 0 && IsFormulaBlank(text[length - 1])) --length;
  if (length >= kQualifierCapacity) length = kQualifierCapacity - 1;
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// The rectangle in the worksheet the qualifier names, or in every worksheet
// of the folder it names; nothing for another workbook or an unknown name.
bool VisitQualified(EvalState& state, CellStore* from, const char* qualifier, CellRectangle rectangle,
                    CellRectangleVisitor visit, void* context) {
  if (qualifier[0] == '[') return true;
  if (CellStore* store = state.FindQualifiedSheet(from, qualifier)) {
    rectangle.store = store;
    return visit(context, rectangle);
  }
  const CWorkSheetTree::CTreeItem* item = state.owner ? state.owner->FindItemByQualifier(from, qualifier) : nullptr;
  if (!item) return true;
  if (!item->IsFolder()) {
    if (!item->cellStore) return true;
    rectangle.store = item->cellStore;
    return visit(context, rectangle);
  }
  for (const CWorkSheetTree::CTreeItem* inner = item->next; inner && inner->depth > item->depth; inner = inner->next) {
    if (!inner->IsWorksheet() || !inner->cellStore) continue;
    rectangle.store = inner->cellStore;
    if (!visit(context, rectangle)) return false;
  }
  return true;
}

// The tokens of a formula read one at a time, from its text or from the
// tokens kept for it; a copy reads ahead without moving the original.
class TextTokens {
 public:
  explicit TextTokens(const char* text) : p_(text + 1) {}
  // *advanced is false for a token of no characters (a lone "$"), after
  // which the scan would never move on.
  uint32_t Read(EvalState& state, EvalValue* token, bool* advanced) {
    const char* start = SkipFormulaBlanks(p_);
    const uint32_t kind = state.NextToken(&p_, token, true);
    *advanced = p_ != start;
    return kind;
  }

 private:
  const char* p_;
};

class KeptTokens {
 public:
  explicit KeptTokens(const ScannedFormula& formula) : formula_(&formula) {}
  uint32_t Read(EvalState& state, EvalValue* token, bool* advanced) {
    // The last token is the end, read again past it.
    const ScannedToken& scanned = formula_->tokens[next_ + 1 < formula_->tokenCount ? next_++ : next_];
    *advanced = true;
    return state.TakeScannedToken(scanned, formula_->text, token);
  }

 private:
  const ScannedFormula* formula_;
  uint32_t next_ = 0;
};

template <class Tokens>
bool VisitReferences(EvalState& state, CellStore* store, Tokens tokens, CellRectangleVisitor visit, void* context) {
  // Only the terminated text is ever read: the buffers are not cleared
  // whole, which would cost a short formula's scan more than its tokens.
  char lastText[kQualifierCapacity];
  char qualifier[kQualifierCapacity];
  lastText[0] = '\0';
  qualifier[0] = '\0';
  bool qualified = false;
  uint32_t previous = kEvalInvalid;
  bool going = true;
  while (going) {
    EvalValue token;
    bool advanced = false;
    const uint32_t kind = tokens.Read(state, &token, &advanced);
    if (kind == kEvalEnd || kind == kEvalInvalid || !advanced) break;
    if (kind == kEvalText) CopyQualifier(state.strings.Top(), state.strings.TopLength(), lastText);
    DiscardPayload(state, kind);
    if (kind == kOpSheet) {
      qualified = previous == kEvalText;
      if (qualified) std::memcpy(qualifier, lastText, std::strlen(lastText) + 1);
    }
    if (kind != kEvalCellRef) {
      previous = kind;
      continue;
    }
    // A reference after "!" lies in the qualifier's worksheet, and so does
    // the far corner of such a range.
    const bool afterSheet = previous == kOpSheet;
    previous = kind;
    CellRectangle rectangle{store, 0, 0, 0, 0};
    CornerSpan(token.cell, rectangle);
    bool usable = Usable(token.cell) && token.error == 0;
    Tokens afterRange = tokens;
    EvalValue next;
    const uint32_t colonKind = afterRange.Read(state, &next, &advanced);
    DiscardPayload(state, colonKind);
    if (colonKind == kOpRange) {
      const uint32_t endKind = afterRange.Read(state, &next, &advanced);
      DiscardPayload(state, endKind);
      if (endKind == kEvalCellRef) {
        tokens = afterRange;
        CellRectangle far{store, 0, 0, 0, 0};
        CornerSpan(next.cell, far);
        usable = usable && Usable(next.cell) && next.error == 0;
        if (far.firstColumn < rectangle.firstColumn) rectangle.firstColumn = far.firstColumn;
        if (far.lastColumn > rectangle.lastColumn) rectangle.lastColumn = far.lastColumn;
        if (far.firstRow < rectangle.firstRow) rectangle.firstRow = far.firstRow;
        if (far.lastRow > rectangle.lastRow) rectangle.lastRow = far.lastRow;
      }
    }
    // The scan stops at a token it cannot read; the peek may have set that.
    state.status = 0;
    if (!usable || (afterSheet && !qualified)) continue;
    going = afterSheet ? VisitQualified(state, store, qualifier, rectangle, visit, context)
                       : visit(context, rectangle);
  }
  return going;
}

}  // namespace

bool ForEachFormulaReference(EvalState& state, CellStore* store, const char* text, uint16_t column, uint32_t row,
                             CellRectangleVisitor visit, void* context) {
  state.ResetForFormula(column, row);
  state.sheet = store;
  if (!text || (text[0] != '=' && text[0] != '+')) return true;
  const bool going = VisitReferences(state, store, TextTokens(text), visit, context);
  state.ResetForFormula(column, row);
  return going;
}

bool ForEachFormulaReference(EvalState& state, CellStore* store, const ScannedFormula& formula, uint16_t column,
                             uint32_t row, CellRectangleVisitor visit, void* context) {
  state.ResetForFormula(column, row);
  state.sheet = store;
  const bool going = VisitReferences(state, store, KeptTokens(formula), visit, context);
  state.ResetForFormula(column, row);
  return going;
}
