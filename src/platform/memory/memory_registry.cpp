// The in-memory registry: a tree of keys, each with its values, and a table of open handles.
#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vekhor::platform {
namespace {

// The registry folds names to upper case; Wine keeps values sorted by the folded name, so
// "A_" sorts before "Ab" there.
std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == 2 || type == 7;
}

constexpr std::uint32_t kAllRights = 0xFFFFFFFF;

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
    std::uint64_t creation = 0;
  };

  Node* parent = nullptr;
  std::map<std::string, std::shared_ptr<Node>> children;
  std::map<std::string, Value> values;
  bool deleted = false;
  std::vector<const Value*> enumeration;
  bool enumerationValid = false;

  const std::vector<const Value*>& Enumeration(EnumerationOrder order) {
    if (!enumerationValid) {
      enumeration.clear();
      for (const auto& [folded, value] : values) enumeration.push_back(&value);
      if (order == EnumerationOrder::Creation) {
        std::sort(enumeration.begin(), enumeration.end(),
                  [](const Value* a, const Value* b) { return a->creation < b->creation; });
      }
      enumerationValid = true;
    }
    return enumeration;
  }
};

MemoryRegistry::MemoryRegistry(EnumerationOrder order) : order_(order) {
  for (RegistryKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) {
    roots_[root] = std::make_shared<Node>();
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::int32_t MemoryRegistry::Resolve(RegistryKey key, std::uint32_t needed, NodePtr& node) {
  if (const auto root = roots_.find(key); root != roots_.end()) {
    node = root->second;
    return kErrorSuccess;
  }
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kErrorInvalidHandle;
  if (handle->second.node->deleted) return kErrorKeyDeleted;
  if ((handle->second.granted & needed) != needed) return kErrorAccessDenied;
  node = handle->second.node;
  return kErrorSuccess;
}

MemoryRegistry::NodePtr MemoryRegistry::Walk(NodePtr from, const std::string& subKey) {
  for (const std::string& part : Components(subKey)) {
    const auto child = from->children.find(Folded(part));
    if (child == from->children.end()) return nullptr;
    from = child->second;
  }
  return from;
}

RegistryKey MemoryRegistry::NewHandle(const NodePtr& node, std::uint32_t granted) {
  const RegistryKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{node, granted};
  return handle;
}

std::int32_t MemoryRegistry::OpenKeyEx(RegistryKey key, const std::string& subKey,
                                       std::uint32_t /*options*/, std::uint32_t desired,
                                       RegistryKey& result) {
  NodePtr base;
  if (const std::int32_t status = Resolve(key, 0, base); status != kErrorSuccess) return status;
  const NodePtr found = Walk(base, subKey);
  if (!found) return kErrorFileNotFound;
  result = NewHandle(found, desired);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::CreateKey(RegistryKey key, const std::string& subKey,
                                       RegistryKey& result) {
  NodePtr current;
  if (const std::int32_t status = Resolve(key, 0, current); status != kErrorSuccess) {
    return status;
  }
  for (const std::string& part : Components(subKey)) {
    NodePtr& child = current->children[Folded(part)];
    if (!child) {
      child = std::make_shared<Node>();
      child->parent = current.get();
    }
    current = child;
  }
  result = NewHandle(current, kAllRights);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::SetValueEx(RegistryKey key, const std::string& valueName,
                                        std::uint32_t type, const std::string& data) {
  NodePtr node;
  if (const std::int32_t status = Resolve(key, kKeySetValue, node); status != kErrorSuccess) {
    return status;
  }
  std::string stored = data;
  if (IsStringType(type) && !stored.empty() && stored.back() != '\0') stored.push_back('\0');
  auto [entry, created] = node->values.try_emplace(Folded(valueName));
  if (created) {
    entry->second.name = valueName;
    entry->second.creation = nextCreation_++;
  }
  entry->second.type = type;
  entry->second.data = std::move(stored);
  node->enumerationValid = false;
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::SetUtf8StringValue(RegistryKey key, const std::string& valueName,
                                                const std::string& text) {
  return SetValueEx(key, valueName, kRegSz, text);
}

std::int32_t MemoryRegistry::QueryValueEx(RegistryKey key, const std::string& valueName,
                                          std::uint32_t* type, char* data,
                                          std::uint32_t& byteCount) {
  NodePtr node;
  if (const std::int32_t status = Resolve(key, kKeyQueryValue, node); status != kErrorSuccess) {
    return status;
  }
  const auto found = node->values.find(Folded(valueName));
  if (found == node->values.end()) return kErrorFileNotFound;
  const auto& value = found->second;
  if (type) *type = value.type;
  const auto size = static_cast<std::uint32_t>(value.data.size());
  if (data && byteCount < size) {
    byteCount = size;
    return kErrorMoreData;
  }
  if (data) std::memcpy(data, value.data.data(), size);
  byteCount = size;
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::EnumValue(RegistryKey key, std::uint32_t index, char* name,
                                       std::uint32_t& nameLength, std::uint32_t* type,
                                       std::uint32_t* dataSize) {
  NodePtr node;
  if (const std::int32_t status = Resolve(key, kKeyQueryValue, node); status != kErrorSuccess) {
    return status;
  }
  const auto& values = node->Enumeration(order_);
  if (index >= values.size()) return kErrorNoMoreItems;
  const auto& value = *values[index];
  if (nameLength <= value.name.size()) return kErrorMoreData;
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  nameLength = static_cast<std::uint32_t>(value.name.size());
  if (type) *type = value.type;
  if (dataSize) *dataSize = static_cast<std::uint32_t>(value.data.size());
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::DeleteValue(RegistryKey key, const std::string& valueName) {
  NodePtr node;
  if (const std::int32_t status = Resolve(key, kKeySetValue, node); status != kErrorSuccess) {
    return status;
  }
  if (node->values.erase(Folded(valueName)) == 0) return kErrorFileNotFound;
  node->enumerationValid = false;
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::DeleteKey(RegistryKey key, const std::string& subKey) {
  NodePtr base;
  if (const std::int32_t status = Resolve(key, 0, base); status != kErrorSuccess) return status;
  const auto parts = Components(subKey);
  if (parts.empty()) return kErrorInvalidParameter;
  const NodePtr found = Walk(base, subKey);
  if (!found) return kErrorFileNotFound;
  Node& doomed = *found;
  if (!doomed.children.empty()) return kErrorAccessDenied;
  doomed.deleted = true;
  doomed.parent->children.erase(Folded(parts.back()));
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::CloseKey(RegistryKey key) {
  if (roots_.count(key)) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace vekhor::platform
