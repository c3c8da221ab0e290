#include "fakes/registry_fakes.h"

namespace vekhor::fakes {

std::int32_t ForwardingRegistry::OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                                           std::uint32_t options, std::uint32_t desired,
                                           platform::RegistryKey& result) {
  return inner_.OpenKeyEx(key, subKey, options, desired, result);
}
std::int32_t ForwardingRegistry::CreateKey(platform::RegistryKey key, const std::string& subKey,
                                           platform::RegistryKey& result) {
  const std::int32_t refused = BeforeChange();
  return refused ? refused : inner_.CreateKey(key, subKey, result);
}
std::int32_t ForwardingRegistry::SetValueEx(platform::RegistryKey key, const std::string& valueName,
                                            std::uint32_t type, const std::string& data) {
  const std::int32_t refused = BeforeChange();
  return refused ? refused : inner_.SetValueEx(key, valueName, type, data);
}
std::int32_t ForwardingRegistry::QueryValueEx(platform::RegistryKey key,
                                              const std::string& valueName, std::uint32_t* type,
                                              char* data, std::uint32_t& byteCount) {
  return inner_.QueryValueEx(key, valueName, type, data, byteCount);
}
std::int32_t ForwardingRegistry::EnumValue(platform::RegistryKey key, std::uint32_t index,
                                           char* name, std::uint32_t& nameLength,
                                           std::uint32_t* type, std::uint32_t* dataSize) {
  return inner_.EnumValue(key, index, name, nameLength, type, dataSize);
}
std::int32_t ForwardingRegistry::DeleteValue(platform::RegistryKey key,
                                             const std::string& valueName) {
  const std::int32_t refused = BeforeChange();
  return refused ? refused : inner_.DeleteValue(key, valueName);
}
std::int32_t ForwardingRegistry::DeleteKey(platform::RegistryKey key, const std::string& subKey) {
  const std::int32_t refused = BeforeChange();
  return refused ? refused : inner_.DeleteKey(key, subKey);
}
std::int32_t ForwardingRegistry::CloseKey(platform::RegistryKey key) {
  return inner_.CloseKey(key);
}

std::int32_t FailingWriteRegistry::BeforeChange() {
  ++changes_;
  const bool refuse = changes_ == failAt_ || (persistent_ && changes_ > failAt_);
  failed_ = failed_ || refuse;
  return refuse ? kFailure : platform::kErrorSuccess;
}

std::int32_t ReadOnlyKeysRegistry::OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                                             std::uint32_t options, std::uint32_t /*desired*/,
                                             platform::RegistryKey& result) {
  return inner_.OpenKeyEx(key, subKey, options, platform::kKeyRead, result);
}

std::int32_t ReadOnlyKeysRegistry::CreateKey(platform::RegistryKey key, const std::string& subKey,
                                             platform::RegistryKey& result) {
  platform::RegistryKey created = 0;
  const std::int32_t status = inner_.CreateKey(key, subKey, created);
  if (status != platform::kErrorSuccess) return status;
  inner_.CloseKey(created);
  return inner_.OpenKeyEx(key, subKey, 0, platform::kKeyRead, result);
}

}  // namespace vekhor::fakes
