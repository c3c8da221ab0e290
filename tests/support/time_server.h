// The bundled time server that ctest starts around a loopback test; it passes its port.
#pragma once

#include <cstdlib>
#include <string>

namespace vekhor::test {

// The port of the server this test runs under, or 0 when it runs on its own.
inline int TimeServerPort() {
  const char* port = std::getenv("VEKHOR_TIME_PORT");
  return port == nullptr ? 0 : std::atoi(port);
}

}  // namespace vekhor::test

#define VEKHOR_REQUIRE_TIME_SERVER()                                         \
  do {                                                                       \
    if (::vekhor::test::TimeServerPort() == 0)                               \
      GTEST_SKIP() << "needs the bundled time server: run it through ctest"; \
  } while (false)
