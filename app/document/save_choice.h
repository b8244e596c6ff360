#ifndef TALVERO_APP_SAVE_CHOICE_H
#define TALVERO_APP_SAVE_CHOICE_H

// What a document's Save and Save As decide before anything is written: the
// file kind a filter of the save dialog or the name typed stands for, and
// the dialog's filter list and default extension. The native variant a save
// uses is the files' NativeSaveVariant.

#include <cstdint>

#include "files/dispatch/document_file.h"

// The native extension, without the dot: what the save dialog appends to a
// name typed without one, and what the open dialog lists.
extern const char kNativeExtension[];
// The save dialog's filters, pairs of NUL-separated texts ending in an empty
// one: native, text, Excel 2003 XML, the four xBase dialects, all files.
extern const char kSaveFilter[];
constexpr uint32_t kSaveFilterCount = 8;
// The filter of the native kind.
constexpr uint32_t kNativeSaveFilterIndex = 1;

// The file kind (the workbook's format byte, 0 native to 6 Clipper) of a
// filter index of the save dialog; index 0 and "All Files" are native.
uint8_t FileKindOfSaveFilter(uint32_t filterIndex);

// The kind Save As writes under the chosen path: the filter's, unless the
// path ends in a native extension (".tlv" or ".tlw", letter case aside),
// which says the native kind whatever filter the dialog kept from an
// earlier save. No extension leads away from the native kind, which keeps
// everything a workbook holds.
uint8_t FileKindOfSavedName(const char* path, uint8_t filterKind);

// A kind as the question before a lossy save names it: "text", "Excel 2003
// XML" or the xBase dialect's name; "" for the native kind.
const char* SaveKindName(uint8_t kind);

#endif
