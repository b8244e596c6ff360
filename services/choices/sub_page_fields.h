#ifndef TALVERO_SERVICES_CHOICES_SUB_PAGE_FIELDS_H
#define TALVERO_SERVICES_CHOICES_SUB_PAGE_FIELDS_H

// The option sub-page of each number-format category as plain values: which
// control of its template stands for which option byte, what its lists
// offer, and how the controls' states become option bytes and back. The
// sub-page windows only move these values in and out of their controls.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/num_format_params.h"

// How a control's state is held.
enum SubFieldKind : uint8_t {
  kFieldCheck,      // a check box: 0 or 1
  kFieldRadio,      // the second of two radio buttons (partner: the first); 1 when it is chosen
  kFieldSelection,  // the chosen item of a combo box or list, -1 for none
  kFieldText,       // an edit, or the text of an editable combo box
};

// What a list of a sub-page offers.
enum SubFieldItems : uint8_t {
  kItemsNone,
  kItemsDigits,     // "0" to "14"
  kItemsPositions,  // the four places of a currency symbol
  kItemsSymbols,    // currency symbols to choose from
  kItemsDates,      // the eleven date codes, in the date-order flag's order
  kItemsTimes,      // the eleven time codes
};

struct SubPageControl {
  uint16_t id;
  uint8_t kind;      // SubFieldKind
  uint8_t items;     // SubFieldItems
  uint16_t partner;  // the first radio button of a pair
  uint16_t limit;    // characters of an edit
};

constexpr int kMaxSubPageControls = 7;
constexpr size_t kSubFieldTextSize = 32;

struct SubPageLayout {
  uint8_t category;
  uint16_t templateId;
  uint8_t count;
  SubPageControl controls[kMaxSubPageControls];
};

// The layout of categories 1 to 9; null for any other.
const SubPageLayout* SubPageLayoutOf(uint8_t category);

// The values of one sub-page's controls, in the order of its layout.
struct SubPageFields {
  int32_t value[kMaxSubPageControls];  // checks, radio pairs, selections
  char text[kMaxSubPageControls][kSubFieldTextSize];
};

// The controls' values for a category's options.
void LoadSubPageFields(uint8_t category, const NumFormatOptions& options, SubPageFields* fields);

// The options of the controls' values. False with the identifier of the
// control to correct when an entry is invalid (fraction digits outside 1..14
// or a denominator outside 1..4294967294, an exponent outside -99..99); the
// fraction's mode, digits and value are kept in the options even then.
bool StoreSubPageFields(uint8_t category, const SubPageFields& fields, NumFormatOptions* options, int* badControl);

// The text of item `index` of a list of the given kind (false past its end).
// The date codes follow the system's day-month-year order when asked.
constexpr int kDateTimeItemCount = 11;
constexpr int kDigitItemCount = 15;
constexpr int kPositionItemCount = 4;
bool SubPageItemText(uint8_t items, int index, bool systemDateOrder, char* out, size_t size);

// The date-order check box of a sub-page that has one (date, date/time), and
// the list its order rebuilds; 0 when there is none.
uint16_t DateOrderControl(uint8_t category);
uint16_t DateListControl(uint8_t category);

#endif
