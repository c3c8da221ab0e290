#include "canvas.h"
#include "pictures.h"

namespace icongen {

Image Information(int size) {
  Canvas canvas = Canvas::Icon(size);
  const Point centre{16, 16};
  canvas.Fill(Disc(centre, 15.3), Rgb(0x0C2F66));
  canvas.Fill(Disc(centre, 14.1), Gradient({16, 2}, Rgb(0x62A6F2), {16, 30}, Rgb(0x1552AA)));
  const Colour white = Rgb(0xFFFFFF);
  canvas.Fill(Disc({16, 8.6}, 2.3), white);
  canvas.Fill(Union({Box(14.0, 12.6, 18.0, 23.6), Box(12.2, 12.6, 18.0, 14.6),
                     Box(12.2, 21.8, 19.8, 23.8)}),
              white);
  return canvas.image();
}

}  // namespace icongen
