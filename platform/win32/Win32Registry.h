// The real registry. Names and text values are UTF-8 here and UTF-16 in the registry (the
// wide calls); on 95/98/Me, whose wide registry calls are stubs, they go through the ANSI
// calls, and a text the code page cannot hold is refused rather than stored as another.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace pellmark::win32 {

class Win32Registry final : public platform::Registry {
  public:
    // The wide calls where the system has them.
    Win32Registry();
    // The wide calls, or the ANSI ones (as on 95/98/Me) on any system.
    explicit Win32Registry(bool wideCalls) noexcept : wide_(wideCalls) {}

    std::uint32_t OpenKey(platform::RegistryKey parent, const std::string& path,
                          std::uint32_t access, platform::RegistryKey& opened) override;
    std::uint32_t CreateKey(platform::RegistryKey parent, const std::string& path,
                            std::uint32_t access, platform::RegistryKey& opened) override;
    std::uint32_t CloseKey(platform::RegistryKey key) override;
    std::uint32_t DeleteKey(platform::RegistryKey parent, const std::string& subKey) override;
    std::uint32_t DeleteValue(platform::RegistryKey key, const std::string& name) override;
    std::uint32_t QueryKeyInfo(platform::RegistryKey key, platform::RegistryKeyInfo& info) override;
    // `capacity` and the longest name counted in UTF-16 units.
    std::uint32_t EnumKey(platform::RegistryKey key, std::uint32_t index, std::uint32_t capacity,
                          std::string& name) override;
    // Text values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are handed out, and their sizes
    // counted, as UTF-8.
    std::uint32_t QueryValue(platform::RegistryKey key, const std::string& name,
                             std::uint32_t& type, std::span<std::uint8_t> buffer,
                             std::uint32_t& size) override;
    // Text values are given as UTF-8, terminating zero included when they have one.
    std::uint32_t SetValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override;

  private:
    bool wide_;
};

}  // namespace pellmark::win32
