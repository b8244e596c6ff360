#ifndef TALVERO_CHARTS_3D_SCENE_FACES_H
#define TALVERO_CHARTS_3D_SCENE_FACES_H

// The triangles of a 3D chart's scene as the builders append them to the
// chart's face list: three corners and the vertex whose distance from the
// eye orders the face, its unshaded colour, and what the preparation adds
// (its depth and its normals).

#include <cstddef>
#include <cstdint>

#include "core/model/chart_record.h"

// Bits of FaceRecord::edges: the triangle's sides that are outer edges of
// the quad or slice it belongs to.
constexpr uint16_t kEdgeAB = 1;
constexpr uint16_t kEdgeBC = 2;
constexpr uint16_t kEdgeCA = 4;

#pragma pack(push, 1)

struct FaceRecord {
  uint32_t a;
  uint32_t b;
  uint32_t c;
  uint32_t reference;  // shared by every face of one bar, slice or segment
  uint32_t colour;     // COLORREF before shading
  uint16_t edges;
  uint8_t reserved[2];
  float depth;  // distance of the reference vertex from the eye
  // After perspective: z > 0 when (B - A) x (C - B) turns towards the viewer.
  float viewNormal[3];
  float shadeNormal[3];  // before perspective
};

#pragma pack(pop)

static_assert(sizeof(FaceRecord) == 52, "faces are 52 bytes");
static_assert(offsetof(FaceRecord, depth) == 24 && offsetof(FaceRecord, shadeNormal) == 40, "");

// Appends a face without depth or normals; false with error 27 when the
// list cannot grow.
bool AppendFace(ChartRecord& chart, uint32_t a, uint32_t b, uint32_t c, uint32_t reference, uint32_t colour,
                uint16_t edges);
FaceRecord* FaceAt(ChartRecord& chart, uint32_t i);
const FaceRecord* FaceAt(const ChartRecord& chart, uint32_t i);

#endif
