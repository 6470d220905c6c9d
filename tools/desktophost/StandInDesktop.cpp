#include "tools/desktophost/StandInDesktop.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "tools/desktophost/StandInProtocol.h"

namespace pellmark::standin {

namespace {

using win32::UniqueGdiObject;
using win32::UniqueImageList;
using win32::UniqueMemoryDc;
using win32::UniqueScreenDc;

// Selects a GDI object into a DC for as long as it lives.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { ::SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

constexpr wchar_t kProgmanClass[] = L"Progman";
constexpr wchar_t kWorkerWClass[] = L"WorkerW";
constexpr wchar_t kDefViewClass[] = L"SHELLDLL_DefView";
constexpr int kIconSize = 32;
// Distinct colours, so a wrong image index shows on a screenshot.
constexpr std::array<COLORREF, 8> kImageColors = {
    RGB(220, 50, 50),  RGB(50, 160, 60),  RGB(50, 90, 220),  RGB(230, 190, 40),
    RGB(150, 60, 190), RGB(40, 180, 190), RGB(240, 130, 30), RGB(120, 120, 120)};
constexpr COLORREF kMaskColor = RGB(255, 0, 255);

constexpr UINT_PTR kStackTimer = 0x5354;  // 'ST'
constexpr UINT kStackDelay = 700;         // milliseconds after WM_DISPLAYCHANGE

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterClassesOnce() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        for (const wchar_t* name : {kProgmanClass, kWorkerWClass, kDefViewClass}) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = HostWindowProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
            wc.lpszClassName = name;
            ::RegisterClassExW(&wc);
        }
        return true;
    }();
    static_cast<void>(registered);
}

// Eight round 32x32 icons of distinct colours.
UniqueImageList MakeImageList() {
    UniqueImageList images(
        ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kImageColors.size(), 0));
    const UniqueScreenDc screen(::GetDC(nullptr));
    const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!images || !screen || !dc) {
        return {};
    }
    const RECT all{0, 0, kIconSize, kIconSize};
    const UniqueGdiObject background(::CreateSolidBrush(kMaskColor));
    for (const COLORREF color : kImageColors) {
        const UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), kIconSize, kIconSize));
        const UniqueGdiObject brush(::CreateSolidBrush(color));
        {
            const ScopedSelect selectBitmap(dc.get(), bitmap.get());
            const ScopedSelect selectBrush(dc.get(), brush.get());
            ::FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
            ::Ellipse(dc.get(), 1, 1, kIconSize - 1, kIconSize - 1);
        }
        // The bitmap must be out of the DC before the image list copies it.
        ::ImageList_AddMasked(images.get(), static_cast<HBITMAP>(bitmap.get()), kMaskColor);
    }
    return images;
}

// Unicode windows, as Explorer's are: the list view holds captions no code page holds.
HWND MakeWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                int width, int height, HWND parent, void* state) {
    return ::CreateWindowExW(exStyle, className, title, style, 0, 0, width, height, parent, nullptr,
                             ::GetModuleHandleW(nullptr), state);
}

}  // namespace

struct StandInDesktop::State {
    HWND progman = nullptr;
    HWND workerW = nullptr;
    HWND defView = nullptr;
    HWND listView = nullptr;
    bool workerWShape = false;
    UniqueImageList images;
    std::function<void()> onClose;
    // Caption colours are reported only when the layout set them or someone changed them,
    // so that a layout without colours reads back without colours.
    bool textColorSet = false, textBackColorSet = false;
    COLORREF defaultTextColor = 0, defaultTextBackColor = 0;

    void Forget(HWND hwnd) noexcept {
        if (hwnd == defView) {
            defView = listView = nullptr;  // the list view went with its parent
        }
        if (hwnd == progman) {
            progman = nullptr;
            if (!workerWShape) {
                defView = listView = nullptr;
            }
        }
        if (hwnd == workerW) {
            workerW = defView = listView = nullptr;
        }
    }

    void DestroyWindows() noexcept {
        if (workerW != nullptr) {
            ::DestroyWindow(workerW);
        }
        if (progman != nullptr) {
            ::DestroyWindow(progman);
        }
    }

    // As Explorer does after a display change: every icon back in columns from the top left.
    void StackIcons() const noexcept {
        if (listView == nullptr) {
            return;
        }
        RECT area{};
        ::GetClientRect(listView, &area);
        constexpr int kCell = 75;
        const int rows = std::max(1, static_cast<int>((area.bottom - area.top) / kCell));
        const auto count = static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            POINT position{2 + kCell * (i / rows), 2 + kCell * (i % rows)};
            ::SendMessageW(listView, LVM_SETITEMPOSITION32, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&position));
        }
    }

    void SetAutoArrange(bool on) const noexcept {
        const LONG_PTR style = ::GetWindowLongPtrW(listView, GWL_STYLE);
        ::SetWindowLongPtrW(listView, GWL_STYLE,
                            on ? (style | LVS_AUTOARRANGE) : (style & ~LONG_PTR{LVS_AUTOARRANGE}));
        if (on) {
            // Switching auto-arrange on arranges at once, as the real desktop does.
            ::SendMessageW(listView, LVM_ARRANGE, LVA_DEFAULT, 0);
        }
    }

    [[nodiscard]] bool OnCopyData(const COPYDATASTRUCT& data) const;
    [[nodiscard]] std::vector<LayoutIcon> Icons() const;
    [[nodiscard]] Layout CurrentLayout() const;
};

namespace {

[[nodiscard]] bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::FILE* file = ::_wfopen(win32::Widen(path).c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return (std::fclose(file) == 0) && written;
}

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state =
        reinterpret_cast<StandInDesktop::State*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (state == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_CLOSE:
            // Only Progman's close ends anything, and only when someone asked to hear of it.
            if (hwnd == state->progman && state->onClose) {
                state->onClose();
            }
            return 0;
        case WM_COPYDATA:
            if (hwnd == state->progman) {
                return state->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE
                                                                                           : FALSE;
            }
            break;
        case WM_DISPLAYCHANGE:
            // Explorer piles the icons up a moment after the change, not at once.
            if (hwnd == state->progman) {
                ::SetTimer(hwnd, kStackTimer, kStackDelay, nullptr);
            }
            break;
        case WM_TIMER:
            if (hwnd == state->progman && wParam == kStackTimer) {
                ::KillTimer(hwnd, kStackTimer);
                state->StackIcons();
                return 0;
            }
            break;
        case WM_SIZE:
            if (hwnd == state->defView && state->listView != nullptr) {
                ::MoveWindow(state->listView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            state->Forget(hwnd);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool StandInDesktop::State::OnCopyData(const COPYDATASTRUCT& data) const {
    std::string payload(static_cast<const char*>(data.lpData), data.cbData);
    while (!payload.empty() && payload.back() == '\0') {
        payload.pop_back();
    }
    if (listView == nullptr) {
        return false;
    }
    if (data.dwData == kCopyDataDump) {
        return !payload.empty() && WriteWholeFile(payload, FormatLayout(CurrentLayout()));
    }
    if (data.dwData == kCopyDataAutoArrange && (payload == "1" || payload == "0")) {
        SetAutoArrange(payload == "1");
        return true;
    }
    if (data.dwData == kCopyDataInsertFirst) {
        std::string error;
        const std::optional<Layout> arriving = ParseLayout(payload, error);
        if (!arriving) {
            return false;
        }
        for (auto icon = arriving->icons.rbegin(); icon != arriving->icons.rend(); ++icon) {
            std::wstring caption = win32::Widen(icon->caption);
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.pszText = caption.data();
            item.iImage = icon->image;
            if (::SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) !=
                0) {
                return false;
            }
            POINT position{icon->x, icon->y};
            ::SendMessageW(listView, LVM_SETITEMPOSITION32, 0, reinterpret_cast<LPARAM>(&position));
        }
        return true;
    }
    return false;
}

std::vector<LayoutIcon> StandInDesktop::State::Icons() const {
    std::vector<LayoutIcon> icons;
    if (listView == nullptr) {
        return icons;
    }
    const auto count = static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    icons.reserve(count);
    std::wstring text(260, L'\0');
    for (int i = 0; i < count; ++i) {
        LayoutIcon icon;
        for (;;) {
            LVITEMW item{};
            item.iSubItem = 0;
            item.pszText = text.data();
            item.cchTextMax = static_cast<int>(text.size());
            const auto length = static_cast<std::size_t>(
                ::SendMessageW(listView, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item)));
            if (length + 1 < text.size()) {
                icon.caption = win32::Narrow(std::wstring_view(text.data(), length));
                break;
            }
            text.resize(text.size() * 2);  // it may have been cut short
        }
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        ::SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        icon.image = item.iImage;
        POINT position{};
        ::SendMessageW(listView, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&position));
        icon.x = position.x;
        icon.y = position.y;
        icons.push_back(std::move(icon));
    }
    return icons;
}

Layout StandInDesktop::State::CurrentLayout() const {
    Layout layout;
    layout.icons = Icons();
    layout.workerW = workerWShape;
    if (listView == nullptr) {
        return layout;
    }
    layout.autoArrange = (::GetWindowLongPtrW(listView, GWL_STYLE) & LVS_AUTOARRANGE) != 0;
    const auto text = static_cast<COLORREF>(::SendMessageW(listView, LVM_GETTEXTCOLOR, 0, 0));
    const auto back = static_cast<COLORREF>(::SendMessageW(listView, LVM_GETTEXTBKCOLOR, 0, 0));
    if (textColorSet || text != defaultTextColor) {
        layout.textColor = text;
    }
    if (textBackColorSet || back != defaultTextBackColor) {
        layout.textBackColor = back;
    }
    return layout;
}

std::optional<StandInDesktop> StandInDesktop::Create(const Layout& layout) {
    RegisterClassesOnce();
    auto state = std::make_unique<State>();
    // Owned from here on, so a failure below destroys whatever was made.
    StandInDesktop desktop(std::move(state));
    State& s = *desktop.state_;
    s.workerWShape = layout.workerW;
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    constexpr DWORD kTopStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    s.progman = MakeWindow(WS_EX_TOOLWINDOW, kProgmanClass, L"Program Manager", kTopStyle, width,
                           height, nullptr, &s);
    if (s.progman == nullptr) {
        return std::nullopt;
    }
    HWND viewParent = s.progman;
    if (layout.workerW) {
        s.workerW =
            MakeWindow(WS_EX_TOOLWINDOW, kWorkerWClass, L"", kTopStyle, width, height, nullptr, &s);
        viewParent = s.workerW;
    }
    if (viewParent == nullptr) {
        return std::nullopt;
    }
    s.defView = MakeWindow(0, kDefViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, width,
                           height, viewParent, &s);
    if (s.defView == nullptr) {
        return std::nullopt;
    }
    // Shared image lists are not destroyed with the list view: `images` owns ours.
    const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | LVS_ICON |
                            LVS_SHAREIMAGELISTS | (layout.autoArrange ? LVS_AUTOARRANGE : 0);
    s.listView =
        MakeWindow(0, WC_LISTVIEWW, L"FolderView", listStyle, width, height, s.defView, nullptr);
    if (s.listView == nullptr) {
        return std::nullopt;
    }
    s.images = MakeImageList();
    ::SendMessageW(s.listView, LVM_SETIMAGELIST, LVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(s.images.get()));
    s.defaultTextColor = static_cast<COLORREF>(::SendMessageW(s.listView, LVM_GETTEXTCOLOR, 0, 0));
    s.defaultTextBackColor =
        static_cast<COLORREF>(::SendMessageW(s.listView, LVM_GETTEXTBKCOLOR, 0, 0));
    if (layout.textColor) {
        s.textColorSet = true;
        ::SendMessageW(s.listView, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(*layout.textColor));
    }
    if (layout.textBackColor) {
        s.textBackColorSet = true;
        ::SendMessageW(s.listView, LVM_SETTEXTBKCOLOR, 0,
                       static_cast<LPARAM>(*layout.textBackColor));
    }
    for (const LayoutIcon& icon : layout.icons) {
        std::wstring caption = win32::Widen(icon.caption);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(::SendMessageW(s.listView, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = caption.data();
        item.iImage = icon.image;
        if (::SendMessageW(s.listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
            return std::nullopt;
        }
    }
    for (HWND top : {s.workerW, s.progman}) {
        if (top != nullptr) {
            // The desktop lies beneath every other window and takes no focus.
            ::SetWindowPos(top, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
    // Some list views arrange their icons once, on the first paint that finds items; that
    // paint happens here, before the positions are set, so it cannot undo them.
    ::UpdateWindow(s.listView);
    for (std::size_t i = 0; i < layout.icons.size(); ++i) {
        POINT position{layout.icons[i].x, layout.icons[i].y};
        ::SendMessageW(s.listView, LVM_SETITEMPOSITION32, i, reinterpret_cast<LPARAM>(&position));
    }
    return desktop;
}

StandInDesktop::StandInDesktop(std::unique_ptr<State> state) noexcept : state_(std::move(state)) {}
StandInDesktop::StandInDesktop(StandInDesktop&&) noexcept = default;
StandInDesktop& StandInDesktop::operator=(StandInDesktop&& other) noexcept {
    if (this != &other) {
        if (state_) {
            state_->DestroyWindows();
        }
        state_ = std::move(other.state_);
    }
    return *this;
}
StandInDesktop::~StandInDesktop() {
    if (state_) {
        state_->DestroyWindows();
    }
}

HWND StandInDesktop::progman() const noexcept {
    return state_ ? state_->progman : nullptr;
}
HWND StandInDesktop::workerW() const noexcept {
    return state_ ? state_->workerW : nullptr;
}
HWND StandInDesktop::defView() const noexcept {
    return state_ ? state_->defView : nullptr;
}
HWND StandInDesktop::listView() const noexcept {
    return state_ ? state_->listView : nullptr;
}

std::vector<LayoutIcon> StandInDesktop::CurrentIcons() const {
    return state_ ? state_->Icons() : std::vector<LayoutIcon>{};
}
Layout StandInDesktop::CurrentLayout() const {
    return state_ ? state_->CurrentLayout() : Layout{};
}
void StandInDesktop::OnClose(std::function<void()> handler) {
    if (state_) {
        state_->onClose = std::move(handler);
    }
}

}  // namespace pellmark::standin
