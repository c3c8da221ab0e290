// Texts between Windows' UTF-16 and the program's narrow texts: the ANSI code page the program's
// core works in, and UTF-8, in which it keeps paths, so that a folder named outside the code page
// ("C:\Users\Łukasz") survives the round trip.
#pragma once

#include <string>

namespace vekhor::platform {

// Characters the code page lacks come out as its default character.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

// Malformed UTF-8 or UTF-16 comes out with U+FFFD in place of what could not be read.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace vekhor::platform
