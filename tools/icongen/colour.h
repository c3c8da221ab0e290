// Colours as the drawing code works with them: straight (not premultiplied) alpha, channels
// from 0 to 1, so that repeated blending does not lose precision before the files are written.
#pragma once

#include <cstdint>

namespace icongen {

struct Colour {
  float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB, the way colours are usually written down.
constexpr Colour Rgb(std::uint32_t hex, float alpha = 1.0f) {
  return {static_cast<float>((hex >> 16) & 0xFF) / 255.0f,
          static_cast<float>((hex >> 8) & 0xFF) / 255.0f, static_cast<float>(hex & 0xFF) / 255.0f,
          alpha};
}

// `top` laid over `bottom`.
Colour Over(Colour top, Colour bottom);

std::uint8_t ToByte(float channel);

}  // namespace icongen
