#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

namespace pellmark::win32 {

namespace {

// Keys cross the interface as their handle values; the roots there are already
// sign-extended the way the predefined HKEYs are.
HKEY ToHkey(platform::RegistryKey key) noexcept {
    return reinterpret_cast<HKEY>(key);
}

platform::RegistryKey FromHkey(HKEY key) noexcept {
    return reinterpret_cast<platform::RegistryKey>(key);
}

}  // namespace

std::uint32_t Win32Registry::OpenKey(platform::RegistryKey parent, const std::string& path,
                                     std::uint32_t access, platform::RegistryKey& opened) {
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, access, &key);
    if (status == ERROR_SUCCESS) {
        opened = FromHkey(key);
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::CreateKey(platform::RegistryKey parent, const std::string& path,
                                       std::uint32_t access, platform::RegistryKey& opened) {
    HKEY key = nullptr;
    char noClass[] = "";
    const LONG status = ::RegCreateKeyExA(ToHkey(parent), path.c_str(), 0, noClass,
                                          REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        opened = FromHkey(key);
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::CloseKey(platform::RegistryKey key) {
    return static_cast<std::uint32_t>(::RegCloseKey(ToHkey(key)));
}

std::uint32_t Win32Registry::DeleteKey(platform::RegistryKey parent, const std::string& subKey) {
    return static_cast<std::uint32_t>(::RegDeleteKeyA(ToHkey(parent), subKey.c_str()));
}

std::uint32_t Win32Registry::DeleteValue(platform::RegistryKey key, const std::string& name) {
    return static_cast<std::uint32_t>(::RegDeleteValueA(ToHkey(key), name.c_str()));
}

std::uint32_t Win32Registry::QueryKeyInfo(platform::RegistryKey key,
                                          platform::RegistryKeyInfo& info) {
    DWORD count = 0;
    DWORD longest = 0;
    const LONG status = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &count, &longest,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        info.subKeyCount = count;
        info.longestSubKeyName = longest;
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::EnumKey(platform::RegistryKey key, std::uint32_t index,
                                     std::uint32_t capacity, std::string& name) {
    std::vector<char> buffer(capacity + 1u, '\0');
    DWORD length = capacity;
    const LONG status = ::RegEnumKeyExA(ToHkey(key), index, buffer.data(), &length, nullptr,
                                        nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        name.assign(buffer.data(), length);
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::QueryValue(platform::RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::span<std::uint8_t> buffer,
                                        std::uint32_t& size) {
    // A null data pointer would only ask for the size and succeed; an empty buffer must
    // still report ERROR_MORE_DATA, so some address is always given.
    BYTE spare = 0;
    BYTE* data = buffer.empty() ? &spare : buffer.data();
    DWORD valueType = 0;
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, data, &length);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        type = valueType;
        size = length;
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::SetValue(platform::RegistryKey key, const std::string& name,
                                      std::uint32_t type, std::span<const std::uint8_t> data) {
    static const BYTE kNothing = 0;
    return static_cast<std::uint32_t>(::RegSetValueExA(ToHkey(key), name.c_str(), 0, type,
                                                       data.empty() ? &kNothing : data.data(),
                                                       static_cast<DWORD>(data.size())));
}

}  // namespace pellmark::win32
