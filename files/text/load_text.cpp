#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/text/loaded_sheet.h"
#include "files/text/text_conversion.h"
#include "files/text/text_field_value.h"
#include "files/text/text_fields.h"

namespace {

struct FreeBuffer {
  void operator()(char* buffer) const { std::free(buffer); }
};
using FileText = std::unique_ptr<char, FreeBuffer>;

// The whole file from its start, NUL-terminated; null with the error code.
FileText ReadWholeFile(std::FILE* file, uint8_t* code) {
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0)
    length = std::ftell(file);
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    *code = kFileReadError;
    return nullptr;
  }
  FileText text(static_cast<char*>(std::malloc(size_t(length) + 1)));
  if (!text) {
    *code = kFileOutOfMemory;
    return nullptr;
  }
  const size_t got = std::fread(text.get(), 1, size_t(length), file);
  if (got != size_t(length) && std::ferror(file)) {
    *code = kFileReadError;
    return nullptr;
  }
  text.get()[got] = '\0';
  return text;
}

// Makes the cells of the fields, in the order they come.
class TextLoad {
 public:
  TextLoad(CWorkBook* book, CWorkSheet* sheet) : book_(book), sheet_(sheet), options_(book->textFileOptions) {}

  bool Run(const char* text) {
    TextFieldSplitter splitter(text, options_);
    std::unique_ptr<TextField> field(new (std::nothrow) TextField);
    if (!field)
      return Fail(kFileOutOfMemory);
    while (splitter.Next(field.get()))
      if (field->length != 0 && field->row < kRowCount && field->column < kColumnCount && !StoreField(*field))
        return Fail(kFileOutOfMemory);
    return true;
  }

 private:
  bool Fail(uint8_t code) {
    book_->error = code;
    return false;
  }

  bool StoreField(TextField& field) {
    char ansi[kConvertedUnits + 1];
    size_t length = field.length;
    const char* text = field.text;
    switch (options_.charset) {
      case kTextCharsetUtf8:
        length = Utf8ToAnsi(field.text, field.length, ansi);
        text = ansi;
        break;
      case kTextCharsetOem:
        OemToAnsiInPlace(field.text, field.length);
        [[fallthrough]];
      default:
        if (length > kConvertedUnits)
          length = kConvertedUnits;
        break;
    }
    // Blanks at a fixed field's end pad it to its width (the writer adds
    // them): a text ends before them, and a field of blanks is empty, so
    // that a saved sheet reads back with the cells it had.
    while (options_.fixedWidth && length > 0 && text[length - 1] == ' ') --length;
    // Nothing is left of a field whose first character UTF-8 cannot give.
    if (length == 0)
      return true;
    std::memmove(ansi, text, length);
    ansi[length] = '\0';
    const uint32_t row = field.row;
    const uint16_t column = static_cast<uint16_t>(field.column);
    alignas(8) uint8_t record[kCellInputCapacity];
    uint32_t size = 0;
    double number = 0;
    switch (ReadTextFieldValue(ansi, options_.recognizeValues != 0, &number)) {
      case kTextFieldFormula: {
        NumFormatParams format{};
        size = CWorkSheet::ParseCellInput(book_, ansi, &format, row, column, record, sizeof record);
        break;
      }
      case kTextFieldNumber:
        size = BuildNumberCell(record, sizeof record, row, column, number);
        break;
      default:
        size = BuildTextCell(record, sizeof record, row, column, ansi, static_cast<uint16_t>(length));
        break;
    }
    return size != 0 && sheet_->cells.InsertCell(AsCellRecord(record), &cursor_);
  }

  CWorkBook* book_;
  CWorkSheet* sheet_;
  const TextFileOptions& options_;
  CellCursor cursor_;
};

}  // namespace

bool CWorkBook::LoadText() {
  if (!bufferedFile.file) {
    error = kFileReadError;
    return false;
  }
  CWorkSheet* sheet = StartLoadedSheet(this, bufferedFile.path);
  if (!sheet)
    return false;
  uint8_t code = 0;
  const FileText text = ReadWholeFile(bufferedFile.file, &code);
  if (!text) {
    error = code;
    return false;
  }
  return TextLoad(this, sheet).Run(text.get());
}
