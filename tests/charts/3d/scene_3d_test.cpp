#include "charts/3d/scene_3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <limits>
#include <string>
#include <vector>

#include "charts/3d/scene_faces.h"
#include "charts/3d/scene_projection.h"
#include "charts/frame/chart_layout.h"
#include "charts/frame/shade_color.h"
#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

struct ViewPoint {
  float x;
  float y;
  float z;
};

// Records lie packed in their pages: the view values are read out whole.
ViewPoint ViewOf(const ChartRecord& chart, uint32_t i) {
  const VertexRecord* v = VertexAt(chart, i);
  return {v->viewX, v->viewY, v->viewZ};
}

uint32_t AddViewVertex(ChartRecord& chart, ViewPoint p) {
  const uint32_t i = chart.vertices.Count();
  EXPECT_TRUE(AppendVertex(chart, p.x, p.y, p.z));
  VertexRecord* v = VertexAt(chart, i);
  v->viewX = p.x;
  v->viewY = p.y;
  v->viewZ = p.z;
  return i;
}

TEST(ScenePerspective, OnlyPerspectivesBetween0And100ScaleXAndY) {
  const struct {
    uint16_t perspective;
    bool applied;
  } cases[] = {{0, false}, {100, false}, {150, false}, {35, true}, {99, true}, {1, true}};
  for (const auto& c : cases) {
    ChartRecord chart(kChart3D);
    AddViewVertex(chart, {10, 20, -10});
    AddViewVertex(chart, {10, 20, 10});
    EXPECT_EQ(ApplyPerspective(chart, c.perspective), c.applied) << c.perspective;
    // The nearest vertex (largest z) keeps its place in every case.
    EXPECT_EQ(ViewOf(chart, 1).x, 10.0f);
    EXPECT_EQ(ViewOf(chart, 1).y, 20.0f);
    EXPECT_EQ(ViewOf(chart, 0).z, -10.0f);
    if (!c.applied) {
      EXPECT_EQ(ViewOf(chart, 0).x, 10.0f) << c.perspective;
      EXPECT_EQ(ViewOf(chart, 0).y, 20.0f) << c.perspective;
    }
  }
  // Perspective 35 over a depth of 20: d = 70, the far vertex shrinks by
  // 70 / (70 + 10 + 10).
  ChartRecord chart(kChart3D);
  AddViewVertex(chart, {9, 18, -10});
  AddViewVertex(chart, {9, 18, 10});
  ASSERT_TRUE(ApplyPerspective(chart, 35));
  EXPECT_FLOAT_EQ(ViewOf(chart, 0).x, 7.0f);
  EXPECT_FLOAT_EQ(ViewOf(chart, 0).y, 14.0f);
}

TEST(ScenePerspective, AScenePastTheEyesPlaneKeepsItsParallelProjection) {
  // Far from the origin in z the smallest denominator d - zmax - zmin is not
  // positive; a flat scene has no depth at all. Both stay unscaled and finite.
  const std::vector<std::vector<ViewPoint>> scenes = {
      {{5, 5, 100}, {5, 5, 200}},
      {{5, 5, 40}, {5, 5, 41}},
      {{5, 5, 0}, {5, 5, 0}},
      {{5, 5, std::numeric_limits<float>::max()}, {5, 5, -std::numeric_limits<float>::max()}},
  };
  for (const auto& scene : scenes) {
    ChartRecord chart(kChart3D);
    for (const ViewPoint& p : scene) AddViewVertex(chart, p);
    EXPECT_FALSE(ApplyPerspective(chart, 5));
    for (uint32_t i = 0; i < chart.vertices.Count(); ++i) {
      EXPECT_EQ(ViewOf(chart, i).x, 5.0f);
      EXPECT_EQ(ViewOf(chart, i).y, 5.0f);
    }
  }
}

TEST(SceneLight, NinetyByNinetyComesFromTheViewer) {
  float light[3];
  LightDirection(90, 90, light);
  EXPECT_NEAR(light[0], 0, 1e-7);
  EXPECT_NEAR(light[1], 0, 1e-7);
  EXPECT_EQ(light[2], 1.0f);
  const uint32_t colour = 0x00C864FF;  // red 255, green 100, blue 200
  const struct {
    float normal[3];
    uint32_t shaded;
  } cases[] = {
      {{0, 0, 1}, colour},        // facing the light squarely: 0.6 + 0.65 + 0.3, clamped to 1
      {{0, 0, -1}, 0x003C1E4C},   // turned away: 0.3 (76, 30, 60)
      {{1, 0, 0}, 0x003C1E4C},    // edge-on to the light
      {{NAN, 0, 0}, 0x003C1E4C},  // a face without a normal
  };
  for (const auto& c : cases) EXPECT_EQ(ShadeColor(light, c.normal, colour), c.shaded);

  LightDirection(80, 100, light);  // the defaults: a little from the right and below
  EXPECT_NEAR(light[0], 0.1686, 1e-4);
  EXPECT_NEAR(light[1], -0.1686, 1e-4);
  EXPECT_NEAR(light[0] * light[0] + light[1] * light[1] + light[2] * light[2], 1, 1e-6);
}

TEST(SceneMatrix, BarsAreTurnedAQuarterAndRescaledToThePlot) {
  struct Case {
    uint8_t viewType;
    int32_t width;
    int32_t height;
    ViewPoint model;
    ViewPoint view;
  };
  const Case cases[] = {
      {kViewColumn3D, 200, 100, {200, 50, 7}, {200, 50, 7}},
      {kViewBar3D, 200, 100, {200, 0, 7}, {0, -100, 7}},
      {kViewBar3D, 200, 100, {0, 100, 7}, {200, 0, 7}},
      {kViewBar, 200, 100, {0, 100, 7}, {200, 0, 7}},
      // Without a height only the turn applies.
      {kViewBar3D, 200, 0, {200, 0, 7}, {0, -200, 7}},
  };
  for (const Case& c : cases) {
    ChartRecord chart(kChart3D);
    SetSeries(chart, 0, kSeriesData, kViewColumn3D);
    SetSeries(chart, 1, kSeriesData, c.viewType);
    ChartMatrix m;
    SceneMatrix(chart, c.width, c.height, m);
    AddViewVertex(chart, c.model);
    ProjectVertices(chart, m);
    const ViewPoint v = ViewOf(chart, 0);
    EXPECT_NEAR(v.x, c.view.x, 1e-4) << int(c.viewType) << " " << c.height;
    EXPECT_NEAR(v.y, c.view.y, 1e-4) << int(c.viewType) << " " << c.height;
    EXPECT_EQ(v.z, c.view.z);
  }
}

TEST(SceneNormals, PointsOnOneLineHaveNone) {
  ChartRecord chart(kChart3D);
  const uint32_t a = AddViewVertex(chart, {0, 0, 0});
  AddViewVertex(chart, {4, 0, 0});
  AddViewVertex(chart, {4, 3, 0});
  AddViewVertex(chart, {8, 6, 0});
  float n[3];
  FaceNormal(*VertexAt(chart, a), *VertexAt(chart, a + 1), *VertexAt(chart, a + 2), n);
  EXPECT_EQ(n[0], 0.0f);
  EXPECT_EQ(n[1], 0.0f);
  EXPECT_EQ(n[2], 1.0f);
  FaceNormal(*VertexAt(chart, a), *VertexAt(chart, a + 2), *VertexAt(chart, a + 3), n);
  EXPECT_TRUE(std::isnan(n[2]));
}

// Faces drawn straight from view values that stand for device pixels.
class Draw3DFaces : public ::testing::Test {
 protected:
  // A triangle with the given view normal z and corners.
  void AddFace(float nz, ViewPoint a, ViewPoint b, ViewPoint c, uint32_t colour = 0x00336699) {
    const uint32_t first = AddViewVertex(chart_, a);
    AddViewVertex(chart_, b);
    AddViewVertex(chart_, c);
    ASSERT_TRUE(AppendFace(chart_, first, first + 1, first + 2, first, colour, 3));
    FaceRecord* face = FaceAt(chart_, chart_.faces.Count() - 1);
    face->viewNormal[2] = nz;
    face->shadeNormal[2] = 1;
  }
  std::vector<std::string> Draw(bool printing) {
    DisplayListSurface surface(printing);
    ChartCanvas canvas = {chart_, surface.Surface(), {}, {}};
    canvas.layout.light[2] = 1;
    Draw3D(canvas);
    return surface.Lines();
  }

  ChartRecord chart_{kChart3D};
};

TEST_F(Draw3DFaces, OnlyFacesTurnedTowardsTheViewerWithFiniteCornersArePainted) {
  const float inf = std::numeric_limits<float>::infinity();
  AddFace(0.5f, {1, 2, 0}, {30, 2, 0}, {30, 40, 0});
  AddFace(0.0f, {1, 2, 0}, {30, 2, 0}, {30, 41, 0});   // edge-on
  AddFace(-0.5f, {1, 2, 0}, {30, 2, 0}, {30, 42, 0});  // turned away
  AddFace(NAN, {1, 2, 0}, {30, 2, 0}, {30, 43, 0});    // no normal: painted
  AddFace(0.5f, {1, 2, 0}, {NAN, 2, 0}, {30, 44, 0});
  AddFace(0.5f, {1, 2, 0}, {inf, 2, 0}, {30, 45, 0});
  AddFace(0.5f, {1e12f, 2, 0}, {30, -1e12f, 0}, {30.9f, 46.9f, 0});  // saturated at the device's range
  const std::vector<std::string> expected = {
      "pen style 1 #996633 zoom 100",
      "brush pattern 1 #996633 #996633",
      "polygon 1,2 30,2 30,40 1,2",
      "pen style 1 #996633 zoom 100",
      "brush pattern 1 #996633 #996633",
      "polygon 1,2 30,2 30,43 1,2",
      "pen style 1 #996633 zoom 100",
      "brush pattern 1 #996633 #996633",
      "polygon 134217727,2 30,-134217727 30,46 134217727,2",
  };
  EXPECT_EQ(Draw(false), expected);
}

TEST_F(Draw3DFaces, APrinterFillsFacesWithoutOutline) {
  AddFace(1, {0, 0, 0}, {10, 0, 0}, {10, 10, 0}, 0x000000FF);
  const std::vector<std::string> lines = Draw(true);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "pen style 0 #FF0000 zoom 100");
}

// A loaded 3D chart of one series of the view type, its walls white so that
// in the display list a plane's brush is grey and a face's is not.
std::unique_ptr<ChartRecord> ChartOf(uint8_t viewType, const std::vector<double>& values, TestArrays& arrays) {
  auto chart = NewChart(kChart3D);
  SetSeries(*chart, 0, kSeriesData, viewType);
  FillRecord& wall = chart->options.wallFill;
  wall.pattern = 1;
  wall.patternColorSet = wall.backgroundColorSet = 1;
  wall.patternColor = wall.backgroundColor = 0xFFFFFF;
  arrays.AddNumbers(values);
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

bool IsGreyBrush(const std::string& line) {
  const size_t hash = line.find('#');
  return line.compare(hash + 1, 2, line, hash + 3, 2) == 0 && line.compare(hash + 1, 2, line, hash + 5, 2) == 0;
}

TEST(Draw3DOrder, PlanesTurnedAwayArePaintedAfterTheFaces) {
  const PixelRect slot = {0, 0, 299, 199};
  const struct {
    int axis;
    double angle;
  } views[] = {{kRotateAboutX, 0}, {kRotateAboutY, 0.7}, {kRotateAboutY, 3.6}, {kRotateAboutX, -0.6},
               {kRotateAboutY, -2.2}};
  int turnedAway = 0;
  for (const auto& view : views) {
    TestArrays arrays;
    auto chart = ChartOf(kViewColumn3D, {3, 5, 2}, arrays);
    ChartRecord::Transform(chart->viewMatrix, view.axis, view.angle);
    DisplayListSurface surface;
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), slot, 100, 100));
    ChartLayout layout;
    AxisTable axes;
    LoadLayout(*chart, &layout, &axes);
    int facing = 0;
    for (const PlaneRecord& plane : layout.planes) {
      float normal[3];
      std::memcpy(normal, plane.normal, sizeof normal);
      facing += plane.present && normal[2] >= 0;
      turnedAway += plane.present && !(normal[2] >= 0);
    }
    surface.Clear();
    Draw(*chart, slot, surface.Surface());
    // Planes before the first face, faces, planes after the last one.
    std::vector<bool> grey;
    for (const std::string& line : surface.Of("brush")) grey.push_back(IsGreyBrush(line));
    const auto firstFace = std::find(grey.begin(), grey.end(), false);
    const auto afterFaces = std::find(grey.rbegin(), grey.rend(), false).base();
    ASSERT_NE(firstFace, grey.end()) << view.angle;
    EXPECT_EQ(firstFace - grey.begin(), facing) << view.angle;
    EXPECT_EQ(std::count(firstFace, afterFaces, true), 0) << view.angle;
    EXPECT_EQ(grey.end() - afterFaces, 3 - facing) << view.angle;
  }
  EXPECT_GT(turnedAway, 0);
}

TEST(Draw3DOrder, APieShowsItsLabelsOverItsSlices) {
  const PixelRect slot = {0, 0, 299, 199};
  TestArrays arrays;
  auto chart = ChartOf(kViewPie3D, {1, 2, 3}, arrays);
  chart->series[0].labelKind = 2;
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), slot, 100, 100));
  surface.Clear();
  Draw(*chart, slot, surface.Surface());
  const std::vector<std::string>& lines = surface.Lines();
  size_t lastPolygon = 0;
  size_t firstText = lines.size();
  std::vector<std::string> texts;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("polygon", 0) == 0)
      lastPolygon = i;
    if (lines[i].rfind("text", 0) == 0) {
      firstText = std::min(firstText, i);
      texts.push_back(lines[i].substr(lines[i].rfind(' ') + 1));
    }
  }
  EXPECT_LT(lastPolygon, firstText);
  // The legend's entry follows the labels.
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 3),
            (std::vector<std::string>{"\"1\"", "\"2\"", "\"3\""}));
}

}  // namespace
