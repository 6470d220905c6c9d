// The window pictures and the version resource, as the built programs carry them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "chrome/AboutBox.h"
#include "chrome/MainNavigation.h"
#include "chrome/res/ChromePictures.h"
#include "platform/forms/Form.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Region.h"
#include "platform/win32/Win32VersionInfo.h"
#include "settings/AppInfo.h"
#include "tests/win/ChildProcess.h"

namespace pellmark::win32 {
namespace {

// The caption and the taskbar show the icon's own small image, not the large one shrunk:
// both are the shared icons of the resource at their sizes.
TEST(ChromeTest, AFormWindowCarriesTheProgramIconInBothSizes) {
    Win32FormsBackend backend;
    forms::Form form(backend, "IconTest");
    form.Show();
    const HWND window = Win32FormsBackend::WindowOf(form);
    ASSERT_NE(window, nullptr);
    const auto programIcon = [](int widthMetric, int heightMetric) {
        return reinterpret_cast<LONG_PTR>(::LoadImageA(
            ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
            ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric), LR_SHARED));
    };
    const LONG_PTR small = programIcon(SM_CXSMICON, SM_CYSMICON);
    ASSERT_NE(small, 0);
    EXPECT_EQ(::GetClassLongPtrW(window, GCLP_HICONSM), small);
    EXPECT_EQ(::GetClassLongPtrW(window, GCLP_HICON), programIcon(SM_CXICON, SM_CYICON));
    form.Unload();
}

TEST(ChromeTest, VersionResourceGivesNumbersAndTexts) {
    const auto own = ReadVersionResource();
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(chrome::VersionText(own->major, own->minor, own->revision), "1.02.0007");
    EXPECT_EQ(own->comments, "Rolls through its box.");
    EXPECT_EQ(own->legalCopyright, "© Ωmega 日本");

    // The program's resource says what the program says of itself.
    const HMODULE program =
        ::LoadLibraryExW(Widen(testcases::BesideThisProgram("pellmark.exe")).c_str(), nullptr,
                         LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const auto version = ReadVersionResource(program);
    ::FreeLibrary(program);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, kVersionMajor);
    EXPECT_EQ(version->minor, kVersionMinor);
    EXPECT_EQ(version->revision, kVersionRevision);
    EXPECT_EQ(version->legalCopyright,
              "Copyright (C) 2026 the Pellmark developers. Free to use and to pass on.");
    EXPECT_EQ(
        version->comments.rfind("Pellmark remembers where the icons on your desktop stand", 0), 0u);
}

UniqueGdiObject LoadPicture(int id) {
    return DibSectionOf(Win32FormsBackend{96}.LoadResourcePicture(chrome::PictureName(id)));
}

SIZE PictureSize(const UniqueGdiObject& picture) {
    BITMAP facts{};
    ::GetObjectW(picture.get(), sizeof facts, &facts);
    return {facts.bmWidth, facts.bmHeight};
}

TEST(ChromeTest, EveryPictureIsBuiltInForBothDpis) {
    struct Case {
        int id;
        int width;
        int height;
    };
    std::vector<Case> cases = {
        {PELLMARK_PICTURE_MAIN_SKIN, 468, 332},      {PELLMARK_PICTURE_SIDE_BUTTON_UP, 40, 40},
        {PELLMARK_PICTURE_SIDE_BUTTON_DOWN, 40, 40}, {PELLMARK_PICTURE_MENU_BUTTON, 30, 26},
        {PELLMARK_PICTURE_WEB_IMAGE, 132, 18},       {PELLMARK_PICTURE_ABOUT_LOGO, 64, 64},
    };
    for (int section : {1, 2}) {
        for (int tab = 0; tab < 3; ++tab) {
            // The strip is as wide as the page it sits on.
            cases.push_back({chrome::TabStripPicture(section, tab), chrome::kPageArea.width, 30});
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const UniqueGdiObject small = LoadPicture(chrome::PictureForDpi(c.id, 96));
        const UniqueGdiObject large = LoadPicture(chrome::PictureForDpi(c.id, 144));
        ASSERT_TRUE(small);
        ASSERT_TRUE(large);
        EXPECT_EQ(PictureSize(small).cx, c.width);
        EXPECT_EQ(PictureSize(small).cy, c.height);
        EXPECT_EQ(PictureSize(large).cx, (c.width * 3 + 1) / 2);
        EXPECT_EQ(PictureSize(large).cy, (c.height * 3 + 1) / 2);
    }
}

TEST(ChromeTest, MainSkinIsShapedAroundItsPageAndFitsASmallScreen) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const UniqueGdiObject skin =
            LoadPicture(chrome::PictureForDpi(PELLMARK_PICTURE_MAIN_SKIN, dpi));
        ASSERT_TRUE(skin);
        const SIZE size = PictureSize(skin);
        // 1024 x 768 at 96 DPI, less a taskbar.
        EXPECT_LE(size.cx * 96 / dpi, 1024);
        EXPECT_LE(size.cy * 96 / dpi, 768 - 48);

        std::int32_t red = RGB(255, 0, 0);
        const UniqueGdiObject fast = RegionFromPicture(static_cast<HBITMAP>(skin.get()), red);
        UniqueGdiObject slow;
        {
            const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
            const HGDIOBJ old = ::SelectObject(dc.get(), skin.get());
            std::int32_t same = RGB(255, 0, 0);
            slow = RegionFromPictureByPixel(dc.get(), size.cx, size.cy, same);
            ::SelectObject(dc.get(), old);
        }
        const HRGN region = static_cast<HRGN>(fast.get());
        EXPECT_TRUE(::EqualRgn(region, static_cast<HRGN>(slow.get())));
        // Rounded corners are cut away; the page area and the edges' middles are inside.
        EXPECT_FALSE(::PtInRegion(region, 0, 0));
        EXPECT_FALSE(::PtInRegion(region, size.cx - 1, size.cy - 1));
        EXPECT_TRUE(::PtInRegion(region, size.cx / 2, 0));
        EXPECT_TRUE(::PtInRegion(region, 0, size.cy / 2));
        const auto& page = chrome::kPageArea;
        RECT pageRect{page.left * dpi / 96, page.top * dpi / 96,
                      (page.left + page.width) * dpi / 96, (page.top + page.height) * dpi / 96};
        EXPECT_TRUE(::RectInRegion(region, &pageRect));
        const UniqueGdiObject pageRegion(::CreateRectRgnIndirect(&pageRect));
        const UniqueGdiObject outside(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::CombineRgn(static_cast<HRGN>(outside.get()),
                               static_cast<HRGN>(pageRegion.get()), region, RGN_DIFF),
                  NULLREGION);
    }
}

}  // namespace
}  // namespace pellmark::win32
