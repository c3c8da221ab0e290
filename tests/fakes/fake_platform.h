// Fakes of the small platform seams and of the window toolkit, for tests of the core.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/toolkit.h"
#include "platform/clock.h"
#include "platform/connectivity.h"
#include "platform/icmp.h"
#include "platform/shell.h"
#include "servers/settings_store.h"

namespace vekhor::fakes {

class FakeIcmp : public platform::Icmp {
 public:
  platform::EchoResult reply{1, platform::kIpSuccess, 12};
  bool createFails = false;
  int opened = 0;
  int closedHandles = 0;
  int echoes = 0;
  std::uint32_t lastDestination = 0;
  std::string lastData;
  std::uint32_t lastTimeout = 0;

  platform::IcmpHandle CreateFile() override;
  platform::EchoResult SendEcho(platform::IcmpHandle handle, std::uint32_t destination,
                                const std::string& data, std::uint32_t timeoutMs) override;
  bool CloseHandle(platform::IcmpHandle handle) override;
};

class FakeConnectivity : public platform::Connectivity {
 public:
  bool connected = true;
  std::uint32_t flagsReported = 0;
  bool InternetGetConnectedState(std::uint32_t& flags) override {
    flags = flagsReported;
    return connected;
  }
};

// Never touches the machine's clock: it records what it was asked to set.
class RecordingClock : public platform::Clock {
 public:
  std::uint32_t setResult = 0;
  std::vector<platform::SystemTime> set;
  std::string now = "2004-04-10 14:00:00";
  std::uint32_t SetSystemTime(const platform::SystemTime& utc) override {
    set.push_back(utc);
    return setResult;
  }
  std::string NowText() override { return now; }
};

class RecordingShell : public platform::Shell {
 public:
  struct Call {
    platform::WindowHandle owner;
    std::string verb, file, parameters, directory;
    int show;
  };
  std::vector<Call> calls;
  std::intptr_t Execute(platform::WindowHandle owner, const std::string& verb,
                        const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override {
    calls.push_back({owner, verb, file, parameters, directory, show});
    return 42;
  }
};

class FakeLabel : public app::Label {
 public:
  std::string caption;
  int changes = 0;
  void SetCaption(const std::string& text) override {
    caption = text;
    ++changes;
  }
  std::string Caption() const override { return caption; }
};

class HeadlessToolkit : public app::Toolkit {
 public:
  explicit HeadlessToolkit(Language language = Language::English) : texts_(language) {}
  struct Box {
    std::string prompt;
    int style;
  };
  std::vector<Box> boxes;
  int answer = app::kMsgBoxAnswerYes;
  std::string appPath = "C:\\Program Files\\Vektal";
  platform::WindowHandle window = 0x1234;

  int MsgBox(const std::string& prompt, int style) override {
    boxes.push_back({prompt, style});
    return answer;
  }
  const TextSource& Texts() const override { return texts_; }
  std::string AppPath() const override { return appPath; }
  platform::WindowHandle MainWindow() const override { return window; }

 private:
  CatalogueTexts texts_;
};

class MemorySettings : public SettingsStore {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::string GetSetting(const std::string& application, const std::string& section,
                         const std::string& key, const std::string& defaultValue) override {
    const auto found = values.find({application, section, key});
    return found == values.end() ? defaultValue : found->second;
  }
  bool SaveSetting(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override {
    values[{application, section, key}] = value;
    return true;
  }
};

}  // namespace vekhor::fakes
