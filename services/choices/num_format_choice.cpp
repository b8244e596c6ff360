#include "services/choices/num_format_choice.h"

#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"
#include "services/settings/global_options.h"

namespace {

// A code written back with other separators; false when it does not compile
// or does not fit.
bool Rewrite(const char* code, const RegionalSettings& from, const RegionalSettings& to, char* out, size_t size) {
  NumberFormat format;
  return format.Compile(code, &from) && format.ToText(out, size, &to);
}

}  // namespace

const char* BuiltinCategoryName(int index, bool styleHost) {
  static const char* const kNames[kBuiltinCategoryCount] = {"Default", "General",  "Currency", "Accounting",
                                                            "Date",    "Time",     "Date/Time", "Percent",
                                                            "Fraction", "Scientific"};
  if (index == kNumFormatTime && styleHost) return "Time/Period";
  return index >= 0 && index < kBuiltinCategoryCount ? kNames[index] : "";
}

void DefaultCategoryParams(uint8_t category, NumFormatParams* params) {
  std::memset(params, 0, sizeof *params);
  params->category = category;
  NumFormatOptions& o = params->options;
  switch (category) {
    case kNumFormatDefault:
    case kNumFormatGeneral:
    case kNumFormatPercent:
      o.number.decimals = 2;
      break;
    case kNumFormatCurrency:
    case kNumFormatAccounting:
      CopyTextCut(o.currency.symbol, sizeof o.currency.symbol, CurrentRegionalSettings().currency);
      o.currency.decimals = 2;
      break;
    case kNumFormatDate:
    case kNumFormatDateTime:
      o.dateTime.useLocaleOrder = 1;
      break;
    case kNumFormatFraction:
      o.fraction.denominatorDigits = 1;
      o.fraction.denominator = 2;
      break;
    case kNumFormatScientific:
      o.scientific.decimals = 2;
      o.scientific.exponentValue = 10;
      break;
  }
}

bool CodeForDisplay(const char* stored, char* out, size_t size) {
  if (Rewrite(stored, kGenericRegionalSettings, CurrentRegionalSettings(), out, size)) return true;
  CopyTextCut(out, size, stored);
  return false;
}

bool CodeForStorage(const char* display, char* out, size_t size) {
  return Rewrite(display, CurrentRegionalSettings(), kGenericRegionalSettings, out, size);
}

int FindUserFormat(const ProfileLists& lists, const char* stored) {
  for (int k = 0; k < lists.userFormatCount && k < kUserFormatCount; ++k)
    if (std::strcmp(lists.userFormatPatterns[k], stored) == 0) return k;
  return -1;
}

bool CanAddUserFormat(const ProfileLists& lists, int comboCount) {
  return lists.userFormatCount + 1 != kUserFormatCount && comboCount != kMaxFormatComboEntries &&
         lists.userFormatCount < kUserFormatCount;
}

void NumFormatChoice::Reset() {
  for (int category = 0; category < kBuiltinCategoryCount; ++category)
    DefaultCategoryParams(static_cast<uint8_t>(category), &saved[category]);
}

void NumFormatChoice::ShowCode(Shown* shown) const {
  shown->code[0] = '\0';
  if (params.category == kNumFormatDefault) return;
  if (params.category < kNumFormatUserPattern) {
    char built[kFormatCodeTextSize];
    if (BuildFormatCode(params.category, params.options, built, sizeof built, nullptr))
      CodeForDisplay(built, shown->code, sizeof shown->code);
    return;
  }
  CodeForDisplay(params.code, shown->code, sizeof shown->code);
}

void NumFormatChoice::Load(const ProfileLists* lists, Shown* shown) {
  int index = params.category;
  if (params.category == kNumFormatUserPattern) {
    const int k = lists ? FindUserFormat(*lists, params.code) : -1;
    index = k >= 0 ? kBuiltinCategoryCount + k : -1;
  } else if (params.category < kBuiltinCategoryCount) {
    saved[params.category] = params;
  }
  shown->comboIndex = index;
  shown->subPage = params.category >= kNumFormatGeneral && params.category <= kNumFormatScientific ? params.category : 0;
  shown->deleteEnabled = index >= kBuiltinCategoryCount;
  ShowCode(shown);
}

bool NumFormatChoice::Store(int comboIndex, const char* codeText, const SubPageFields* fields, ProfileLists* lists,
                            Shown* shown, int* badControl) {
  *badControl = 0;
  if (comboIndex >= kNumFormatGeneral && comboIndex <= kNumFormatScientific) {
    NumFormatParams& keep = saved[comboIndex];
    if (fields && !StoreSubPageFields(static_cast<uint8_t>(comboIndex), *fields, &keep.options, badControl))
      return false;
    std::memset(&params, 0, sizeof params);
    params.category = static_cast<uint8_t>(comboIndex);
    params.options = keep.options;
    shown->comboIndex = comboIndex;
    shown->subPage = params.category;
    shown->deleteEnabled = false;
    ShowCode(shown);
    return true;
  }
  if (comboIndex == kNumFormatDefault) {
    std::memset(&params, 0, sizeof params);
    shown->comboIndex = 0;
    shown->subPage = 0;
    shown->deleteEnabled = false;
    shown->code[0] = '\0';
    return true;
  }
  char stored[kFormatCodeTextSize];
  if (!CodeForStorage(codeText, stored, sizeof stored)) return false;
  std::memset(&params, 0, sizeof params);
  params.category = kNumFormatUserPattern;
  CopyTextCut(params.code, sizeof params.code, stored);
  int index = comboIndex < 0 ? -1 : comboIndex;
  if (index >= kBuiltinCategoryCount) {
    const int k = index - kBuiltinCategoryCount;
    // A pattern holds at most 49 characters: a longer code is no longer
    // that named format, which keeps what it was.
    if (lists && k < lists->userFormatCount && std::strlen(stored) < kUserFormatTextSize)
      CopyTextCut(lists->userFormatPatterns[k], kUserFormatTextSize, stored);
    else
      index = -1;
  }
  shown->comboIndex = index;
  shown->subPage = 0;
  shown->deleteEnabled = index >= kBuiltinCategoryCount;
  CopyTextCut(shown->code, sizeof shown->code, codeText);
  return true;
}

void NumFormatChoice::ChooseEntry(int index, const ProfileLists* lists) {
  if (index < 0) return;
  if (index < kBuiltinCategoryCount) {
    std::memset(&params, 0, sizeof params);
    params.category = static_cast<uint8_t>(index);
    params.options = saved[index].options;
    return;
  }
  const int k = index - kBuiltinCategoryCount;
  params.category = static_cast<uint8_t>(index);
  std::memset(&params.options, 0, sizeof params.options);
  params.code[0] = '\0';
  if (lists && k < lists->userFormatCount) CopyTextCut(params.code, sizeof params.code, lists->userFormatPatterns[k]);
}

bool NumFormatChoice::AddUserFormat(const char* name, const char* codeText, int comboCount, ProfileLists* lists) {
  if (!lists || !CanAddUserFormat(*lists, comboCount) || std::strlen(name) >= kUserFormatTextSize) return false;
  char stored[kFormatCodeTextSize];
  if (!CodeForStorage(codeText, stored, sizeof stored) || std::strlen(stored) >= kUserFormatTextSize) return false;
  const int k = lists->userFormatCount++;
  CopyTextCut(lists->userFormatNames[k], kUserFormatTextSize, name);
  CopyTextCut(lists->userFormatPatterns[k], kUserFormatTextSize, stored);
  std::memset(&params, 0, sizeof params);
  params.category = kNumFormatUserPattern;
  CopyTextCut(params.code, sizeof params.code, stored);
  return true;
}

bool NumFormatChoice::DeleteUserFormat(int comboIndex, ProfileLists* lists) {
  const int k = comboIndex - kBuiltinCategoryCount;
  if (!lists || k < 0 || k >= lists->userFormatCount) return false;
  for (int i = k; i + 1 < lists->userFormatCount; ++i) {
    std::memcpy(lists->userFormatNames[i], lists->userFormatNames[i + 1], kUserFormatTextSize);
    std::memcpy(lists->userFormatPatterns[i], lists->userFormatPatterns[i + 1], kUserFormatTextSize);
  }
  --lists->userFormatCount;
  std::memset(lists->userFormatNames[lists->userFormatCount], 0, kUserFormatTextSize);
  std::memset(lists->userFormatPatterns[lists->userFormatCount], 0, kUserFormatTextSize);
  ChooseEntry(comboIndex - 1, lists);
  return true;
}
