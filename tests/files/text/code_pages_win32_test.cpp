// The portable code-page tables against the system's own conversions, for
// every byte and every UTF-16 unit.

#include <windows.h>

#include <gtest/gtest.h>

#include "files/text/code_pages.h"
#include "files/text/text_conversion.h"

namespace {

const UINT kCodePages[] = {kCodePageAnsi, kCodePageOemUnitedStates, kCodePageOemWesternEurope};

TEST(CodePages, EveryByteDecodesAsMultiByteToWideCharGives) {
  for (UINT codePage : kCodePages) {
    for (int b = 0; b < 256; ++b) {
      const char byte = char(b);
      WCHAR unit = 0;
      ASSERT_EQ(MultiByteToWideChar(codePage, 0, &byte, 1, &unit, 1), 1);
      EXPECT_EQ(DecodeCodePageByte(uint16_t(codePage), uint8_t(b)), unit) << codePage << " byte " << b;
    }
  }
}

TEST(CodePages, EveryUnitEncodesAsWideCharToMultiByteGives) {
  for (UINT codePage : kCodePages) {
    int differences = 0;
    for (uint32_t u = 0; u < 0x10000; ++u) {
      const WCHAR unit = WCHAR(u);
      char bytes[4] = {};
      const int count = WideCharToMultiByte(codePage, 0, &unit, 1, bytes, sizeof bytes, nullptr, nullptr);
      const uint8_t expected = count == 1 ? uint8_t(bytes[0]) : uint8_t('?');
      if (EncodeCodePageUnit(uint16_t(codePage), uint16_t(u)) != expected && ++differences < 10)
        ADD_FAILURE() << codePage << " unit " << std::hex << u;
    }
    EXPECT_EQ(differences, 0) << codePage;
  }
}

TEST(CodePages, OemAndUtf8ConversionsEqualTheSystems) {
  for (int b = 1; b < 256; ++b) {
    const char in[2] = {char(b), '\0'};
    char system[2] = {};
    char ours[2] = {char(b), '\0'};
    OemToCharA(in, system);
    OemToAnsiInPlace(ours, 1);
    EXPECT_EQ(ours[0], system[0]) << "OEM to ANSI " << b;
    CharToOemA(in, system);
    ours[0] = char(b);
    AnsiToOemInPlace(ours, 1);
    EXPECT_EQ(ours[0], system[0]) << "ANSI to OEM " << b;

    WCHAR unit = 0;
    MultiByteToWideChar(CP_ACP, 0, in, 1, &unit, 1);
    char utf8System[4] = {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, &unit, 1, utf8System, sizeof utf8System, nullptr, nullptr);
    char utf8[kUtf8TextCapacity];
    ASSERT_EQ(AnsiToUtf8(in, 1, utf8), size_t(length)) << b;
    EXPECT_EQ(std::string(utf8, size_t(length)), std::string(utf8System, size_t(length))) << b;
    char back[kConvertedUnits];
    ASSERT_EQ(Utf8ToAnsi(utf8, size_t(length), back), 1u);
    EXPECT_EQ(back[0], in[0]) << b;
  }
}

}  // namespace
