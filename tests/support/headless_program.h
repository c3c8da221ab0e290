// The program over fakes: headless toolkit, every seam faked, the window made but not loaded.
#pragma once

#include <string>

#include "app/frm_main.h"
#include "fakes/fake_platform.h"
#include "fakes/headless_toolkit.h"

namespace vekhor::test {

struct HeadlessProgram : fakes::FakeOs<> {
  explicit HeadlessProgram(Language language = Language::English) : toolkit(language) {}
  explicit HeadlessProgram(platform::Registry& stored) : FakeOs(stored) {}
  std::string Setting(const char* key) {
    return window.settings.GetSetting("Vektal", "Horolan", key, "absent");
  }
  fakes::HeadlessToolkit toolkit;
  app::frmMain window{toolkit, platform};
  fakes::HeadlessForm& form = toolkit.form;
};

}  // namespace vekhor::test
