#include <cstring>

#include "core/base/bounded_text.h"
#include "core/numfmt/double_to_text.h"
#include "core/numfmt/format_colors.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {


const char* ComparisonText(uint8_t comparison) {
  switch (comparison) {
    case kCompareLessEqual: return "<=";
    case kCompareGreaterEqual: return ">=";
    case kCompareEqual: return "=";
    case kCompareNotEqual: return "<>";
    case kCompareLess: return "<";
    case kCompareGreater: return ">";
    default: return "=";
  }
}

char DateCodeLetter(uint32_t kind) {
  switch (kind & ~kTokenElapsed) {
    case kTokenYear: return 'y';
    case kTokenMonth: return 'm';
    case kTokenDay: return 'd';
    case kTokenHour: return 'h';
    case kTokenMinute: return 'm';
    case kTokenSecond: return 's';
    default: return '?';
  }
}

// Where the group separators that only scale the value are written back: they
// must stand where the compiler counts them as scaling and no placeholder
// follows them, and where a separator is still read as one.
enum class ScalingPlace { kSectionStart, kBeforeToken, kSectionEnd };

ScalingPlace FindScalingPlace(const NumberFormat& f, const FormatSection& s, int* tokenIndex) {
  // Date and time codes stop group separators from being read, and such
  // sections have no integer placeholders to turn a leading one into a group.
  if (s.kinds & (kDateTimeCodeKinds | kTokenTimeSeparator | kTokenDateSeparator | kTokenElapsed)) {
    return ScalingPlace::kSectionStart;
  }
  for (int i = s.firstToken; i < s.firstToken + s.tokenCount; ++i) {
    if (f.tokens[i].kind & (kTokenDecimal | kTokenFractionBar | kTokenExponent)) {
      *tokenIndex = i;
      return ScalingPlace::kBeforeToken;
    }
  }
  return ScalingPlace::kSectionEnd;
}

}  // namespace

bool NumberFormat::ToText(char* buffer, size_t size, const RegionalSettings* separators) const {
  BoundedText out(buffer, size);
  auto separatorOf = [&](const FormatToken& token, char RegionalSettings::*field) {
    return separators ? separators->*field : static_cast<char>(token.character);
  };
  // A thousands or decimal separator that is also the date or time separator
  // reads as the latter before a date code, else as itself: where a date
  // code would follow a number separator, an empty text in double quotes
  // stands between them, and one in single quotes follows a date or time
  // separator that no date code follows.
  const auto isDateCharacter = [&](char c) {
    return separators && (c == separators->dateSeparator || c == separators->timeSeparator);
  };
  const auto isNumberCharacter = [&](char c) {
    return separators && (c == separators->thousandsSeparator || c == separators->decimalSeparator);
  };
  const auto putDateSeparator = [&](char c, int next, int end) {
    out.Put(c);
    const bool codeFollows = next < end && (tokens[next].kind & kDateTimeCodeKinds) &&
                             !(tokens[next].kind & kTokenElapsed);
    if (isNumberCharacter(c) && !codeFollows) out.Put("''");
  };
  size_t numberSeparatorEnd = 0;  // where such a separator was last written
  const auto putNumberSeparator = [&](char c, int count) {
    out.Repeat(c, count);
    if (count > 0 && isDateCharacter(c)) numberSeparatorEnd = out.Length();
  };
  for (int si = 0; si < sectionCount && si < kMaxFormatSections; ++si) {
    if (si > 0) out.Put(';');
    const FormatSection& s = sections[si];
    const char groupChar = separators ? separators->thousandsSeparator : ',';
    int scalingToken = -1;
    ScalingPlace place = FindScalingPlace(*this, s, &scalingToken);
    if (place == ScalingPlace::kSectionStart) putNumberSeparator(groupChar, s.thousandsScaling);
    int bracket = 0;
    const int end = s.firstToken + s.tokenCount;
    for (int i = s.firstToken; i < end && i < tokenCount; ++i) {
      const FormatToken& t = tokens[i];
      const char c = static_cast<char>(t.character);
      if (i == scalingToken) putNumberSeparator(groupChar, s.thousandsScaling);
      if (t.kind == kTokenLiteral) {
        // A double quote cannot stand inside a quoted run; it goes alone.
        int run = 0;
        while (i + run < end && tokens[i + run].kind == kTokenLiteral &&
               tokens[i + run].character != '"') {
          ++run;
        }
        if (run >= 2) {
          out.Put('"');
          for (int k = 0; k < run; ++k) out.Put(static_cast<char>(tokens[i + k].character));
          out.Put('"');
          i += run - 1;
        } else {
          out.Put('\\');
          out.Put(c);
        }
        continue;
      }
      if (t.kind & kBracketKinds) {
        const FormatBracket* b = bracket < s.bracketCount ? &s.brackets[bracket] : nullptr;
        ++bracket;
        if (!b) continue;
        out.Put('[');
        char text[kDoubleTextCapacity];
        if (b->kind == kTokenCondition) {
          out.Put(ComparisonText(b->comparison));
          DoubleToText(b->value, text, sizeof text, separators);
        } else {
          ColorToName(text, sizeof text, b->colour, b->kind == kTokenNamedColor);
        }
        out.Put(text);
        out.Put(']');
        continue;
      }
      if (t.kind & kDateTimeCodeKinds) {
        if (numberSeparatorEnd != 0 && out.Length() == numberSeparatorEnd && !(t.kind & kTokenElapsed))
          out.Put("\"\"");
        if ((t.kind & kTokenAmPm)) {
          out.Put(t.character == 5 ? "AM/PM" : "A/P");
          continue;
        }
        const char letter = DateCodeLetter(t.kind);
        const bool elapsed = (t.kind & kTokenElapsed) != 0;
        // Two codes of the same letter side by side would read back as one.
        if (!elapsed && out.Last() == letter) out.Put("\"\"");
        if (elapsed) out.Put('[');
        out.Repeat(letter, t.character);
        if (elapsed) out.Put(']');
        continue;
      }
      switch (t.kind) {
        case kTokenPlaceholder: out.Put(c); break;
        case kTokenGroup: putNumberSeparator(separatorOf(t, &RegionalSettings::thousandsSeparator), 1); break;
        case kTokenDecimal: putNumberSeparator(separatorOf(t, &RegionalSettings::decimalSeparator), 1); break;
        case kTokenExponent:
          out.Put(c);
          out.Put(static_cast<char>(s.exponentSign));
          break;
        case kTokenFractionBar: out.Put('/'); break;
        case kTokenGeneral: out.Put('@'); break;
        case kTokenBlank:
          out.Put('_');
          out.Put(c);
          break;
        case kTokenFill:
          out.Put('*');
          out.Put(c);
          break;
        case kTokenDateSeparator:
          putDateSeparator(separatorOf(t, &RegionalSettings::dateSeparator), i + 1, end);
          break;
        case kTokenTimeSeparator:
          putDateSeparator(separatorOf(t, &RegionalSettings::timeSeparator), i + 1, end);
          break;
        default: break;
      }
    }
    if (place == ScalingPlace::kSectionEnd) putNumberSeparator(groupChar, s.thousandsScaling);
  }
  return out.Finish();
}
