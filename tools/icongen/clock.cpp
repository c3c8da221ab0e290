#include <array>
#include <string_view>

#include "canvas.h"
#include "pictures.h"
#include "pixel_art.h"

namespace icongen {

Image TrayClock() {
  // Face, blue bezel, hands at three o'clock and a shadow to the lower right.
  static constexpr std::array<std::string_view, 16> kRows = {
      ".....BBBBB......",  //
      "...BBbbbbbBB....",  //
      "..BbbWWGWWbbB...",  //
      ".BbWWWWWWWWWbB..",  //
      ".BbWWWWKWWWWbBG.",  //
      "BbWWWWWKWWWWWbB.",  //
      "BbWWWWWKWWWWWbBG",  //
      "BbGWWWWRKKWWGbBG",  //
      "BbWWWWWWWWWWWbBG",  //
      "BbWWWWWWWWWWWbBG",  //
      ".BbWWWWWWWWWbBGG",  //
      ".BbWWWWWWWWWbBG.",  //
      "..BbbWWGWWbbBGG.",  //
      "...BBbbbbbBBGG..",  //
      ".....BBBBBGGG...",  //
      "......GGGGG.....",  //
  };
  static constexpr std::array<Ink, 6> kLegend = {Ink{'B', Rgb(0x000080)}, Ink{'b', Rgb(0x0000FF)},
                                                 Ink{'W', Rgb(0xFFFFFF)}, Ink{'K', Rgb(0x000000)},
                                                 Ink{'G', Rgb(0x808080)}, Ink{'R', Rgb(0xFF0000)}};
  return PixelArt(16, 16, kRows, kLegend);
}

Image Clock(int size) {
  Canvas canvas = Canvas::Icon(size);
  const Point centre{16, 16};
  canvas.Fill(Disc(centre, 15.3), Rgb(0x0F2550));
  canvas.Fill(Disc(centre, 14.1), Gradient({16, 2}, Rgb(0x6AA8F0), {16, 30}, Rgb(0x1A4A9A)));
  canvas.Fill(Disc(centre, 11.6), Rgb(0x0F2550));
  canvas.Fill(Disc(centre, 11.0), Gradient({16, 5}, Rgb(0xFFFFFF), {16, 27}, Rgb(0xDCE2EA)));
  for (int hour = 0; hour < 12; ++hour) {
    const double angle = hour * 30.0;
    if (hour % 3 == 0) {
      canvas.Fill(Bar(OnDial(centre, 7.6, angle), OnDial(centre, 10.2, angle), 0.8), Rgb(0x20242A));
    } else {
      canvas.Fill(Disc(OnDial(centre, 9.2, angle), 0.75), Rgb(0x5A6270));
    }
  }
  // Ten past ten: both hands clear of each other and of the marks.
  canvas.Fill(Capsule(centre, OnDial(centre, 5.8, 305), 1.2), Rgb(0x15181C));
  canvas.Fill(Capsule(centre, OnDial(centre, 8.6, 60), 0.85), Rgb(0x15181C));
  canvas.Fill(Disc(centre, 1.7), Rgb(0xD42020));
  return canvas.image();
}

}  // namespace icongen
