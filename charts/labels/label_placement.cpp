#include "charts/labels/label_placement.h"

#include <cmath>

#include "view/draw_context/text_placement.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct AngleRow {
  double upTo;  // degrees
  LabelAlignment alignment;
};

constexpr uint8_t kLeft = kAlignLeft;
constexpr uint8_t kCentre = kAlignCentre;
constexpr uint8_t kRight = kAlignRight;
constexpr uint8_t kTop = kAlignTop;
constexpr uint8_t kMiddle = kAlignMiddle;
constexpr uint8_t kBottom = kAlignBottom;

constexpr AngleRow kRows[] = {
    {10, {kLeft, kMiddle}},    {80, {kLeft, kBottom}},  {100, {kCentre, kBottom}},
    {170, {kRight, kBottom}},  {190, {kRight, kMiddle}}, {260, {kRight, kTop}},
    {280, {kCentre, kTop}},    {350, {kLeft, kTop}},    {360, {kLeft, kMiddle}},
};

float PlaneDistance(const VertexRecord& a, const VertexRecord& b) {
  const double dx = static_cast<double>(b.viewX) - a.viewX;
  const double dy = static_cast<double>(b.viewY) - a.viewY;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

}  // namespace

LabelAlignment LabelAlignmentForAngle(double degrees) {
  for (const AngleRow& row : kRows)
    if (degrees <= row.upTo)
      return row.alignment;
  return kRows[0].alignment;
}

void PlaceAutomaticLabel(const VertexRecord& anchor, const VertexRecord& second, const VertexRecord& third,
                         const VertexRecord** at, LabelAlignment* alignment) {
  const VertexRecord& p = PlaneDistance(anchor, third) > PlaneDistance(anchor, second) ? third : second;
  *at = &p;
  // Only a point on its anchor has no direction; one level with it points
  // straight right or left.
  double t = 0;
  if (p.viewX != anchor.viewX || p.viewY != anchor.viewY) {
    t = std::atan2(static_cast<double>(anchor.viewY) - p.viewY, static_cast<double>(p.viewX) - anchor.viewX);
    if (t < 0)
      t += 2 * kPi;
  }
  *alignment = LabelAlignmentForAngle(t * 180 / kPi);
}
