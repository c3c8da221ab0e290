// Texts between Windows' UTF-16 and the ANSI code page the program's core works in.
#pragma once

#include <string>

namespace vekhor::platform {

// Characters the code page lacks come out as its default character.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

}  // namespace vekhor::platform
