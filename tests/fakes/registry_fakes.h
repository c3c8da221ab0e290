// Registries that stand between the code and a real one, to make writes fail on purpose.
#pragma once

#include "platform/registry.h"

namespace vekhor::fakes {

// Passes every call on; each change asks BeforeChange first, which may refuse it with a code.
class ForwardingRegistry : public platform::Registry {
 public:
  using Key = platform::RegistryKey;
  explicit ForwardingRegistry(platform::Registry& inner) : inner_(inner) {}

  std::int32_t OpenKeyEx(Key key, const std::string& subKey, std::uint32_t options,
                         std::uint32_t desired, Key& result) override {
    return inner_.OpenKeyEx(key, subKey, options, desired, result);
  }
  std::int32_t CreateKey(Key key, const std::string& subKey, Key& result) override {
    const std::int32_t refused = BeforeChange();
    return refused ? refused : inner_.CreateKey(key, subKey, result);
  }
  std::int32_t SetValueEx(Key key, const std::string& valueName, std::uint32_t type,
                          const std::string& data) override {
    const std::int32_t refused = BeforeChange();
    return refused ? refused : inner_.SetValueEx(key, valueName, type, data);
  }
  std::int32_t SetUtf8StringValue(Key key, const std::string& valueName,
                                  const std::string& text) override {
    const std::int32_t refused = BeforeChange();
    return refused ? refused : inner_.SetUtf8StringValue(key, valueName, text);
  }
  std::int32_t QueryValueEx(Key key, const std::string& valueName, std::uint32_t* type, char* data,
                            std::uint32_t& byteCount) override {
    return inner_.QueryValueEx(key, valueName, type, data, byteCount);
  }
  std::int32_t EnumValue(Key key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                         std::uint32_t* type, std::uint32_t* dataSize) override {
    return inner_.EnumValue(key, index, name, nameLength, type, dataSize);
  }
  std::int32_t DeleteValue(Key key, const std::string& valueName) override {
    const std::int32_t refused = BeforeChange();
    return refused ? refused : inner_.DeleteValue(key, valueName);
  }
  std::int32_t DeleteKey(Key key, const std::string& subKey) override {
    const std::int32_t refused = BeforeChange();
    return refused ? refused : inner_.DeleteKey(key, subKey);
  }
  std::int32_t CloseKey(Key key) override { return inner_.CloseKey(key); }

 protected:
  virtual std::int32_t BeforeChange() { return platform::kErrorSuccess; }

  platform::Registry& inner_;
};

// Refuses the failAt-th change, and with `persistent` every later one too, as a full disk would.
struct FailingWriteRegistry final : ForwardingRegistry {
  FailingWriteRegistry(platform::Registry& inner, int refused, bool fromThenOn = false)
      : ForwardingRegistry(inner), failAt(refused), persistent(fromThenOn) {}
  std::int32_t BeforeChange() override {
    const bool refuse = ++changes == failAt || (persistent && changes > failAt);
    return refuse ? 1016 : platform::kErrorSuccess;  // ERROR_REGISTRY_IO_FAILED
  }
  const int failAt;
  const bool persistent;
  int changes = 0;  // asked for so far, refused ones included
};

}  // namespace vekhor::fakes
