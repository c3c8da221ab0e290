// The real registry behind the seam as other programs read it. RegQueryValueExA adds a missing
// terminator on its own, so only the stored UTF-16 bytes tell whether the program wrote one.
#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/registry_backends.h"

namespace vekhor {
namespace {

TEST(Win32Registry, AStringIsStoredWithItsTerminatingNul) {
  fakes::RegistryUnderTest place(fakes::RegistryBackend::System);
  platform::Registry& registry = place.registry();
  const ServersLocation& where = place.servers();
  {
    const OwnedKey key = OwnedKey::Create(registry, where.root, where.path);
    ASSERT_TRUE(key.IsOpen());
    ASSERT_EQ(registry.SetValueEx(key.Get(), "Server1", platform::kRegSz, "abc"), 0);
  }
  wchar_t data[8] = {L'x', L'x', L'x', L'x', L'x'};
  DWORD size = sizeof(data);
  DWORD type = 0;
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, where.path.c_str(), 0, KEY_READ, &raw), 0);
  EXPECT_EQ(
      ::RegQueryValueExW(raw, L"Server1", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), 0);
  ::RegCloseKey(raw);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 4 * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(data, 4), std::wstring(L"abc\0", 4));
}

}  // namespace
}  // namespace vekhor
