#include "functions/automation_call_consent.h"

#include <cstdio>
#include <cstring>

#include "core/base/text_compare.h"
#include "core/formula/formula_chars.h"
#include "core/workbook/workbook.h"

namespace {

AutomationCallQuestion g_question = nullptr;

constexpr char kMoreNames[] = "...\n";

bool StartsCall(const char* text, size_t length, size_t at) {
  static const char* const kCalls[] = {"RTD(", "UDF("};
  if (at > 0 && IsNameChar(text[at - 1])) return false;
  for (const char* call : kCalls) {
    const size_t n = std::strlen(call);
    if (length - at >= n && CompareTextIgnoringCase(text + at, n, call, n) == 0) return true;
  }
  return false;
}

// The list of names being written, one per line.
class NameList {
 public:
  NameList(char* out, size_t capacity) : out_(out), capacity_(capacity) {
    if (capacity_ > 0) out_[0] = '\0';
  }
  void Add(const char* name, size_t length) {
    if (length == 0 || full_ || Holds(name, length)) return;
    // Room is kept for the line that says names were left out.
    const size_t reserve = sizeof kMoreNames - 1;
    if (used_ + length + 1 + reserve + 1 > capacity_) {
      full_ = true;
      if (used_ + reserve + 1 <= capacity_) {
        std::memcpy(out_ + used_, kMoreNames, reserve + 1);
        used_ += reserve;
      }
      return;
    }
    std::memcpy(out_ + used_, name, length);
    used_ += length;
    out_[used_++] = '\n';
    out_[used_] = '\0';
    ++count_;
  }
  size_t Count() const { return count_; }

 private:
  bool Holds(const char* name, size_t length) const {
    for (size_t start = 0; start < used_;) {
      const char* end = static_cast<const char*>(std::memchr(out_ + start, '\n', used_ - start));
      const size_t lineLength = static_cast<size_t>(end - (out_ + start));
      if (CompareTextIgnoringCase(out_ + start, lineLength, name, length) == 0) return true;
      start += lineLength + 1;
    }
    return false;
  }

  char* out_;
  size_t capacity_;
  size_t used_ = 0;
  size_t count_ = 0;
  bool full_ = false;
};

// Adds the text written as the first argument of every RTD and UDF call of a
// stored formula. Texts in quotes are skipped whole, so that a call spelled
// inside a text counts for nothing.
void AddProgIdsOfFormula(const char* text, size_t length, NameList& names) {
  for (size_t at = 0; at < length;) {
    const char c = text[at];
    if (c == '"' || c == '\'') {
      const void* close = std::memchr(text + at + 1, c, length - at - 1);
      at = close ? static_cast<size_t>(static_cast<const char*>(close) - text) + 1 : length;
      continue;
    }
    if (!StartsCall(text, length, at)) {
      ++at;
      continue;
    }
    at += 4;
    while (at < length && IsFormulaBlank(text[at])) ++at;
    if (at < length && (text[at] == '"' || text[at] == '\'')) {
      const void* close = std::memchr(text + at + 1, text[at], length - at - 1);
      if (close) names.Add(text + at + 1, static_cast<size_t>(static_cast<const char*>(close) - text) - at - 1);
    }
  }
}

const char* FileNameOf(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  return name;
}

// Whether the formula being evaluated was put in by an automation client.
bool IsClientFormula(const EvalState& state) {
  if (state.sheet == nullptr) return false;
  const CellRecord* cell = state.sheet->GetCell(state.row, static_cast<uint16_t>(state.column));
  return cell != nullptr && cell->IsFormula() && (cell->ResultFlags() & kResultClientFormula) != 0;
}

}  // namespace

AutomationCallQuestion SetAutomationCallQuestion(AutomationCallQuestion question) {
  const AutomationCallQuestion previous = g_question;
  g_question = question;
  return previous;
}

size_t ListAutomationProgIds(const CWorkBook& book, const char* progId, char* out, size_t capacity) {
  NameList names(out, capacity);
  names.Add(progId, std::strlen(progId));
  for (const CWorkSheetTree::CTreeItem* item = book.firstItem; item; item = item->next) {
    if (!item->cellStore) continue;
    ForEachRecord(*item->cellStore, [&](const CellRecord& cell) {
      if (cell.IsFormula()) AddProgIdsOfFormula(cell.FormulaText(), cell.FormulaLength(), names);
      return true;
    });
  }
  return names.Count();
}

void ComposeAutomationQuestion(const CWorkBook& book, const char* progId, char* out, size_t capacity) {
  char programs[kAutomationQuestionCapacity / 2];
  ListAutomationProgIds(book, progId, programs, sizeof programs);
  const char* file = FileNameOf(book.bufferedFile.path);
  std::snprintf(out, capacity,
                "The workbook \"%s\" has formulas that start other programs and call them (RTD, UDF):\n\n%s\n"
                "A workbook from someone you do not know can run harmful code this way. "
                "Allow its formulas to call these programs?",
                *file ? file : "(unnamed)", programs);
}

bool AutomationCallAllowed(EvalState& state, const char* progId) {
  CWorkBook* book = state.owner;
  if (!book || book->automationCalls == kAutomationCallsAllowed) return true;
  if (IsClientFormula(state)) return true;
  if (book->automationCalls == kAutomationCallsRefused) return false;
  char question[kAutomationQuestionCapacity];
  ComposeAutomationQuestion(*book, progId, question, sizeof question);
  // A recalculation started while the question is open calls nothing.
  book->automationCalls = kAutomationCallsRefused;
  if (g_question && g_question(question)) book->automationCalls = kAutomationCallsAllowed;
  return book->automationCalls == kAutomationCallsAllowed;
}
