#include "canvas.h"
#include "pictures.h"

namespace icongen {

Image ServerStack(int size) {
  Canvas canvas = Canvas::Icon(size);
  constexpr double kLeft = 3, kRight = 29, kHeight = 8, kPitch = 9.2;
  for (int unit = 0; unit < 3; ++unit) {
    const double top = 2.8 + unit * kPitch;
    const double bottom = top + kHeight;
    const double middle = (top + bottom) / 2;
    canvas.Fill(RoundedBox(kLeft, top, kRight, bottom, 1.8), Rgb(0x1C2127));
    canvas.Fill(RoundedBox(kLeft + 1.1, top + 1.1, kRight - 1.1, bottom - 1.1, 0.9),
                Gradient({0, top}, Rgb(0x7C8896), {0, bottom}, Rgb(0x46505C)));
    // Drive bays, engraved: a dark groove over a light edge.
    for (double slot : {middle - 1.3, middle + 1.3}) {
      canvas.Fill(Box(6.5, slot - 0.5, 16, slot + 0.5), Rgb(0x1C2127));
      canvas.Fill(Box(6.5, slot + 0.5, 16, slot + 0.9), Rgb(0xA8B2BE, 0.6f));
    }
    canvas.Fill(Disc({21.4, middle}, 1.35), Rgb(0x1C2127));
    canvas.Fill(Disc({21.4, middle}, 0.85), Rgb(0xF0B020));
    canvas.Fill(Disc({25.2, middle}, 1.35), Rgb(0x1C2127));
    canvas.Fill(Disc({25.2, middle}, 0.85), Rgb(0x30F050));
  }
  return canvas.image();
}

}  // namespace icongen
