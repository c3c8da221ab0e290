// Shapes as the set of points inside them, in a picture's own units (y grows downward). Being
// plain predicates, they combine freely and the canvas can sample them as finely as it likes.
#pragma once

#include <functional>
#include <vector>

namespace icongen {

struct Point {
  double x = 0, y = 0;
};

using Shape = std::function<bool(Point)>;

Shape Disc(Point centre, double radius);
Shape Box(double left, double top, double right, double bottom);
Shape RoundedBox(double left, double top, double right, double bottom, double radius);
// A stroke from one point to another with round ends.
Shape Capsule(Point from, Point to, double radius);
// A stroke from one point to another with square ends, cut flush at both points.
Shape Bar(Point from, Point to, double halfWidth);
Shape Polygon(std::vector<Point> corners);
// A toothed wheel whose teeth have straight flanks, `rootHalfWidth` wide at the root circle
// narrowing to `tipHalfWidth` at the tip circle.
Shape Cogwheel(Point centre, double rootRadius, double tipRadius, int teeth, double rootHalfWidth,
               double tipHalfWidth);

Shape Union(std::vector<Shape> parts);
Shape Minus(Shape shape, Shape hole);
Shape Intersect(Shape a, Shape b);

// The point `radius` from `centre` in the direction of a clock hand: 0 degrees at twelve
// o'clock, growing clockwise.
Point OnDial(Point centre, double radius, double degrees);

}  // namespace icongen
