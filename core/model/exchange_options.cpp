#include "core/model/exchange_options.h"

#include <cstdlib>

void XBaseTable::Free() {
  std::free(fieldDescriptors);
  fieldDescriptors = nullptr;
  codePage = kXBaseCodePageAnsi;
  dialect = kXBaseDBaseIV;
}
