// The Servers key and its companion as written and read by the save and the load.
#include "servers/stored_servers.h"

#include <charconv>

#include "servers/registry_key.h"
#include "servers/registry_value.h"

namespace vekhor {
namespace {

constexpr const char* kTotal = "Total";

std::string ServerName(std::size_t n) {
  return "Server" + std::to_string(n);
}
std::string CheckName(std::size_t n) {
  return "ServerChecked" + std::to_string(n);
}

bool Set(platform::Registry& registry, const OwnedKey& key, const std::string& name,
         const std::string& data) {
  return registry.SetValueEx(key.Get(), name, platform::kRegSz, data) == platform::kErrorSuccess;
}

std::optional<std::size_t> ParseTotal(const std::string& text) {
  std::size_t total = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, total);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return total;
}

// Creates the key and opens it for writing, the only rights the program asks for.
std::optional<OwnedKey> CreateForWriting(platform::Registry& registry, platform::RegistryKey root,
                                         const std::string& path) {
  if (!OwnedKey::Create(registry, root, path).IsOpen()) return std::nullopt;
  OwnedKey key = OwnedKey::Open(registry, root, path, platform::kKeyWrite);
  if (!key.IsOpen()) return std::nullopt;
  return key;
}

// "Server<n>" and "ServerChecked<n>" alternately, as earlier versions create them.
bool WriteList(platform::Registry& registry, const OwnedKey& key, const StoredList& list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!Set(registry, key, ServerName(i + 1), list[i].host) ||
        !Set(registry, key, CheckName(i + 1), list[i].checkMark)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string CompanionPath(const ServersLocation& where) {
  return where.path + ".new";
}

bool DeleteKeyIfPresent(platform::Registry& registry, platform::RegistryKey root,
                        const std::string& path) {
  const OwnedKey key = OwnedKey::Open(registry, root, path, platform::kKeyWrite);
  if (key.Status() == platform::kErrorFileNotFound) return true;
  return key.IsOpen() && registry.DeleteKey(root, path) == platform::kErrorSuccess;
}

bool WriteServersKey(platform::Registry& registry, const ServersLocation& where,
                     const StoredList& list) {
  const auto key = CreateForWriting(registry, where.root, where.path);
  return key && WriteList(registry, *key, list);
}

bool WriteCompanion(platform::Registry& registry, const ServersLocation& where,
                    const StoredList& list) {
  const auto key = CreateForWriting(registry, where.root, CompanionPath(where));
  return key && WriteList(registry, *key, list) &&
         Set(registry, *key, kTotal, std::to_string(list.size()));
}

bool DropCompanion(platform::Registry& registry, const ServersLocation& where) {
  const std::string path = CompanionPath(where);
  {
    const OwnedKey key = OwnedKey::Open(registry, where.root, path, platform::kKeyWrite);
    if (key.Status() == platform::kErrorFileNotFound) return true;
    // A refusal here still leaves the delete of the whole key to try.
    if (key.IsOpen()) registry.DeleteValue(key.Get(), kTotal);
  }
  return DeleteKeyIfPresent(registry, where.root, path);
}

std::optional<StoredList> ReadCompanion(platform::Registry& registry,
                                        const ServersLocation& where) {
  const OwnedKey key =
      OwnedKey::Open(registry, where.root, CompanionPath(where), platform::kKeyRead);
  if (!key.IsOpen()) return std::nullopt;
  const auto totalText = ReadStringValue(registry, key.Get(), kTotal);
  const auto total = totalText ? ParseTotal(*totalText) : std::nullopt;
  if (!total) return std::nullopt;
  StoredList list;
  for (std::size_t n = 1; n <= *total; ++n) {
    auto host = ReadStringValue(registry, key.Get(), ServerName(n));
    auto checkMark = ReadStringValue(registry, key.Get(), CheckName(n));
    if (!host || !checkMark) return std::nullopt;
    list.push_back({std::move(*host), std::move(*checkMark)});
  }
  return list;
}

}  // namespace vekhor
