#ifndef TALVERO_DIALOGS_FILE_WAIT_DIALOG_H
#define TALVERO_DIALOGS_FILE_WAIT_DIALOG_H

// Waits, with a running clock, until a file that exists but cannot be opened
// (another program holds it, or the account may not open it) can be opened,
// or the user cancels. Every tenth tick of the one-second timer tries the
// file with the first mode and then the second.

#include <cstdint>

#include "core/model/buffered_file.h"
#include "platform/ui/dialog_impl.h"

constexpr UINT_PTR kFileWaitTimer = 1212;

class CFileWaitDlg : public CDialogImpl {
 public:
  // Mode texts of at most 9 characters ("r+b", "rb").
  CFileWaitDlg(const char* path, BufferedFile* file, const char* firstMode, const char* secondMode);

  // 1 (IDOK) when the file was opened into the buffered file, 2 (IDCANCEL)
  // when the user gave up; as DoModal's result.
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // The tick count that all wait dialogs share.
  static uint32_t TickCount();

 private:
  LRESULT OnInitDialog();
  LRESULT OnTimer();
  void Finish(INT_PTR result);

  char m_path[kFilePathSize] = {};
  BufferedFile* m_file;
  char m_firstMode[10] = {};
  char m_secondMode[10] = {};
  int64_t m_startSeconds = 0;
};

#endif
