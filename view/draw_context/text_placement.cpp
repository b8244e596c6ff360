#include "view/draw_context/text_placement.h"

#include <cmath>
#include <cstring>

#include "core/styles/token_text_layout.h"

namespace {

constexpr int kMaxFillRepeat = 1024;

int32_t Trunc(double value) { return static_cast<int32_t>(value); }

// Moves the point along the text's direction by a width.
void Forward(double angle, double width, int32_t* x, int32_t* y) {
  *x += Trunc(std::cos(angle) * width);
  *y -= Trunc(std::sin(angle) * width);
}

struct Pen {
  const TextMeasurer& measurer;
  const TextSink& sink;
  double angle;
  int horizontalCode;
  int verticalCode;
  int32_t x;
  int32_t y;

  // Draws a piece of the given width by the anchor rule of the horizontal code.
  bool Piece(const char* text, size_t length, int32_t width) {
    if (horizontalCode == kAlignRight) {
      Forward(angle, width, &x, &y);
      return PlaceTextLines(measurer, sink, x, y, text, length, angle, verticalCode);
    }
    if (horizontalCode == kAlignCentre) {
      x += Trunc(std::cos(angle) * width * 0.5);
      y += Trunc(std::sin(angle) * width * -0.5);
      if (!PlaceTextLines(measurer, sink, x, y, text, length, angle, verticalCode))
        return false;
      x += Trunc(std::cos(angle) * width * 0.5);
      y += Trunc(std::sin(angle) * width * -0.5);
      return true;
    }
    if (!PlaceTextLines(measurer, sink, x, y, text, length, angle, verticalCode))
      return false;
    Forward(angle, width, &x, &y);
    return true;
  }
};

bool Width(const TextMeasurer& measurer, const char* text, size_t length, int32_t* width) {
  int32_t height = 0;
  return TextExtent(measurer, text, length, width, &height);
}

// The most repeats of a character, up to 1024, whose width stays below the
// share; 0 when not even one does. Widths grow with the count.
bool FillRepeat(const TextMeasurer& measurer, char c, int32_t share, char* buffer, int* count) {
  std::memset(buffer, c, kMaxFillRepeat);
  int low = 0;
  int high = kMaxFillRepeat;
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    int32_t width = 0;
    if (!Width(measurer, buffer, static_cast<size_t>(middle), &width))
      return false;
    if (width < share)
      low = middle;
    else
      high = middle - 1;
  }
  *count = low;
  return true;
}

}  // namespace

bool PlaceTextLines(const TextMeasurer& measurer, const TextSink& sink, int32_t x, int32_t y, const char* text,
                    size_t length, double angle, int verticalCode) {
  if (verticalCode == kAlignMiddle || verticalCode == kAlignBottom) {
    int32_t width = 0;
    int32_t height = 0;
    if (!TextExtent(measurer, text, length, &width, &height))
      return false;
    const double share = verticalCode == kAlignMiddle ? -0.5 : -1.0;
    x += Trunc(std::sin(angle) * height * share);
    y += Trunc(std::cos(angle) * height * share);
  }
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
    if (!sink.draw(sink.target, x, y, text + start, end - start))
      return false;
    if (end >= length)
      return true;
    int32_t width = 0;
    int32_t height = 0;
    const bool measured = end > start ? measurer.MeasureLine(text + start, end - start, &width, &height)
                                      : measurer.MeasureLine("X", 1, &width, &height);
    if (!measured)
      return false;
    x += Trunc(std::sin(angle) * height);
    y += Trunc(std::cos(angle) * height);
    const char other = text[end] == '\r' ? '\n' : '\r';
    start = end + ((end + 1 < length && text[end + 1] == other) ? 2 : 1);
    if (start >= length)
      return true;
  }
}

bool PlaceCellText(const TextMeasurer& measurer, const TextSink& sink, int32_t x, int32_t y,
                   const NumberFormat& tokens, int32_t width, double angle, int horizontalCode, int verticalCode) {
  int32_t textWidth = 0;
  int32_t textHeight = 0;
  if (!TextExtentLines(measurer, tokens, &textWidth, &textHeight, 0, tokens.tokenCount))
    return false;
  const int32_t field = width > textWidth ? width : textWidth;
  int fills = 0;
  for (int i = 0; i < tokens.tokenCount; ++i) fills += (tokens.tokens[i].kind & kTokenFill) != 0;
  const int32_t share = fills > 0 ? (field - textWidth) / fills : 0;
  const int32_t extent = fills > 0 ? field : textWidth;

  if (horizontalCode == kAlignRight) {
    x -= Trunc(std::cos(angle) * (extent - 1));
    y += Trunc(std::sin(angle) * extent);
  } else if (horizontalCode == kAlignCentre) {
    x += Trunc(std::cos(angle) * (extent - 1) * -0.5);
    y += Trunc(std::sin(angle) * extent * 0.5);
  }

  Pen pen{measurer, sink, angle, horizontalCode, verticalCode, x, y};
  char run[kFormattedTextCapacity];
  char repeated[kMaxFillRepeat];
  int i = 0;
  while (i < tokens.tokenCount) {
    size_t length = 0;
    while (i < tokens.tokenCount && (tokens.tokens[i].kind & kTextBearingKinds))
      run[length++] = static_cast<char>(tokens.tokens[i++].character);
    if (length > 0) {
      int32_t runWidth = 0;
      if (!Width(measurer, run, length, &runWidth) || !pen.Piece(run, length, runWidth))
        return false;
    }
    if (i >= tokens.tokenCount)
      break;
    const FormatToken& token = tokens.tokens[i++];
    const char c = static_cast<char>(token.character);
    if (token.kind & kTokenFill) {
      int count = 0;
      if (!FillRepeat(measurer, c, share, repeated, &count))
        return false;
      if (count > 0 && !pen.Piece(repeated, static_cast<size_t>(count), share))
        return false;
    } else if (token.kind & kTokenBlank) {
      int32_t blankWidth = 0;
      if (!Width(measurer, &c, 1, &blankWidth))
        return false;
      Forward(angle, blankWidth, &pen.x, &pen.y);
    }
  }
  return true;
}
