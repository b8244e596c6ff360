#ifndef TALVERO_CHARTS_FRAME_SHADE_COLOR_H
#define TALVERO_CHARTS_FRAME_SHADE_COLOR_H

// The shade of a colour on a surface of a 3D chart: the light falling on it
// along its normal brightens it from 0.3 (turned away) to its full colour.

#include <cstdint>

// Red, green and blue of the colour times 0.6 d^2 + 0.65 d + 0.3 (at most
// 1), d being the light direction dotted with the normal; 0.3 when d is not
// positive or not a number.
uint32_t ShadeColor(const float light[3], const float normal[3], uint32_t colour);

#endif
