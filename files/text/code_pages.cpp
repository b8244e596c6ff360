#include "files/text/code_pages.h"

#include "files/text/code_page_tables.h"
#include "platform/os_services.h"

uint16_t OemCodePage() {
  return OsOemCodePage() == kCodePageOemWesternEurope ? kCodePageOemWesternEurope : kCodePageOemUnitedStates;
}

uint16_t DecodeCodePageByte(uint16_t codePage, uint8_t byte) {
  switch (codePage) {
    case kCodePageOemUnitedStates: return kDecode437[byte];
    case kCodePageOemWesternEurope: return kDecode850[byte];
    default: return kDecode1252[byte];
  }
}

uint8_t EncodeCodePageUnit(uint16_t codePage, uint16_t unit) {
  // The three code pages keep ASCII as it is.
  if (unit < 0x80) return static_cast<uint8_t>(unit);
  const UnitByte* table = kEncode1252;
  size_t count = kEncode1252Count;
  if (codePage == kCodePageOemUnitedStates) {
    table = kEncode437;
    count = kEncode437Count;
  } else if (codePage == kCodePageOemWesternEurope) {
    table = kEncode850;
    count = kEncode850Count;
  }
  size_t low = 0;
  size_t high = count;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (table[middle].unit < unit) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < count && table[low].unit == unit ? table[low].byte : uint8_t('?');
}
