#include "services/choices/sub_page_fields.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/regional_settings.h"
#include "services/convert/number_text.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint16_t kSymbolLimit = kCurrencySymbolSize - 1;
constexpr int kMaxDigits = 14;
constexpr int kMaxExponent = 99;
constexpr int64_t kMaxDenominator = 4294967294LL;

constexpr SubPageControl Check(uint16_t id) { return {id, kFieldCheck, kItemsNone, 0, 0}; }
constexpr SubPageControl List(uint16_t id, uint8_t items) { return {id, kFieldSelection, items, 0, 0}; }
constexpr SubPageControl Text(uint16_t id, uint8_t items, uint16_t limit) { return {id, kFieldText, items, 0, limit}; }

const SubPageLayout kLayouts[] = {
    {kNumFormatGeneral, IDD_STYLE_GENERAL, 7,
     {Check(IDC_FIRST_CHECK), List(IDC_FIRST_COMBO, kItemsDigits), Check(IDC_SECOND_CHECK),
      List(IDC_SECOND_COMBO, kItemsDigits), Check(IDC_THIRD_CHECK), Check(IDC_FOURTH_CHECK), Check(IDC_FIFTH_CHECK)}},
    {kNumFormatCurrency, IDD_STYLE_CURRENCY, 5,
     {List(IDC_FIRST_COMBO, kItemsDigits), List(IDC_SECOND_COMBO, kItemsPositions),
      Text(IDC_THIRD_COMBO, kItemsSymbols, kSymbolLimit), Check(IDC_SECOND_CHECK), Check(IDC_THIRD_CHECK)}},
    {kNumFormatAccounting, IDD_STYLE_ACCOUNTING, 2,
     {List(IDC_FIRST_COMBO, kItemsDigits), Text(IDC_SECOND_COMBO, kItemsSymbols, kSymbolLimit)}},
    {kNumFormatDate, IDD_STYLE_DATE, 2, {List(IDC_ITEM_LIST, kItemsDates), Check(IDC_FIRST_CHECK)}},
    {kNumFormatTime, IDD_STYLE_TIME, 1, {List(IDC_ITEM_LIST, kItemsTimes)}},
    {kNumFormatDateTime, IDD_STYLE_DATE_TIME, 4,
     {List(IDC_FIRST_COMBO, kItemsDates), List(IDC_SECOND_COMBO, kItemsTimes), Check(IDC_FIRST_CHECK),
      Check(IDC_SECOND_CHECK)}},
    {kNumFormatPercent, IDD_STYLE_PERCENT, 2, {Check(IDC_FIRST_CHECK), List(IDC_FIRST_COMBO, kItemsDigits)}},
    {kNumFormatFraction, IDD_STYLE_FRACTION, 3,
     {{IDC_SECOND_RADIO, kFieldRadio, kItemsNone, IDC_FIRST_RADIO, 0}, Text(IDC_TEXT_EDIT, kItemsNone, 2),
      Text(IDC_SECOND_EDIT, kItemsNone, 10)}},
    {kNumFormatScientific, IDD_STYLE_SCIENTIFIC, 4,
     {Check(IDC_FIRST_CHECK), List(IDC_FIRST_COMBO, kItemsDigits), Check(IDC_SECOND_CHECK),
      Text(IDC_TEXT_EDIT, kItemsNone, 3)}},
};

// Negative styles are a red flag and a parentheses flag side by side.
int32_t RedOf(uint8_t style) { return style == kNegativeRed || style == kNegativeRedParentheses; }
int32_t ParenthesesOf(uint8_t style) { return style == kNegativeParentheses || style == kNegativeRedParentheses; }
uint8_t NegativeStyle(int32_t red, int32_t parentheses) {
  return static_cast<uint8_t>((red ? kNegativeRed : 0) + (parentheses ? kNegativeParentheses : 0));
}

// A selection of 0..14, as the digit lists offer; none leaves the old value.
uint8_t Digits(int32_t selection, uint8_t old) {
  return selection >= 0 && selection <= kMaxDigits ? static_cast<uint8_t>(selection) : old;
}
uint8_t Item(int32_t selection, int count, uint8_t old) {
  return selection >= 0 && selection < count ? static_cast<uint8_t>(selection) : old;
}

void CopySymbol(char* to, const char* from) { CopyTextCut(to, kCurrencySymbolSize, from); }

bool StoreFraction(const SubPageFields& f, FractionFormatOptions* o, int* badControl) {
  o->fixedDenominator = f.value[0] ? 1 : 0;
  int64_t digits = 0;
  int64_t value = 0;
  const bool digitsRead = ParseIntegerText(f.text[1], &digits) && digits >= 0 && digits <= 255;
  const bool valueRead = ParseIntegerText(f.text[2], &value) && value >= 0;
  if (digitsRead) o->denominatorDigits = static_cast<uint8_t>(digits);
  if (valueRead) o->denominator = static_cast<uint64_t>(value);
  if (!digitsRead || digits < 1 || digits > kMaxDigits) {
    *badControl = IDC_TEXT_EDIT;
    return false;
  }
  if (!valueRead || value < 1 || value > kMaxDenominator) {
    *badControl = IDC_SECOND_EDIT;
    return false;
  }
  return true;
}

bool StoreScientific(const SubPageFields& f, ScientificFormatOptions* o, int* badControl) {
  int64_t exponent = 0;
  if (!ParseIntegerText(f.text[3], &exponent) || exponent < -kMaxExponent || exponent > kMaxExponent) {
    *badControl = IDC_TEXT_EDIT;
    return false;
  }
  o->fixedDecimals = f.value[0] ? 1 : 0;
  o->decimals = Digits(f.value[1], o->decimals);
  o->exponentValue = static_cast<uint8_t>(exponent < 0 ? -exponent : exponent);
  o->exponentStyle = !f.value[2] ? kExponentAutomatic : exponent < 0 ? kExponentFixedNegative : kExponentFixedPositive;
  return true;
}

}  // namespace

const SubPageLayout* SubPageLayoutOf(uint8_t category) {
  for (const SubPageLayout& layout : kLayouts)
    if (layout.category == category) return &layout;
  return nullptr;
}

void LoadSubPageFields(uint8_t category, const NumFormatOptions& o, SubPageFields* f) {
  std::memset(f, 0, sizeof *f);
  switch (category) {
    case kNumFormatGeneral:
      f->value[0] = o.number.fixedDecimals != 0;
      f->value[1] = o.number.decimals;
      f->value[2] = o.number.leadingZeros != 0;
      f->value[3] = o.number.integerDigits;
      f->value[4] = o.number.grouping != 0;
      f->value[5] = RedOf(o.number.negativeStyle);
      f->value[6] = ParenthesesOf(o.number.negativeStyle);
      break;
    case kNumFormatCurrency:
      f->value[0] = o.currency.decimals;
      f->value[1] = o.currency.symbolPosition;
      CopySymbol(f->text[2], o.currency.symbol);
      f->value[3] = ParenthesesOf(o.currency.negativeStyle);
      f->value[4] = RedOf(o.currency.negativeStyle);
      break;
    case kNumFormatAccounting:
      f->value[0] = o.currency.decimals;
      CopySymbol(f->text[1], o.currency.symbol);
      break;
    case kNumFormatDate:
      f->value[0] = o.dateTime.dateStyle;
      f->value[1] = o.dateTime.useLocaleOrder != 0;
      break;
    case kNumFormatTime:
      f->value[0] = o.dateTime.timeStyle;
      break;
    case kNumFormatDateTime:
      f->value[0] = o.dateTime.dateStyle;
      f->value[1] = o.dateTime.timeStyle;
      f->value[2] = o.dateTime.useLocaleOrder != 0;
      f->value[3] = o.dateTime.timeFirst != 0;
      break;
    case kNumFormatPercent:
      f->value[0] = o.number.fixedDecimals != 0;
      f->value[1] = o.number.decimals;
      break;
    case kNumFormatFraction:
      f->value[0] = o.fraction.fixedDenominator != 0;
      std::snprintf(f->text[1], kSubFieldTextSize, "%u", unsigned(o.fraction.denominatorDigits));
      std::snprintf(f->text[2], kSubFieldTextSize, "%" PRIu64, o.fraction.denominator);
      break;
    case kNumFormatScientific: {
      f->value[0] = o.scientific.fixedDecimals != 0;
      f->value[1] = o.scientific.decimals;
      f->value[2] = o.scientific.exponentStyle != kExponentAutomatic;
      const int exponent = o.scientific.exponentStyle == kExponentFixedNegative ? -o.scientific.exponentValue
                                                                               : o.scientific.exponentValue;
      std::snprintf(f->text[3], kSubFieldTextSize, "%d", exponent);
      break;
    }
  }
}

bool StoreSubPageFields(uint8_t category, const SubPageFields& f, NumFormatOptions* o, int* badControl) {
  *badControl = 0;
  switch (category) {
    case kNumFormatGeneral:
      o->number.fixedDecimals = f.value[0] ? 1 : 0;
      o->number.decimals = Digits(f.value[1], o->number.decimals);
      o->number.leadingZeros = f.value[2] ? 1 : 0;
      o->number.integerDigits = Digits(f.value[3], o->number.integerDigits);
      o->number.grouping = f.value[4] ? 1 : 0;
      o->number.negativeStyle = NegativeStyle(f.value[5], f.value[6]);
      return true;
    case kNumFormatCurrency:
      o->currency.decimals = Digits(f.value[0], o->currency.decimals);
      o->currency.symbolPosition = Item(f.value[1], kPositionItemCount, o->currency.symbolPosition);
      CopySymbol(o->currency.symbol, f.text[2]);
      o->currency.negativeStyle = NegativeStyle(f.value[4], f.value[3]);
      return true;
    case kNumFormatAccounting:
      o->currency.decimals = Digits(f.value[0], o->currency.decimals);
      CopySymbol(o->currency.symbol, f.text[1]);
      return true;
    case kNumFormatDate:
      o->dateTime.dateStyle = Item(f.value[0], kDateTimeItemCount, o->dateTime.dateStyle);
      o->dateTime.useLocaleOrder = f.value[1] ? 1 : 0;
      return true;
    case kNumFormatTime:
      o->dateTime.timeStyle = Item(f.value[0], kDateTimeItemCount, o->dateTime.timeStyle);
      return true;
    case kNumFormatDateTime:
      o->dateTime.dateStyle = Item(f.value[0], kDateTimeItemCount, o->dateTime.dateStyle);
      o->dateTime.timeStyle = Item(f.value[1], kDateTimeItemCount, o->dateTime.timeStyle);
      o->dateTime.useLocaleOrder = f.value[2] ? 1 : 0;
      o->dateTime.timeFirst = f.value[3] ? 1 : 0;
      return true;
    case kNumFormatPercent:
      o->number.fixedDecimals = f.value[0] ? 1 : 0;
      o->number.decimals = Digits(f.value[1], o->number.decimals);
      return true;
    case kNumFormatFraction:
      return StoreFraction(f, &o->fraction, badControl);
    case kNumFormatScientific:
      return StoreScientific(f, &o->scientific, badControl);
  }
  return true;
}

bool SubPageItemText(uint8_t items, int index, bool systemDateOrder, char* out, size_t size) {
  if (size == 0 || index < 0) return false;
  out[0] = '\0';
  switch (items) {
    case kItemsDigits:
      if (index >= kDigitItemCount) return false;
      std::snprintf(out, size, "%d", index);
      return true;
    case kItemsPositions: {
      static const char* const kSamples[kPositionItemCount] = {"$1.1", "$ 1.1", "1.1$", "1.1 $"};
      if (index >= kPositionItemCount) return false;
      std::snprintf(out, size, "%s", kSamples[index]);
      return true;
    }
    case kItemsSymbols: {
      // The region's own symbol first, then the common ones it is not.
      static const char* const kCommon[] = {"$", "\x80", "\xA3", "\xA5"};
      const char* own = CurrentRegionalSettings().currency;
      if (index == 0) {
        std::snprintf(out, size, "%s", own);
        return true;
      }
      int at = 0;
      for (const char* symbol : kCommon) {
        if (std::strcmp(symbol, own) == 0) continue;
        if (++at == index) {
          std::snprintf(out, size, "%s", symbol);
          return true;
        }
      }
      return false;
    }
    case kItemsDates:
    case kItemsTimes: {
      if (index >= kDateTimeItemCount) return false;
      // Current separators; the orders are the generic ones unless the
      // system's are asked for.
      RegionalSettings settings = CurrentRegionalSettings();
      settings.shortDateOrder = kGenericRegionalSettings.shortDateOrder;
      settings.longDateOrder = kGenericRegionalSettings.longDateOrder;
      NumFormatOptions options;
      std::memset(&options, 0, sizeof options);
      options.dateTime.dateStyle = static_cast<uint8_t>(index);
      options.dateTime.timeStyle = static_cast<uint8_t>(index);
      options.dateTime.useLocaleOrder = systemDateOrder ? 1 : 0;
      return BuildFormatCode(items == kItemsDates ? kNumFormatDate : kNumFormatTime, options, out, size, &settings);
    }
  }
  return false;
}

uint16_t DateOrderControl(uint8_t category) {
  return category == kNumFormatDate || category == kNumFormatDateTime ? IDC_FIRST_CHECK : 0;
}

uint16_t DateListControl(uint8_t category) {
  return category == kNumFormatDate ? IDC_ITEM_LIST : category == kNumFormatDateTime ? IDC_FIRST_COMBO : 0;
}
