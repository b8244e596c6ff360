#include "core/numfmt/number_format.h"

#include <cstring>

#include "core/numfmt/regional_settings.h"

void NumberFormat::Clear() { memset(static_cast<void*>(this), 0, sizeof *this); }

bool NumberFormat::AddToken(uint32_t kind, int section, uint8_t character) {
  if (tokenCount >= kMaxFormatTokens || section < 0 || section >= kMaxFormatSections) {
    overflow = 1;
    return false;
  }
  FormatToken& token = tokens[tokenCount++];
  token.kind = kind;
  token.section = static_cast<uint8_t>(section);
  token.character = character;
  token.spare[0] = token.spare[1] = 0;
  sections[section].kinds |= kind;
  ++sections[section].tokenCount;
  return true;
}

bool NumberFormat::AddString(const char* text, int section) {
  for (; text && *text; ++text) {
    if (!AddToken(kTokenLiteral, section, static_cast<uint8_t>(*text))) return false;
  }
  return true;
}

bool NumberFormat::AddTokens(const NumberFormat& source, int first, int count, bool reversed) {
  if (first < 0 || count < 0 || first + count > source.tokenCount) return false;
  for (int i = 0; i < count; ++i) {
    const FormatToken& token = source.tokens[reversed ? first + count - 1 - i : first + i];
    if (!AddToken(token.kind, token.section, token.character)) return false;
  }
  return true;
}

bool NumberFormat::InsertToken(int index, uint32_t kind, uint8_t character) {
  if (index < 0 || index > tokenCount) return false;
  if (!AddToken(kind, 0, character)) return false;
  FormatToken added = tokens[tokenCount - 1];
  memmove(&tokens[index + 1], &tokens[index],
          static_cast<size_t>(tokenCount - 1 - index) * sizeof(FormatToken));
  tokens[index] = added;
  return true;
}

// The nearest date or time token before the end of the list that belongs to
// the section, or -1. Separators and literals do not count.
int NumberFormat::PrecedingDateCode(int section) const {
  for (int i = tokenCount - 1; i >= 0 && tokens[i].section == section; --i) {
    if (tokens[i].kind & kDateTimeCodeKinds) return i;
  }
  return -1;
}

// "m" and "mm" after an hour are minutes.
uint32_t NumberFormat::ResolveMinutes(uint32_t kind, int section, int count) const {
  if (kind != kTokenMonth || count > 2) return kind;
  int previous = PrecedingDateCode(section);
  if (previous >= 0 && (tokens[previous].kind & kTokenHour)) return kTokenMinute;
  return kind;
}

void NumberFormat::RecomputeSectionKinds(int section) {
  FormatSection& s = sections[section];
  s.kinds = 0;
  for (int i = s.firstToken; i < s.firstToken + s.tokenCount && i < tokenCount; ++i) {
    s.kinds |= tokens[i].kind;
  }
}

bool NumberFormat::AddDateCode(uint32_t kind, int section, int count) {
  if (section < 0 || section >= kMaxFormatSections) return false;
  kind = ResolveMinutes(kind, section, count);
  // "mm:ss": a month just before a second is a minute.
  if ((kind & ~kTokenElapsed) == kTokenSecond) {
    int previous = PrecedingDateCode(section);
    if (previous >= 0 && tokens[previous].kind == kTokenMonth && tokens[previous].character <= 2) {
      tokens[previous].kind = kTokenMinute;
      RecomputeSectionKinds(section);
    }
  }
  return AddToken(kind, section, static_cast<uint8_t>(count));
}

void NumberFormat::ApplySeparators(const RegionalSettings& separators) {
  for (int i = 0; i < tokenCount; ++i) {
    FormatToken& token = tokens[i];
    if (token.kind == kTokenGroup) {
      token.character = static_cast<uint8_t>(separators.thousandsSeparator);
    } else if (token.kind == kTokenDecimal) {
      token.character = static_cast<uint8_t>(separators.decimalSeparator);
    } else if (token.kind == kTokenDateSeparator) {
      token.character = static_cast<uint8_t>(separators.dateSeparator);
    } else if (token.kind == kTokenTimeSeparator) {
      token.character = static_cast<uint8_t>(separators.timeSeparator);
    }
  }
}

bool NumberFormat::MatchCondition(double value, int section) const {
  if (section < 0 || section >= kMaxFormatSections) return false;
  const FormatSection& s = sections[section];
  for (int b = 0; b < s.bracketCount && b < kMaxSectionBrackets; ++b) {
    const FormatBracket& bracket = s.brackets[b];
    if (bracket.kind != kTokenCondition) continue;
    bool holds = false;
    switch (bracket.comparison) {
      case kCompareLessEqual: holds = value <= bracket.value; break;
      case kCompareGreaterEqual: holds = value >= bracket.value; break;
      case kCompareEqual: holds = value == bracket.value; break;
      case kCompareNotEqual: holds = value != bracket.value; break;
      case kCompareLess: holds = value < bracket.value; break;
      case kCompareGreater: holds = value > bracket.value; break;
      default: break;
    }
    if (!holds) return false;
  }
  return true;
}
