#include "automation/info/page_info_margins.h"

bool IsPageMargin(double millimetres) { return millimetres >= 0 && millimetres <= kMaxPageMargin; }
