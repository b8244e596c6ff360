#include "platform/ui/print_job.h"

namespace {

const char* g_outputForTesting = nullptr;

}  // namespace

void SetPrintJobOutputForTesting(const char* path) { g_outputForTesting = path; }

bool RunPrintJob(HDC printer, CPrintJobInfo* source, const char* documentName, const char* output, UINT first,
                 UINT last) {
  DOCINFOA document = {sizeof document, documentName, g_outputForTesting != nullptr ? g_outputForTesting : output,
                       nullptr, 0};
  if (StartDocA(printer, &document) <= 0) return false;
  for (UINT page = first; page <= last; ++page) {
    const bool printed = StartPage(printer) > 0 && source->PrintPage(page, printer) && EndPage(printer) > 0;
    if (!printed) {
      AbortDoc(printer);
      return false;
    }
  }
  return EndDoc(printer) > 0;
}
