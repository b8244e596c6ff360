#ifndef TALVERO_CORE_CURRENT_DATE_H
#define TALVERO_CORE_CURRENT_DATE_H

// Today's date in the local time (or the test clock's, see os_services.h).

#include <cstdint>

uint32_t GetCurrentYear();
uint32_t GetCurrentMonth();  // 1..12
uint32_t GetCurrentDay();    // 1..31

#endif
