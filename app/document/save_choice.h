#ifndef TALVERO_APP_SAVE_CHOICE_H
#define TALVERO_APP_SAVE_CHOICE_H

// What a document's Save and Save As decide before anything is written: the
// file kind a filter of the save dialog stands for, and the dialog's filter
// list and default extension. The native variant a save uses is the files'
// NativeSaveVariant.

#include <cstdint>

#include "files/dispatch/document_file.h"

// The native extension, without the dot: what the save dialog appends to a
// name typed without one, and what the open dialog lists.
extern const char kNativeExtension[];
// The save dialog's filters, pairs of NUL-separated texts ending in an empty
// one: native, text, Excel 2003 XML, the four xBase dialects, all files.
extern const char kSaveFilter[];
constexpr uint32_t kSaveFilterCount = 8;

// The file kind (the workbook's format byte, 0 native to 6 Clipper) of a
// filter index of the save dialog; index 0 and "All Files" are native.
uint8_t FileKindOfSaveFilter(uint32_t filterIndex);

// A kind as the question before a lossy save names it: "text", "Excel 2003
// XML" or the xBase dialect's name; "" for the native kind.
const char* SaveKindName(uint8_t kind);

#endif
