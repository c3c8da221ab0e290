// Small file and path helpers of the event log and the autostart entry.
#pragma once

#include <string>

namespace vekhor {

// Trims blanks; then, when both ends are double quotes, keeps what lies between them.
std::string StripQuotes(std::string text);

// True when the file at the UTF-8 `path` can be opened for reading (quotes and a trailing
// backslash ignored).
bool FileExists(std::string path);

// `fileName` with a separator in front unless `appFolder` already ends in one (a drive's root).
// The separator follows the folder's own style: '/' for a POSIX folder, '\' otherwise.
std::string AddPathSeparator(const std::string& appFolder, const std::string& fileName);

}  // namespace vekhor
