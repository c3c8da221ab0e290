#include <array>
#include <string_view>

#include "pictures.h"
#include "pixel_art.h"

namespace icongen {

Image PointingHand() {
  // A white hand with a black outline, the index finger up; the rest of the 32x32 is clear.
  static constexpr std::array<std::string_view, 21> kRows = {
      ".....KK...........",  //
      "....KWWK..........",  //
      "....KWWK..........",  //
      "....KWWK..........",  //
      "....KWWK..........",  //
      "....KWWKKK........",  //
      "....KWWKWWKKK.....",  //
      "....KWWKWWKWWKK...",  //
      ".KK.KWWKWWKWWKWK..",  //
      "KWWKKWWKWWKWWKWWK.",  //
      "KWWWKWWWWWWWWWWWK.",  //
      "KWWWWWWWWWWWWWWWK.",  //
      ".KWWWWWWWWWWWWWWK.",  //
      ".KWWWWWWWWWWWWWWK.",  //
      "..KWWWWWWWWWWWWWK.",  //
      "..KWWWWWWWWWWWWK..",  //
      "...KWWWWWWWWWWWK..",  //
      "...KWWWWWWWWWWWK..",  //
      "....KWWWWWWWWWK...",  //
      "....KWWWWWWWWWK...",  //
      "....KKKKKKKKKKK...",  //
  };
  static constexpr std::array<Ink, 2> kLegend = {Ink{'K', Rgb(0x000000)}, Ink{'W', Rgb(0xFFFFFF)}};
  return PixelArt(32, 32, kRows, kLegend);
}

}  // namespace icongen
