// The fonts of the window's controls at the window's DPI, each created once and shared: a hover
// that underlines the link selects a font, it never creates one.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "toolkit/layout.h"
#include "win32/gdi_objects.h"

namespace vekhor::win32 {

class FontCache {
 public:
  HFONT Get(const toolkit::Font& font, bool underline, int dpi);
  // After a DPI change: every font is made again at the new size. Controls must have been given
  // their new fonts before the old ones go, so this runs after the re-layout.
  void DropAllBut(int dpi);

 private:
  using Key = std::tuple<std::string, int, bool, bool, int>;
  std::map<Key, UniqueFont> fonts_;
};

}  // namespace vekhor::win32
