#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

// Calls `expand` with a buffer until the expansion fits; nothing when it fails.
template <typename Char, typename Expand>
std::optional<std::basic_string<Char>> ExpandWith(const std::basic_string<Char>& text,
                                                  Expand expand) {
    std::vector<Char> buffer(text.size() + 64);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed = expand(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0) {
            return std::nullopt;
        }
        if (needed <= buffer.size()) {
            return std::basic_string<Char>(buffer.data());
        }
        buffer.resize(needed);
    }
    return std::nullopt;
}

}  // namespace

std::string ExpandEnvironment(const std::string& text) {
    if (text.find('%') == std::string::npos) {
        return text;
    }
    if (UsesWideApi()) {
        const auto expanded =
            ExpandWith(Widen(text), [](const wchar_t* from, wchar_t* to, DWORD size) {
                return ::ExpandEnvironmentStringsW(from, to, size);
            });
        return expanded ? Narrow(*expanded) : text;
    }
    const std::optional<std::string> ansi = ToAnsi(text);
    if (!ansi) {
        return text;
    }
    const auto expanded = ExpandWith(*ansi, [](const char* from, char* to, DWORD size) {
        return ::ExpandEnvironmentStringsA(from, to, size);
    });
    return expanded ? FromAnsi(*expanded) : text;
}

void RepaintAllWindows() noexcept {
    ::InvalidateRect(nullptr, nullptr, FALSE);
}

}  // namespace pellmark::win32
