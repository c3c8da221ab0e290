// vekhor-icongen: draws the program's icons, cursor and logo and writes them as the resource
// files Vekhor.rc includes, so the pictures live as source and are built like the code.
//
//   vekhor-icongen OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "bitmap_file.h"
#include "icon_file.h"
#include "pictures.h"

namespace {

using namespace icongen;

struct OutputFile {
  const char* name;
  Bytes bytes;
};

// A page button's icon: 32x32 at 96 DPI and 48x48 at 144 DPI, both with alpha.
Bytes PageIcon(Image (*draw)(int)) {
  return IconFile({{draw(32), 32}, {draw(48), 32}});
}

bool Write(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vekhor-icongen OUTDIR\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "vekhor-icongen: %s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  const std::vector<OutputFile> files = {
      // The tray asks for 16x16 and must get the 16-colour picture; the larger ones serve the
      // title bar and task switcher.
      {"clock.ico", IconFile({{TrayClock(), 4}, {Clock(32), 32}, {Clock(48), 32}})},
      {"sync.ico", PageIcon(Clock)},
      {"settings.ico", PageIcon(Gear)},
      {"servers.ico", PageIcon(ServerStack)},
      {"about.ico", PageIcon(Information)},
      {"link.cur", CursorFile({PointingHand(), 1}, kPointingHandHotspotX, kPointingHandHotspotY)},
      {"logo.bmp", BitmapFile(MakerLogo())},
  };
  for (const OutputFile& file : files) {
    const std::filesystem::path path = folder / file.name;
    if (!Write(path, file.bytes)) {
      std::fprintf(stderr, "vekhor-icongen: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
