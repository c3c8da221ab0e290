// Ordering of loaded value names by their server number.
#include "servers/server_order.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace vekhor {

std::optional<std::uint64_t> ServerNumber(std::string_view valueName) {
  constexpr std::string_view kPrefix = "Server";
  if (valueName.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  const std::string_view digits = valueName.substr(kPrefix.size());
  if (digits.empty() || digits.front() == '0') return std::nullopt;
  std::uint64_t number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

void OrderByServerNumber(std::vector<std::string>& valueNames) {
  std::vector<std::pair<std::uint64_t, std::string>> numbered;
  std::vector<std::string> others;
  for (std::string& name : valueNames) {
    if (const auto number = ServerNumber(name)) {
      numbered.emplace_back(*number, std::move(name));
    } else {
      others.push_back(std::move(name));
    }
  }
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  valueNames.clear();
  for (auto& [number, name] : numbered) valueNames.push_back(std::move(name));
  for (std::string& name : others) valueNames.push_back(std::move(name));
}

}  // namespace vekhor
