#include "view/printing/header_footer_codes.h"

#include <cstdio>
#include <cstring>

namespace {

class Run {
 public:
  // Whole or not at all.
  void Insert(const char* text, size_t length) {
    if (length > kHeaderRunCapacity - length_)
      return;
    std::memcpy(text_ + length_, text, length);
    length_ += length;
  }
  void Insert(const char* text) { Insert(text, std::strlen(text)); }
  const char* Text() const { return text_; }
  size_t Length() const { return length_; }
  void Clear() { length_ = 0; }

 private:
  char text_[kHeaderRunCapacity];
  size_t length_ = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The +n or -n right after &p: digits saturate far beyond any page number.
int64_t ReadOffset(const char*& p) {
  if (*p != '+' && *p != '-')
    return 0;
  const bool negative = *p == '-';
  ++p;
  int64_t value = 0;
  for (; IsDigit(*p); ++p)
    if (value < INT64_C(1) << 40)
      value = value * 10 + (*p - '0');
  return negative ? -value : value;
}

void InsertPageNumbers(Run& run, const PrintedSheetInfo& sheet, int64_t offset) {
  char numbers[kHeaderRunCapacity + 32];
  size_t length = 0;
  for (int i = 0; i < kPrintedSheetMaxPages && sheet.pages[i] != 0; ++i) {
    const int written = std::snprintf(numbers + length, sizeof numbers - length, "%s%lld", i ? ", " : "",
                                      static_cast<long long>(sheet.pages[i] + offset));
    if (written < 0 || static_cast<size_t>(written) >= sizeof numbers - length)
      return;  // longer than any run: left out whole
    length += static_cast<size_t>(written);
  }
  run.Insert(numbers, length);
}

void InsertNumber(Run& run, uint32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(number));
  run.Insert(text);
}

void InsertTime(Run& run, HeaderTimeFormatter format, const OsLocalTime& time) {
  char text[128];
  if (format && format(time, text, sizeof text))
    run.Insert(text);
}

}  // namespace

bool ExpandHeaderFooter(const char* codes, const HeaderFooterSources& sources, HeaderRunSink sink, void* context) {
  Run run;
  int section = kSectionLeft;
  bool ok = true;
  auto endRun = [&]() {
    if (!sink(context, section, run.Text(), run.Length()))
      ok = false;
    run.Clear();
  };

  for (const char* p = codes; *p;) {
    if (*p != '&') {
      run.Insert(p, 1);
      ++p;
      continue;
    }
    const char code = static_cast<char>(p[1] | 0x20);
    if (p[1] == '\0' || !std::strchr("lcrpnmfadtgz", code)) {
      // Not a code: the ampersand is printed and what follows read as usual.
      run.Insert("&", 1);
      ++p;
      continue;
    }
    p += 2;
    OsLocalTime now;
    switch (code) {
      case 'l':
      case 'c':
      case 'r':
        endRun();
        section = code == 'l' ? kSectionLeft : code == 'c' ? kSectionCentre : kSectionRight;
        break;
      case 'p': {
        const int64_t offset = ReadOffset(p);
        if (sources.sheet)
          InsertPageNumbers(run, *sources.sheet, offset);
        break;
      }
      case 'n':
        if (sources.sheet)
          InsertNumber(run, sources.sheet->pageCount);
        break;
      case 'm':
        if (sources.sheet)
          InsertNumber(run, sources.sheet->sheetNumber);
        break;
      case 'f':
        if (sources.filePath)
          run.Insert(sources.filePath);
        break;
      case 'a':
        if (sources.sheetPath)
          run.Insert(sources.sheetPath);
        break;
      case 'd':
      case 't':
        OsGetLocalTime(&now);
        InsertTime(run, code == 'd' ? sources.formatDate : sources.formatTime, now);
        break;
      default:  // g and z
        if (sources.fileTime) {
          OsLocalTime changed = *sources.fileTime;
          changed.second = 0;
          changed.milliseconds = 0;
          InsertTime(run, code == 'g' ? sources.formatDate : sources.formatTime, changed);
        }
        break;
    }
  }
  endRun();
  return ok;
}
