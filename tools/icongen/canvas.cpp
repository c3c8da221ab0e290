#include "canvas.h"

#include <algorithm>

namespace icongen {
namespace {

constexpr int kSamplesAcross = 8;

Colour Mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

}  // namespace

Paint Solid(Colour colour) {
  return [colour](Point) { return colour; };
}

Paint Gradient(Point a, Colour from, Point b, Colour to) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  return [=](Point p) {
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
    return Mix(from, to, static_cast<float>(std::clamp(t, 0.0, 1.0)));
  };
}

Canvas::Canvas(int width, int height, double pixelsPerUnit)
    : image_(width, height), pixelsPerUnit_(pixelsPerUnit) {}

void Canvas::Fill(const Shape& shape, const Paint& paint) {
  const double step = 1.0 / kSamplesAcross;
  for (int y = 0; y < image_.height(); ++y) {
    for (int x = 0; x < image_.width(); ++x) {
      int inside = 0;
      for (int sy = 0; sy < kSamplesAcross; ++sy) {
        for (int sx = 0; sx < kSamplesAcross; ++sx) {
          const Point sample{(x + (sx + 0.5) * step) / pixelsPerUnit_,
                             (y + (sy + 0.5) * step) / pixelsPerUnit_};
          if (shape(sample)) ++inside;
        }
      }
      if (inside == 0) continue;
      Colour colour = paint({(x + 0.5) / pixelsPerUnit_, (y + 0.5) / pixelsPerUnit_});
      colour.a *= static_cast<float>(inside) / (kSamplesAcross * kSamplesAcross);
      image_.at(x, y) = Over(colour, image_.at(x, y));
    }
  }
}

}  // namespace icongen
