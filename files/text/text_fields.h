#ifndef TALVERO_FILES_TEXT_FIELDS_H
#define TALVERO_FILES_TEXT_FIELDS_H

// Splits the text of a whole file into its fields, by separators and
// quotes or by fixed widths, each field with the row and column it starts
// in.

#include <cstddef>
#include <cstdint>

#include "core/model/exchange_options.h"

// Characters a field keeps; the rest of a longer field is dropped.
constexpr size_t kTextFieldCapacity = 3072;

struct TextField {
  uint32_t row;
  uint32_t column;
  size_t length;
  // kTextFieldCapacity characters and a NUL; characters below 32 taken into
  // a field are spaces.
  char text[kTextFieldCapacity + 1];
};

class TextFieldSplitter {
 public:
  // The text ends at its first NUL.
  TextFieldSplitter(const char* text, const TextFileOptions& options) : p_(text), options_(options) {}
  // The next field, empty ones included; false once the text is used up.
  bool Next(TextField* field);

 private:
  void Take(TextField* field, char c) {
    if (field->length < kTextFieldCapacity)
      field->text[field->length++] = static_cast<uint8_t>(c) < 32 ? ' ' : c;
  }
  // At CR or LF: moves past the line break (CR LF counts once) to the next row.
  void EndLine();
  void ReadQuoted(TextField* field);
  void ReadDelimited(TextField* field);
  void ReadFixed(TextField* field);

  const char* p_;
  const TextFileOptions& options_;
  uint32_t row_ = 0;
  uint32_t column_ = 0;
  bool done_ = false;
};

#endif
