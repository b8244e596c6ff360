#include "core/base/current_date.h"

#include "platform/os_services.h"

namespace {

OsLocalTime Now() {
  OsLocalTime now{};
  OsGetLocalTime(&now);
  return now;
}

}  // namespace

uint32_t GetCurrentYear() { return Now().year; }
uint32_t GetCurrentMonth() { return Now().month; }
uint32_t GetCurrentDay() { return Now().day; }
