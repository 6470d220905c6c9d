// Prints how long opening the tray menu takes with the owner-drawn menus: its 20 items
// converted, measured and drawn into a memory DC, then given back, at 96 and 144 DPI. The
// first opening makes the fonts and the pictures' bitmaps; later ones reuse them. Each
// opening checks that every item was measured and drawn and every record given back, so a
// fast wrong answer cannot pass unnoticed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/win32/Win32CoolMenu.h"
#include "platform/win32/Win32Forms.h"
#include "tools/bench/QuickMode.h"
#include "tray/res/MenuPictures.h"

namespace {

using namespace pellmark;
using win32::UniqueGdiObject;
using win32::UniqueMemoryDc;
using win32::UniqueMenu;

double Milliseconds(const std::function<bool()>& work, bool& ok) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ok = work() && ok;
    ::QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The tray menu's captions; the pictures' tags are those of the items they belong to.
const wchar_t* const kCaptions[] = {L"&Restore pattern",
                                    L"-",
                                    L"Minimize all windows",
                                    L"Restore all windows",
                                    L"#Show Desktop",
                                    L"-Screen saver",
                                    L"Enable Screen Saver",
                                    L"Disable Screen Saver",
                                    L"Show default screen saver",
                                    L"-",
                                    L"&Show Pellmark",
                                    L"&Options",
                                    L"-Internet",
                                    L"Visit the Homepage",
                                    L"E-mail the maker",
                                    L"-",
                                    L"&Help",
                                    L"&About",
                                    L"-",
                                    L"E&xit"};
const char* const kTags[] = {"&Restore pattern",
                             "Minimize all windows",
                             "Enable Screen Saver",
                             "Disable Screen Saver",
                             "Show default screen saver",
                             "&Show Pellmark",
                             "&Options",
                             "Visit the Homepage",
                             "E-mail the maker",
                             "&Help",
                             "&About",
                             "E&xit"};

class MenuForm final : public forms::Form {
  public:
    explicit MenuForm(forms::Backend& backend) : Form(backend, "frmMenus") {}
};

}  // namespace

int main() {
    std::printf("opening the tray menu: 20 items converted, measured, drawn and given back\n");
    bool ok = true;
    for (const int dpi : {96, 144}) {
        win32::Win32FormsBackend backend{dpi};
        MenuForm form{backend};
        form.Load();
        form.MakeWindow();
        const HWND window = win32::Win32FormsBackend::WindowOf(form);
        auto images = std::make_shared<forms::MenuImages>();
        for (int i = 0; i < tray::kMenuPictureCount; ++i) {
            images->images.push_back(backend.LoadResourcePicture(tray::MenuPictureName(i, false)));
            images->large.push_back(backend.LoadResourcePicture(tray::MenuPictureName(i, true)));
            images->tags.emplace_back(kTags[i]);
        }
        form.InstallOwnerDrawnMenus(images);

        UniqueMenu menu(::CreatePopupMenu());
        HMENU patterns = ::CreatePopupMenu();
        for (const wchar_t* name : {L"Work", L"Games", L"Presentation"}) {
            ::AppendMenuW(patterns, MF_STRING, 100, name);
        }
        UINT id = 1;
        for (const wchar_t* caption : kCaptions) {
            if (id == 1) {
                ::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(patterns), caption);
            } else if (caption[0] == L'-' && caption[1] == 0) {
                ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            } else {
                ::AppendMenuW(menu.get(), MF_STRING | (id == 5 ? MF_CHECKED : 0), id, caption);
            }
            ++id;
        }

        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, 600, -900, 1, 32, BI_RGB};
        void* bits = nullptr;
        UniqueGdiObject surface(
            ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ old = ::SelectObject(dc.get(), surface.get());

        const auto open = [&] {
            ::SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);
            const int count = ::GetMenuItemCount(menu.get());
            int handled = 0;
            LONG top = 0;
            for (int i = 0; i < count; ++i) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_DATA | MIIM_STATE;
                ::GetMenuItemInfoW(menu.get(), static_cast<UINT>(i), TRUE, &info);
                MEASUREITEMSTRUCT measure{};
                measure.CtlType = ODT_MENU;
                measure.itemData = info.dwItemData;
                handled += static_cast<int>(
                    ::SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
                DRAWITEMSTRUCT draw{};
                draw.CtlType = ODT_MENU;
                draw.itemAction = ODA_DRAWENTIRE;
                draw.itemState = (info.fState & MFS_CHECKED) != 0 ? ODS_CHECKED : 0;
                draw.hDC = dc.get();
                draw.rcItem = {0, top, 600, top + static_cast<LONG>(measure.itemHeight)};
                draw.itemData = info.dwItemData;
                handled += static_cast<int>(
                    ::SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
                top += static_cast<LONG>(measure.itemHeight);
            }
            ::SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
            ::SelectClipRgn(dc.get(), nullptr);
            return handled == 2 * count && count == 20 && win32::CoolMenuItems()->Count() == 0;
        };
        const double first = Milliseconds(open, ok);
        double best = 1e30;
        double total = 0;
        const int kRuns = pellmark::bench::Rounds(50);
        for (int run = 0; run < kRuns; ++run) {
            const double took = Milliseconds(open, ok);
            best = std::min(best, took);
            total += took;
        }
        std::printf("  at %3d DPI: first %7.2f ms, then %6.2f ms on average (best %.2f) over %d\n",
                    dpi, first, total / kRuns, best, kRuns);
        ::SelectObject(dc.get(), old);
        form.Unload();
    }
    if (!ok) {
        std::printf("  an opening left an item unmeasured, undrawn or converted\n");
        return 1;
    }
    return 0;
}
