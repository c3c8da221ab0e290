// advapi32's ANSI registry functions, and RegSetValueExW for UTF-8 texts, behind the registry seam.
#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <memory>

#include "platform/system.h"
#include "platform/win32/ansi_text.h"

namespace vekhor::platform {
namespace {

// The predefined HKEYs are 32-bit values sign-extended to the pointer's width
// (HKEY_CURRENT_USER is 0xFFFFFFFF80000001 on Win64); the seam keeps them as 0x80000001.
HKEY ToHkey(RegistryKey key) {
  if (IsRootKey(key)) {
    const auto widened = static_cast<std::intptr_t>(static_cast<std::int32_t>(key));
    return reinterpret_cast<HKEY>(widened);
  }
  return reinterpret_cast<HKEY>(key);
}

// An opened key, even one that advapi32 hands back as a predefined root, goes back unchanged.
RegistryKey FromHkey(HKEY key) {
  return reinterpret_cast<RegistryKey>(key);
}

DWORD* OrNull(std::uint32_t* value, DWORD& local) {
  return value ? &local : nullptr;
}

}  // namespace

std::int32_t Win32Registry::OpenKeyEx(RegistryKey key, const std::string& subKey,
                                      std::uint32_t options, std::uint32_t desired,
                                      RegistryKey& result) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, desired, &opened);
  if (status == ERROR_SUCCESS) result = FromHkey(opened);
  return status;
}

std::int32_t Win32Registry::CreateKey(RegistryKey key, const std::string& subKey,
                                      RegistryKey& result) {
  HKEY created = nullptr;
  const LONG status = RegCreateKeyA(ToHkey(key), subKey.c_str(), &created);
  if (status == ERROR_SUCCESS) result = FromHkey(created);
  return status;
}

// A string value is stored with its terminating NUL, as readers that take the data as it is
// (RegQueryValueExA into a buffer of the reported size) expect.
std::int32_t Win32Registry::SetValueEx(RegistryKey key, const std::string& valueName,
                                       std::uint32_t type, const std::string& data) {
  const bool isString = type == REG_SZ || type == REG_EXPAND_SZ;
  return RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + (isString ? 1 : 0)));
}

// With its terminating NUL, as SetValueEx stores a string.
std::int32_t Win32Registry::SetUtf8StringValue(RegistryKey key, const std::string& valueName,
                                               const std::string& text) {
  const std::wstring name = FromUtf8(valueName);
  const std::wstring data = FromUtf8(text);
  return RegSetValueExW(ToHkey(key), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::int32_t Win32Registry::QueryValueEx(RegistryKey key, const std::string& valueName,
                                         std::uint32_t* type, char* data,
                                         std::uint32_t& byteCount) {
  DWORD storedType = 0;
  DWORD count = byteCount;
  const LONG status =
      RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, OrNull(type, storedType),
                       reinterpret_cast<BYTE*>(data), &count);
  if (type) *type = storedType;
  byteCount = count;
  return status;
}

std::int32_t Win32Registry::EnumValue(RegistryKey key, std::uint32_t index, char* name,
                                      std::uint32_t& nameLength, std::uint32_t* type,
                                      std::uint32_t* dataSize) {
  DWORD length = nameLength;
  DWORD storedType = 0;
  DWORD size = 0;
  const LONG status = RegEnumValueA(ToHkey(key), index, name, &length, nullptr,
                                    OrNull(type, storedType), nullptr, OrNull(dataSize, size));
  nameLength = length;
  if (type) *type = storedType;
  if (dataSize) *dataSize = size;
  return status;
}

std::int32_t Win32Registry::DeleteValue(RegistryKey key, const std::string& valueName) {
  return RegDeleteValueA(ToHkey(key), valueName.c_str());
}

std::int32_t Win32Registry::DeleteKey(RegistryKey key, const std::string& subKey) {
  return RegDeleteKeyA(ToHkey(key), subKey.c_str());
}

std::int32_t Win32Registry::CloseKey(RegistryKey key) {
  return RegCloseKey(ToHkey(key));
}

std::unique_ptr<Registry> MakeSystemRegistry() {
  return std::make_unique<Win32Registry>();
}

}  // namespace vekhor::platform
