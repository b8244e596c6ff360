#ifndef TALVERO_FILES_XBASE_MEMO_H
#define TALVERO_FILES_XBASE_MEMO_H

// Memo files of xBase tables: the texts of memo fields, each from a block
// boundary, in a ".dbt" file (dBase III+, dBase IV, Clipper) or a ".fpt"
// file (FoxPro 2.x) beside the table. CWorkBook::WriteXBaseMemo appends one.

#include <cstddef>
#include <cstdint>

// A memo keeps at most this many characters when read.
constexpr size_t kXBaseMemoCapacity = 1024;

// The table's path with its extension replaced (or, without one, extended)
// by ".dbt", or ".fpt" for FoxPro 2.x. False when it does not fit.
bool XBaseMemoFileName(const char* tablePath, char* out, size_t size, uint8_t dialect);

// Makes (or empties) the table's memo file: the dialect's header and no
// memo. False when it cannot be written.
bool CreateXBaseMemoFile(const char* tablePath, uint8_t dialect);

// The text of the memo in a block, at most kXBaseMemoCapacity characters,
// NUL-terminated in out (room for kXBaseMemoCapacity + 1). False when the
// memo file cannot be opened or read, or the memo's layout is damaged.
bool ReadXBaseMemo(const char* tablePath, uint8_t dialect, uint32_t block, char* out);

#endif
