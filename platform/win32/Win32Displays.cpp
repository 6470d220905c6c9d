#include "platform/win32/Win32Displays.h"

#include <string>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

constexpr const char* kWindowClass = "Pellmark.Displays";
// From the newer headers, for systems whose headers lack them.
constexpr UINT kDpiChanged = 0x02E0;               // WM_DPICHANGED
constexpr UINT kSessionChange = 0x02B1;            // WM_WTSSESSION_CHANGE
constexpr WPARAM kConsoleConnect = 0x1;            // WTS_CONSOLE_CONNECT
constexpr WPARAM kRemoteConnect = 0x3;             // WTS_REMOTE_CONNECT
constexpr WPARAM kRemoteDisconnect = 0x4;          // WTS_REMOTE_DISCONNECT
constexpr WPARAM kSessionUnlock = 0x8;             // WTS_SESSION_UNLOCK
constexpr WPARAM kResumeAutomatic = 0x12;          // PBT_APMRESUMEAUTOMATIC
constexpr WPARAM kSetLogicalDpiOverride = 0x009F;  // SPI_SETLOGICALDPIOVERRIDE
constexpr DWORD kNotifyForThisSession = 0;         // NOTIFY_FOR_THIS_SESSION
constexpr DWORD kGetDeviceInterfaceName = 0x1;     // EDD_GET_DEVICE_INTERFACE_NAME
constexpr UINT_PTR kRegisterSessionsTimer = 1;

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SessionRegisterFunction = BOOL(WINAPI*)(HWND, DWORD);
using SessionUnregisterFunction = BOOL(WINAPI*)(HWND);

int SystemDpi() {
    const UniqueScreenDc screen(::GetDC(nullptr));
    return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
}

// The monitor's own device id where the system tells it (Windows 2000 and later give the
// monitor's interface path, unique per monitor), else the adapter's name.
std::string MonitorId(const wchar_t* adapter) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    if (::EnumDisplayDevicesW(adapter, 0, &device, kGetDeviceInterfaceName) &&
        device.DeviceID[0] != L'\0') {
        return Narrow(device.DeviceID);
    }
    device = {};
    device.cb = sizeof(device);
    if (::EnumDisplayDevicesW(adapter, 0, &device, 0) && device.DeviceID[0] != L'\0') {
        return Narrow(device.DeviceID);
    }
    return Narrow(adapter);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& monitors = *reinterpret_cast<std::vector<platform::Monitor>*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) {
        return TRUE;
    }
    platform::Monitor entry;
    entry.id = MonitorId(info.szDevice);
    entry.rect = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                  info.rcMonitor.bottom};
    entry.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    entry.dpi = 0;
    static const auto getDpi =
        SystemFunction<GetDpiForMonitorFunction>(SystemLibrary::ShellScaling, "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (getDpi != nullptr && SUCCEEDED(getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y))) {
        entry.dpi = static_cast<int>(x);
    }
    monitors.push_back(std::move(entry));
    return TRUE;
}

}  // namespace

Win32Displays::~Win32Displays() {
    DestroyWindow();
}

std::vector<platform::Monitor> Win32Displays::ReadMonitors() {
    std::vector<platform::Monitor> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    // Without the per-monitor call every monitor has the system's DPI.
    int systemDpi = 0;
    for (platform::Monitor& monitor : monitors) {
        if (monitor.dpi == 0) {
            systemDpi = systemDpi != 0 ? systemDpi : SystemDpi();
            monitor.dpi = systemDpi;
        }
    }
    return monitors;
}

std::uint32_t Win32Displays::TickCount() {
    return ::GetTickCount();
}

bool Win32Displays::Classify(UINT message, WPARAM wParam, LPARAM lParam, UINT taskbarCreated,
                             platform::Disruption& disruption) {
    using platform::Disruption;
    if (message == taskbarCreated && taskbarCreated != 0) {
        disruption = Disruption::ExplorerRestart;
        return true;
    }
    switch (message) {
        case WM_DISPLAYCHANGE:
            disruption = Disruption::DisplayChange;
            return true;
        case kDpiChanged:
            disruption = Disruption::DpiChange;
            return true;
        case WM_SETTINGCHANGE: {
            // Only a change of the DPI: the many other settings leave the icons alone.
            const auto* area = reinterpret_cast<const char*>(lParam);
            if (wParam == kSetLogicalDpiOverride ||
                (area != nullptr && std::string_view(area) == "WindowMetrics")) {
                disruption = Disruption::DpiChange;
                return true;
            }
            return false;
        }
        case kSessionChange:
            if (wParam == kSessionUnlock || wParam == kRemoteConnect ||
                wParam == kRemoteDisconnect || wParam == kConsoleConnect) {
                disruption = Disruption::SessionChange;
                return true;
            }
            return false;
        case WM_POWERBROADCAST:
            if (wParam == kResumeAutomatic) {
                disruption = Disruption::Resume;
                return true;
            }
            return false;
        default:
            return false;
    }
}

LRESULT CALLBACK Win32Displays::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Displays*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    platform::Disruption disruption{};
    if (self != nullptr && self->listener_ &&
        Classify(message, wParam, lParam, self->taskbarCreated_, disruption)) {
        self->listener_(disruption);
    }
    if (message == WM_TIMER && wParam == kRegisterSessionsTimer && self != nullptr) {
        self->RegisterSessions();
        return 0;
    }
    if (message == WM_POWERBROADCAST) {
        return TRUE;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void Win32Displays::MakeWindow() {
    if (window_) {
        return;
    }
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA type{};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = WindowProcedure;
    type.hInstance = instance;
    type.lpszClassName = kWindowClass;
    ::RegisterClassExA(&type);  // fails harmlessly when registered already
    taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
    // A hidden top-level window: a message-only one would miss the broadcasts.
    window_.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, instance, this));
    if (!window_) {
        return;
    }
    // Windows 7 and later keep a "TaskbarCreated" from a process of lower integrity out.
    using AllowMessage = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto allow = reinterpret_cast<AllowMessage>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    if (allow != nullptr) {
        allow(window_.get(), taskbarCreated_, 1 /* MSGFLT_ALLOW */, nullptr);
    }
    // Session notifications need a library of their own (wtsapi32, some milliseconds to
    // load): asked for on a timer, which ticks only after the program's first paints. A
    // session that changes before then is one the follower has not yet learned from.
    ::SetTimer(window_.get(), kRegisterSessionsTimer, USER_TIMER_MINIMUM, nullptr);
}

void Win32Displays::RegisterSessions() {
    ::KillTimer(window_.get(), kRegisterSessionsTimer);
    static const auto registerSessions = SystemFunction<SessionRegisterFunction>(
        SystemLibrary::Sessions, "WTSRegisterSessionNotification");
    sessionsRegistered_ = registerSessions != nullptr &&
                          registerSessions(window_.get(), kNotifyForThisSession) != FALSE;
}

void Win32Displays::DestroyWindow() {
    if (window_ && sessionsRegistered_) {
        static const auto unregisterSessions = SystemFunction<SessionUnregisterFunction>(
            SystemLibrary::Sessions, "WTSUnRegisterSessionNotification");
        if (unregisterSessions != nullptr) {
            unregisterSessions(window_.get());
        }
    }
    sessionsRegistered_ = false;
    window_.reset();
}

void Win32Displays::OnDisruption(std::function<void(platform::Disruption)> listener) {
    listener_ = std::move(listener);
    if (listener_) {
        MakeWindow();
    } else {
        DestroyWindow();
    }
}

}  // namespace pellmark::win32
