#ifndef TALVERO_BENCH_TIMED_BOOK_H
#define TALVERO_BENCH_TIMED_BOOK_H

// The start of the recalculation benchmarks: the settings and functions the
// program starts with, and empty workbooks that gather the cells a total
// reads unless TALVERO_RECALC_GATHER=0 times the plain path.

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "numerics/numeric_function_table.h"

inline void StartAsTheProgram() {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  InstallFunctionLibrary();
}

inline std::unique_ptr<CWorkBook> NewTimedBook() {
  auto book = std::make_unique<CWorkBook>();
  const char* gather = std::getenv("TALVERO_RECALC_GATHER");
  if (gather && std::strcmp(gather, "0") == 0) book->evaluator.pendingGather.SetEnabled(false);
  return book;
}

#endif
