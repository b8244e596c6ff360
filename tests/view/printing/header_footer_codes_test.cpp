#include "view/printing/header_footer_codes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Runs {
  std::vector<std::pair<int, std::string>> runs;
  static bool Add(void* self, int section, const char* text, size_t length) {
    static_cast<Runs*>(self)->runs.push_back({section, std::string(text, length)});
    return true;
  }
  // The non-empty runs as "section:text" joined by "|".
  std::string Joined() const {
    std::string out;
    for (const auto& r : runs)
      if (!r.second.empty())
        out += (out.empty() ? "" : "|") + std::to_string(r.first) + ":" + r.second;
    return out;
  }
};

void Clock(OsLocalTime* out) {
  *out = OsLocalTime{};
  out->year = 2026;
  out->month = 12;
  out->day = 7;
  out->hour = 9;
  out->minute = 5;
  out->second = 30;
}

bool IsoDate(const OsLocalTime& t, char* buffer, size_t size) {
  return std::snprintf(buffer, size, "%04u-%02u-%02u", t.year, t.month, t.day) > 0;
}
bool IsoTime(const OsLocalTime& t, char* buffer, size_t size) {
  return std::snprintf(buffer, size, "%02u:%02u:%02u", t.hour, t.minute, t.second) > 0;
}

class HeaderFooter : public ::testing::Test {
 protected:
  void SetUp() override {
    OsSetClockForTesting(Clock);
    info.pageCount = 12;
    info.sheetNumber = 2;
    info.pages[0] = 5;
    info.pages[1] = 6;
    info.pages[2] = 0;
    fileTime = OsLocalTime{};
    fileTime.year = 2025;
    fileTime.month = 1;
    fileTime.day = 31;
    fileTime.hour = 23;
    fileTime.minute = 59;
    fileTime.second = 58;
  }
  void TearDown() override { OsSetClockForTesting(nullptr); }
  std::string Expand(const char* codes) {
    Runs runs;
    EXPECT_TRUE(ExpandHeaderFooter(codes, sources, Runs::Add, &runs));
    return runs.Joined();
  }

  PrintedSheetInfo info = {};
  OsLocalTime fileTime;
  HeaderFooterSources sources = {"C:\\data\\book.tlv", "\\Sales\\2009", &info, &fileTime, IsoDate, IsoTime};
};

TEST_F(HeaderFooter, ExpandsEveryCode) {
  const std::pair<const char*, const char*> cases[] = {
      {"&c Document: &f", "1: Document: C:\\data\\book.tlv"},
      {"&c &p", "1: 5, 6"},
      {"&P+10", "0:15, 16"},
      {"&p-", "0:5, 6"},           // a sign without digits adds nothing
      {"&p-3x", "0:2, 3x"},
      {"&n of &m", "0:12 of 2"},
      {"&a", "0:\\Sales\\2009"},
      {"&d &t", "0:2026-12-07 09:05:30"},
      {"&g &z", "0:2025-01-31 23:59:00"},  // seconds dropped
      {"a&&p", "0:a&5, 6"},
      {"&x&", "0:&x&"},
      {"&lL&cC&rR", "0:L|1:C|2:R"},
      {"&lone&ctwo&lthree", "0:one|1:two|0:three"},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.first), c.second) << c.first;
}

TEST_F(HeaderFooter, AbsentSourcesAndOverlongInsertionsInsertNothing) {
  sources = {nullptr, nullptr, nullptr, nullptr, IsoDate, IsoTime};
  EXPECT_EQ(Expand("[&f&a&p&n&m&g&z]"), "0:[]");

  std::string path(1000, 'x');
  sources.filePath = path.c_str();
  EXPECT_EQ(Expand("ab&f&f").size(), std::string("0:ab").size() + 1000);
}

TEST_F(HeaderFooter, OffsetsOfLongDigitRunsDoNotWrap) {
  // 2^32 + 1 would wrap to 1 in 32 bits and print 6, 7.
  const std::string out = Expand("&p+4294967297");
  EXPECT_EQ(out, "0:4294967302, 4294967303");
}

}  // namespace
