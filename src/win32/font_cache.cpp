#include "win32/font_cache.h"

#include <iterator>

namespace vekhor::win32 {

HFONT FontCache::Get(const toolkit::Font& font, bool underline, int dpi) {
  Key key{std::string(font.face), font.hundredthsOfPoint, font.bold, underline, dpi};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  LOGFONTA description{};
  description.lfHeight = -::MulDiv(font.hundredthsOfPoint, dpi, 7200);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfUnderline = underline ? TRUE : FALSE;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = CLEARTYPE_QUALITY;
  // A missing face (Verdana under Wine) falls back to a sans-serif face of the same size.
  description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynA(description.lfFaceName, std::string(font.face).c_str(), LF_FACESIZE);
  HFONT created = ::CreateFontIndirectA(&description);
  if (created == nullptr) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return fonts_.emplace(std::move(key), UniqueFont(created)).first->second.get();
}

void FontCache::DropAllBut(int dpi) {
  for (auto it = fonts_.begin(); it != fonts_.end();) {
    it = std::get<4>(it->first) == dpi ? std::next(it) : fonts_.erase(it);
  }
}

}  // namespace vekhor::win32
