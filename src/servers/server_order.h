// The order of a loaded list. Wine enumerates values by name (Server1, Server10, Server2, ...)
// where Windows keeps their creation order, so the order is taken from the names instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekhor {

// n for a name of the stored form "Server<n>" (n from 1, no leading zeros), else nothing.
std::optional<std::uint64_t> ServerNumber(std::string_view valueName);

// Puts "Server<n>" names first, by n, and every other name behind them in its present order.
void OrderByServerNumber(std::vector<std::string>& valueNames);

}  // namespace vekhor
