// Antialiased drawing of shapes: each pixel takes the share of a fine grid of sample points that
// falls inside the shape as its coverage.
#pragma once

#include <functional>

#include "colour.h"
#include "image.h"
#include "shapes.h"

namespace icongen {

using Paint = std::function<Colour(Point)>;

Paint Solid(Colour colour);
// Blends from `from` at point `a` to `to` at point `b`, constant across that direction.
Paint Gradient(Point a, Colour from, Point b, Colour to);

class Canvas {
 public:
  // A transparent canvas; shapes are given in units of 1/pixelsPerUnit pixels.
  Canvas(int width, int height, double pixelsPerUnit);
  // An icon canvas: every icon is designed on a 32-unit square grid, whatever its size.
  static Canvas Icon(int size) { return Canvas(size, size, size / 32.0); }

  void Fill(const Shape& shape, const Paint& paint);
  void Fill(const Shape& shape, Colour colour) { Fill(shape, Solid(colour)); }

  const Image& image() const { return image_; }

 private:
  Image image_;
  double pixelsPerUnit_;
};

}  // namespace icongen
