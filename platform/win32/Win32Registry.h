// The real registry, through the ANSI registry calls of advapi32.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace pellmark::win32 {

class Win32Registry final : public platform::Registry {
  public:
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
};

}  // namespace pellmark::win32
