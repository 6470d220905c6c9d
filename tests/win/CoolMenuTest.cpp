// The owner-drawn menus on real menus and windows: items converted as a pop-up opens and
// plain again when the loop ends, measured and drawn at the window's DPI, found by their
// access keys, and every GDI object made while drawing given back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/win32/Win32CoolMenu.h"
#include "platform/win32/Win32Forms.h"
#include "tests/win/GdiObjects.h"
#include "tests/win/MemorySurface.h"
#include "tray/res/MenuPictures.h"

namespace pellmark::win32 {
namespace {

constexpr std::uint32_t kOpaqueRed = 0xFF0000FF;    // COLORREF with its opacity on top
constexpr std::uint32_t kOpaqueGreen = 0xFF00FF00;  // the 144-DPI drawing

forms::Bitmap Square(int size, std::uint32_t pixel) {
    return {size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size, pixel)};
}

std::shared_ptr<forms::MenuImages> Pictures() {
    auto images = std::make_shared<forms::MenuImages>();
    images->images = {Square(16, kOpaqueRed), Square(16, kOpaqueRed), Square(16, kOpaqueRed)};
    images->large = {Square(24, kOpaqueGreen), Square(24, kOpaqueGreen), Square(24, kOpaqueGreen)};
    images->tags = {"", "&Restore pattern", "E&xit"};
    return images;
}

class MenuForm final : public forms::Form {
  public:
    explicit MenuForm(forms::Backend& backend) : Form(backend, "CoolMenuTest") {}
};

struct ItemCase {
    const wchar_t* caption;  // null: a plain separator
    UINT state;
};

// The captions as a form's menu holds them; "&Restore pattern" opens a submenu.
const ItemCase kItems[] = {
    {L"&Restore pattern", 0},
    {nullptr, 0},
    {L"#Show Desktop", MFS_CHECKED},
    {L"-Screen saver", 0},
    {L"a|Ends the program|E&xit", 0},
    {L"Disabled one", MFS_GRAYED},
    {L"Copy\tCtrl+C", 0},
};

UniqueMenu BuildMenu() {
    UniqueMenu menu(::CreatePopupMenu());
    HMENU patterns = ::CreatePopupMenu();
    ::AppendMenuW(patterns, MF_STRING, 100, L"Work");
    UINT id = 1;
    for (const ItemCase& item : kItems) {
        if (item.caption == nullptr) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else if (id == 1) {
            ::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(patterns), item.caption);
        } else {
            ::AppendMenuW(menu.get(), MF_STRING | item.state, id, item.caption);
        }
        ++id;
    }
    return menu;
}

struct ReadBack {
    UINT type = 0;
    ULONG_PTR data = 0;
    std::wstring text;
};

ReadBack Read(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    wchar_t buffer[256] = {};
    info.dwTypeData = buffer;
    info.cch = 255;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &info));
    return {info.fType, info.dwItemData, buffer};
}

// A surface to draw menu items on, read back pixel by pixel.
using Surface = MemorySurface;

template <int Dpi>
class CoolMenuAt : public ::testing::Test {
  protected:
    void SetUp() override {
        form.Load();
        form.MakeWindow();
        window = Win32FormsBackend::WindowOf(form);
        ASSERT_NE(window, nullptr);
        original = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
        form.InstallOwnerDrawnMenus(Pictures());
        ASSERT_NE(CoolMenuWindow(window), nullptr);
    }
    void TearDown() override { form.Unload(); }

    void Open(HMENU opened) const {
        ::SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(opened), 0);
    }
    void EndLoop() const { ::SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }
    // The engine's record of an item, found by the item's data; null when it has none.
    [[nodiscard]] static const forms::CMyItemData* Record(HMENU opened, UINT position) {
        const ULONG_PTR data = Read(opened, position).data;
        if (CoolMenuItems() == nullptr || data == 0) {
            return nullptr;
        }
        for (const auto& [key, record] : *CoolMenuItems()) {
            if (key == data) {
                return &record;
            }
        }
        return nullptr;
    }
    [[nodiscard]] MEASUREITEMSTRUCT Measure(HMENU opened, UINT position) const {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemData = Read(opened, position).data;
        EXPECT_EQ(::SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)),
                  TRUE);
        return measure;
    }
    void Draw(HMENU opened, UINT position, UINT state, const Surface& surface,
              const RECT& area) const {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = reinterpret_cast<HWND>(opened);
        draw.hDC = surface.Dc();
        draw.rcItem = area;
        draw.itemData = Read(opened, position).data;
        draw.itemID = ::GetMenuItemID(opened, static_cast<int>(position));
        EXPECT_EQ(::SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
        ::SelectClipRgn(surface.Dc(), nullptr);  // the arrow's excluded corner, for the next
    }

    Win32FormsBackend backend{Dpi};
    MenuForm form{backend};
    HWND window = nullptr;
    LONG_PTR original = 0;
    UniqueMenu menu = BuildMenu();
};
using CoolMenuTest = CoolMenuAt<96>;
using CoolMenuDpiTest = CoolMenuAt<144>;

TEST_F(CoolMenuTest, PopupConvertsAsItOpensAndComesBackWhenTheLoopEnds) {
    Open(menu.get());
    struct Expected {
        const char* text;
        const char* help;
        bool separator;
        bool mark;
        int image;
        bool submenu;
    } const expected[] = {
        {"&Restore pattern", "", false, false, 1, true},
        {"", "", true, false, -1, false},
        {"Show Desktop", "", false, true, -1, false},
        {"Screen saver", "", true, false, -1, false},
        {"E&xit", "Ends the program", false, false, 2, false},
        {"Disabled one", "", false, false, -1, false},
        {"Copy\tCtrl+C", "", false, false, -1, false},
    };
    ASSERT_NE(CoolMenuItems(), nullptr);
    EXPECT_EQ(CoolMenuItems()->Count(), std::size(expected));
    for (UINT i = 0; i < std::size(expected); ++i) {
        const Expected& e = expected[i];
        const ReadBack item = Read(menu.get(), i);
        EXPECT_NE(item.type & MFT_OWNERDRAW, 0u) << i;
        EXPECT_EQ((item.type & MFT_SEPARATOR) != 0, e.separator) << i;
        const forms::CMyItemData* record = Record(menu.get(), i);
        ASSERT_NE(record, nullptr) << i;
        EXPECT_EQ(record->sMenuText, e.text) << i;
        EXPECT_EQ(record->sMenuHelp, e.help) << i;
        EXPECT_EQ(record->bAsMark, e.mark) << i;
        EXPECT_EQ(record->iButton, e.image) << i;
        EXPECT_EQ(record->bTrueSub, e.submenu) << i;
    }
    // Opening the submenu converts it too; the end of the loop takes both back.
    HMENU patterns = ::GetSubMenu(menu.get(), 0);
    Open(patterns);
    EXPECT_EQ(CoolMenuItems()->Count(), std::size(expected) + 1);
    EndLoop();
    EXPECT_EQ(CoolMenuItems()->Count(), 0u);
    const wchar_t* const captions[] = {L"&Restore pattern",
                                       L"",
                                       L"#Show Desktop",
                                       L"-Screen saver",
                                       L"|Ends the program|E&xit",
                                       L"Disabled one",
                                       L"Copy\tCtrl+C"};
    for (UINT i = 0; i < std::size(captions); ++i) {
        const ReadBack item = Read(menu.get(), i);
        EXPECT_EQ(item.type, i == 1 ? static_cast<UINT>(MFT_SEPARATOR) : MFT_STRING) << i;
        EXPECT_EQ(item.data, 0u) << i;
        EXPECT_EQ(item.text, captions[i]) << i;
    }
    EXPECT_EQ(Read(patterns, 0).type, static_cast<UINT>(MFT_STRING));
    EXPECT_EQ(Read(patterns, 0).text, L"Work");

    // A caption changed while the menu was closed shows the next time it opens.
    ::ModifyMenuW(menu.get(), 4, MF_BYPOSITION | MF_STRING, 5, L"*Beenden");
    Open(menu.get());
    const forms::CMyItemData* changed = Record(menu.get(), 4);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->sMenuText, "Beenden");
    EXPECT_TRUE(changed->bAsMark);
    EXPECT_FALSE(changed->bAsCheck);
    EXPECT_EQ(changed->iButton, -1);
    EndLoop();
}

TEST_F(CoolMenuTest, MeasuresSeparatorsAtHalfAMenuLineAndItemsRoomForPictureAndArrow) {
    Open(menu.get());
    for (UINT separator : {1u, 3u}) {
        const MEASUREITEMSTRUCT measured = Measure(menu.get(), separator);
        EXPECT_EQ(measured.itemHeight, static_cast<UINT>(::GetSystemMetrics(SM_CYMENU) / 2));
        EXPECT_EQ(measured.itemWidth, 0u);
    }
    const MEASUREITEMSTRUCT exit = Measure(menu.get(), 4);
    EXPECT_GE(exit.itemHeight, static_cast<UINT>(::GetSystemMetrics(SM_CYMENU)));
    EXPECT_GT(exit.itemWidth, 29u);  // the text, beyond the 29 pixels around it
    // The shortcut after the tab adds its own width.
    EXPECT_GT(Measure(menu.get(), 6).itemWidth, Measure(menu.get(), 5).itemWidth / 2);
    // An item that is not ours is left to the window.
    MEASUREITEMSTRUCT foreign{};
    foreign.CtlType = ODT_MENU;
    foreign.itemData = 0;
    EXPECT_EQ(::SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign)), 0);
    EndLoop();
}

TEST_F(CoolMenuTest, AccessKeysAreFoundIgnoringCase) {
    Open(menu.get());
    for (const wchar_t typed : {L'x', L'X'}) {
        const LRESULT found = ::SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(typed, MF_POPUP),
                                             reinterpret_cast<LPARAM>(menu.get()));
        EXPECT_EQ(LOWORD(found), 4) << static_cast<char>(typed);
        EXPECT_EQ(HIWORD(found), MNC_EXECUTE) << static_cast<char>(typed);
    }
    EXPECT_EQ(LOWORD(::SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L'r', MF_POPUP),
                                    reinterpret_cast<LPARAM>(menu.get()))),
              0);
    const LRESULT none = ::SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP),
                                        reinterpret_cast<LPARAM>(menu.get()));
    EXPECT_NE(HIWORD(none), MNC_EXECUTE);
    EndLoop();
}

TEST_F(CoolMenuTest, DrawsPicturesMarksSelectionAndTitles) {
    Open(menu.get());
    Surface surface(200, 40);
    const RECT item{0, 0, 200, 20};
    const RECT box{0, 0, 18, 20};
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    const COLORREF select = ::GetSysColor(COLOR_HIGHLIGHT);

    // A picture in its box, the text area in the menu's colour.
    Draw(menu.get(), 4, 0, surface, item);
    EXPECT_EQ(surface.Count({1, 2, 17, 18}, red), 16 * 16);
    EXPECT_GT(surface.Count({21, 0, 182, 20}, menuColour), 0);
    EXPECT_EQ(surface.Count({21, 0, 182, 20}, select), 0);
    // Selected: the bar takes the selection colour and the picture stays.
    Draw(menu.get(), 4, ODS_SELECTED, surface, item);
    EXPECT_GT(surface.Count({21, 0, 182, 20}, select), 100);
    EXPECT_EQ(surface.Count({1, 2, 17, 18}, red), 16 * 16);
    // Disabled: the picture embossed, not in its colours.
    Draw(menu.get(), 4, ODS_GRAYED, surface, item);
    EXPECT_EQ(surface.Count(box, red), 0);
    EXPECT_GT(surface.Count(box, ::GetSysColor(COLOR_BTNSHADOW)), 100);
    // A checked "#" item gets a mark in its box; unchecked, the box stays empty.
    Draw(menu.get(), 2, 0, surface, item);
    EXPECT_EQ(surface.Count(box, menuColour), 18 * 20);
    Draw(menu.get(), 2, ODS_CHECKED, surface, item);
    EXPECT_LT(surface.Count(box, menuColour), 18 * 20 - 20);
    // The default item is drawn bold, whether or not the system says so in its state.
    const RECT text{21, 0, 182, 20};
    Draw(menu.get(), 5, 0, surface, item);
    const int regular = 20 * 161 - surface.Count(text, menuColour);
    ::SetMenuDefaultItem(menu.get(), 6, FALSE);
    Draw(menu.get(), 5, 0, surface, item);
    EXPECT_GT(20 * 161 - surface.Count(text, menuColour), regular + regular / 10);
    ::SetMenuDefaultItem(menu.get(), static_cast<UINT>(-1), FALSE);
    // A titled separator: the etched line, broken by the title.
    const RECT half{0, 0, 200, ::GetSystemMetrics(SM_CYMENU) / 2};
    Draw(menu.get(), 1, 0, surface, half);
    const int plainShadow = surface.Count(half, ::GetSysColor(COLOR_BTNSHADOW));
    Draw(menu.get(), 3, 0, surface, half);
    const int titledShadow = surface.Count(half, ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_GT(plainShadow, 150);
    EXPECT_NE(titledShadow, plainShadow);
    EndLoop();
}

TEST_F(CoolMenuTest, GdiObjectsStayFlatOverFiveHundredOpenings) {
    Surface surface(220, 24);
    const auto openOnce = [&](int round) {
        Open(menu.get());
        Open(::GetSubMenu(menu.get(), 0));
        const int count = ::GetMenuItemCount(menu.get());
        for (int i = 0; i < count; ++i) {
            const MEASUREITEMSTRUCT measured = Measure(menu.get(), static_cast<UINT>(i));
            const UINT states[] = {0, ODS_SELECTED, ODS_GRAYED, ODS_CHECKED,
                                   ODS_SELECTED | ODS_CHECKED | ODS_DEFAULT};
            Draw(menu.get(), static_cast<UINT>(i), states[(i + round) % 5], surface,
                 {0, 0, 220, static_cast<LONG>(measured.itemHeight)});
        }
        EndLoop();
    };
    openOnce(0);
    const int afterFirst = GdiObjects();
    for (int round = 1; round < 500; ++round) {
        openOnce(round);
    }
    EXPECT_EQ(GdiObjects(), afterFirst);
    EXPECT_EQ(CoolMenuItems()->Count(), 0u);
}

TEST_F(CoolMenuTest, UninstallGivesTheProcedureBackAndDropsEveryRecord) {
    EXPECT_NE(::GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    Open(menu.get());
    form.UninstallOwnerDrawnMenus();
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    EXPECT_EQ(CoolMenuWindow(window), nullptr);
    EXPECT_EQ(CoolMenuItems(), nullptr);
}

TEST_F(CoolMenuTest, HelpReceiverHearsTheItemUnderTheUser) {
    auto help = std::make_shared<HelpCallBack>();
    std::vector<std::string> heard;
    help->HelpEvent = [&](std::string& text, std::string& menuHelp, bool& enabled) {
        heard.push_back(text + "/" + menuHelp + (enabled ? "/on" : "/off"));
    };
    ASSERT_TRUE(InstallCoolMenu(window, Pictures(), help, false));
    Open(menu.get());
    const auto select = [&](UINT item, UINT flags) {
        ::SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(item, flags),
                       reinterpret_cast<LPARAM>(menu.get()));
    };
    select(5, MF_HILITE);              // E&xit, by its command
    select(6, MF_HILITE | MF_GRAYED);  // the disabled one
    select(0, MF_HILITE | MF_POPUP);   // the submenu, by its position
    EndLoop();
    const std::vector<std::string> want = {"E&xit/Ends the program/on", "Disabled one//off",
                                           "&Restore pattern//on"};
    EXPECT_EQ(heard, want);
}

TEST_F(CoolMenuTest, MenuBarStaysConvertedAndFollowsANewBar) {
    UniqueMenu first(::CreateMenu());
    ::AppendMenuW(first.get(), MF_STRING, 1, L"&File");
    ::AppendMenuW(first.get(), MF_STRING, 2, L"#&View");
    ASSERT_TRUE(::SetMenu(window, first.get()));
    ASSERT_TRUE(InstallCoolMenu(window, Pictures(), nullptr, true));
    EXPECT_EQ(CoolMenuWindow(window)->SCMainMenu, first.get());
    for (UINT i = 0; i < 2; ++i) {
        EXPECT_NE(Read(first.get(), i).type & MFT_OWNERDRAW, 0u) << i;
        const forms::CMyItemData* record = Record(first.get(), i);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(record->bMainMenu);
        EXPECT_FALSE(record->bTrueSub);
    }
    // The end of a menu loop leaves the bar as it is.
    Open(menu.get());
    EndLoop();
    EXPECT_NE(Read(first.get(), 0).type & MFT_OWNERDRAW, 0u);
    EXPECT_EQ(CoolMenuItems()->Count(), 2u);
    // A new bar is converted when the window next moves.
    UniqueMenu second(::CreateMenu());
    ::AppendMenuW(second.get(), MF_STRING, 3, L"&Help");
    ::SetMenu(window, second.get());
    ::SetWindowPos(window, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CoolMenuWindow(window)->SCMainMenu, second.get());
    EXPECT_NE(Read(second.get(), 0).type & MFT_OWNERDRAW, 0u);
    ::SetMenu(window, nullptr);
}

TEST_F(CoolMenuDpiTest, At144DpiTheLargePicturesAndScaledBoxAreDrawn) {
    Open(menu.get());
    const MEASUREITEMSTRUCT measured = Measure(menu.get(), 4);
    EXPECT_GE(measured.itemHeight, 26u);  // the 24-pixel picture's box
    const RECT item{0, 0, 300, static_cast<LONG>(measured.itemHeight)};
    const Surface surface(300, 40);
    Draw(menu.get(), 4, 0, surface, item);
    EXPECT_EQ(surface.Count(item, RGB(0, 255, 0)), 24 * 24);
    EXPECT_EQ(surface.Count(item, RGB(255, 0, 0)), 0);
    EndLoop();
}

// A real menu loop: opened with TrackPopupMenu and closed by a timer, which first notes
// how many items were converted while the menu showed.
std::size_t convertedInLoop = 0;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    convertedInLoop = CoolMenuItems() != nullptr ? CoolMenuItems()->Count() : 0;
    ::EndMenu();
}

TEST_F(CoolMenuTest, ARealMenuLoopConvertsAndGivesBack) {
    ::SetTimer(nullptr, 0, 200, &CloseMenu);
    ::TrackPopupMenu(menu.get(), TPM_RETURNCMD, 10, 10, 0, window, nullptr);
    EXPECT_EQ(convertedInLoop, std::size(kItems));
    EXPECT_EQ(CoolMenuItems()->Count(), 0u);
    EXPECT_EQ(Read(menu.get(), 2).text, L"#Show Desktop");
    EXPECT_EQ(Read(menu.get(), 2).type, static_cast<UINT>(MFT_STRING));
    EXPECT_EQ(Read(menu.get(), 1).type, static_cast<UINT>(MFT_SEPARATOR));
}

TEST(MenuPicturesTest, EveryPictureIsBuiltInAtBothSizesWithItsTransparency) {
    Win32FormsBackend backend{96};
    for (int i = 0; i < tray::kMenuPictureCount; ++i) {
        for (const bool large : {false, true}) {
            const std::string name = tray::MenuPictureName(i, large);
            const forms::Bitmap picture = backend.LoadResourcePicture(name);
            const int size = large ? 24 : 16;
            ASSERT_EQ(picture.Width(), size) << name;
            ASSERT_EQ(picture.Height(), size) << name;
            // Drawn on nothing: the corner lets the menu show through, and the picture
            // itself covers a fair part of its square.
            EXPECT_TRUE(picture.HasTransparency()) << name;
            EXPECT_EQ(picture.Pixels().front() >> 24, 0u) << name;
            const auto opaque = std::count_if(picture.Pixels().begin(), picture.Pixels().end(),
                                              [](std::uint32_t p) { return p >> 24 == 0xFF; });
            EXPECT_GT(opaque, size * size / 8) << name;
        }
    }
}

}  // namespace
}  // namespace pellmark::win32
