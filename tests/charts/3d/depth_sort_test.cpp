#include "charts/3d/depth_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "charts/3d/scene_faces.h"
#include "charts/frame/chart_canvas.h"
#include "tests/test_seed.h"

namespace {

// One face per depth, each with its own reference vertex straight in front
// of the eye, so that its depth is exactly the given one; the face's colour
// is its place of insertion.
void AddFacesAtDepths(ChartRecord& chart, const std::vector<float>& depths) {
  for (size_t k = 0; k < depths.size(); ++k) {
    const uint32_t r = chart.vertices.Count();
    ASSERT_TRUE(AppendVertex(chart, 0, 0, 0));
    VertexRecord* v = VertexAt(chart, r);
    v->viewZ = kEyeDistance - depths[k];
    ASSERT_TRUE(AppendFace(chart, r, r, r, r, static_cast<uint32_t>(k), 0));
  }
}

// Records lie packed in their pages: fields are read out as values.
float DepthOf(const ChartRecord& chart, uint32_t i) { return FaceAt(chart, i)->depth; }

std::vector<uint32_t> InsertionPlaces(const ChartRecord& chart) {
  std::vector<uint32_t> places;
  for (uint32_t i = 0; i < chart.faces.Count(); ++i) {
    const uint32_t place = FaceAt(chart, i)->colour;
    places.push_back(place);
  }
  return places;
}

TEST(DepthSort, SixFacesGoFarthestFirstInThePartitionsOrder) {
  // Worked by hand through the partitions: faces of equal depth come out in
  // the order the exchanges leave them, here the reverse of their insertion.
  const struct {
    std::vector<float> depths;
    std::vector<uint32_t> order;
  } cases[] = {
      {{2, 4, 1, 4, 3, 4}, {5, 3, 1, 4, 0, 2}},
      {{3, 5, 3, 7, 5, 1}, {3, 1, 4, 0, 2, 5}},
      {{1, 2, 2}, {2, 1, 0}},
      {{5}, {0}},
  };
  for (const auto& c : cases) {
    ChartRecord chart(kChart3D);
    AddFacesAtDepths(chart, c.depths);
    SortFacesByDepth(chart);
    EXPECT_EQ(InsertionPlaces(chart), c.order);
    for (uint32_t i = 0; i < chart.faces.Count(); ++i)
      EXPECT_EQ(DepthOf(chart, i), c.depths[c.order[i]]);
  }
}

// Any depths, many of them equal and some NaN (a face whose reference
// vertex has no finite place): the sort ends, keeps every face, and orders
// the comparable ones farthest first.
TEST(DepthSort, RandomDepthsComeOutFarthestFirst) {
  const uint32_t seed = TestSeed(4821);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 60; ++trial) {
    const int count = std::uniform_int_distribution<int>(0, 400)(random);
    const int distinct = std::uniform_int_distribution<int>(1, 30)(random);
    const bool withNaN = trial % 4 == 0;
    std::vector<float> depths;
    for (int k = 0; k < count; ++k) {
      const int pick = std::uniform_int_distribution<int>(0, distinct)(random);
      depths.push_back(withNaN && pick == 0 ? std::nanf("") : static_cast<float>(pick * 7));
    }
    ChartRecord chart(kChart3D);
    AddFacesAtDepths(chart, depths);
    SortFacesByDepth(chart);
    std::vector<uint32_t> places = InsertionPlaces(chart);
    ASSERT_EQ(places.size(), depths.size());
    std::sort(places.begin(), places.end());
    for (uint32_t k = 0; k < places.size(); ++k) ASSERT_EQ(places[k], k);
    if (withNaN)
      continue;
    for (uint32_t i = 1; i < chart.faces.Count(); ++i)
      ASSERT_GE(DepthOf(chart, i - 1), DepthOf(chart, i)) << "trial " << trial << " face " << i;
  }
}

}  // namespace
