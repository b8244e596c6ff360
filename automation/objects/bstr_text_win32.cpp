#include "automation/objects/bstr_text_win32.h"

void BstrToAnsi(BSTR text, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  if (text == nullptr) return;
  const int written = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), out,
                                          static_cast<int>(size - 1), nullptr, nullptr);
  if (written > 0) {
    out[written] = '\0';
    return;
  }
  // Too long for the room: convert what fits, character by character.
  size_t used = 0;
  for (UINT i = 0; i < SysStringLen(text); ++i) {
    char bytes[4];
    const int n = WideCharToMultiByte(CP_ACP, 0, text + i, 1, bytes, sizeof bytes, nullptr, nullptr);
    if (n <= 0 || used + static_cast<size_t>(n) > size - 1) break;
    for (int b = 0; b < n; ++b) out[used++] = bytes[b];
  }
  out[used] = '\0';
}

BSTR AnsiToBstr(const char* text, int maxChars) {
  const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (needed <= 0) return SysAllocString(L"");
  int chars = needed - 1;
  if (chars > maxChars) chars = maxChars;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(needed));
  if (result == nullptr) return nullptr;
  MultiByteToWideChar(CP_ACP, 0, text, -1, result, needed);
  // Keeps the first characters; the rest of the allocation is not part of it.
  result[chars] = L'\0';
  BSTR cut = SysAllocStringLen(result, static_cast<UINT>(chars));
  SysFreeString(result);
  return cut;
}
