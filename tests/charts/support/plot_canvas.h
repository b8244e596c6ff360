#ifndef TALVERO_TESTS_CHARTS_PLOT_CANVAS_H
#define TALVERO_TESTS_CHARTS_PLOT_CANVAS_H

// A loaded chart on a display-list surface with an XY wall of chosen corners
// in device pixels, as a 2D builder finds it while the chart is drawn, and
// short forms of what the builders drew.

#include <cstdio>
#include <string>
#include <vector>

#include "charts/frame/chart_canvas.h"
#include "tests/charts/support/display_list_surface.h"

class PlotCanvas {
 public:
  // The wall's first corner and the opposite one; the builders draw one
  // pixel inside them.
  PlotCanvas(ChartRecord& chart, PlotPoint first, PlotPoint third, bool printing = false)
      : surface_(printing), canvas_{chart, surface_.Surface(), {}, {}} {
    PlaneRecord& wall = canvas_.layout.planes[kPlaneXY];
    wall.present = 1;
    wall.firstVertex = chart.vertices.Count();
    const PlotPoint corners[4] = {first, {third.x, first.y}, third, {first.x, third.y}};
    for (const PlotPoint& c : corners) AppendVertex(chart, c.x, c.y, 0);
    CopyModelToView(chart);
  }
  PlotCanvas(const PlotCanvas&) = delete;
  PlotCanvas& operator=(const PlotCanvas&) = delete;

  ChartCanvas& Canvas() { return canvas_; }
  DisplayListSurface& Surface() { return surface_; }
  std::vector<std::string> Of(const char* word) const { return surface_.Of(word); }

  // Each text as "x,y h/v text", its line breaks as "|".
  std::vector<std::string> Labels() const {
    std::vector<std::string> out;
    for (const std::string& line : surface_.Of("text")) {
      int x = 0;
      int y = 0;
      int h = 0;
      int v = 0;
      std::sscanf(line.c_str(), "text %d,%d align %d/%d", &x, &y, &h, &v);
      std::string text = line.substr(line.find(" \"") + 2);
      text.pop_back();
      for (size_t at; (at = text.find("\\x0A")) != std::string::npos;) text.replace(at, 4, "|");
      out.push_back(std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(h) + "/" +
                    std::to_string(v) + " " + text);
    }
    return out;
  }

 private:
  DisplayListSurface surface_;
  ChartCanvas canvas_;
};

// The series' axis runs exactly from `from` to `to`, unrounded.
inline void SetRange(SeriesRecord& s, double from, double to) {
  s.flags = static_cast<uint16_t>(s.flags | kSeriesFromValueSet | kSeriesToValueSet);
  s.fromValue = from;
  s.toValue = to;
}

#endif
