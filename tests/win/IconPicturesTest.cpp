// The icons' pictures on real Windows: icons from files, and the desktop icons' own.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/IconPictures.h"
#include "desktop/ShowHideIconsPage.h"
#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/IconPixels.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Forms.h"
#include "tests/common/IconFileBytes.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"
#include "tools/desktophost/StandInDesktop.h"

namespace pellmark::win32 {
namespace {

std::uint32_t At(const forms::Bitmap& picture, int x, int y) {
    return picture.Pixels()[static_cast<std::size_t>(y * picture.Width() + x)];
}

TEST(IconPictures, DrawIconFromFileDrawsTheFilesIconAtItsPlaceAndNothingForAMissingOne) {
    // Green left half, blue right half, a transparent frame two pixels wide.
    std::vector<std::uint32_t> pixels(32 * 32, 0);
    for (int y = 2; y < 30; ++y) {
        for (int x = 2; x < 30; ++x) {
            pixels[static_cast<std::size_t>(y * 32 + x)] = x < 16 ? 0xFF00FF00 : 0xFFFF0000;
        }
    }
    // A name outside the ANSI code page: the wide call reads it.
    const std::string file = testcases::WriteTempFile(
        "pellmark-\u03A9-icon.ico", testcases::IconFileBytes(forms::Bitmap(32, 32, pixels)));
    Win32FormsBackend backend;

    const forms::Bitmap large = DrawIconFromFile(backend, 32, file, 0, 10);
    ASSERT_EQ(large.Width(), 45);
    ASSERT_EQ(large.Height(), 32);
    EXPECT_EQ(At(large, 10 + 5, 16), 0xFF00FF00u) << "green left";
    EXPECT_EQ(At(large, 10 + 26, 16), 0xFFFF0000u) << "blue right";
    for (const auto& [x, y] :
         {std::pair{5, 16}, std::pair{10, 0}, std::pair{10 + 31, 31}, std::pair{44, 16}}) {
        EXPECT_EQ(At(large, x, y) >> 24, 0u) << "transparent at " << x << "," << y;
    }

    const forms::Bitmap small = DrawIconFromFile(backend, 16, file, 0, 10);
    EXPECT_EQ(At(small, 10 + 3, 8) >> 24, 0xFFu) << "small icon drawn 16 wide";
    EXPECT_EQ(At(small, 10 + 20, 8) >> 24, 0u) << "nothing beyond 16";

    for (const forms::Bitmap& none : {DrawIconFromFile(backend, 32, file, 3, 10),
                                      DrawIconFromFile(backend, 32, file + "x", 0, 10)}) {
        ASSERT_EQ(none.Width(), 45);
        for (const std::uint32_t pixel : none.Pixels()) {
            ASSERT_EQ(pixel >> 24, 0u) << "an empty picture";
        }
    }
}

// The colour in the middle of a 32-pixel picture; 0 when it is transparent there.
std::uint32_t Middle(const platform::IconPixels& pixels) {
    if (pixels.size() != 32 * 32) {
        return 0;
    }
    const std::uint32_t pixel = pixels[16 * 32 + 16];
    return pixel >> 24 == 0xFF ? pixel & 0xFFFFFF : 0;
}

std::vector<platform::IconPictureRequest> RequestsOf(const DesktopIconTable& table) {
    std::vector<platform::IconPictureRequest> requests;
    for (const DesktopIcon& icon : table.Icons) {
        requests.push_back({icon.Caption, icon.ImageIndex});
    }
    return requests;
}

// A square of `colour` with a transparent frame `frame` pixels wide.
forms::Bitmap FramedSquare(int size, int frame, std::uint32_t colour) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    for (int y = frame; y < size - frame; ++y) {
        for (int x = frame; x < size - frame; ++x) {
            pixels[static_cast<std::size_t>(y * size + x)] = colour;
        }
    }
    return {size, size, std::move(pixels)};
}

TEST(IconPictures, AnIconShownLargerIsTheFilesOwnImageAtThatSizeNotTheSmallOneStretched) {
    constexpr std::uint32_t kGreen = 0xFF00FF00;
    constexpr std::uint32_t kBlue = 0xFFFF0000;
    // Told apart by colour and by frame: the 32-pixel image is green to its edges, the
    // 48-pixel one blue inside a frame of 4 transparent pixels.
    const std::string file = testcases::WriteTempFile(
        "pellmark-two-sizes.ico",
        testcases::IconFileBytes({FramedSquare(32, 0, kGreen), FramedSquare(48, 4, kBlue)}));

    Win32FormsBackend plain{96};
    const forms::Bitmap asked48 = plain.LoadFileIcon(file, 0, 48);
    ASSERT_EQ(asked48.Width(), 48);
    EXPECT_EQ(At(asked48, 24, 24), kBlue);
    EXPECT_EQ(At(asked48, 2, 24) >> 24, 0u) << "the frame of the 48-pixel image";
    const forms::Bitmap asked32 = plain.LoadFileIcon(file, 0, 32);
    EXPECT_EQ(At(asked32, 0, 16), kGreen);
    EXPECT_TRUE(asked32.Large().Empty()) << "at 96 DPI it shows at its own size";

    Win32FormsBackend wide{144};
    const forms::Bitmap icon = wide.LoadFileIcon(file, 0, 32);
    ASSERT_EQ(icon.Width(), 32);
    EXPECT_EQ(At(icon, 16, 16), kGreen);
    const forms::Bitmap large = icon.Large();
    ASSERT_EQ(large.Width(), 48);
    EXPECT_EQ(At(large, 24, 24), kBlue);

    // In a list at 144 DPI the row's picture is 68 by 48, the icon 15 pixels in.
    forms::Form form(wide, "frmLarge");
    form.SetClientSize(300, 200);
    auto& list = form.Add<forms::ListView>("lvwLarge");
    list.Move({0, 0, 300, 200});
    list.SetColumns({{"Icon", 100}});
    list.SetImages(IconPictureList({DrawIconFromFile(wide, 32, file, 0)}));
    list.AddItem({.texts = {""}, .image = 0});
    form.Show();
    const HWND view = Win32FormsBackend::WindowOf(list);
    ASSERT_NE(view, nullptr);
    const auto images =
        reinterpret_cast<HIMAGELIST>(::SendMessageW(view, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    int width = 0;
    int height = 0;
    ASSERT_NE(::ImageList_GetIconSize(images, &width, &height), FALSE);
    ASSERT_EQ(width, 68);
    ASSERT_EQ(height, 48);
    const std::vector<std::uint32_t> drawn =
        DrawnPixels(68, [&](HDC dc) { ::ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL); });
    ASSERT_EQ(drawn.size(), 68u * 68u);
    const auto pixel = [&](int x, int y) { return drawn[static_cast<std::size_t>(y * 68 + x)]; };
    EXPECT_EQ(pixel(15 + 24, 24), kBlue) << "the 48-pixel image, not the 32 stretched";
    EXPECT_EQ(pixel(15 + 2, 24) >> 24, 0u) << "its frame, where a stretched 32 would be green";
    EXPECT_EQ(pixel(15 + 4, 4), kBlue) << "drawn at its size: its frame ends where it should";
    EXPECT_EQ(pixel(10, 24) >> 24, 0u) << "nothing left of the icon's place";
}

TEST(DesktopPictures, OnWindows98TheyComeFromTheListViewsOwnImageListAndFarMovesStayWhole) {
    standin::Layout layout;
    for (int i = 0; i < 4; ++i) {
        layout.icons.push_back({"Icon " + std::to_string(i), 20 + 80 * i, 30, 3 - i});
    }
    auto made = standin::StandInDesktop::Create(layout);
    ASSERT_TRUE(made.has_value());
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    Win32Desktop::Seams seams;
    seams.version = [] { return VersionInfo{148, 4, 10, 2222, 1, " A "}; };
    seams.tempFolder = [folder = Narrow(temp)] { return folder; };
    Win32Desktop desktop(seams);
    sim::SimDialogs dialogs;
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();
    ASSERT_NE(icons.Table().ImageListHandle, 0U);
    const auto pictures =
        desktop.ReadIconPictures(icons.Table().ImageListHandle, RequestsOf(icons.Table()), 32);
    ASSERT_EQ(pictures.size(), 4U);
    // The stand-in's images 3, 2, 1, 0: yellow, blue, green, red.
    const std::uint32_t colours[] = {RGB(230, 190, 40), RGB(50, 90, 220), RGB(50, 160, 60),
                                     RGB(220, 50, 50)};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Middle(pictures[i]), colours[i]) << i;
        EXPECT_EQ(pictures[i][0] >> 24, 0U) << i << ": the round icon's corner is transparent";
    }

    // Beyond the 16 bits of the usual message, through the mapping, whole.
    icons.MoveDesktopIcon(1, 40000, 30);
    EXPECT_EQ(made->CurrentIcons()[1].x, 40000);
    icons.MoveDesktopIcon(1, 100, 30);
    EXPECT_EQ(made->CurrentIcons()[1].x, 100);
}

TEST(DesktopPictures, FromAnotherProcessTheyAreTheShellItemsWithTheSameCaption) {
    standin::Layout layout;
    for (const char* caption : {"Alpha", "Beta", "Twin", "Nowhere"}) {
        layout.icons.push_back({caption, 20, 30 + 80 * static_cast<int>(layout.icons.size()), 0});
    }
    const auto host = standin::StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    // The shell's items, with pictures in an image list of this process.
    const UniqueImageList shellList(::ImageList_Create(32, 32, ILC_COLOR32, 3, 0));
    for (const COLORREF colour : {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)}) {
        const UniqueScreenDc screen(::GetDC(nullptr));
        UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), 32, 32));
        {
            const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
            const HGDIOBJ old = ::SelectObject(dc.get(), bitmap.get());
            const RECT all{0, 0, 32, 32};
            const UniqueGdiObject brush(::CreateSolidBrush(colour));
            ::FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
            ::SelectObject(dc.get(), old);
        }
        ASSERT_GE(::ImageList_Add(shellList.get(), static_cast<HBITMAP>(bitmap.get()), nullptr), 0);
    }
    Win32Desktop::Seams seams;
    seams.desktopFolderIcons = [list = shellList.get()] {
        return std::vector<DesktopFolderIcon>{{"Beta", list, 1},
                                              {"Alpha", list, 0},
                                              {"Twin", list, 0},
                                              {"Twin", list, 2},
                                              {"Elsewhere", list, 2}};
    };
    Win32Desktop desktop(seams);
    sim::SimDialogs dialogs;
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();
    ASSERT_EQ(desktop.LastMechanism(), Win32Desktop::Mechanism::RemoteMemory);
    EXPECT_EQ(icons.Table().ImageListHandle, 0U);
    const auto pictures =
        desktop.ReadIconPictures(icons.Table().ImageListHandle, RequestsOf(icons.Table()), 32);
    ASSERT_EQ(pictures.size(), 4U);
    EXPECT_EQ(Middle(pictures[0]), RGB(200, 0, 0));
    EXPECT_EQ(Middle(pictures[1]), RGB(0, 200, 0));
    EXPECT_TRUE(pictures[2].empty()) << "two items of that caption, two pictures: neither";
    EXPECT_TRUE(pictures[3].empty()) << "no such item";
}

TEST(DesktopPictures, TheShellsOwnDesktopItemsComeWithCaptionsAndPictures) {
    // Wine's desktop holds at least its computer and its trash; the user's own files are
    // not the test's to make.
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    const std::vector<DesktopFolderIcon> items = ReadDesktopFolderIcons();
    ASSERT_FALSE(items.empty());
    for (const DesktopFolderIcon& item : items) {
        EXPECT_FALSE(item.caption.empty());
        EXPECT_NE(item.imageList, nullptr) << item.caption;
        EXPECT_FALSE(ImageListPixels(item.imageList, item.imageIndex, 32).empty()) << item.caption;
    }
    ::CoUninitialize();
}

TEST(ShowHideList, HidingAnIconOfAnotherProcessFromItsRowAndBringingItBackExactly) {
    standin::Layout layout;
    layout.icons = {{"Readme.txt", 21, 2, 1}, {"Budget 2024.xlsx", 96, 77, 4}};
    const auto host = standin::StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    Win32Desktop desktop;
    sim::SimDialogs dialogs;
    DesktopIcons icons(desktop, dialogs);
    Win32FormsBackend backend;
    forms::Form form(backend, "Form1");
    form.SetClientSize(400, 260);
    ShowHideIconsPage page(form, icons, desktop);
    icons.ReadDesktopIcons();
    page.FillShowHideList();
    form.Show();
    page.Box().SetVisible(true);
    page.PageShown();
    backend.DoEvents();
    const HWND list = Win32FormsBackend::WindowOf(page.ListView1);
    ASSERT_NE(list, nullptr);
    const auto setCheck = [&](int row, bool on) {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&state));
        backend.DoEvents();
    };
    const std::int32_t twips = desktop.ReadScreenSize().width * 1440 / desktop.LogicalDpiX();

    setCheck(1, true);
    standin::Layout shown = host->Dump();
    ASSERT_EQ(shown.icons.size(), 2U);
    EXPECT_EQ(shown.icons[1].x, 96 + twips);
    EXPECT_EQ(shown.icons[1].y, 77);
    EXPECT_EQ(shown.icons[0].x, 21) << "the other icon stays";
    EXPECT_TRUE(page.ListView1.Item(1).checked);
    EXPECT_TRUE(page.ListView1.Item(1).ghosted);

    setCheck(1, false);
    shown = host->Dump();
    EXPECT_EQ(shown.icons[1].x, 96);
    EXPECT_EQ(shown.icons[1].y, 77);

    // The header hides both, and brings both back; beyond 16 bits a move stays whole.
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT column{};
    ::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&column));
    const LPARAM at =
        MAKELPARAM((column.left + column.right) / 2, (column.top + column.bottom) / 2);
    for (const std::int32_t push : {twips, 0}) {
        ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(header, WM_LBUTTONUP, 0, at);
        backend.DoEvents();
        shown = host->Dump();
        EXPECT_EQ(shown.icons[0].x, 21 + push);
        EXPECT_EQ(shown.icons[1].x, 96 + push);
    }
    icons.ReadDesktopIcons();
    icons.MoveDesktopIcon(0, 40000, 2);
    EXPECT_EQ(host->Dump().icons[0].x, 40000);
}

}  // namespace
}  // namespace pellmark::win32
