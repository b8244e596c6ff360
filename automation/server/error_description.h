#ifndef TALVERO_AUTOMATION_ERROR_DESCRIPTION_H
#define TALVERO_AUTOMATION_ERROR_DESCRIPTION_H

// The description a client reads with a failure that carries a workbook's
// error code: the code's message text, and for the XML reader's codes the
// line it stopped at.

#include <cstddef>
#include <cstdint>

// The HRESULT of a workbook error code: 0x80040000 plus the code.
constexpr uint32_t kWorkbookErrorResultBase = 0x80040000u;

// line 0 means none.
void ComposeErrorDescription(uint8_t code, uint32_t line, char* out, size_t size);

#endif
