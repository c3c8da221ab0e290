#include "fakes/fake_platform.h"

namespace vekhor::fakes {

platform::IcmpHandle FakeIcmp::CreateFile() {
  if (createFails) return platform::kInvalidIcmpHandle;
  return ++opened;
}

platform::EchoResult FakeIcmp::SendEcho(platform::IcmpHandle handle, std::uint32_t destination,
                                        const std::string& data, std::uint32_t timeoutMs) {
  ++echoes;
  lastDestination = destination;
  lastData = data;
  lastTimeout = timeoutMs;
  if (handle == platform::kInvalidIcmpHandle) return {0, 0, 0};
  return reply;
}

bool FakeIcmp::CloseHandle(platform::IcmpHandle) {
  ++closedHandles;
  return true;
}

}  // namespace vekhor::fakes
