#include "platform/win32/DesktopWindows.h"

namespace pellmark::win32 {

namespace {
HWND FindListViewUnder(HWND parent) {
    const HWND defView = ::FindWindowExA(parent, nullptr, "SHELLDLL_DefView", nullptr);
    return defView != nullptr ? ::FindWindowExA(defView, nullptr, "SysListView32", nullptr)
                              : nullptr;
}

// Progman's own view, or else the first top-level WorkerW that holds one.
HWND FindListViewFrom(HWND progman) {
    if (progman == nullptr) {
        return nullptr;
    }
    if (::FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr) != nullptr) {
        return FindListViewUnder(progman);
    }
    HWND worker = nullptr;
    while ((worker = ::FindWindowExA(nullptr, worker, "WorkerW", nullptr)) != nullptr) {
        if (const HWND listView = FindListViewUnder(worker); listView != nullptr) {
            return listView;
        }
    }
    return nullptr;
}
}  // namespace

HWND FindDesktopListView() {
    return FindListViewFrom(
        ::FindWindowExA(::GetDesktopWindow(), nullptr, "Progman", "Program Manager"));
}

HWND FindProgmanListView() {
    return FindListViewFrom(::FindWindowA("Progman", nullptr));
}

}  // namespace pellmark::win32
