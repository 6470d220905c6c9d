#include "platform/win32/Win32TrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/TrayRecord.h"
#include "platform/Utf8.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

constexpr std::size_t kTipCharacters = platform::kTrayTipBytes - 1;  // and the NUL

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == platform::kTrayRecordSize);

std::uint32_t HandleBits(const void* handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

// The tip in the code page, whole characters only, at most 63 bytes; empty when the code
// page cannot hold it: no other text stands in for the title.
std::string AnsiTip(std::string_view tip) {
    for (std::size_t units = kTipCharacters; units > 0; --units) {
        const std::optional<std::string> ansi =
            ToAnsi(platform::Utf8PrefixOfUtf16Units(tip, units));
        if (!ansi) {
            return {};
        }
        if (ansi->size() <= kTipCharacters) {
            return *ansi;
        }
    }
    return {};
}
#endif

}  // namespace

Win32TrayIcon::Win32TrayIcon(formwindows::FormWindow& form, forms::TrayIcon& icon)
    : form_(form), icon_(icon), taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")) {
    form_.SetTaker(this);
    Notify(NIM_ADD);
}

Win32TrayIcon::~Win32TrayIcon() {
    form_.SetTaker(nullptr);
    Notify(NIM_DELETE);
}

bool Win32TrayIcon::Take(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage && wParam == platform::kTrayIconId) {
        // The first-version protocol: the mouse message itself, nothing else, in lParam.
        if (const auto mouse = forms::TrayMouseFromMessage(static_cast<std::uint32_t>(lParam))) {
            forms::TrayIcon& icon = icon_;
            // The handler may unload the form, and this peer with it.
            form_.Backend().Guard([&icon, mouse] { icon.UserMouse(*mouse); });
        }
        return true;
    }
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        Notify(NIM_ADD);  // a new Explorer starts with an empty notification area
        return true;
    }
    return false;
}

HICON Win32TrayIcon::WindowIcon() const {
    // The icon the window wears (the program's first icon resource), at the size the
    // notification area shows: a large icon would be shrunk there, and look it.
    if (const auto small = static_cast<HICON>(::LoadImageA(
            form_.Backend().Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
            ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED))) {
        return small;
    }
    const HWND window = form_.Handle();
    for (const int which : {GCLP_HICONSM, GCLP_HICON}) {
        if (const auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(window, which))) {
            return icon;
        }
    }
    // A program file without an icon still shows one the user can click.
    return ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
}

void Win32TrayIcon::Notify(DWORD request) const {
    const HWND window = form_.Handle();
    if (window == nullptr) {
        return;
    }
#if !defined(_WIN64)
    if (!UsesWideApi()) {
        // 95/98/Me: the ANSI call and its 88-byte record.
        const platform::TrayRecord88 bytes =
            platform::BuildTrayRecord88(HandleBits(window), kTrayCallbackMessage,
                                        HandleBits(WindowIcon()), AnsiTip(icon_.Tip()));
        NOTIFYICONDATAA record{};
        std::memcpy(&record, bytes.data(), bytes.size());
        using NotifyA = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
        if (const auto notify =
                SystemFunction<NotifyA>(SystemLibrary::Shell, "Shell_NotifyIconA")) {
            notify(request, &record);
        }
        return;
    }
#endif
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    record.uID = platform::kTrayIconId;
    record.uFlags = platform::kTrayFlags;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = WindowIcon();
    const std::wstring tip = Widen(platform::Utf8PrefixOfUtf16Units(icon_.Tip(), kTipCharacters));
    std::copy_n(tip.begin(), std::min(tip.size(), kTipCharacters), record.szTip);
    using NotifyW = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAW*);
    if (const auto notify = SystemFunction<NotifyW>(SystemLibrary::Shell, "Shell_NotifyIconW")) {
        notify(request, &record);
    }
}

}  // namespace pellmark::win32
