// Registries that stand between the code and a real one, to make writes fail on purpose.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace vekhor::fakes {

// Passes every call on to another registry. Each change (create, set, delete value, delete
// key) asks BeforeChange first, which may refuse it with a result code of its own.
class ForwardingRegistry : public platform::Registry {
 public:
  explicit ForwardingRegistry(platform::Registry& inner) : inner_(inner) {}

  std::int32_t OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                         std::uint32_t options, std::uint32_t desired,
                         platform::RegistryKey& result) override;
  std::int32_t CreateKey(platform::RegistryKey key, const std::string& subKey,
                         platform::RegistryKey& result) override;
  std::int32_t SetValueEx(platform::RegistryKey key, const std::string& valueName,
                          std::uint32_t type, const std::string& data) override;
  std::int32_t QueryValueEx(platform::RegistryKey key, const std::string& valueName,
                            std::uint32_t* type, char* data, std::uint32_t& byteCount) override;
  std::int32_t EnumValue(platform::RegistryKey key, std::uint32_t index, char* name,
                         std::uint32_t& nameLength, std::uint32_t* type,
                         std::uint32_t* dataSize) override;
  std::int32_t DeleteValue(platform::RegistryKey key, const std::string& valueName) override;
  std::int32_t DeleteKey(platform::RegistryKey key, const std::string& subKey) override;
  std::int32_t CloseKey(platform::RegistryKey key) override;

 protected:
  // kErrorSuccess lets the change through.
  virtual std::int32_t BeforeChange() { return platform::kErrorSuccess; }

  platform::Registry& inner_;
};

// Refuses the k-th change with a registry I/O error, and with `persistent` every change after
// it too, as a full disk would.
class FailingWriteRegistry final : public ForwardingRegistry {
 public:
  static constexpr std::int32_t kFailure = 1016;  // ERROR_REGISTRY_IO_FAILED

  FailingWriteRegistry(platform::Registry& inner, int failAt, bool persistent = false)
      : ForwardingRegistry(inner), failAt_(failAt), persistent_(persistent) {}

  // Changes asked for so far, refused ones included.
  int Changes() const { return changes_; }
  bool Failed() const { return failed_; }

 private:
  std::int32_t BeforeChange() override;

  int failAt_;
  bool persistent_;
  int changes_ = 0;
  bool failed_ = false;
};

// Hands out every key with read rights only, whatever was asked for, so that the registry
// underneath refuses every value change as it does for a key the user may not write.
class ReadOnlyKeysRegistry final : public ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;

  std::int32_t OpenKeyEx(platform::RegistryKey key, const std::string& subKey,
                         std::uint32_t options, std::uint32_t desired,
                         platform::RegistryKey& result) override;
  std::int32_t CreateKey(platform::RegistryKey key, const std::string& subKey,
                         platform::RegistryKey& result) override;
};

}  // namespace vekhor::fakes
