#ifndef TALVERO_TESTS_FILES_OLD_BINARY_OLD_FILE_WRITER_H
#define TALVERO_TESTS_FILES_OLD_BINARY_OLD_FILE_WRITER_H

// Files of the older binary format, written byte by byte from a plain
// description, for the reader's tests, its fuzzing seeds and the program's
// own open story. The layout follows what the reader takes; every part has
// defaults that make a small valid file.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace oldfile {

class Bytes {
 public:
  Bytes& U8(uint32_t v) {
    data.push_back(char(v & 0xFF));
    return *this;
  }
  Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
  Bytes& F64(double v) {
    char b[8];
    std::memcpy(b, &v, 8);
    data.append(b, 8);
    return *this;
  }
  Bytes& Raw(const std::string& bytes) {
    data += bytes;
    return *this;
  }
  Bytes& Zeros(size_t n) {
    data.append(n, '\0');
    return *this;
  }
  // A u32 length and the bytes.
  Bytes& Text(const std::string& text) { return U32(uint32_t(text.size())).Raw(text); }
  // A fixed field: the text, then zeros up to size.
  Bytes& Field(const std::string& text, size_t size) { return Raw(text.substr(0, size)).Zeros(size - std::min(size, text.size())); }

  std::string data;
};

struct LogFont {
  int32_t height = -13;
  int32_t weight = 400;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0, pitchAndFamily = 0;
  std::string face = "Arial";

  std::string Encoded() const {
    Bytes b;
    b.U32(uint32_t(height)).Zeros(12).U32(uint32_t(weight)).U8(italic).U8(underline).U8(strikeOut).U8(charSet);
    b.Zeros(3).U8(pitchAndFamily).Field(face, 32);
    return b.data;
  }
};

struct List {
  uint32_t slot = 0;
  std::string name;
  std::string text;
};

struct Style {
  uint32_t bits = 0;
  uint16_t font = 0;
  uint32_t fill = 0, textColor = 0, borderColor = 0, border = 0, decimals = 0, value36 = 0;

  std::string Encoded() const {
    Bytes b;
    b.U32(bits).U16(font).Zeros(2).U32(fill).U32(textColor).U32(borderColor).Zeros(8).U32(border);
    b.U32(decimals).U32(value36).Zeros(32);
    return b.data;
  }
};

struct Cell {
  uint16_t column = 0;
  uint32_t row = 0;
  uint8_t kind = 2;  // 1 text, 2 number, 4 formula
  double number = 0;
  std::string text;
};

struct Page {
  uint8_t version = 1;
  uint32_t paper = 1;
  std::string printer = "Printer";
  uint16_t landscape = 0, scale = 100, firstPage = 1, copies = 1, pagesPerSheet = 1;
  double margins[4] = {1.5, 1.5, 2, 2};  // centimetres: left, right, top, bottom
  std::string header = "&c head", footer = "&c foot";
  double headerMargin = 1, footerMargin = 1;
  uint32_t alignment = 0, rowHeadings = 1, columnHeadings = 1;

  std::string Encoded() const {
    Bytes b;
    b.U8(version).U32(0).U32(paper).Text(printer).U16(landscape).U16(scale).U16(firstPage).U16(copies);
    b.U16(pagesPerSheet);
    for (double m : margins) b.F64(m);
    b.Text(header).Text(footer).F64(headerMargin).F64(footerMargin);
    b.Raw(LogFont().Encoded()).U32(0xFF).Raw(LogFont().Encoded()).U32(0);
    b.U32(alignment).U32(rowHeadings).U32(columnHeadings).Zeros(32).Text("").Text("");
    return b.data;
  }
};

struct StyleGroup {
  uint16_t rows = 1;
  uint32_t firstRow = 0;
  struct Span {
    uint16_t first, last, style;
  };
  std::vector<Span> spans;
};

struct Sheet {
  std::string name = "Sheet";
  uint32_t level = 1;
  // The objects, encoded with their count (see ObjectsWith).
  std::string objects = std::string(2, '\0');
  uint32_t wordBeforePage = 0;
  Page page;
  std::vector<std::pair<uint16_t, uint16_t>> widthRuns = {{512, 80}};
  uint32_t rowCount = 1;
  std::vector<std::pair<uint32_t, uint16_t>> heightRuns = {{1, 17}};
  std::vector<std::pair<uint16_t, uint16_t>> styleColumnRuns = {{512, 0}};
  uint32_t styledRows = 0;
  std::vector<StyleGroup> styleGroups;
  bool wideRows = true;
  std::vector<Cell> cells;

  std::string Record() const {
    Bytes b;
    b.Raw(objects).U32(wordBeforePage).Raw(page.Encoded()).Zeros(32).U32(0).U32(0);
    b.U32(rowCount);
    for (auto& run : widthRuns) b.U16(run.first).U16(run.second);
    for (auto& run : heightRuns) b.U32(run.first).U16(run.second);
    for (auto& run : styleColumnRuns) b.U16(run.first).U16(run.second);
    b.U32(styledRows);
    for (const StyleGroup& g : styleGroups) {
      b.U16(g.rows).U32(g.firstRow).U16(uint32_t(g.spans.size()));
      for (auto& s : g.spans) b.U16(s.first).U16(s.last).U16(s.style);
    }
    b.U8(wideRows ? 1 : 0);
    for (const Cell& c : cells) {
      b.U16(c.column);
      if (wideRows)
        b.U32(c.row);
      else
        b.U16(c.row);
      b.U8(c.kind);
      if (c.kind == 1)
        b.U16(uint32_t(c.text.size())).Raw(c.text);
      else if (c.kind == 2)
        b.F64(c.number);
      else
        b.U16(uint32_t(c.text.size())).Raw(c.text).F64(c.number);
    }
    return b.data;
  }
};

struct Folder {
  std::string name = "Folder";
  uint32_t level = 1;
  uint32_t expanded = 1;
};

// An item: its record length, the 96-byte head and the worksheet record.
inline std::string Item(const std::string& name, uint32_t kind, uint32_t level, uint32_t flag,
                        const std::string& record) {
  Bytes head;
  head.Field(name, 52).U32(kind).U32(level).Zeros(16).U32(flag).Zeros(16);
  Bytes b;
  b.U32(uint32_t(96 + record.size())).Raw(head.data).Raw(record);
  return b.data;
}

struct File {
  std::string signature = std::string("Talvero6000\0", 12);
  uint8_t flag = 0;
  std::string skipped = "xyz";
  std::vector<List> lists;
  std::vector<Style> styles = {Style()};
  std::vector<LogFont> fonts = {LogFont()};
  std::vector<Folder> folders;  // before the worksheets
  std::vector<Sheet> sheets = {Sheet()};

  std::string Encoded() const {
    Bytes b;
    b.Raw(signature).U8(flag).Text(skipped).U32(uint32_t(lists.size()));
    for (const List& l : lists) b.Field(l.name, 52).U32(l.slot).Zeros(4).Text(l.text);
    b.U32(0).U32(0).U32(0).U16(uint32_t(styles.size()));
    for (const Style& s : styles) b.Raw(s.Encoded());
    b.U16(uint32_t(fonts.size()));
    for (const LogFont& f : fonts) b.Raw(f.Encoded());
    for (const Folder& f : folders) b.Raw(Item(f.name, 2, f.level, f.expanded, ""));
    for (const Sheet& s : sheets) b.Raw(Item(s.name, 1, s.level, 0, s.Record()));
    return b.data;
  }
};

// Objects: a text box and a chart, each after its class's introduction.
inline std::string TextObject(const std::string& title, uint32_t options = 0, uint16_t classTag = 0xFFFF) {
  Bytes b;
  if (classTag == 0xFFFF)
    b.U16(0xFFFF).U16(1).U16(7).Raw("TextObj");
  else
    b.U16(classTag);
  b.U32(10).U32(20).U32(210).U32(120).U32(3).U32(0).U32(4).U32(0);
  LogFont font;
  font.weight = 700;
  b.Raw(font.Encoded()).U32(0x0000FF).U32(options).U32(0x00FF00).Zeros(64).Zeros(48).Zeros(32);
  b.Text(title);
  if (options & 3)
    b.Text("picture.png").U8(0).U32(5).Raw("PIXEL");
  return b.data;
}

inline std::string ChartObject(uint32_t type, uint32_t flags, uint16_t classTag = 0xFFFF) {
  Bytes b;
  if (classTag == 0xFFFF)
    b.U16(0xFFFF).U16(1).U16(8).Raw("GraphObj");
  else
    b.U16(classTag);
  b.U32(0).U32(0).U32(300).U32(200).U32(1).U32(0).U32(2).U32(0);
  Bytes chart;
  chart.U32(type).U32(flags).U32(0).U32(0).U32(3).U32(0).U32(1).U32(1).U32(3).U32(2);
  chart.U32(1).Raw(LogFont().Encoded()).U32(0x123456).Field("Sales", 128);
  chart.Zeros(2640 - chart.data.size());
  b.Raw(chart.data);
  return b.data;
}

inline std::string ObjectsWith(const std::vector<std::string>& objects) {
  Bytes b;
  b.U16(uint32_t(objects.size()));
  for (const std::string& o : objects) b.Raw(o);
  return b.data;
}

}  // namespace oldfile

#endif
