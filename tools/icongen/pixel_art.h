// Pictures drawn pixel by pixel as rows of symbols, for sizes too small for shapes to come out
// crisp.
#pragma once

#include <span>
#include <string_view>

#include "colour.h"
#include "image.h"

namespace icongen {

struct Ink {
  char symbol;
  Colour colour;
};

// One string per row; a symbol missing from the legend leaves its pixel transparent.
Image PixelArt(int width, int height, std::span<const std::string_view> rows,
               std::span<const Ink> legend);

}  // namespace icongen
