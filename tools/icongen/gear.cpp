#include "canvas.h"
#include "pictures.h"

namespace icongen {

Image Gear(int size) {
  Canvas canvas = Canvas::Icon(size);
  const Point centre{16, 16};
  constexpr double kOutline = 1.2;
  const auto wheel = [&](double inset) {
    return Minus(Cogwheel(centre, 11.2 - inset, 15.2 - inset, 8, 3.7 - inset, 2.5 - inset),
                 Disc(centre, 4.6 + inset));
  };
  canvas.Fill(wheel(0), Rgb(0x262C33));
  canvas.Fill(wheel(kOutline), Gradient({6, 4}, Rgb(0xEEF1F4), {26, 28}, Rgb(0x8A94A0)));
  // A raised hub around the hole.
  canvas.Fill(Minus(Disc(centre, 8.0), Disc(centre, 4.6)), Rgb(0x262C33, 0.55f));
  canvas.Fill(Minus(Disc(centre, 7.0), Disc(centre, 4.6 + kOutline)),
              Gradient({10, 10}, Rgb(0xF6F8FA), {22, 22}, Rgb(0xA4ADB8)));
  return canvas.image();
}

}  // namespace icongen
