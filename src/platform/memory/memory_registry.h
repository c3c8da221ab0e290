// A registry held in memory, with advapi32's results: the native build's registry and the
// tests' stand-in for the real one. Names compare case-insensitively, as in the registry.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"

namespace vekhor::platform {

// Windows enumerates a key's values in the order of their creation; Wine by name.
enum class EnumerationOrder { Creation, ByName };

class MemoryRegistry final : public Registry {
 public:
  explicit MemoryRegistry(EnumerationOrder order = EnumerationOrder::Creation);
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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

  // Handles opened or created and not yet closed.
  std::size_t OpenHandles() const { return handles_.size(); }

 private:
  struct Node;
  using NodePtr = std::shared_ptr<Node>;
  struct Handle {
    NodePtr node;
    std::uint32_t granted = 0;
  };

  // The key behind a root or an open handle that holds the `needed` rights.
  std::int32_t Resolve(RegistryKey key, std::uint32_t needed, NodePtr& node);
  // The key at subKey below `from`, or null; the empty path is `from` itself.
  static NodePtr Walk(NodePtr from, const std::string& subKey);
  RegistryKey NewHandle(const NodePtr& node, std::uint32_t granted);

  EnumerationOrder order_;
  std::map<RegistryKey, std::shared_ptr<Node>> roots_;
  std::map<RegistryKey, Handle> handles_;
  RegistryKey nextHandle_ = 0x1000;
  std::uint64_t nextCreation_ = 0;
};

}  // namespace vekhor::platform
