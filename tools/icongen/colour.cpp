#include "colour.h"

#include <algorithm>
#include <cmath>

namespace icongen {

Colour Over(Colour top, Colour bottom) {
  const float below = bottom.a * (1.0f - top.a);
  const float a = top.a + below;
  if (a <= 0.0f) return {};
  return {(top.r * top.a + bottom.r * below) / a, (top.g * top.a + bottom.g * below) / a,
          (top.b * top.a + bottom.b * below) / a, a};
}

std::uint8_t ToByte(float channel) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

}  // namespace icongen
