// A second yardstick for start-up: the minimal window plus what any program with standard
// controls pays before its window shows (the common controls 6 with their themes, through
// the same manifest as pellmark.exe) and a button, a text box, a list box and a list view.
// Beside the minimal window it shows how much of a start-up is the controls' share.
#include <windows.h>

#include <commctrl.h>

namespace {

LRESULT CALLBACK ControlsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void AddControl(HWND parent, const wchar_t* className, DWORD style, int top, int height) {
    ::CreateWindowExW(0, className, L"Yardstick", WS_CHILD | WS_VISIBLE | style, 10, top, 200,
                      height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ControlsProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Bench.Controls";
    ::RegisterClassW(&windowClass);
    HWND window =
        ::CreateWindowExW(0, L"Bench.Controls", L"Controls", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 488, 300, nullptr, nullptr, instance, nullptr);
    AddControl(window, L"BUTTON", BS_PUSHBUTTON, 10, 24);
    AddControl(window, L"EDIT", WS_BORDER, 40, 22);
    AddControl(window, L"LISTBOX", WS_BORDER, 70, 60);
    AddControl(window, WC_LISTVIEWW, LVS_REPORT | WS_BORDER, 140, 100);
    ::ShowWindow(window, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
