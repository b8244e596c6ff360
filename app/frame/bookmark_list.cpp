#include "app/frame/bookmark_list.h"

#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"
#include "core/formula/range_ref_parser.h"
#include "view/grid_view/pointing_reference.h"

namespace {

// Longest name box text, without its NUL.
constexpr size_t kDisplayLimit = kProfilePathSize - 1;

void CopyCut(const char* text, char* out, size_t size) {
  if (size == 0) return;
  std::snprintf(out, size, "%s", text);
}

}  // namespace

void FormatBookmarkForDisplay(EvalState& translator, const char* bookmark, char* out, size_t size) {
  CopyCut(bookmark, out, size);
  // The separator is looked for after the qualifier, whose quoted file or
  // worksheet names may hold anything.
  char file[kQualifiedRefCapacity] = {};
  char sheet[kQualifiedRefCapacity] = {};
  const char* reference = nullptr;
  if (!SplitQualifiedRef(bookmark, file, sheet, &reference) || reference == nullptr) return;
  const char* separator = std::strstr(reference, kBookmarkSeparator);
  if (separator == nullptr) return;
  EvalValue range;
  range.Clear();
  const char* end = nullptr;
  if (ParseR1C1Reference(translator, reference, &range.first, &end) == 0) return;
  range.second = range.first;
  const bool isRange = *end == ':';
  if (isRange && ParseR1C1Reference(translator, end + 1, &range.second, &end) == 0) return;
  if (end != separator) return;
  char shown[kProfilePathSize];
  BoundedText text(shown, sizeof shown);
  if (!FormatFormulaRef(translator, file, sheet, range, text, false, isRange)) return;
  const char* name = separator + std::strlen(kBookmarkSeparator);
  if (text.Length() + std::strlen(kBookmarkSeparator) + std::strlen(name) <= kDisplayLimit) {
    std::snprintf(out, size, "%s%s%s", text.Text(), kBookmarkSeparator, name);
  } else {
    CopyCut(text.Text(), out, size);
  }
}

bool ComposeBookmark(const EvalState& state, const char* file, const char* sheetPath, const SelectionRange& selection,
                     const char* name, char* out, size_t size) {
  BoundedText text(out, size < kProfilePathSize ? size : kProfilePathSize);
  bool whole = false;
  const EvalValue range = SelectionReferenceRange(selection, true, &whole);
  char reference[kQualifiedRefCapacity];
  BoundedText written(reference, sizeof reference);
  if (!FormatFormulaRef(state, file, sheetPath, range, written, true, whole)) {
    CopyCut("", out, size);
    return false;
  }
  text.Put(written).Put(kBookmarkSeparator).Put(name);
  return text.Finish();
}

bool RemoveBookmarkEntry(ProfileLists& lists, int index) {
  const int count = lists.bookmarkCount;
  if (index < 0 || index >= count) return false;
  std::memmove(lists.bookmarks[index], lists.bookmarks[index + 1],
               static_cast<size_t>(count - index - 1) * sizeof lists.bookmarks[0]);
  std::memset(lists.bookmarks[count - 1], 0, sizeof lists.bookmarks[0]);
  lists.bookmarkCount = static_cast<uint8_t>(count - 1);
  return true;
}

void RemoveAllBookmarkEntries(ProfileLists& lists) {
  std::memset(lists.bookmarks, 0, sizeof lists.bookmarks);
  lists.bookmarkCount = 0;
}
