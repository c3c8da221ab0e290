// Small Winsock helpers: byte splitting of version words and dotted-address conversion.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vekhor {

// The Windows Sockets version the TCP exchanges ask for.
inline constexpr std::uint16_t kWinsockVersion11 = 0x0101;

constexpr std::uint16_t HiByte(std::int32_t value) {
  return static_cast<std::uint16_t>((value / 256) & 255);
}
constexpr std::uint16_t LoByte(std::int32_t value) {
  return static_cast<std::uint16_t>(value & 255);
}

// "a.b.c.d" to the 32-bit address whose lowest byte is a (network order in memory on a
// little-endian machine); each part is taken modulo 256. Nothing for fewer than four parts or a
// part that is not a decimal number; parts after the fourth are ignored.
std::optional<std::uint32_t> DottedToAddress(std::string_view dotted);

}  // namespace vekhor
