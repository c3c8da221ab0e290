#include "net/ws1.h"

namespace vekhor {

std::optional<std::uint32_t> DottedToAddress(std::string_view dotted) {
  std::uint32_t result = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t end = dotted.find('.');
    const std::string_view digits = dotted.substr(0, end);
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      value = (value * 10 + static_cast<std::uint32_t>(c - '0')) % 256;
    }
    result |= value << (8 * part);
    if (end == std::string_view::npos) {
      if (part < 3) return std::nullopt;
      break;
    }
    dotted.remove_prefix(end + 1);
  }
  return result;
}

}  // namespace vekhor
