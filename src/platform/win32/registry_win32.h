// The real registry through advapi32, in Vekhor.exe and under Wine.
#pragma once

#include "platform/registry.h"

namespace vekhor::platform {

class Win32Registry final : public Registry {
 public:
  std::int32_t OpenKeyEx(RegistryKey key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t desired, RegistryKey& result) override;
  std::int32_t CreateKey(RegistryKey key, const std::string& subKey, RegistryKey& result) override;
  std::int32_t SetValueEx(RegistryKey key, const std::string& valueName, std::uint32_t type,
                          const std::string& data) override;
  std::int32_t SetUtf8StringValue(RegistryKey key, const std::string& valueName,
                                  const std::string& text) override;
  std::int32_t QueryValueEx(RegistryKey key, const std::string& valueName, std::uint32_t* type,
                            char* data, std::uint32_t& byteCount) override;
  std::int32_t EnumValue(RegistryKey key, std::uint32_t index, char* name,
                         std::uint32_t& nameLength, std::uint32_t* type,
                         std::uint32_t* dataSize) override;
  std::int32_t DeleteValue(RegistryKey key, const std::string& valueName) override;
  std::int32_t DeleteKey(RegistryKey key, const std::string& subKey) override;
  std::int32_t CloseKey(RegistryKey key) override;
};

}  // namespace vekhor::platform
