#ifndef TALVERO_TESTS_FILES_SAMPLE_WORKBOOK_H
#define TALVERO_TESTS_FILES_SAMPLE_WORKBOOK_H

// Workbooks of every kind of content a native file carries, made from a
// seed, and a field-by-field comparison of two workbooks. Shared by the
// file tests, the sample writer that feeds the Python checker and the fuzz
// corpus.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"

namespace sample {

// The seed of the randomized file tests: TALVERO_TEST_SEED when set.
inline uint32_t TestSeed(uint32_t fallback = 20261207) {
  const char* text = std::getenv("TALVERO_TEST_SEED");
  return text && *text ? uint32_t(std::strtoul(text, nullptr, 10)) : fallback;
}

class Maker {
 public:
  explicit Maker(uint32_t seed) : random_(seed) {}

  uint32_t Below(uint32_t n) { return n ? uint32_t(random_() % n) : 0; }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  std::string Text(uint32_t maxLength, bool highBit = true) {
    std::string text;
    const uint32_t length = Below(maxLength + 1);
    for (uint32_t i = 0; i < length; ++i) {
      uint8_t c = uint8_t(32 + Below(highBit ? 224 : 95));
      text.push_back(char(c));
    }
    return text;
  }

  // A workbook of `sheets` worksheets (with folders around some of them),
  // about `cells` cells per worksheet.
  std::unique_ptr<CWorkBook> Workbook(int sheets, int cells) {
    auto book = std::make_unique<CWorkBook>();
    book->saveKind = 5;
    std::snprintf(book->lastModification.user, sizeof book->lastModification.user, "%s", Text(40).c_str());
    std::snprintf(book->lastModification.date, sizeof book->lastModification.date, "2026-12-%02uT10:%02u:00",
                  1 + Below(28), Below(60));
    book->panes = PaneLayout{uint16_t(Below(2)), uint16_t(Below(600)), uint16_t(Below(2)), uint16_t(Below(400))};
    MakeLists(book.get());
    MakeStyles(book.get());
    for (uint32_t i = Below(4); i > 0; --i) {
      uint8_t record[kInspectCellRecordSize];
      for (uint8_t& b : record) b = uint8_t(Below(256));
      const uint16_t column = uint16_t(Below(kColumnCount));
      const uint32_t row = Below(kRowCount);
      std::memcpy(record, &column, sizeof column);
      std::memcpy(record + 2, &row, sizeof row);
      record[267] = 0;
      record[395] = 0;
      book->inspectCells.Append(record);
    }
    uint16_t depth = 1;
    bool lastFolder = false;
    for (int s = 0; s < sheets; ++s) {
      if (Chance(40)) {
        CWorkSheetTree::CTreeItem* folder = NewFolderItem(Text(20, false).c_str(), 1, uint8_t(Below(2)));
        book->InsertItems(folder, nullptr);
        depth = uint16_t(lastFolder ? depth + 1 : 1 + Below(depth));
        folder->depth = depth;
        lastFolder = true;
      }
      char name[32];
      std::snprintf(name, sizeof name, "Sheet %d %s", s + 1, Text(8, false).c_str());
      CWorkSheet* sheet = NewWorksheet(name, 1);
      book->InsertItems(sheet, nullptr);
      depth = uint16_t(lastFolder ? depth + 1 : 1 + Below(depth));
      sheet->depth = depth;
      lastFolder = false;
      FillWorksheet(book.get(), sheet, cells);
      if (!book->activeWorksheet || Chance(30))
        book->activeWorksheet = sheet;
    }
    book->evaluator.sheet = &book->activeWorksheet->cells;
    return book;
  }

 private:
  void MakeLists(CWorkBook* book) {
    for (uint32_t n = Below(4); n > 0; --n) {
      DropDownList& list = book->dropDownLists[Below(kDropDownListCount)];
      std::snprintf(list.name, sizeof list.name, "%s", Text(29).c_str());
      for (uint32_t i = Below(5); i > 0; --i) list.AppendEntry(Text(60).c_str());
    }
  }

  void MakeStyles(CWorkBook* book) {
    for (uint32_t n = 1 + Below(6); n > 0; --n) {
      FontRecord font{};
      std::snprintf(font.faceName, sizeof font.faceName, "%s", Chance(50) ? "Arial" : "Courier New");
      font.size = uint8_t(8 + Below(20));
      font.weight = uint8_t(Below(4));
      font.italic = uint8_t(Below(2));
      font.charSet = uint8_t(Below(17));
      uint8_t fontIndex = 0;
      book->styles.FindOrAddFont(font, &fontIndex);
      StyleRecord style = StyleRecord::Default();
      style.fontIndex = fontIndex;
      style.numFormat.category = uint8_t(Below(11));
      if (style.numFormat.category == kNumFormatUserPattern)
        std::snprintf(style.numFormat.code, sizeof style.numFormat.code, "0.00;[Red]-0.00");
      style.interior.pattern = uint8_t(Below(23));
      style.interior.patternColor = uint32_t(Below(0x1000000));
      style.alignment.horizontal = uint8_t(Below(4));
      uint16_t index = 0;
      book->styles.FindOrAddStyle(style, &index);
    }
  }

  void FillWorksheet(CWorkBook* book, CWorkSheet* sheet, int cells) {
    uint8_t record[4096];
    CellCursor cursor;
    uint32_t row = Below(3);
    uint16_t column = 0;
    for (int i = 0; i < cells; ++i) {
      column = uint16_t(column + 1 + Below(3));
      if (column > 12 || Chance(10)) {
        row += 1 + (Chance(5) ? Below(5000) : Below(3));
        column = uint16_t(Below(3));
      }
      if (row > kMaxRow)
        break;
      uint32_t size = 0;
      switch (Below(4)) {
        case 0: {
          const std::string text = Text(Chance(5) ? 2000 : 30);
          size = BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()),
                               Chance(5) ? kCellSpillValue : 0);
          break;
        }
        case 1:
          size = BuildNumberCell(record, sizeof record, row, column, double(int32_t(random_())) / 64.0,
                                 Chance(5) ? kCellSpillValue : 0);
          break;
        default: {
          char formula[64];
          std::snprintf(formula, sizeof formula, "=R[-1]C+%u*SUM(R1C1:R3C2)", Below(1000));
          FormulaCellFields fields;
          fields.formula = formula;
          fields.formulaLength = uint16_t(std::strlen(formula));
          std::string cached;
          if (Chance(30)) {
            cached = Text(12, false);
            fields.cachedText = cached.data();
            fields.cachedTextLength = uint16_t(cached.size());
          } else {
            fields.resultFlags = kResultCachedNumber;
            fields.cachedNumber = double(Below(100000)) / 8.0;
          }
          size = BuildFormulaCell(record, sizeof record, row, column, fields);
          break;
        }
      }
      if (size)
        sheet->cells.InsertCell(AsCellRecord(record), &cursor);
    }
    SheetFormat& format = sheet->format;
    for (uint32_t n = Below(8); n > 0; --n) {
      const uint16_t first = uint16_t(Below(kColumnCount));
      const uint16_t last = uint16_t(first + Below(uint32_t(kColumnCount) - first < 30 ? kColumnCount - first : 30));
      for (uint32_t c = first; c <= last; ++c) format.columns[c].SetWidth(uint16_t(20 + Below(200)), Chance(50));
      if (Chance(50))
        for (uint32_t c = first; c <= last; ++c) format.columns[c].SetStyle(uint16_t(Below(book->styles.styleCount)));
    }
    for (uint32_t n = Below(10); n > 0; --n)
      format.rows.SetRow(Below(Chance(20) ? 100000 : 300), uint16_t(10 + Below(60)), Chance(50));
    CellCursor runCursor;
    for (uint32_t r = Below(40); r > 0; --r) {
      const uint16_t first = uint16_t(Below(100));
      StyleRun run{first, uint16_t(first + Below(20)), Below(200) * 7 + r, uint16_t(Below(book->styles.styleCount))};
      format.runs.ClearRect(run.firstColumn, run.lastColumn, run.row, run.row, nullptr, false);
      format.runs.InsertRun(run, nullptr);
    }
    (void)runCursor;
    for (uint32_t n = Below(3); n > 0; --n) {
      auto* container = new ContainerRecord;
      std::snprintf(container->header.titleText, sizeof container->header.titleText, "%s", Text(40).c_str());
      container->header.anchor.column = uint16_t(Below(50));
      container->header.anchor.row = Below(500);
      const int charts = int(Below(3));
      for (int k = 0; k < charts; ++k) {
        auto* chart = new ChartRecord(uint8_t(1 + Below(3)));
        chart->options.seriesCount = uint8_t(Below(kChartMaxSeries + 1));
        for (int i = 0; i < chart->options.seriesCount; ++i)
          std::snprintf(chart->series[i].dataArray, sizeof chart->series[i].dataArray, "=R1C%u:R9C%u", 1 + Below(9),
                        10 + Below(9));
        std::snprintf(chart->options.titleText, sizeof chart->options.titleText, "%s", Text(30).c_str());
        chart->options.rotationX = int16_t(Below(90));
        ChartRecord::Transform(chart->viewMatrix, kRotateAboutX, 0.25 * Below(12));
        container->items[k].kind = kItemChart;
        container->items[k].chart = chart;
      }
      container->header.itemCount = uint8_t(charts);
      book->AssignContainerId(container);
      sheet->AddContainer(container);
    }
    std::snprintf(sheet->pageSettings.headerText, sizeof sheet->pageSettings.headerText, "&l%s", Text(20).c_str());
    sheet->pageSettings.scale = uint16_t(10 + Below(200));
    sheet->viewFormat.zoom = uint16_t(50 + Below(200));
    sheet->viewFormat.gridLines = uint8_t(Below(2));
  }

  std::mt19937 random_;
};

inline std::unique_ptr<CWorkBook> MakeSampleWorkbook(uint32_t seed, int sheets = 3, int cells = 200) {
  return Maker(seed).Workbook(sheets, cells);
}

// The first difference between two workbooks' file contents, or "".
inline std::string Difference(const CWorkBook& a, const CWorkBook& b) {
  auto bytes = [](const void* x, const void* y, size_t n) { return std::memcmp(x, y, n) == 0; };
  if (std::strcmp(a.lastModification.user, b.lastModification.user) ||
      std::strcmp(a.lastModification.date, b.lastModification.date))
    return "last modification";
  if (!bytes(&a.panes, &b.panes, sizeof a.panes))
    return "panes";
  for (uint32_t i = 0; i < kDropDownListCount; ++i) {
    const DropDownList& x = a.dropDownLists[i];
    const DropDownList& y = b.dropDownLists[i];
    if (std::strcmp(x.name, y.name))
      return "list name " + std::to_string(i);
    const DropDownEntry* e = x.entries;
    const DropDownEntry* f = y.entries;
    for (; e && f; e = e->next, f = f->next)
      if (std::strcmp(e->text, f->text))
        return "list item " + std::to_string(i);
    if (e || f)
      return "list items " + std::to_string(i);
  }
  if (a.styles.fontCount != b.styles.fontCount || a.styles.styleCount != b.styles.styleCount ||
      !bytes(a.styles.fonts, b.styles.fonts, sizeof(FontRecord) * a.styles.fontCount) ||
      !bytes(a.styles.styles, b.styles.styles, sizeof(StyleRecord) * a.styles.styleCount))
    return "styles";
  if (a.inspectCells.Count() != b.inspectCells.Count())
    return "inspect count";
  for (uint32_t i = 0; i < a.inspectCells.Count(); ++i)
    if (!bytes(a.inspectCells.At(i), b.inspectCells.At(i), kInspectCellRecordSize))
      return "inspect record";
  if (a.worksheetCount != b.worksheetCount || a.folderCount != b.folderCount)
    return "item counts";
  const CWorkSheetTree::CTreeItem* x = a.firstItem;
  const CWorkSheetTree::CTreeItem* y = b.firstItem;
  for (int index = 0; x && y; x = x->next, y = y->next, ++index) {
    const std::string at = " of item " + std::to_string(index);
    if (std::strcmp(x->name, y->name) || x->depth != y->depth || x->kind != y->kind)
      return "head" + at;
    if (x->IsFolder() && x->flag != y->flag)
      return "folder flag" + at;
    const CWorkSheet* s = CWorkSheet::FromItem(x);
    const CWorkSheet* t = CWorkSheet::FromItem(y);
    if (!s)
      continue;
    if ((s == a.activeWorksheet) != (t == b.activeWorksheet))
      return "active" + at;
    if (!bytes(s->format.columns, t->format.columns, sizeof s->format.columns))
      return "columns" + at;
    if (s->format.rows.Count() != t->format.rows.Count())
      return "row count" + at;
    for (uint32_t r = 0; r < s->format.rows.Count(); ++r)
      if (*s->format.rows.At(r) != *t->format.rows.At(r))
        return "row " + std::to_string(r) + at;
    auto sameChain = [&](const BlockStore& p, const BlockStore& q) {
      std::string one, two;
      for (const CellBlock* k = p.FirstBlock(); k; k = k->next) one.append((const char*)k->payload, k->used);
      for (const CellBlock* k = q.FirstBlock(); k; k = k->next) two.append((const char*)k->payload, k->used);
      return one == two;
    };
    if (!sameChain(s->format.runs, t->format.runs))
      return "style runs" + at;
    if (!sameChain(s->cells, t->cells))
      return "cells" + at;
    if (!bytes(&s->pageSettings, &t->pageSettings, sizeof s->pageSettings))
      return "page settings" + at;
    if (!bytes(&s->viewFormat, &t->viewFormat, sizeof s->viewFormat))
      return "view format" + at;
    const ContainerRecord* c = s->containers;
    const ContainerRecord* d = t->containers;
    for (; c && d; c = c->next, d = d->next) {
      if (!bytes(&c->header, &d->header, sizeof c->header))
        return "container header" + at;
      for (int k = 0; k < c->header.itemCount; ++k) {
        const ChartRecord* p = c->items[k].chart;
        const ChartRecord* q = d->items[k].chart;
        if (!p || !q || !bytes(&p->options, &q->options, sizeof p->options) ||
            !bytes(p->viewMatrix, q->viewMatrix, sizeof p->viewMatrix))
          return "chart" + at;
        for (int i = 0; i < p->options.seriesCount; ++i)
          if (!bytes(&p->series[i], &q->series[i], kSeriesImageSize))
            return "series" + at;
      }
    }
    if (c || d)
      return "container count" + at;
  }
  if (x || y)
    return "item list";
  return "";
}

}  // namespace sample

#endif
