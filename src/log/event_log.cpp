#include "log/event_log.h"

#include <cstdio>

#include "log/file_helpers.h"
#include "platform/files.h"

namespace vekhor {
namespace {

void AppendLine(std::FILE* file, const std::string& stamp, const std::string& message) {
  const std::string line = stamp + "\t" + message + "\r\n";
  std::fwrite(line.data(), 1, line.size(), file);
}

}  // namespace

std::string EventLog::LogPath() const {
  const std::string folder = toolkit_.AppPath();
  return folder + AddPathSeparator(folder, "Log.wri");
}

void EventLog::WriteLog(const std::string& message) {
  const std::string path = LogPath();
  if (settings_.GetSetting(kSettingsApplication, kSettingsSection, "Log", "0") != "0") {
    // Binary append: the line ends are written as CR LF on every platform. The path is UTF-8;
    // the lines stay in the ANSI code page, as earlier versions wrote them.
    if (const platform::OwnedFile file = platform::OpenFile(path, "ab")) {
      // A new (empty) file gets its header; whether it is readable does not matter.
      const bool isNew = std::fseek(file.get(), 0, SEEK_END) == 0 && std::ftell(file.get()) == 0;
      const std::string stamp = clock_.NowText();
      if (isNew)
        AppendLine(file.get(), stamp, toolkit_.Texts().LoadResString(text::kLogFileCreated));
      if (!message.empty()) AppendLine(file.get(), stamp, message);
    }
  }
  if (message.empty() && FileExists(path)) {
    shell_.Execute(toolkit_.MainWindow(), "", path, "", "C:\\", platform::kShowNormal);
  }
}

}  // namespace vekhor
