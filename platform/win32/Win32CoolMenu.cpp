#include "platform/win32/Win32CoolMenu.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"
#include "platform/Utf8.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32FormsText.h"
#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32 {

namespace {

// The process-wide state: made by the first install, gone with the last window.
struct Engine {
    std::map<HWND, std::unique_ptr<WndCoolMenu>> windows;  // CoolMenuWindows
    forms::CMyItemDatas items;                             // CoolMenuItems
};
std::unique_ptr<Engine> engine;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int SystemDpi() {
    static const int dpi = [] {
        UniqueScreenDc screen(::GetDC(nullptr));
        const int value = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

// A form's window knows its own DPI (it follows its monitor); other windows take the system's.
int WindowDpi(HWND window) {
    if (const auto* form = formwindows::FormWindow::FromHandle(window)) {
        return form->Dpi();
    }
    return SystemDpi();
}

forms::MenuMetrics MetricsFor(const WndCoolMenu* record, int dpi) {
    const int size = record != nullptr && record->ilHandle ? record->ilHandle->size : 16;
    return {::MulDiv(size, dpi, 96), ::MulDiv(::GetSystemMetrics(SM_CYMENU), dpi, SystemDpi()),
            ::MulDiv(::GetSystemMetrics(SM_CXMENUCHECK), dpi, SystemDpi())};
}

forms::CMyItemData* RecordOf(ULONG_PTR data) {
    if (!engine || data == 0 || data > UINT32_MAX) {
        return nullptr;
    }
    return engine->items.Item(static_cast<forms::CMyItemDatas::Key>(data));
}

// One menu item as the engine reads and writes it: W calls on the NT family, A on 9x.
struct ItemInfo {
    UINT type = 0;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
    std::string text;
};

constexpr UINT kReadMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;

std::optional<ItemInfo> ReadItem(HMENU menu, UINT position) {
    ItemInfo item;
    if (UsesWideApi()) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = kReadMask;
        if (::GetMenuItemInfoW(menu, position, TRUE, &info) == FALSE) {
            return std::nullopt;
        }
        item = {info.fType, info.hSubMenu, info.dwItemData, {}};
        if (info.cch > 0) {
            std::wstring buffer(info.cch + 1, L'\0');
            info.dwTypeData = buffer.data();
            info.cch = static_cast<UINT>(buffer.size());
            if (::GetMenuItemInfoW(menu, position, TRUE, &info) != FALSE) {
                item.text = NarrowBuffer(buffer.data(), buffer.size());
            }
        }
        return item;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = kReadMask;
    if (::GetMenuItemInfoA(menu, position, TRUE, &info) == FALSE) {
        return std::nullopt;
    }
    item = {info.fType, info.hSubMenu, info.dwItemData, {}};
    if (info.cch > 0) {
        std::string buffer(info.cch + 1, '\0');
        info.dwTypeData = buffer.data();
        info.cch = static_cast<UINT>(buffer.size());
        if (::GetMenuItemInfoA(menu, position, TRUE, &info) != FALSE) {
            item.text = FromAnsi(buffer.c_str());
        }
    }
    return item;
}

void WriteItem(HMENU menu, UINT position, UINT type, ULONG_PTR data, const std::string* text) {
    const UINT mask = MIIM_FTYPE | MIIM_DATA | (text != nullptr ? MIIM_STRING : 0);
    if (UsesWideApi()) {
        std::wstring wide = text != nullptr ? Widen(*text) : std::wstring();
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = mask;
        info.fType = type;
        info.dwItemData = data;
        info.dwTypeData = wide.data();
        ::SetMenuItemInfoW(menu, position, TRUE, &info);
        return;
    }
    // A caption the code page cannot hold keeps the text the item has.
    std::optional<std::string> ansi = text != nullptr ? ToAnsi(*text) : std::nullopt;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = ansi ? mask : mask & ~static_cast<UINT>(MIIM_STRING);
    info.fType = type;
    info.dwItemData = data;
    info.dwTypeData = ansi ? ansi->data() : nullptr;
    ::SetMenuItemInfoA(menu, position, TRUE, &info);
}

// Puts a DC's text settings and font back when the drawing of one item is done, without
// SaveDC: the clip excluded for the submenu arrow must outlive the drawing.
class DcState {
  public:
    explicit DcState(HDC dc)
        : dc_(dc),
          text_(::GetTextColor(dc)),
          back_(::GetBkColor(dc)),
          mode_(::GetBkMode(dc)),
          font_(::GetCurrentObject(dc, OBJ_FONT)) {}
    ~DcState() {
        ::SetTextColor(dc_, text_);
        ::SetBkColor(dc_, back_);
        ::SetBkMode(dc_, mode_);
        ::SelectObject(dc_, font_);
    }
    DcState(const DcState&) = delete;
    DcState& operator=(const DcState&) = delete;

  private:
    HDC dc_;
    COLORREF text_;
    COLORREF back_;
    int mode_;
    HGDIOBJ font_;
};

// Fills without a brush to make or delete.
void FillSolid(HDC dc, const RECT& area, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

RECT ToRect(const forms::Edges& e) {
    return {e.left, e.top, e.right, e.bottom};
}

void DrawString(HDC dc, std::string_view text, RECT area, UINT format) {
    formtext::DrawTextIn(dc, text, area, format);
}

// A disabled picture: its shape (every opaque pixel that is not light) as a one-bit mask,
// painted through twice, in highlight one pixel down and right and in shadow in place.
void DrawDisabledImage(HDC dc, const forms::Bitmap& picture, int x, int y, int size, bool colour) {
    if (picture.Empty() || size <= 0) {
        return;
    }
    const int stride = (size + 15) / 16 * 2;  // rows of a bitmap are whole words
    std::vector<BYTE> bits(static_cast<std::size_t>(stride) * size, 0xFF);
    const std::vector<std::uint32_t>& pixels = picture.Pixels();
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const std::uint32_t p =
                pixels[static_cast<std::size_t>(row * picture.Height() / size) * picture.Width() +
                       col * picture.Width() / size];
            const std::uint32_t alpha = picture.HasTransparency() ? p >> 24 : 255;
            const std::uint32_t light =
                ((p & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + ((p >> 16) & 0xFF) * 11) / 100;
            if (alpha >= 128 && light < 200) {
                bits[static_cast<std::size_t>(row * stride + col / 8)] &=
                    static_cast<BYTE>(~(0x80 >> (col % 8)));
            }
        }
    }
    UniqueGdiObject mask(::CreateBitmap(size, size, 1, 1, bits.data()));
    UniqueMemoryDc maskDc(::CreateCompatibleDC(dc));
    if (!mask || !maskDc) {
        return;
    }
    const HGDIOBJ oldMask = ::SelectObject(maskDc.get(), mask.get());
    // The mask's white must come through as all ones, its black as zeros.
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    const HGDIOBJ oldBrush = ::GetCurrentObject(dc, OBJ_BRUSH);
    constexpr DWORD kPaintThroughMask = 0xB8074A;  // where the mask is black, the brush
    if (colour) {
        ::SelectObject(dc, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        ::BitBlt(dc, x + 1, y + 1, size, size, maskDc.get(), 0, 0, kPaintThroughMask);
        ::SelectObject(dc, ::GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        ::SelectObject(dc, ::GetSysColorBrush(COLOR_GRAYTEXT));
    }
    ::BitBlt(dc, x, y, size, size, maskDc.get(), 0, 0, kPaintThroughMask);
    ::SelectObject(dc, oldBrush);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
    ::SelectObject(maskDc.get(), oldMask);
}

// Without Marlett (a Wine without its fonts), marks and arrows are drawn in pixels, each
// column a filled rectangle, so that nothing is made to draw them.
void FillColumn(HDC dc, int x, int top, int width, int height, COLORREF colour) {
    const RECT column{x, top, x + width, top + height};
    FillSolid(dc, column, colour);
}

void DrawPixelArrow(HDC dc, const RECT& area, COLORREF colour, int dpi) {
    const int columns = ::MulDiv(4, dpi, 96);
    const int middle = (area.top + area.bottom) / 2;
    const int left = area.right - columns;
    for (int i = 0; i < columns; ++i) {
        const int half = columns - 1 - i;
        FillColumn(dc, left + i, middle - half, 1, 2 * half + 1, colour);
    }
}

void DrawPixelMark(HDC dc, const RECT& box, COLORREF colour, bool check, int dpi) {
    const int unit = std::max(1, ::MulDiv(1, dpi, 96));
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    if (check) {
        // The classic seven-pixel check, three pixels thick.
        static constexpr int kTop[] = {2, 3, 4, 3, 2, 1, 0};
        for (int i = 0; i < 7; ++i) {
            FillColumn(dc, cx - 4 * unit + i * unit, cy - 3 * unit + kTop[i] * unit, unit, 3 * unit,
                       colour);
        }
        return;
    }
    static constexpr int kHalf[] = {1, 2, 2, 1};  // a round dot, four pixels across
    for (int i = 0; i < 4; ++i) {
        FillColumn(dc, cx - 2 * unit + i * unit, cy - kHalf[i] * unit, unit, 2 * kHalf[i] * unit,
                   colour);
    }
}

// A check box or radio button of Marlett glyphs laid over each other, each in its colour:
// the face, the outer and inner edges, then the mark.
void Draw3DMark(HDC dc, const RECT& box, HFONT marks, bool check, bool complex) {
    struct Glyph {
        const char* text;
        int colour;
    };
    static constexpr Glyph kCheck[] = {{"g", COLOR_WINDOW},       {"c", COLOR_BTNSHADOW},
                                       {"d", COLOR_BTNHIGHLIGHT}, {"e", COLOR_3DDKSHADOW},
                                       {"f", COLOR_3DLIGHT},      {"b", COLOR_WINDOWTEXT}};
    static constexpr Glyph kRadio[] = {{"n", COLOR_WINDOW},       {"j", COLOR_BTNSHADOW},
                                       {"k", COLOR_BTNHIGHLIGHT}, {"l", COLOR_3DDKSHADOW},
                                       {"m", COLOR_3DLIGHT},      {"i", COLOR_WINDOWTEXT}};
    ::SelectObject(dc, marks);
    ::SetBkMode(dc, TRANSPARENT);
    const std::span<const Glyph> glyphs =
        check ? std::span<const Glyph>(kCheck) : std::span<const Glyph>(kRadio);
    for (std::size_t i = complex ? 0 : glyphs.size() - 1; i < glyphs.size(); ++i) {
        ::SetTextColor(dc, ::GetSysColor(glyphs[i].colour));
        RECT area = box;
        ::DrawTextA(dc, glyphs[i].text, 1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void DrawSeparator(HDC dc, const RECT& item, const forms::CMyItemData& data,
                   const WndCoolMenu::Fonts& fonts) {
    FillSolid(dc, item, ::GetSysColor(COLOR_MENU));
    RECT line = item;
    line.top = item.top + (item.bottom - item.top) / 2;
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    if (data.sMenuText.empty()) {
        return;
    }
    // An engraved title that interrupts the line: light on the menu's colour, then its
    // shadow one pixel up and left.
    std::string title(1, ' ');
    title += data.sMenuText;
    title += ' ';
    ::SelectObject(dc, fonts.title.get());
    constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, ::GetSysColor(COLOR_MENU));
    ::SetTextColor(dc, ::GetSysColor(COLOR_3DLIGHT));
    DrawString(dc, title, item, kCentred);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    RECT shadow = item;
    ::OffsetRect(&shadow, -1, -1);
    DrawString(dc, title, shadow, kCentred);
}

// The default item is drawn bold. Not every system says so in the item's state (Wine does
// not), so the menu is asked too.
bool IsDefaultItem(const DRAWITEMSTRUCT& draw) {
    if ((draw.itemState & ODS_DEFAULT) != 0) {
        return true;
    }
    const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
    if (draw.itemID == 0 || ::IsMenu(menu) == FALSE) {
        return false;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return ::GetMenuItemInfoA(menu, draw.itemID, FALSE, &info) != FALSE &&
           (info.fState & MFS_DEFAULT) != 0;
}

bool OnDrawItem(HWND window, const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) {
        return false;
    }
    const forms::CMyItemData* data = RecordOf(draw.itemData);
    WndCoolMenu* record = CoolMenuWindow(window);
    if (data == nullptr || record == nullptr) {
        return false;
    }
    const HDC dc = draw.hDC;
    const int dpi = WindowDpi(window);
    const WndCoolMenu::Fonts& fonts = record->FontsAt(dpi);
    const forms::MenuMetrics metrics = MetricsFor(record, dpi);
    const int icon = metrics.iconSize;
    const RECT item = draw.rcItem;
    DcState restore(dc);
    if (data->separator) {
        DrawSeparator(dc, item, *data, fonts);
        return true;
    }
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (draw.itemState & ODS_CHECKED) != 0;
    const forms::Edges edges{item.left, item.top, item.right, item.bottom};
    const RECT box = ToRect(forms::IconBox(edges, icon));

    // The background, and the selection over the whole item or right of the picture box.
    FillSolid(dc, item, ::GetSysColor(COLOR_MENU));
    if (selected) {
        RECT bar = item;
        if (!record->FullSelect && !data->bMainMenu) {
            bar.left = box.right;
        }
        FillSolid(dc, bar, record->SelectColor);
    }

    const forms::MenuImages* images = record->ilHandle.get();
    const forms::Bitmap* picture = nullptr;
    if (images != nullptr && data->iButton >= 0 &&
        static_cast<std::size_t>(data->iButton) < images->images.size()) {
        const auto index = static_cast<std::size_t>(data->iButton);
        // From 120 DPI on, the pictures drawn larger look sharper than the small ones grown.
        picture = dpi >= 120 && index < images->large.size() && !images->large[index].Empty()
                      ? &images->large[index]
                      : &images->images[index];
    }
    const int iconX = box.left + (box.right - box.left - icon) / 2;
    const int iconY = box.top + (box.bottom - box.top - icon) / 2;
    if (picture != nullptr && !data->bMainMenu) {
        if (!grayed) {
            FillSolid(dc, box, ::GetSysColor(checked && !selected ? COLOR_3DLIGHT : COLOR_MENU));
            if (selected || checked) {
                RECT frame = box;
                ::DrawEdge(dc, &frame, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            }
            formwindows::DrawBitmap(dc, *picture, {iconX, iconY, iconX + icon, iconY + icon});
        } else {
            DrawDisabledImage(dc, *picture, iconX, iconY, icon, record->ColorEmbossed);
        }
    } else if (checked && !data->bMainMenu) {
        // A marked item shows its 3-D mark; any other checked item a plain check.
        const bool check = !data->bAsMark || data->bAsCheck;
        if (fonts.marlett) {
            Draw3DMark(dc, box, static_cast<HFONT>(fonts.marks.get()), check,
                       data->bAsMark && record->ComplexChecks);
        } else {
            DrawPixelMark(dc, box,
                          selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                   : ::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT),
                          check, dpi);
        }
    }

    // The text, split at its tab: the part after it on the right.
    COLORREF colour = record->ForeColor != 0 ? record->ForeColor : ::GetSysColor(COLOR_MENUTEXT);
    if (selected) {
        colour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    ::SelectObject(dc, IsDefaultItem(draw) ? fonts.bold.get() : fonts.text.get());
    ::SetBkMode(dc, TRANSPARENT);
    const RECT area = ToRect(forms::TextArea(edges, icon, data->bMainMenu));
    const auto [left, right] = forms::SplitAtTab(data->sMenuText);
    UINT format = DT_VCENTER | DT_SINGLELINE;
    if ((draw.itemState & ODS_NOACCEL) != 0) {
        format |= DT_HIDEPREFIX;  // the user has not pressed Alt: no underlined keys
    }
    const auto text = [&](COLORREF ink, int offset) {
        ::SetTextColor(dc, ink);
        RECT place = area;
        ::OffsetRect(&place, offset, offset);
        DrawString(dc, left, place, format | (data->bMainMenu ? DT_CENTER : DT_LEFT));
        if (!right.empty()) {
            DrawString(dc, right, place, format | DT_RIGHT);
        }
    };
    if (grayed) {
        if (!selected) {
            text(::GetSysColor(COLOR_BTNHIGHLIGHT), 1);
        }
        text(::GetSysColor(COLOR_GRAYTEXT), 0);
    } else {
        text(colour, 0);
    }

    if (data->bTrueSub) {
        // Its own arrow, and the place kept from the one the system would draw over it.
        const COLORREF ink = grayed ? ::GetSysColor(COLOR_GRAYTEXT) : colour;
        RECT arrow{item.right - (icon + 2), item.top, item.right - ::MulDiv(4, dpi, 96),
                   item.bottom};
        if (fonts.marlett) {
            ::SelectObject(dc, fonts.marks.get());
            ::SetTextColor(dc, ink);
            ::DrawTextA(dc, "4", 1, &arrow, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        } else {
            DrawPixelArrow(dc, arrow, ink, dpi);
        }
        ::ExcludeClipRect(dc, item.right - (icon + 2), item.top, item.right, item.bottom);
    }
    return true;
}

bool OnMeasureItem(HWND window, MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) {
        return false;
    }
    const forms::CMyItemData* data = RecordOf(measure.itemData);
    WndCoolMenu* record = CoolMenuWindow(window);
    if (data == nullptr || record == nullptr) {
        return false;
    }
    const int dpi = WindowDpi(window);
    const forms::MenuMetrics metrics = MetricsFor(record, dpi);
    forms::ItemSize size;
    if (data->separator) {
        size = forms::MeasureSeparator(metrics);
    } else {
        // Measured in bold: the default item is drawn so, and no state says which it is.
        const WndCoolMenu::Fonts& fonts = record->FontsAt(dpi);
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ old = ::SelectObject(dc.get(), fonts.bold.get());
        const auto measureText = [&](std::string_view text) {
            RECT box{0, 0, 0, 0};
            formtext::DrawTextIn(dc.get(), text.empty() ? std::string_view(" ") : text, box,
                                 DT_CALCRECT | DT_SINGLELINE);
            return box;
        };
        const auto [left, right] = forms::SplitAtTab(data->sMenuText);
        const RECT text = measureText(left);
        int width = text.right - text.left;
        if (!right.empty()) {
            const RECT shortcut = measureText(right);
            width += shortcut.right - shortcut.left + (text.bottom - text.top);  // a gap
        }
        ::SelectObject(dc.get(), old);
        size = forms::MeasureItem(metrics, width, text.bottom - text.top, data->bMainMenu);
    }
    measure.itemWidth = static_cast<UINT>(std::max(size.width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(size.height, 0));
    return true;
}

void OnMenuSelect(HWND window, UINT item, UINT flags, HMENU menu) {
    WndCoolMenu* record = CoolMenuWindow(window);
    if (record == nullptr) {
        return;
    }
    if (flags == 0xFFFF && menu == nullptr) {
        // The menu loop has ended: every pop-up it opened becomes plain again.
        std::vector<HMENU> heads;
        for (std::size_t i = 0; i < record->CountMenuHeads(); ++i) {
            heads.push_back(record->GetMenuHead(i));
        }
        record->ClearMenuHeads();
        for (HMENU head : heads) {
            if (::IsMenu(head) != FALSE) {
                ConvertMenu(window, head, 0, false, false, false);
            }
        }
        return;
    }
    if (!record->HelpObj || menu == nullptr) {
        return;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    const BOOL byPosition = (flags & MF_POPUP) != 0 ? TRUE : FALSE;
    if (::GetMenuItemInfoA(menu, item, byPosition, &info) == FALSE) {
        return;
    }
    if (const forms::CMyItemData* data = RecordOf(info.dwItemData)) {
        record->HelpObj->RaiseHelpEvent(data->sMenuText, data->sMenuHelp,
                                        (flags & (MF_GRAYED | MF_DISABLED)) == 0);
    }
}

LRESULT OnMenuChar(HWND window, UINT character, HMENU menu) {
    char16_t typed = static_cast<char16_t>(character);
    if (::IsWindowUnicode(window) == FALSE) {
        const std::u16string units =
            platform::Utf8ToUtf16(FromAnsi(std::string(1, static_cast<char>(character))));
        typed = units.empty() ? typed : units.front();
    }
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const std::optional<ItemInfo> item = ReadItem(menu, static_cast<UINT>(i));
        if (!item || (item->type & MFT_SEPARATOR) != 0) {
            continue;
        }
        const forms::CMyItemData* data = RecordOf(item->data);
        const std::string& text = data != nullptr ? data->sMenuText : item->text;
        if (forms::HasAccessKey(text, typed)) {
            return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return 0;
}

void ConvertMenuBar(WndCoolMenu& record) {
    const HMENU bar = ::GetMenu(record.hWnd);
    record.SCMainMenu = bar;
    if (bar != nullptr) {
        ConvertMenu(record.hWnd, bar, 0, false, true, true);
        ::DrawMenuBar(record.hWnd);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WndCoolMenu* record = CoolMenuWindow(window);
    if (record == nullptr) {
        return formtext::DefaultProcedure(window, message, wParam, lParam);
    }
    const WNDPROC previous = record->PrevProc;
    const auto passOn = [&] {
        return formtext::CallProcedure(previous, window, message, wParam, lParam);
    };
    try {
        switch (message) {
            case WM_DRAWITEM:
                if (OnDrawItem(window, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                    return TRUE;
                }
                break;
            case WM_MEASUREITEM:
                if (OnMeasureItem(window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
                    return TRUE;
                }
                break;
            case WM_INITMENUPOPUP:
                // The form fills its items first; then they are converted.
                passOn();
                if (WndCoolMenu* still = CoolMenuWindow(window)) {
                    still->MainPopedIndex = -1;
                    ConvertMenu(window, reinterpret_cast<HMENU>(wParam), LOWORD(lParam),
                                HIWORD(lParam) != 0, true, false);
                }
                return 0;
            case WM_MENUSELECT:
                OnMenuSelect(window, LOWORD(wParam), HIWORD(wParam),
                             reinterpret_cast<HMENU>(lParam));
                break;
            case WM_MENUCHAR:
                if (const LRESULT found =
                        OnMenuChar(window, LOWORD(wParam), reinterpret_cast<HMENU>(lParam))) {
                    return found;
                }
                break;
            case WM_WINDOWPOSCHANGED:
                if (record->SCMainMenu != nullptr && ::GetMenu(window) != record->SCMainMenu) {
                    record->SCMainMenu = nullptr;
                    ConvertMenuBar(*record);
                }
                break;
            case WM_NCDESTROY:
                // A window that goes without an uninstall takes its record with it.
                UninstallCoolMenu(window);
                break;
            default:
                break;
        }
    } catch (...) {
        // A menu that cannot be drawn our way is left to the system.
    }
    return passOn();
}

}  // namespace

void HelpCallBack::RaiseHelpEvent(std::string menuText, std::string menuHelp, bool enabled) {
    if (HelpEvent) {
        HelpEvent(menuText, menuHelp, enabled);
    }
}

void WndCoolMenu::SetFontSize(int points) {
    fontSize_ = points;
    fonts_ = Fonts{};
}

void WndCoolMenu::SetFontName(std::string face) {
    fontName_ = std::move(face);
    fonts_ = Fonts{};
}

void WndCoolMenu::AddMenuHead(HMENU menu) {
    if (std::find(menuHeads_.begin(), menuHeads_.end(), menu) == menuHeads_.end()) {
        menuHeads_.push_back(menu);
    }
}

HMENU WndCoolMenu::GetMenuHead(std::size_t index) const noexcept {
    return index < menuHeads_.size() ? menuHeads_[index] : nullptr;
}

const WndCoolMenu::Fonts& WndCoolMenu::FontsAt(int dpi) {
    if (fonts_.dpi == dpi && fonts_.text) {
        return fonts_;
    }
    fonts_ = Fonts{};
    fonts_.dpi = dpi;
    LOGFONTW base{};
    if (fontName_.empty()) {
        base = formtext::MessageFont();  // the menus' font unless the user set them apart
        base.lfHeight = ::MulDiv(base.lfHeight, dpi, SystemDpi());
    } else {
        base.lfHeight = -::MulDiv(fontSize_, dpi, 72);
        base.lfWeight = FW_NORMAL;
        base.lfCharSet = DEFAULT_CHARSET;
        formtext::SetFaceName(base, fontName_);
    }
    fonts_.text.reset(formtext::CreateFontText(base));
    LOGFONTW bold = base;
    bold.lfWeight = FW_BOLD;
    fonts_.bold.reset(formtext::CreateFontText(bold));
    // Titles in the menu's face, small: a raster face would have no size for every DPI.
    LOGFONTW title = base;
    title.lfWeight = FW_NORMAL;
    title.lfHeight = ::MulDiv(11, dpi, 96);
    fonts_.title.reset(formtext::CreateFontText(title));
    LOGFONTW marks{};
    marks.lfHeight = -::MulDiv(13, dpi, 96);
    marks.lfCharSet = SYMBOL_CHARSET;
    formtext::SetFaceName(marks, "Marlett");
    fonts_.marks.reset(formtext::CreateFontText(marks));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ old = ::SelectObject(dc.get(), fonts_.marks.get());
    char face[LF_FACESIZE] = {};
    ::GetTextFaceA(dc.get(), LF_FACESIZE, face);  // the face the system gave for the name
    ::SelectObject(dc.get(), old);
    fonts_.marlett = platform::EqualIgnoringCase(face, "Marlett");
    return fonts_;
}

bool InstallCoolMenu(HWND window, std::shared_ptr<forms::MenuImages> images,
                     std::shared_ptr<HelpCallBack> help, bool convertMenuBar) {
    if (window == nullptr || ::IsWindow(window) == FALSE) {
        return false;
    }
    if (!engine) {
        engine = std::make_unique<Engine>();
    }
    if (WndCoolMenu* served = CoolMenuWindow(window)) {
        // Installed already: new pictures and help, the same procedure.
        served->ilHandle = std::move(images);
        served->HelpObj = std::move(help);
        if (convertMenuBar) {
            ConvertMenuBar(*served);
        }
        return true;
    }
    auto record = std::make_unique<WndCoolMenu>();
    record->hWnd = window;
    record->SelectColor = ::GetSysColor(COLOR_HIGHLIGHT);
    record->ilHandle = std::move(images);
    record->HelpObj = std::move(help);
    WndCoolMenu& added = *record;
    engine->windows.emplace(window, std::move(record));
    added.PrevProc = formtext::Subclass(window, WindowProc);
    if (convertMenuBar) {
        ConvertMenuBar(added);
    }
    return true;
}

bool UninstallCoolMenu(HWND window) {
    if (!engine || window == nullptr) {
        return false;
    }
    const auto found = engine->windows.find(window);
    if (found == engine->windows.end()) {
        return false;
    }
    formtext::Subclass(window, found->second->PrevProc);
    engine->windows.erase(found);
    if (engine->windows.empty()) {
        engine.reset();
    }
    return true;
}

WndCoolMenu* CoolMenuWindow(HWND window) noexcept {
    if (!engine) {
        return nullptr;
    }
    const auto found = engine->windows.find(window);
    return found == engine->windows.end() ? nullptr : found->second.get();
}

const forms::CMyItemDatas* CoolMenuItems() noexcept {
    return engine ? &engine->items : nullptr;
}

void ConvertMenu(HWND window, HMENU menu, int /*position*/, bool systemMenu, bool makeOwnerDraw,
                 bool menuBar) {
    if (!engine || menu == nullptr || systemMenu) {
        return;
    }
    WndCoolMenu* record = CoolMenuWindow(window);
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<UINT>(i);
        const std::optional<ItemInfo> item = ReadItem(menu, position);
        if (!item) {
            continue;
        }
        const bool ownerDrawn = (item->type & MFT_OWNERDRAW) != 0;
        if (makeOwnerDraw) {
            forms::CMyItemData* data = RecordOf(item->data);
            if (!ownerDrawn) {
                forms::CMyItemDatas::Key key = static_cast<forms::CMyItemDatas::Key>(item->data);
                if (data == nullptr) {
                    key = engine->items.NewKey();
                    data = &engine->items.Add(key);
                }
                *data = forms::DecodeCaption(item->text);
                data->separator = data->separator || (item->type & MFT_SEPARATOR) != 0;
                data->originalType = item->type;
                data->iButton =
                    data->separator
                        ? -1
                        : forms::FindMenuImage(record != nullptr ? record->ilHandle.get() : nullptr,
                                               data->sMenuText);
                data->fType = item->type | MFT_OWNERDRAW | (data->separator ? MFT_SEPARATOR : 0);
                data->bTrueSub = item->submenu != nullptr && !menuBar;
                WriteItem(menu, position, data->fType, key, nullptr);
            }
            if (data != nullptr) {
                data->bMainMenu = menuBar;
            }
        } else if (ownerDrawn) {
            if (const forms::CMyItemData* data = RecordOf(item->data)) {
                const UINT type = data->originalType & ~static_cast<UINT>(MFT_OWNERDRAW);
                // A separator the menu made itself has no caption to give back.
                const bool plainSeparator = (type & MFT_SEPARATOR) != 0;
                const std::string caption = forms::EncodeCaption(*data);
                WriteItem(menu, position, type, 0, plainSeparator ? nullptr : &caption);
                engine->items.Remove(static_cast<forms::CMyItemDatas::Key>(item->data));
            } else {
                WriteItem(menu, position,
                          item->type & ~static_cast<UINT>(MFT_OWNERDRAW | MFT_SEPARATOR), 0,
                          nullptr);
            }
        }
    }
    if (makeOwnerDraw && !menuBar && record != nullptr) {
        record->AddMenuHead(menu);
    }
}

void Win32FormsBackend::InstallOwnerDrawnMenus(forms::Form& owner,
                                               std::shared_ptr<forms::MenuImages> images) {
    InstallCoolMenu(WindowOf(owner), std::move(images), nullptr, false);
}

void Win32FormsBackend::UninstallOwnerDrawnMenus(forms::Form& owner) {
    UninstallCoolMenu(WindowOf(owner));
}

}  // namespace pellmark::win32
