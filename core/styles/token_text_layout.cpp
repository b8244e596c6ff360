#include "core/styles/token_text_layout.h"

#include <cstring>

namespace {

bool IsWrapPoint(const FormatToken& token) {
  if (token.kind != kTokenLiteral)
    return false;
  const char c = static_cast<char>(token.character);
  return c == ' ' || c == '-' || c == '.' || c == ',';
}

bool InsertLineFeed(NumberFormat* tokens, int at) {
  if (tokens->tokenCount >= kMaxFormatTokens) {
    tokens->overflow = 1;
    return false;
  }
  std::memmove(&tokens->tokens[at + 1], &tokens->tokens[at],
               static_cast<size_t>(tokens->tokenCount - at) * sizeof(FormatToken));
  FormatToken& lineFeed = tokens->tokens[at];
  lineFeed.kind = kTokenLiteral;
  lineFeed.section = 0;
  lineFeed.character = '\n';
  lineFeed.spare[0] = lineFeed.spare[1] = 0;
  ++tokens->tokenCount;
  ++tokens->sections[0].tokenCount;
  tokens->sections[0].kinds |= kTokenLiteral;
  return true;
}

// The elision candidate: tokens [0, left), "...", tokens [right, count).
size_t CandidateText(const NumberFormat& tokens, int left, int right, char* buffer) {
  size_t n = GatherTokenText(tokens, 0, left, buffer);
  std::memcpy(buffer + n, "...", 3);
  n += 3;
  return n + GatherTokenText(tokens, right, tokens.tokenCount - right, buffer + n);
}

}  // namespace

size_t GatherTokenText(const NumberFormat& tokens, int first, int count, char* buffer) {
  size_t n = 0;
  const int end = first + count < tokens.tokenCount ? first + count : tokens.tokenCount;
  for (int i = first < 0 ? 0 : first; i < end; ++i) {
    if (tokens.tokens[i].kind & kMeasuredKinds)
      buffer[n++] = static_cast<char>(tokens.tokens[i].character);
  }
  buffer[n] = '\0';
  return n;
}

bool TextExtentLines(const TextMeasurer& measurer, const NumberFormat& tokens, int32_t* width, int32_t* height,
                     int first, int count) {
  char text[kFormattedTextCapacity];
  const size_t length = GatherTokenText(tokens, first, count, text);
  return TextExtent(measurer, text, length, width, height);
}

bool WrapTokens(const TextMeasurer& measurer, NumberFormat* tokens, int32_t width) {
  int start = 0;
  while (start < tokens->tokenCount) {
    // The first token that no longer fits with the ones before it on the line.
    int end = start + 1;
    for (; end < tokens->tokenCount; ++end) {
      int32_t w = 0;
      int32_t h = 0;
      if (!TextExtentLines(measurer, *tokens, &w, &h, start, end - start + 1))
        return false;
      if (w > width)
        break;
    }
    if (end >= tokens->tokenCount)
      return true;
    int at = end;
    for (int k = end - 1; k >= start + 1; --k) {
      if (IsWrapPoint(tokens->tokens[k])) {
        at = k + 1;
        break;
      }
    }
    if (!InsertLineFeed(tokens, at))
      return false;
    start = at + 1;
  }
  return true;
}

bool ElideTokens(const TextMeasurer& measurer, NumberFormat* tokens, int32_t width) {
  const int count = tokens->tokenCount;
  if (count < 2)
    return true;
  int left = count / 2;
  int right = count / 2;
  bool leftTurn = true;
  char text[kFormattedTextCapacity + 3];
  for (;;) {
    const size_t length = CandidateText(*tokens, left, right, text);
    int32_t w = 0;
    int32_t h = 0;
    if (!TextExtent(measurer, text, length, &w, &h))
      return false;
    if (w <= width || (left == 1 && right == count))
      break;
    // A part that cannot shrink gives its turn to the other.
    if ((leftTurn && left > 1) || right == count)
      --left;
    else
      ++right;
    leftTurn = !leftTurn;
  }

  NumberFormat shortened = *tokens;
  shortened.tokenCount = 0;
  for (FormatSection& section : shortened.sections) {
    section.tokenCount = 0;
    section.kinds = 0;
  }
  shortened.overflow = 0;
  for (int i = 0; i < left; ++i)
    shortened.AddToken(tokens->tokens[i].kind, tokens->tokens[i].section, tokens->tokens[i].character);
  shortened.AddString("...", 0);
  for (int i = right; i < count; ++i)
    shortened.AddToken(tokens->tokens[i].kind, tokens->tokens[i].section, tokens->tokens[i].character);
  *tokens = shortened;
  return true;
}
