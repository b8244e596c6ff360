#ifndef TALVERO_SERVICES_CHOICES_NUM_FORMAT_CHOICE_H
#define TALVERO_SERVICES_CHOICES_NUM_FORMAT_CHOICE_H

// What the two number-format hosts (the Style page of the format-cells sheet
// and the Numeric Format dialog) decide, as plain code: the category combo's
// entries (ten built-in categories, then the user's named formats of the
// profile), the code shown for a format, the options each category keeps
// while the user visits others, and the named formats' New and Delete. The
// windows mirror this record in their controls.
//
// Codes are kept in stored form (generic separators) and shown in display
// form (the current regional settings).

#include <cstddef>
#include <cstdint>

#include "core/numfmt/num_format_params.h"
#include "services/choices/sub_page_fields.h"

struct ProfileLists;

constexpr int kBuiltinCategoryCount = 10;
// The combo box holds at most this many entries for New to add one.
constexpr int kMaxFormatComboEntries = 50;
constexpr size_t kFormatCodeTextSize = 1025;  // at most 1024 characters

// The entry names of the built-in categories; the Numeric Format dialog says
// "Time" where the Style page says "Time/Period".
const char* BuiltinCategoryName(int index, bool styleHost);

// The options a category starts with; the currency symbol is the current
// region's.
void DefaultCategoryParams(uint8_t category, NumFormatParams* params);

// A stored code in display form and back: false when the code does not
// compile (the display form is then the stored text unchanged).
bool CodeForDisplay(const char* stored, char* out, size_t size);
bool CodeForStorage(const char* display, char* out, size_t size);

// The first named format whose pattern is the stored code; -1 for none.
int FindUserFormat(const ProfileLists& lists, const char* stored);

// Whether New may add a named format to a combo box of comboCount entries.
bool CanAddUserFormat(const ProfileLists& lists, int comboCount);

class NumFormatChoice {
 public:
  // The saved options of every category at their defaults; the params
  // being edited stay.
  void Reset();

  // What the controls show after a load or a store.
  struct Shown {
    int comboIndex;   // -1: no selection
    uint8_t subPage;  // the category whose sub-page is shown, 0 for none
    char code[kFormatCodeTextSize];
    bool deleteEnabled;
  };

  // Direction 0: the controls from the params (a category's options also
  // become its saved ones).
  void Load(const ProfileLists* lists, Shown* shown);
  // Direction 1: the params from the controls: the combo's index, the code
  // edit's text and, for a built-in category with options, its sub-page's
  // fields. A named format's pattern follows an edited code (a code too long
  // for a pattern leaves it and clears the combo's selection). False, with
  // nothing stored, for a sub-page entry that is invalid (badControl names
  // it) or a code that does not compile (badControl 0).
  bool Store(int comboIndex, const char* codeText, const SubPageFields* fields, ProfileLists* lists, Shown* shown,
             int* badControl);

  // A combo entry chosen: a built-in category takes its saved options, a
  // named format its pattern; then the caller loads and stores.
  void ChooseEntry(int index, const ProfileLists* lists);

  // New with the typed code: false (nothing changed) when the list is at
  // its limits or the code does not compile or does not fit a pattern.
  // Otherwise the named format is appended and the params take its pattern.
  bool AddUserFormat(const char* name, const char* codeText, int comboCount, ProfileLists* lists);
  // Delete of the named format at combo index (10 and above); the entry
  // before it is chosen. False for any other index.
  bool DeleteUserFormat(int comboIndex, ProfileLists* lists);

  NumFormatParams params = {};
  NumFormatParams saved[kBuiltinCategoryCount] = {};

 private:
  void ShowCode(Shown* shown) const;
};

#endif
