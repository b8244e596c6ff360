#include "files/text/text_fields.h"

namespace {

// Counts that stop short of wrapping: a file long enough to pass them only
// gives fields outside the grid, which are dropped.
void Advance(uint32_t* count) {
  if (*count < UINT32_MAX)
    ++*count;
}

}  // namespace

bool TextFieldSplitter::Next(TextField* field) {
  if (done_)
    return false;
  field->row = row_;
  field->column = column_;
  field->length = 0;
  if (options_.fixedWidth)
    ReadFixed(field);
  else if (*p_ == options_.quote && *p_ != '\0')
    ReadQuoted(field);
  else
    ReadDelimited(field);
  field->text[field->length] = '\0';
  if (*p_ == '\0')
    done_ = true;
  return true;
}

void TextFieldSplitter::EndLine() {
  if (*p_ == '\r' && p_[1] == '\n')
    ++p_;
  ++p_;
  Advance(&row_);
  column_ = 0;
}

void TextFieldSplitter::ReadQuoted(TextField* field) {
  const char quote = options_.quote;
  for (++p_; *p_ != '\0'; ++p_) {
    if (*p_ == quote) {
      // A lone quote ends the field; what follows it starts the next one
      // in the same column.
      if (p_[1] != quote) {
        ++p_;
        return;
      }
      ++p_;
    }
    Take(field, *p_);
  }
}

void TextFieldSplitter::ReadDelimited(TextField* field) {
  for (; *p_ != '\0'; ++p_) {
    if (*p_ == options_.separator) {
      ++p_;
      Advance(&column_);
      return;
    }
    if (*p_ == '\r' || *p_ == '\n') {
      EndLine();
      return;
    }
    Take(field, *p_);
  }
}

void TextFieldSplitter::ReadFixed(TextField* field) {
  // Columns past the grid have no width: they take the rest of the line.
  const uint32_t width = column_ < kColumnCount ? options_.widths[column_] : 0;
  // Widths count characters: in UTF-8 the bytes that continue a character
  // are not counted, as the writer does not count them.
  const bool utf8 = options_.charset == kTextCharsetUtf8;
  uint32_t taken = 0;
  for (; *p_ != '\0'; ++p_) {
    if (*p_ == '\r' || *p_ == '\n') {
      EndLine();
      return;
    }
    const bool continues = utf8 && (uint8_t(*p_) & 0xC0) == 0x80;
    if (!continues) {
      if (width != 0 && taken == width) {
        Advance(&column_);
        return;
      }
      ++taken;
    }
    Take(field, *p_);
  }
}
