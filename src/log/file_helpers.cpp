#include "log/file_helpers.h"

#include "platform/files.h"

namespace vekhor {

std::string StripQuotes(std::string text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

bool FileExists(std::string path) {
  path = StripQuotes(std::move(path));
  if (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.empty()) return false;
  return platform::OpenFile(path, "rb") != nullptr;
}

std::string AddPathSeparator(const std::string& appFolder, const std::string& fileName) {
  if (!appFolder.empty() && (appFolder.back() == '\\' || appFolder.back() == '/')) return fileName;
  const char separator = !appFolder.empty() && appFolder.front() == '/' ? '/' : '\\';
  return separator + fileName;
}

}  // namespace vekhor
