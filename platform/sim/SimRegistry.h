// An in-memory registry that answers with the codes Windows gives in the same situations,
// and counts the keys left open so that tests can see every key closed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace pellmark::sim {

class SimRegistry final : public platform::Registry {
  public:
    SimRegistry();
    ~SimRegistry() override;
    SimRegistry(const SimRegistry&) = delete;
    SimRegistry& operator=(const SimRegistry&) = delete;

    std::uint32_t OpenKey(platform::RegistryKey parent, const std::string& path,
                          std::uint32_t access, platform::RegistryKey& opened) override;
    std::uint32_t CreateKey(platform::RegistryKey parent, const std::string& path,
                            std::uint32_t access, platform::RegistryKey& opened) override;
    std::uint32_t CloseKey(platform::RegistryKey key) override;
    std::uint32_t DeleteKey(platform::RegistryKey parent, const std::string& subKey) override;
    std::uint32_t DeleteValue(platform::RegistryKey key, const std::string& name) override;
    std::uint32_t QueryKeyInfo(platform::RegistryKey key, platform::RegistryKeyInfo& info) override;
    std::uint32_t EnumKey(platform::RegistryKey key, std::uint32_t index, std::uint32_t capacity,
                          std::string& name) override;
    std::uint32_t QueryValue(platform::RegistryKey key, const std::string& name,
                             std::uint32_t& type, std::span<std::uint8_t> buffer,
                             std::uint32_t& size) override;
    std::uint32_t SetValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override;

    // Keys opened or created and not yet closed (the roots do not count).
    [[nodiscard]] int OpenKeyCount() const noexcept { return static_cast<int>(handles_.size()); }

  private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access = 0;
    };

    // The key behind a handle, or the error Windows gives for it.
    std::uint32_t Resolve(platform::RegistryKey key, std::uint32_t access,
                          std::shared_ptr<Node>& node) const;
    std::uint32_t Walk(platform::RegistryKey parent, const std::string& path, bool create,
                       std::shared_ptr<Node>& node);
    std::uint32_t OpenOrCreate(platform::RegistryKey parent, const std::string& path, bool create,
                               std::uint32_t access, platform::RegistryKey& opened);
    platform::RegistryKey AddHandle(std::shared_ptr<Node> node, std::uint32_t access);

    std::map<platform::RegistryKey, std::shared_ptr<Node>> roots_;
    std::map<platform::RegistryKey, Handle> handles_;
    platform::RegistryKey nextHandle_ = 0x100;
};

}  // namespace pellmark::sim
