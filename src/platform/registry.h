// The registry as advapi32's ANSI key and value functions offer it, with their result codes, and
// one wide setter for texts the ANSI code page cannot hold.
#pragma once

#include <cstdint>
#include <string>

namespace vekhor::platform {

// An HKEY. The predefined roots keep their 32-bit values here; the Win32 backend widens them.
using RegistryKey = std::uintptr_t;

inline constexpr RegistryKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegistryKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegistryKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegistryKey kHkeyUsers = 0x80000003;
inline constexpr RegistryKey kHkeyPerformanceData = 0x80000004;
inline constexpr RegistryKey kHkeyCurrentConfig = 0x80000005;
inline constexpr RegistryKey kHkeyDynData = 0x80000006;

constexpr bool IsRootKey(RegistryKey key) {
  return key >= kHkeyClassesRoot && key <= kHkeyDynData;
}

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kDelete = 0x00010000;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;

// Result codes (Windows error codes).
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;
inline constexpr std::int32_t kErrorKeyDeleted = 1018;

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA. An empty subKey opens a new handle to `key` itself.
  virtual std::int32_t OpenKeyEx(RegistryKey key, const std::string& subKey, std::uint32_t options,
                                 std::uint32_t desired, RegistryKey& result) = 0;
  // RegCreateKeyA: creates every missing key along the path and opens the last one.
  virtual std::int32_t CreateKey(RegistryKey key, const std::string& subKey,
                                 RegistryKey& result) = 0;
  // RegSetValueExA with byte count data.size(). The NUL that std::string keeps behind its text
  // is what advapi32 stores as the terminator of a non-empty REG_SZ value.
  virtual std::int32_t SetValueEx(RegistryKey key, const std::string& valueName, std::uint32_t type,
                                  const std::string& data) = 0;
  // RegSetValueExW of a REG_SZ value, its name and text in UTF-8: a path named outside the ANSI
  // code page (the Run value's) is stored as it is. The in-memory registry keeps the UTF-8.
  virtual std::int32_t SetUtf8StringValue(RegistryKey key, const std::string& valueName,
                                          const std::string& text) = 0;
  // RegQueryValueExA. With data null only the size is asked for; with a buffer smaller than the
  // value the result is kErrorMoreData. Either way byteCount comes back as the stored size.
  virtual std::int32_t QueryValueEx(RegistryKey key, const std::string& valueName,
                                    std::uint32_t* type, char* data, std::uint32_t& byteCount) = 0;
  // RegEnumValueA without a data buffer. nameLength goes in as the buffer's size in characters
  // and comes back as the name's length without its NUL; a name that does not fit gives
  // kErrorMoreData, an index past the last value kErrorNoMoreItems.
  virtual std::int32_t EnumValue(RegistryKey key, std::uint32_t index, char* name,
                                 std::uint32_t& nameLength, std::uint32_t* type,
                                 std::uint32_t* dataSize) = 0;
  virtual std::int32_t DeleteValue(RegistryKey key, const std::string& valueName) = 0;
  // RegDeleteKeyA: a key with subkeys is not deleted.
  virtual std::int32_t DeleteKey(RegistryKey key, const std::string& subKey) = 0;
  virtual std::int32_t CloseKey(RegistryKey key) = 0;
};

}  // namespace vekhor::platform
