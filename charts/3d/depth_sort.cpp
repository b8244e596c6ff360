#include "charts/3d/depth_sort.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "charts/3d/scene_faces.h"
#include "charts/frame/chart_canvas.h"

// Depths, and through them the order of faces, must come out the same in
// every build; x87 arithmetic's wider intermediates would round them
// differently from the native build's.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error "the 32-bit build computes floating point with SSE2 (-msse2 -mfpmath=sse)"
#endif

namespace {

// The larger part of every partition waits on the stack and the smaller
// one is sorted first, so the stack never holds more than log2 of the face
// count (at most 32 pairs).
constexpr int kSortStackPairs = 98;

struct IndexPair {
  uint32_t low;
  uint32_t high;
};

void Exchange(ChartRecord& chart, uint32_t i, uint32_t j) {
  FaceRecord* a = FaceAt(chart, i);
  FaceRecord* b = FaceAt(chart, j);
  FaceRecord kept;
  std::memcpy(&kept, a, sizeof kept);
  std::memcpy(a, b, sizeof kept);
  std::memcpy(b, &kept, sizeof kept);
}

float DepthAt(const ChartRecord& chart, uint32_t i) { return FaceAt(chart, i)->depth; }

}  // namespace

float EyeDistance(float x, float y, float z) {
  const double dz = static_cast<double>(z) - kEyeDistance;
  const float sum = static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y + dz * dz);
  return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}

void SortFacesByDepth(ChartRecord& chart) {
  // Without the tables At walks the pages: slower, still right.
  chart.vertices.BuildPageTable();
  chart.faces.BuildPageTable();
  const uint32_t count = chart.faces.Count();
  for (uint32_t i = 0; i < count; ++i) {
    FaceRecord* face = FaceAt(chart, i);
    const VertexRecord* r = VertexAt(chart, face->reference);
    face->depth = r ? EyeDistance(r->viewX, r->viewY, r->viewZ) : std::numeric_limits<float>::quiet_NaN();
  }
  if (count < 2)
    return;

  IndexPair stack[kSortStackPairs];
  int top = 0;
  stack[top++] = {0, count - 1};
  while (top > 0) {
    const IndexPair pair = stack[--top];
    // Signed: j may step below low, to -1 when low is 0.
    int64_t low = pair.low;
    int64_t high = pair.high;
    while (low < high) {
      const float pivot = DepthAt(chart, static_cast<uint32_t>((low + high) / 2));
      int64_t i = low;
      int64_t j = high;
      // Each scan stops at the pivot's own place at the latest, and after an
      // exchange at the record just exchanged: neither leaves [low, high],
      // whatever NaN depths compare to.
      do {
        while (DepthAt(chart, static_cast<uint32_t>(i)) > pivot) ++i;
        while (DepthAt(chart, static_cast<uint32_t>(j)) < pivot) --j;
        if (i > j)
          break;
        Exchange(chart, static_cast<uint32_t>(i), static_cast<uint32_t>(j));
        ++i;
        --j;
      } while (i <= j);
      const bool leftSmaller = j - low < high - i;
      const IndexPair waiting = leftSmaller ? IndexPair{static_cast<uint32_t>(i), static_cast<uint32_t>(high)}
                                            : IndexPair{static_cast<uint32_t>(low), static_cast<uint32_t>(j)};
      const bool waits = leftSmaller ? i < high : low < j;
      if (waits && top < kSortStackPairs)
        stack[top++] = waiting;
      if (leftSmaller)
        high = j;
      else
        low = i;
    }
  }
}
