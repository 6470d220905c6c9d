// A registry that hands every call to another one: a test overrides only the calls it
// watches or refuses.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/Registry.h"

namespace pellmark::testcases {

class ForwardingRegistry : public platform::Registry {
  public:
    explicit ForwardingRegistry(platform::Registry& inner) : inner_(inner) {}

    std::uint32_t OpenKey(platform::RegistryKey parent, const std::string& path,
                          std::uint32_t access, platform::RegistryKey& opened) override {
        return inner_.OpenKey(parent, path, access, opened);
    }
    std::uint32_t CreateKey(platform::RegistryKey parent, const std::string& path,
                            std::uint32_t access, platform::RegistryKey& opened) override {
        return inner_.CreateKey(parent, path, access, opened);
    }
    std::uint32_t CloseKey(platform::RegistryKey key) override { return inner_.CloseKey(key); }
    std::uint32_t DeleteKey(platform::RegistryKey parent, const std::string& subKey) override {
        return inner_.DeleteKey(parent, subKey);
    }
    std::uint32_t DeleteValue(platform::RegistryKey key, const std::string& name) override {
        return inner_.DeleteValue(key, name);
    }
    std::uint32_t QueryKeyInfo(platform::RegistryKey key,
                               platform::RegistryKeyInfo& info) override {
        return inner_.QueryKeyInfo(key, info);
    }
    std::uint32_t EnumKey(platform::RegistryKey key, std::uint32_t index, std::uint32_t capacity,
                          std::string& name) override {
        return inner_.EnumKey(key, index, capacity, name);
    }
    std::uint32_t QueryValue(platform::RegistryKey key, const std::string& name,
                             std::uint32_t& type, std::span<std::uint8_t> buffer,
                             std::uint32_t& size) override {
        return inner_.QueryValue(key, name, type, buffer, size);
    }
    std::uint32_t SetValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override {
        return inner_.SetValue(key, name, type, data);
    }

  protected:
    platform::Registry& inner_;
};

}  // namespace pellmark::testcases
