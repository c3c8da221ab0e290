// The program's pictures. Icons other than the tray's smallest are drawn with shapes on a
// 32-unit grid, so any size comes out sharp; the smallest sizes are drawn pixel by pixel.
#pragma once

#include "image.h"

namespace icongen {

// The tray's clock in the 16 standard colours, 16x16.
Image TrayClock();
Image Clock(int size);
Image Gear(int size);
Image ServerStack(int size);
Image Information(int size);

// The link cursor, 32x32 in black and white, and where its fingertip points.
Image PointingHand();
inline constexpr int kPointingHandHotspotX = 5;
inline constexpr int kPointingHandHotspotY = 0;

// The maker's name for the About page, 200x30.
Image MakerLogo();

}  // namespace icongen
