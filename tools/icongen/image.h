// A picture in memory, row by row from the top, before it is written in any file format.
#pragma once

#include <cstddef>
#include <vector>

#include "colour.h"

namespace icongen {

class Image {
 public:
  Image(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Colour& at(int x, int y) { return pixels_[Index(x, y)]; }
  const Colour& at(int x, int y) const { return pixels_[Index(x, y)]; }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

}  // namespace icongen
