// Text values of the real registry, in UTF-8, for tests that look at what the program left
// there or set up what it will find.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/WideText.h"

namespace pellmark::testcases {

// The REG_SZ value `name` ("" for the key's default); `absent` when the key or the value is
// not there or holds another type.
[[nodiscard]] inline std::string RegistryText(HKEY root, const std::string& key,
                                              const std::string& name,
                                              const std::string& absent = "(absent)") {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (::RegGetValueW(root, win32::Widen(key).c_str(), win32::Widen(name).c_str(), RRF_RT_REG_SZ,
                       nullptr, text, &size) != ERROR_SUCCESS) {
        return absent;
    }
    return win32::Narrow(text);
}

// Writes a REG_SZ value, making the key as needed; false when the registry refuses.
inline bool SetRegistryText(HKEY root, const std::string& key, const std::string& name,
                            const std::string& text) {
    const std::wstring wide = win32::Widen(text);
    return ::RegSetKeyValueW(
               root, win32::Widen(key).c_str(), win32::Widen(name).c_str(), REG_SZ, wide.c_str(),
               static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

inline void DeleteRegistryText(HKEY root, const std::string& key, const std::string& name) {
    ::RegDeleteKeyValueW(root, win32::Widen(key).c_str(), win32::Widen(name).c_str());
}

}  // namespace pellmark::testcases
