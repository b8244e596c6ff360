#ifndef TALVERO_DIALOGS_XBASE_DESCRIPTION_H
#define TALVERO_DIALOGS_XBASE_DESCRIPTION_H

// The texts the xBase file dialog shows of a table's description: the
// summary line, the caption, and each field's row (name, type, length).

#include <cstddef>
#include <cstdint>

#include "core/model/exchange_options.h"

// "dBase III+", "dBase IV", "FoxPro 2.x", "Clipper"; "" for any other.
const char* XBaseDialectName(uint8_t dialect);
// "Open %s File" or "Save %s File".
void FormatXBaseCaption(uint8_t dialect, bool save, char* out, size_t size);
// "name,  N record(s),  last saved: m/d/yyyy".
void FormatXBaseSummary(const XBaseTable& table, const char* displayName, char* out, size_t size);

// The type's name in the list ("Unknown" for a letter it does not know).
const char* XBaseTypeName(char type);
// The length column of a field's row.
void FormatXBaseLength(const uint8_t* field, uint8_t dialect, char* out, size_t size);
// "n.  name" with the row number from 1.
void FormatXBaseNameColumn(const uint8_t* field, uint32_t index, char* out, size_t size);

#endif
