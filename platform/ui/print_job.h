#ifndef TALVERO_PLATFORM_UI_PRINT_JOB_H
#define TALVERO_PLATFORM_UI_PRINT_JOB_H

// A print job and the page source that both the job and the print preview
// draw through: the source draws one page on a device context, the job runs
// the pages of a document on a printer device context in order.

#include <windows.h>

class CPrintJobInfo {
 public:
  // Draws page (from 0) on the device context; false stops the job.
  virtual bool PrintPage(UINT page, HDC dc) = 0;

 protected:
  ~CPrintJobInfo() = default;
};

// Prints pages first to last of the source as one document named
// documentName, into the file or port output when given. False when the
// document could not be started or a page failed; the job is then aborted.
bool RunPrintJob(HDC printer, CPrintJobInfo* source, const char* documentName, const char* output, UINT first,
                 UINT last);

// A file every job prints into instead, so that a test is never asked by
// the system where a job for a file port should go; null ends it.
void SetPrintJobOutputForTesting(const char* path);

#endif
