#ifndef TALVERO_TESTS_FILES_NATIVE_XML_RANDOM_CONTAINERS_H
#define TALVERO_TESTS_FILES_NATIVE_XML_RANDOM_CONTAINERS_H

// Random containers with charts of the three kinds, every field the native
// XML document carries drawn from its whole range (and some beyond, where
// the writer must bring a value within what its reader takes), and the
// records a save and load must give back for them.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/base/scheme_colors.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/numfmt/num_format_params.h"
#include "core/workbook/container_id_set.h"

namespace randomcharts {

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  uint32_t Below(uint32_t n) { return n ? uint32_t(random_() % n) : 0; }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  uint32_t Color() { return uint32_t(random_()) & 0xFFFFFF; }

  // Up to maxLength characters: letters, blanks (runs included), the XML
  // specials and a few above 127.
  void Text(char* out, size_t size, size_t maxLength) {
    static const char kPool[] = "abcXYZ019 <>&\"'=\t.,\xE9\xFF";
    size_t length = Below(uint32_t(maxLength + 1));
    if (length >= size)
      length = size - 1;
    std::memset(out, 0, size);
    for (size_t i = 0; i < length; ++i) out[i] = kPool[Below(sizeof kPool - 1)];
  }

  double Number() {
    switch (Below(4)) {
      case 0: return double(int32_t(random_())) / 7.0;
      case 1: return std::ldexp(double(random_()), int(Below(200)) - 100);
      case 2: return 0.1 * Below(1000);
      default: return Chance(50) ? 5e-324 : -1.7976931348623157e308;
    }
  }

  void Font(ColorFontRecord* font) {
    std::memset(&font->font, 0, sizeof font->font);
    Text(font->font.faceName, sizeof font->font.faceName, Chance(10) ? 127 : 20);
    font->font.family = uint8_t(Below(6));
    font->font.size = uint8_t(Below(256));  // 255 is no size a file gives
    font->font.weight = uint8_t(Below(4));
    font->font.italic = uint8_t(Below(2));
    font->font.underline = uint8_t(Below(2));
    font->font.strikeOut = uint8_t(Below(2));
    font->font.charSet = uint8_t(Below(17));
    font->colorSet = uint8_t(Below(2));
    font->color = Color();
  }

  void Fill(FillRecord* fill) {
    fill->pattern = uint8_t(Below(23));
    fill->patternColorSet = uint8_t(Below(2));
    fill->patternColor = Color();
    fill->backgroundColorSet = uint8_t(Below(2));
    fill->backgroundColor = Color();
  }

  void Line(BorderLine* line) {
    line->style = uint8_t(Below(10));
    line->colorSet = uint8_t(Below(2));
    line->color = Color();
  }

  void Series(SeriesRecord* s) {
    s->role = uint8_t(1 + Below(4));
    s->scale = uint8_t(Below(4));
    s->flags = uint16_t(Below(16) & 0x0E);
    s->fromValue = Number();
    s->toValue = Number();
    s->periods = uint16_t(1 + Below(65534));
    s->subperiods = uint16_t(Below(65535));
    s->divisor = 1 + uint32_t(random_()) % 4294967294u;
    Text(s->name, sizeof s->name, Chance(10) ? 127 : 12);
    Text(s->relatedX, sizeof s->relatedX, 12);
    Text(s->relatedSigma, sizeof s->relatedSigma, 12);
    Text(s->dataArray, sizeof s->dataArray, Chance(10) ? 1024 : 40);
    if (Chance(50)) {
      s->numberFormat.category = kNumFormatUserPattern;
      std::snprintf(s->numberFormat.code, sizeof s->numberFormat.code, "0.%s \"x\"", Chance(50) ? "00" : "0#");
    }
    s->viewType = uint8_t(Below(13));  // 0 and 12 are no view type
    s->stacked = uint8_t(Below(2));
    s->relative = uint8_t(Below(2));
    s->visible = uint8_t(Below(2));
    s->labelKind = uint8_t(Below(5));
    s->symbol = uint8_t(Below(17));  // 0 and 16 have no name
    s->axisType = uint8_t(Below(4));
    s->sliceCount = uint8_t(Below(17));
    Font(&s->labelFont);
    Line(&s->line);
    Fill(&s->fill);
    Line(&s->connectingLine);
    for (FillRecord& fill : s->sliceFills) Fill(&fill);
    s->axisFlags = uint16_t(random_());
    Line(&s->axisLine);
    Font(&s->axisTitleFont);
    Text(s->axisTitleText, sizeof s->axisTitleText, 20);
    Line(&s->majorGrid);
    Line(&s->minorGrid);
    s->userGridCount = uint8_t(Below(17));
    for (int i = 0; i < kSeriesUserGridLines; ++i) {
      Line(&s->userGridLines[i]);
      s->userGridValues[i] = Number();
    }
  }

  ChartRecord* Chart() {
    auto* chart = new ChartRecord(uint8_t(1 + Below(3)));
    ChartOptions& o = chart->options;
    uint8_t* percents[] = {&o.viewWidth, &o.viewHeight, &o.barSize, &o.stackBarSize, &o.lineWidth3D, &o.pieTickness3D};
    for (uint8_t* percent : percents) *percent = uint8_t(1 + Below(100));
    o.pieSplit = uint8_t(Below(101));
    Titles(&o.titleFont, o.titleText, &o.subtitleFont, o.subtitleText);
    o.legend = uint8_t(Below(10));
    Font(&o.legendFont);
    o.lightDirectionX = uint16_t(Below(181));
    o.lightDirectionY = uint16_t(Below(181));
    o.perspective = uint16_t(1 + Below(100));
    o.planeXY = uint8_t(Below(2));
    o.planeXZ = uint8_t(Below(2));
    o.planeYZ = uint8_t(Below(2));
    Fill(&o.wallFill);
    Line(&o.wallBorder);
    o.seriesCount = uint8_t(Below(kChartMaxSeries + 1));
    for (int i = 0; i < o.seriesCount; ++i) Series(&chart->series[i]);
    for (auto& row : chart->viewMatrix)
      for (float& cell : row) cell = float(std::ldexp(double(int32_t(random_())), int(Below(60)) - 60));
    return chart;
  }

  ContainerRecord* Container(uint16_t id) {
    auto* container = new ContainerRecord;
    ContainerHeader& h = container->header;
    h.id = id;
    h.columns = uint8_t(1 + Below(255));
    h.rows = uint8_t(1 + Below(255));
    h.horizontalSpacing = uint8_t(Below(256));
    h.verticalSpacing = uint8_t(Below(256));
    h.opacity = uint8_t(Below(101));
    h.anchor = ContainerAnchor{uint16_t(Below(2047)), Below(2097152), 9};
    h.rect = ContainerRect{int32_t(random_()), int32_t(random_()), int32_t(Below(1000)), -int32_t(Below(1000))};
    Titles(&h.titleFont, h.titleText, &h.subtitleFont, h.subtitleText);
    Line(&h.border);
    h.backgroundKind = uint8_t(Below(4));
    Fill(&h.fill);
    static const char* const kImages[] = {"a.bmp", "pictures\\B.JPG", "c d.jpeg", "x.PNG"};
    std::snprintf(h.imageName, sizeof h.imageName, "%s", kImages[Below(4)]);
    h.imageView = uint8_t(Below(4));
    h.fractal = FractalParameters{Number(), Number(), Number(), Number(), Number(), Number()};
    for (uint32_t& color : h.palette) color = Color();
    const int charts = int(Below(4));
    for (int k = 0; k < charts; ++k) {
      container->items[k].kind = kItemChart;
      container->items[k].chart = Chart();
    }
    h.itemCount = uint8_t(charts);
    return container;
  }

 private:
  // Either title may be empty; the subtitle alone is the case writers lost.
  void Titles(ColorFontRecord* firstFont, char* first, ColorFontRecord* secondFont, char* second) {
    Font(firstFont);
    Font(secondFont);
    Text(first, 128, Chance(40) ? 0 : Chance(10) ? 127 : 20);
    Text(second, 128, Chance(40) ? 0 : 20);
  }

  std::mt19937 random_;
};

// What a save and load give back for each record, starting from the record
// a reader starts from.
inline void ExpectFont(const ColorFontRecord& from, ColorFontRecord* to) {
  to->font = from.font;
  if (to->font.size == 255)
    to->font.size = 0;
  if (from.colorSet) {
    to->colorSet = 1;
    to->color = from.color;
  }
}

// A colour left unset comes back unset, as the system colour it stands for,
// whatever the record started from.
inline void ExpectFill(const FillRecord& from, FillRecord* to) {
  to->pattern = from.pattern;
  to->patternColorSet = from.patternColorSet ? 1 : 0;
  to->patternColor = from.patternColorSet ? from.patternColor
                                          : GetSchemeColor(from.pattern <= 1 ? kSchemeWindow : kSchemeWindowText);
  to->backgroundColorSet = from.backgroundColorSet ? 1 : 0;
  to->backgroundColor = from.backgroundColorSet ? from.backgroundColor : GetSchemeColor(kSchemeWindow);
}

inline void ExpectLine(const BorderLine& from, BorderLine* to) {
  to->style = from.style;
  to->colorSet = from.colorSet ? 1 : 0;
  to->color = from.colorSet ? from.color : GetSchemeColor(kSchemeWindowText);
}

// The first title is kept when either has text, the second when it has.
inline void ExpectTitles(const ColorFontRecord& firstFont, const char* first, const ColorFontRecord& secondFont,
                         const char* second, ColorFontRecord* toFirstFont, char* toFirst,
                         ColorFontRecord* toSecondFont, char* toSecond) {
  if (!first[0] && !second[0])
    return;
  ExpectFont(firstFont, toFirstFont);
  std::memcpy(toFirst, first, 128);
  if (!second[0])
    return;
  ExpectFont(secondFont, toSecondFont);
  std::memcpy(toSecond, second, 128);
}

inline uint8_t ExpectViewType(uint8_t kind, uint8_t type) {
  if (kind == kChartXY)
    return kViewScatter;
  if (kind == kChart3D)
    return type >= 7 && type <= 11 ? type : type >= 1 && type <= 5 ? uint8_t(type + 6) : uint8_t(7);
  return type >= 1 && type <= 6 ? type : type >= 7 && type <= 11 ? uint8_t(type - 6) : uint8_t(1);
}

inline void ExpectSeries(uint8_t kind, const SeriesRecord& s, SeriesRecord* e) {
  e->role = s.role == kSeriesXValues || s.role == kSeriesCategories
                ? uint8_t(kind == kChartXY ? kSeriesXValues : kSeriesCategories)
                : s.role;
  std::memcpy(e->name, s.name, sizeof e->name);
  std::memcpy(e->dataArray, s.dataArray, sizeof e->dataArray);
  if (e->role == kSeriesErrorBars)
    return;
  if (e->role != kSeriesCategories)
    e->scale = s.scale;
  if (kind != kChart3D)
    std::memcpy(e->relatedSigma, s.relatedSigma, sizeof e->relatedSigma);
  if (e->role == kSeriesData)
    std::memcpy(e->relatedX, s.relatedX, sizeof e->relatedX);
  if (e->role == kSeriesData || e->role == kSeriesXValues) {
    e->flags = uint16_t(s.flags & (kSeriesFromValueSet | kSeriesToValueSet));
    if (s.flags & kSeriesFromValueSet)
      e->fromValue = s.fromValue;
    if (s.flags & kSeriesToValueSet)
      e->toValue = s.toValue;
  }
  if (e->role == kSeriesCategories) {
    e->divisor = s.divisor;
  } else {
    e->periods = s.periods;
    e->subperiods = s.subperiods;
  }
  e->numberFormat = s.numberFormat;
  if (e->role == kSeriesData) {
    const uint8_t t = ExpectViewType(kind, s.viewType);
    const bool stackable = t == 1 || t == 2 || t == 4 || t == 7 || t == 8 || t == 10;
    e->viewType = t;
    if (stackable) {
      e->stacked = s.stacked;
      e->relative = s.stacked ? s.relative : 0;
    }
    if (t <= 6 || t == kViewPie3D)
      e->labelKind = s.labelKind;
    e->visible = s.visible;
    e->symbol = t != kViewScatter ? 5 : s.symbol >= 1 && s.symbol <= 15 ? s.symbol : 4;
    if (t <= 6 || t == kViewPie3D)
      ExpectFont(s.labelFont, &e->labelFont);
    if (t != kViewLine && t != kViewPie && t != kViewPie3D)
      ExpectFill(s.fill, &e->fill);
    if (t == kViewLine || t == kViewScatter)
      ExpectLine(s.line, &e->line);
    if (t == kViewScatter)
      ExpectLine(s.connectingLine, &e->connectingLine);
    if (t == kViewPie || t == kViewPie3D) {
      const int n = s.sliceCount < 1 ? 1 : s.sliceCount;
      for (int i = 0; i < n; ++i) ExpectFill(s.sliceFills[i], &e->sliceFills[i]);
    }
  }
  e->axisType = s.axisType;
  const uint16_t f = s.axisFlags;
  e->axisFlags = uint16_t((e->axisFlags & ~0x3F) | (f & 2 ? 2 : f & 1) | (f & 8 ? 8 : f & 4) | (f & 0x30));
  ExpectLine(s.axisLine, &e->axisLine);
  ExpectFont(s.axisTitleFont, &e->axisTitleFont);
  std::memcpy(e->axisTitleText, s.axisTitleText, sizeof e->axisTitleText);
  ExpectLine(s.majorGrid, &e->majorGrid);
  ExpectLine(s.minorGrid, &e->minorGrid);
  e->userGridCount = s.userGridCount;
  for (int i = 0; i < s.userGridCount; ++i) {
    ExpectLine(s.userGridLines[i], &e->userGridLines[i]);
    e->userGridValues[i] = s.userGridValues[i];
  }
}

inline std::unique_ptr<ChartRecord> ExpectChart(const ChartRecord& c) {
  const uint8_t kind = c.Kind();
  auto e = std::make_unique<ChartRecord>(kind);
  const ChartOptions& s = c.options;
  ChartOptions& o = e->options;
  o.viewWidth = s.viewWidth;
  o.viewHeight = s.viewHeight;
  o.barSize = s.barSize;
  o.stackBarSize = s.stackBarSize;
  o.pieSplit = s.pieSplit;
  ExpectTitles(s.titleFont, s.titleText, s.subtitleFont, s.subtitleText, &o.titleFont, o.titleText,
               &o.subtitleFont, o.subtitleText);
  // A code beyond the table is written as no legend, with its font.
  if (s.legend)
    ExpectFont(s.legendFont, &o.legendFont);
  if (s.legend <= 8)
    o.legend = s.legend;
  o.planeXY = s.planeXY;
  FillRecord wall = s.wallFill;
  if (kind == kChart3D) {
    o.lineWidth3D = s.lineWidth3D;
    o.pieTickness3D = s.pieTickness3D;
    o.lightDirectionX = s.lightDirectionX;
    o.lightDirectionY = s.lightDirectionY;
    o.perspective = s.perspective;
    o.planeXZ = s.planeXZ;
    o.planeYZ = s.planeYZ;
    if (wall.pattern)
      wall.pattern = 1;
    std::memcpy(e->viewMatrix, c.viewMatrix, sizeof e->viewMatrix);
  }
  ExpectFill(wall, &o.wallFill);
  ExpectLine(s.wallBorder, &o.wallBorder);
  // Error bars, then X values or categories, then data.
  const uint8_t groups[3][2] = {{4, 4}, {2, 3}, {1, 1}};
  for (const auto& roles : groups)
    for (int i = 0; i < s.seriesCount; ++i)
      if (c.series[i].role == roles[0] || c.series[i].role == roles[1])
        ExpectSeries(kind, c.series[i], &e->series[o.seriesCount++]);
  return e;
}

inline void ExpectHeader(const ContainerHeader& h, ContainerHeader* e) {
  e->id = h.id;
  e->columns = h.columns;
  e->rows = h.rows;
  e->horizontalSpacing = h.horizontalSpacing;
  e->verticalSpacing = h.verticalSpacing;
  e->opacity = h.opacity;
  e->anchor = ContainerAnchor{h.anchor.column, h.anchor.row, 9};
  e->rect = h.rect;
  if (e->rect.left == INT32_MIN)
    e->rect.left = -INT32_MAX;
  if (e->rect.top == INT32_MIN)
    e->rect.top = -INT32_MAX;
  ExpectTitles(h.titleFont, h.titleText, h.subtitleFont, h.subtitleText, &e->titleFont, e->titleText,
               &e->subtitleFont, e->subtitleText);
  ExpectLine(h.border, &e->border);
  switch (h.backgroundKind) {
    case kBackgroundImage:
      e->backgroundKind = kBackgroundImage;
      std::memcpy(e->imageName, h.imageName, sizeof e->imageName);
      e->imageView = h.imageView <= 2 ? h.imageView : 0;
      break;
    case kBackgroundFractal:
      e->backgroundKind = kBackgroundFractal;
      e->fractal = h.fractal;
      std::memcpy(e->palette, h.palette, sizeof e->palette);
      break;
    default: {
      // No background comes back as a fill without a pattern.
      FillRecord fill = h.fill;
      if (h.backgroundKind == kBackgroundNone)
        fill.pattern = 0;
      e->backgroundKind = kBackgroundPattern;
      ExpectFill(fill, &e->fill);
      break;
    }
  }
}

}  // namespace randomcharts

#endif
