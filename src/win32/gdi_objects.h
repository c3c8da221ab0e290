// Owners of GDI and USER objects: each one is destroyed exactly once, on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vekhor::win32 {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct CursorDeleter {
  void operator()(HCURSOR cursor) const { ::DestroyCursor(cursor); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueCursor = std::unique_ptr<std::remove_pointer_t<HCURSOR>, CursorDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

}  // namespace vekhor::win32
