#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace icongen {
namespace {

double Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y;
}
Point Sub(Point a, Point b) {
  return {a.x - b.x, a.y - b.y};
}

}  // namespace

Shape Disc(Point centre, double radius) {
  return [=](Point p) {
    const Point d = Sub(p, centre);
    return Dot(d, d) <= radius * radius;
  };
}

Shape Box(double left, double top, double right, double bottom) {
  return [=](Point p) { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; };
}

Shape RoundedBox(double left, double top, double right, double bottom, double radius) {
  return [=](Point p) {
    // Distance outside the box shrunk by the radius, then compared with the radius.
    const double dx = std::max({left + radius - p.x, 0.0, p.x - (right - radius)});
    const double dy = std::max({top + radius - p.y, 0.0, p.y - (bottom - radius)});
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape Capsule(Point from, Point to, double radius) {
  const Point along = Sub(to, from);
  const double length2 = Dot(along, along);
  return [=](Point p) {
    const Point rel = Sub(p, from);
    const double t = length2 > 0 ? std::clamp(Dot(rel, along) / length2, 0.0, 1.0) : 0.0;
    const Point nearest{from.x + along.x * t, from.y + along.y * t};
    const Point d = Sub(p, nearest);
    return Dot(d, d) <= radius * radius;
  };
}

Shape Bar(Point from, Point to, double halfWidth) {
  const Point along = Sub(to, from);
  const double length = std::sqrt(Dot(along, along));
  const Point unit{along.x / length, along.y / length};
  return [=](Point p) {
    const Point rel = Sub(p, from);
    const double t = Dot(rel, unit);
    const double across = rel.x * unit.y - rel.y * unit.x;
    return t >= 0 && t <= length && std::abs(across) <= halfWidth;
  };
}

Shape Polygon(std::vector<Point> corners) {
  return [corners = std::move(corners)](Point p) {
    // Even-odd rule: count the edges a ray to the right crosses.
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
      const Point a = corners[i];
      const Point b = corners[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside;
  };
}

Shape Cogwheel(Point centre, double rootRadius, double tipRadius, int teeth, double rootHalfWidth,
               double tipHalfWidth) {
  const double pitch = 2 * std::numbers::pi / teeth;
  return [=](Point p) {
    const Point d = Sub(p, centre);
    const double r = std::sqrt(Dot(d, d));
    if (r <= rootRadius) return true;
    if (r > tipRadius) return false;
    // Angle from the nearest tooth's centre line, the first tooth pointing straight up.
    const double angle = std::atan2(d.x, -d.y);
    const double offset = angle - pitch * std::round(angle / pitch);
    const double fraction = (r - rootRadius) / (tipRadius - rootRadius);
    const double halfWidth = rootHalfWidth + (tipHalfWidth - rootHalfWidth) * fraction;
    return std::abs(r * std::sin(offset)) <= halfWidth && std::abs(offset) < pitch / 2;
  };
}

Shape Union(std::vector<Shape> parts) {
  return [parts = std::move(parts)](Point p) {
    return std::any_of(parts.begin(), parts.end(), [p](const Shape& s) { return s(p); });
  };
}

Shape Minus(Shape shape, Shape hole) {
  return
      [shape = std::move(shape), hole = std::move(hole)](Point p) { return shape(p) && !hole(p); };
}

Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Point p) { return a(p) && b(p); };
}

Point OnDial(Point centre, double radius, double degrees) {
  const double radians = degrees * std::numbers::pi / 180;
  return {centre.x + radius * std::sin(radians), centre.y - radius * std::cos(radians)};
}

}  // namespace icongen
