#include <cmath>
#include <string_view>

#include "canvas.h"
#include "pictures.h"

namespace icongen {
namespace {

constexpr int kWidth = 200, kHeight = 30;
// Capital height, stroke and letter spacing, in pixels.
constexpr double kCap = 20, kStroke = 4, kHalf = kStroke / 2, kGap = 6;
constexpr double kTop = 4;
constexpr double kBottom = kTop + kCap;

struct Letter {
  double width;
  Shape shape;
};

// Every letter of the name is made of straight strokes, cut flush with the cap and base lines.
Letter Glyph(char c, double x) {
  const auto box = [&](double w) { return Box(x, kTop, x + w, kBottom); };
  const auto stem = [&](double at) { return Box(at, kTop, at + kStroke, kBottom); };
  const auto across = [&](double w, double y) { return Box(x, y, x + w, y + kStroke); };
  switch (c) {
    case 'V': {
      constexpr double w = 17;
      return {w,
              Intersect(box(w),
                        Union({Bar({x + kHalf, kTop - 2}, {x + w / 2, kBottom + 1}, kHalf),
                               Bar({x + w - kHalf, kTop - 2}, {x + w / 2, kBottom + 1}, kHalf)}))};
    }
    case 'A': {
      constexpr double w = 17;
      return {w, Intersect(box(w),
                           Union({Bar({x + w / 2, kTop - 1}, {x + kHalf, kBottom + 2}, kHalf),
                                  Bar({x + w / 2, kTop - 1}, {x + w - kHalf, kBottom + 2}, kHalf),
                                  Box(x + 3, kTop + 12, x + w - 3, kTop + 15)}))};
    }
    case 'E': {
      constexpr double w = 13;
      return {w, Union({stem(x), across(w, kTop), across(w - 2, kTop + (kCap - kStroke) / 2),
                        across(w, kBottom - kStroke)})};
    }
    case 'K': {
      constexpr double w = 15;
      return {w, Intersect(
                     box(w),
                     Union({stem(x), Bar({x + kStroke, kTop + 12}, {x + w + 1, kTop - 1.5}, kHalf),
                            Bar({x + 6, kTop + 8.5}, {x + w + 1, kBottom + 1.5}, kHalf)}))};
    }
    case 'T': {
      constexpr double w = 16;
      return {w, Union({across(w, kTop), stem(x + (w - kStroke) / 2)})};
    }
    case 'L': {
      constexpr double w = 13;
      return {w, Union({stem(x), across(w, kBottom - kStroke)})};
    }
    default:
      return {0, [](Point) { return false; }};
  }
}

}  // namespace

Image MakerLogo() {
  constexpr std::string_view kName = "VEKTAL";
  double width = -kGap;
  for (char c : kName) width += Glyph(c, 0).width + kGap;
  Canvas canvas(kWidth, kHeight, 1.0);
  const Colour green = Rgb(0x00FF00);
  // Whole pixels, so that upright strokes come out sharp.
  double x = std::floor((kWidth - width) / 2);
  for (char c : kName) {
    const Letter letter = Glyph(c, x);
    canvas.Fill(letter.shape, green);
    x += letter.width + kGap;
  }
  canvas.Fill(Box(4, kBottom + 3, kWidth - 4, kBottom + 4), Rgb(0x00FF00, 0.7f));
  return canvas.image();
}

}  // namespace icongen
