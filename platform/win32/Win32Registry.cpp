#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"

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

std::uint32_t Code(LONG status) noexcept {
    return static_cast<std::uint32_t>(status);
}

bool IsText(DWORD type) noexcept {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A key or value name in the form the calls take; the ANSI calls are not made with a
// name the code page cannot hold.
template <typename WideCall, typename AnsiCall>
LONG WithName(bool wideCalls, const std::string& name, WideCall wide, AnsiCall ansi) {
    return CallWithText(wideCalls, name, static_cast<LONG>(ERROR_NO_UNICODE_TRANSLATION), wide,
                        ansi);
}

// The whole value as stored, however large; the buffer grows while the value does.
LONG ReadStoredValue(bool wideCalls, HKEY key, const std::string& name, DWORD& type,
                     std::vector<BYTE>& data) {
    data.assign(256, 0);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = WithName(
            wideCalls, name,
            [&](const wchar_t* wide) {
                return ::RegQueryValueExW(key, wide, nullptr, &type, data.data(), &size);
            },
            [&](const char* ansi) {
                return ::RegQueryValueExA(key, ansi, nullptr, &type, data.data(), &size);
            });
        if (status == ERROR_SUCCESS) {
            data.resize(size);
            return status;
        }
        if (status != ERROR_MORE_DATA) {
            return status;
        }
        data.assign(std::max<std::size_t>(size, data.size() * 2), 0);
    }
    return ERROR_MORE_DATA;
}

// Text as stored (UTF-16, or ANSI on 95/98/Me) to UTF-8, zeros included.
std::string StoredTextToUtf8(bool wideCalls, const std::vector<BYTE>& data) {
    if (wideCalls) {
        std::wstring wide(data.size() / 2, L'\0');  // a stray odd byte is no character
        std::copy_n(data.begin(), wide.size() * 2, reinterpret_cast<BYTE*>(wide.data()));
        return Narrow(wide);
    }
    return FromAnsi(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

// UTF-8 text to the bytes to store; nothing when the ANSI code page cannot hold it.
std::optional<std::vector<BYTE>> Utf8ToStoredText(bool wideCalls,
                                                  std::span<const std::uint8_t> data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (wideCalls) {
        const std::wstring wide = Widen(text);
        const auto* bytes = reinterpret_cast<const BYTE*>(wide.data());
        return std::vector<BYTE>(bytes, bytes + wide.size() * sizeof(wchar_t));
    }
    const std::optional<std::string> ansi = ToAnsi(text);
    if (!ansi) {
        return std::nullopt;
    }
    return std::vector<BYTE>(ansi->begin(), ansi->end());
}

}  // namespace

Win32Registry::Win32Registry() : wide_(UsesWideApi()) {}

std::uint32_t Win32Registry::OpenKey(platform::RegistryKey parent, const std::string& path,
                                     std::uint32_t access, platform::RegistryKey& opened) {
    HKEY key = nullptr;
    const LONG status = WithName(
        wide_, path,
        [&](const wchar_t* wide) { return ::RegOpenKeyExW(ToHkey(parent), wide, 0, access, &key); },
        [&](const char* ansi) { return ::RegOpenKeyExA(ToHkey(parent), ansi, 0, access, &key); });
    if (status == ERROR_SUCCESS) {
        opened = FromHkey(key);
    }
    return Code(status);
}

std::uint32_t Win32Registry::CreateKey(platform::RegistryKey parent, const std::string& path,
                                       std::uint32_t access, platform::RegistryKey& opened) {
    HKEY key = nullptr;
    const LONG status = WithName(
        wide_, path,
        [&](const wchar_t* wide) {
            wchar_t noClass[] = L"";
            return ::RegCreateKeyExW(ToHkey(parent), wide, 0, noClass, REG_OPTION_NON_VOLATILE,
                                     access, nullptr, &key, nullptr);
        },
        [&](const char* ansi) {
            char noClass[] = "";
            return ::RegCreateKeyExA(ToHkey(parent), ansi, 0, noClass, REG_OPTION_NON_VOLATILE,
                                     access, nullptr, &key, nullptr);
        });
    if (status == ERROR_SUCCESS) {
        opened = FromHkey(key);
    }
    return Code(status);
}

std::uint32_t Win32Registry::CloseKey(platform::RegistryKey key) {
    return Code(::RegCloseKey(ToHkey(key)));
}

std::uint32_t Win32Registry::DeleteKey(platform::RegistryKey parent, const std::string& subKey) {
    return Code(WithName(
        wide_, subKey, [&](const wchar_t* wide) { return ::RegDeleteKeyW(ToHkey(parent), wide); },
        [&](const char* ansi) { return ::RegDeleteKeyA(ToHkey(parent), ansi); }));
}

std::uint32_t Win32Registry::DeleteValue(platform::RegistryKey key, const std::string& name) {
    return Code(WithName(
        wide_, name, [&](const wchar_t* wide) { return ::RegDeleteValueW(ToHkey(key), wide); },
        [&](const char* ansi) { return ::RegDeleteValueA(ToHkey(key), ansi); }));
}

std::uint32_t Win32Registry::QueryKeyInfo(platform::RegistryKey key,
                                          platform::RegistryKeyInfo& info) {
    DWORD count = 0;
    DWORD longest = 0;
    const LONG status =
        wide_ ? ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &count, &longest,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)
              : ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &count, &longest,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        info.subKeyCount = count;
        info.longestSubKeyName = longest;
    }
    return Code(status);
}

std::uint32_t Win32Registry::EnumKey(platform::RegistryKey key, std::uint32_t index,
                                     std::uint32_t capacity, std::string& name) {
    DWORD length = capacity;
    if (wide_) {
        std::vector<wchar_t> buffer(capacity + 1u, L'\0');
        const LONG status = ::RegEnumKeyExW(ToHkey(key), index, buffer.data(), &length, nullptr,
                                            nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) {
            name = Narrow(std::wstring_view(buffer.data(), length));
        }
        return Code(status);
    }
    std::vector<char> buffer(capacity + 1u, '\0');
    const LONG status = ::RegEnumKeyExA(ToHkey(key), index, buffer.data(), &length, nullptr,
                                        nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        name = FromAnsi(std::string_view(buffer.data(), length));
    }
    return Code(status);
}

std::uint32_t Win32Registry::QueryValue(platform::RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::span<std::uint8_t> buffer,
                                        std::uint32_t& size) {
    DWORD storedType = 0;
    std::vector<BYTE> stored;
    const LONG status = ReadStoredValue(wide_, ToHkey(key), name, storedType, stored);
    if (status != ERROR_SUCCESS) {
        return Code(status);
    }
    if (IsText(storedType)) {
        const std::string text = StoredTextToUtf8(wide_, stored);
        stored.assign(text.begin(), text.end());
    }
    type = storedType;
    size = static_cast<std::uint32_t>(stored.size());
    if (stored.size() > buffer.size()) {
        return Code(ERROR_MORE_DATA);
    }
    std::copy(stored.begin(), stored.end(), buffer.begin());
    return Code(ERROR_SUCCESS);
}

std::uint32_t Win32Registry::SetValue(platform::RegistryKey key, const std::string& name,
                                      std::uint32_t type, std::span<const std::uint8_t> data) {
    std::vector<BYTE> bytes(data.begin(), data.end());
    if (IsText(type)) {
        std::optional<std::vector<BYTE>> text = Utf8ToStoredText(wide_, data);
        if (!text) {
            return Code(ERROR_NO_UNICODE_TRANSLATION);
        }
        bytes = std::move(*text);
    }
    static const BYTE kNothing = 0;
    const BYTE* stored = bytes.empty() ? &kNothing : bytes.data();
    const auto length = static_cast<DWORD>(bytes.size());
    return Code(WithName(
        wide_, name,
        [&](const wchar_t* wide) {
            return ::RegSetValueExW(ToHkey(key), wide, 0, type, stored, length);
        },
        [&](const char* ansi) {
            return ::RegSetValueExA(ToHkey(key), ansi, 0, type, stored, length);
        }));
}

}  // namespace pellmark::win32
