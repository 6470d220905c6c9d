#include "platform/win32/DesktopWindows.h"

#include <optional>
#include <string>

#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {
// FindWindowEx in the form that works on this system; the names are plain ASCII, so both
// forms find the same windows.
HWND FindChild(HWND parent, HWND after, const wchar_t* className, const wchar_t* title) {
    if (UsesWideApi()) {
        return ::FindWindowExW(parent, after, className, title);
    }
    const std::string ansiClass = Narrow(className);
    const std::optional<std::string> ansiTitle =
        title != nullptr ? std::optional<std::string>(Narrow(title)) : std::nullopt;
    return ::FindWindowExA(parent, after, ansiClass.c_str(),
                           ansiTitle ? ansiTitle->c_str() : nullptr);
}

HWND FindListViewUnder(HWND parent) {
    const HWND defView = FindChild(parent, nullptr, L"SHELLDLL_DefView", nullptr);
    return defView != nullptr ? FindChild(defView, nullptr, L"SysListView32", nullptr) : nullptr;
}

// Progman's own view, or else the first top-level WorkerW that holds one.
HWND FindListViewFrom(HWND progman) {
    if (progman == nullptr) {
        return nullptr;
    }
    if (FindChild(progman, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr) {
        return FindListViewUnder(progman);
    }
    HWND worker = nullptr;
    while ((worker = FindChild(nullptr, worker, L"WorkerW", nullptr)) != nullptr) {
        if (const HWND listView = FindListViewUnder(worker); listView != nullptr) {
            return listView;
        }
    }
    return nullptr;
}
}  // namespace

HWND FindDesktopListView() {
    return FindListViewFrom(
        FindChild(::GetDesktopWindow(), nullptr, L"Progman", L"Program Manager"));
}

HWND FindProgmanListView() {
    // FindWindow is FindWindowEx over the top-level windows.
    return FindListViewFrom(FindChild(nullptr, nullptr, L"Progman", nullptr));
}

}  // namespace pellmark::win32
