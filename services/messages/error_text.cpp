#include "services/messages/error_text.h"

#include <cstdio>

#include "files/errors/file_errors.h"

namespace {

struct ErrorEntry {
  int code;
  const char* text;
};

// The file subsystem's codes (8, 9, 21, 25, 26, 34, 35, 38, 39, 46, 56 to 60,
// 62, 64 and 65) take their texts from FileErrorText, so the two never disagree.
const ErrorEntry kErrorTexts[] = {
    {1, "Out of memory while loading an image"},
    {2, "Too many images in one document"},
    {3, "An unsupported image source (protocol)"},
    {4, "Out of memory while allocating container data"},
    {5, "Can't find the specified image on the image list"},
    {6, "An unsupported image format"},
    {7, "There can be max. 255 objects in one container"},
    {10, "An invalid worksheet/folder path - not found"},
    {11, "An invalid container ID - not found"},
    {12, "An invalid cache index"},
    {13, "No worksheet selected"},
    {14, "Too many styles in one document"},
    {15, "Too many drop-down lists in one document"},
    {16, "No pages to print"},
    {17, "An invalid print page range"},
    {18, "The zoom factor is too small"},
    {19, "The current margin(s) is smaller than the min. margin of the printer"},
    {20, "No printer selected."},
    {22, "Too many containers"},
    {23, "Not enough empty columns to the right of the last non-empty column"},
    {24, "Not enough empty rows below the last row non-empty row"},
    {27, "Out of memory while creating chart data"},
    {28, "An array formula is required to generate a chart data series"},
    {29,
     "Data series using any of the 'stacked' view types must use the same axis scale and data range.\n\n"
     "Check the 'Data' and 'Axes' property pages to see whether those parameters are the same."},
    {30, "Invalid numbers while calculating axis limits"},
    {31, "Too many chart axes"},
    {32, "Too many chart series"},
    {33, "Too many user gridlines"},
    {36, "Error while closing the specified file"},
    {37, "Error while repositioning a file pointer"},
    {40, "Error while deleting a file"},
    {41, "Error while checking the file size/info"},
    {42, "Error while allocating a file read/write buffer"},
    {44, "Error while decrypting a file"},
    {45, "Error while encrypting a file"},
    {47, "Out of memory while processing image data"},
    {48, "Can't find or load the ijl15.dll library"},
    {49, "Can't initialize the ijl15.dll library"},
    {50, "Error while reading a JPEG image"},
    {51, "Error while writing a JPEG image"},
    {52, "An unrecognized number of channels in the jpeg image"},
    {53, "An invalid bitmap file"},
    {54, "Error while reading a PNG image"},
    {55, "Error while writing a PNG image"},
    {61, "Only the UTF-8 encoding is supported"},
    // Rows or columns refused because a formula they would rewrite would
    // outgrow its text: without a text the refusal would say "No error".
    {63, "A formula would become longer than 1024 characters"},
    {66, "The margins leave no room to print on the paper"},
    {67, "Another worksheet or folder in the same place already has this name"},
    {68, "A worksheet or folder name cannot contain a backslash (\\): it separates the folders of a path"},
    {69, "A formula could not name this worksheet or folder: its path would contain both ' and \""},
    {70, "The path of a worksheet or folder would be longer than 213 characters, the most a formula can name"},
    {71, "A worksheet's path and the reference after it would reach 256 characters, more than a formula can hold: "
         "the formula was kept as text"},
    {110, "Can't open the Clipboard"},
};

}  // namespace

const char* GetErrorText(int code) {
  for (const ErrorEntry& entry : kErrorTexts)
    if (entry.code == code) return entry.text;
  if (code <= 0 || code > 255) return "No error";
  return FileErrorText(static_cast<uint8_t>(code));
}

void FormatErrorTextWithLine(int code, int line, char* out, size_t size) {
  std::snprintf(out, size, "%s\nLine: %d", GetErrorText(code), line);
}
