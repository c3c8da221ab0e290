// What every bench shares: timing a callable, the median, the check for the bundled time server.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vekhor::bench {

template <typename Work>
double MillisecondsOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// The bundled server tells the program it starts its port; the program only ever asks port 37.
inline bool UnderBundledServer(const char* self) {
  const char* port = std::getenv("VEKHOR_TIME_PORT");
  if (port != nullptr && std::strcmp(port, "37") == 0) return true;
  std::fprintf(stderr, "run under vekhor-timeserver --behaviour now --port 37 -- %s\n", self);
  return false;
}

}  // namespace vekhor::bench
