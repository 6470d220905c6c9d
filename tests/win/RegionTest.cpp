// Window outlines on real GDI: the region made from all runs at once equals, pixel for
// pixel, the one built a pixel and a run at a time; and dragging by the body.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "platform/win32/Win32Region.h"

namespace pellmark::win32 {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A 32-bit DIB section holding the COLORREF pixels, top row first.
UniqueGdiObject MakePicture(int width, int height, const std::vector<COLORREF>& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        out[i] = (GetRValue(pixels[i]) << 16) | (GetGValue(pixels[i]) << 8) | GetBValue(pixels[i]);
    }
    return bitmap;
}

// Rows drawn with '.' red, '#' green and 'k' black.
std::vector<COLORREF> Pixels(const std::vector<std::string>& rows) {
    std::vector<COLORREF> pixels;
    for (const std::string& row : rows) {
        for (char c : row) {
            pixels.push_back(c == '.' ? kRed : c == 'k' ? kBlack : kGreen);
        }
    }
    return pixels;
}

struct Outlines {
    UniqueGdiObject byPixel;
    UniqueGdiObject fromRuns;
    std::int32_t byPixelColour;
    std::int32_t fromRunsColour;
};

// Both ways over the same picture, each with its own copy of the transparent colour.
Outlines BothWays(int width, int height, const std::vector<COLORREF>& pixels,
                  std::int32_t transparent) {
    Outlines outlines{{}, {}, transparent, transparent};
    const UniqueGdiObject picture = MakePicture(width, height, pixels);
    {
        const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ old = ::SelectObject(dc.get(), picture.get());
        outlines.byPixel =
            RegionFromPictureByPixel(dc.get(), width, height, outlines.byPixelColour);
        ::SelectObject(dc.get(), old);
    }
    outlines.fromRuns =
        RegionFromPicture(static_cast<HBITMAP>(picture.get()), outlines.fromRunsColour);
    return outlines;
}

HRGN Rgn(const UniqueGdiObject& region) {
    return static_cast<HRGN>(region.get());
}

// The regions are equal, and each holds exactly the pixels that differ from `transparent`.
void ExpectSameOutline(const Outlines& outlines, int width, int height,
                       const std::vector<COLORREF>& pixels, COLORREF transparent) {
    ASSERT_TRUE(outlines.byPixel);
    ASSERT_TRUE(outlines.fromRuns);
    EXPECT_TRUE(::EqualRgn(Rgn(outlines.byPixel), Rgn(outlines.fromRuns)));
    EXPECT_EQ(outlines.byPixelColour, outlines.fromRunsColour);
    for (int y = -1; y <= height; ++y) {
        for (int x = -1; x <= width; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < width && y < height;
            const bool opaque =
                inside && pixels[static_cast<std::size_t>(y * width + x)] != transparent;
            ASSERT_EQ(::PtInRegion(Rgn(outlines.fromRuns), x, y) != 0, opaque) << x << "," << y;
            ASSERT_EQ(::PtInRegion(Rgn(outlines.byPixel), x, y) != 0, opaque) << x << "," << y;
        }
    }
}

TEST(RegionTest, BothWaysGiveTheSameRegionOnAwkwardPictures) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::int32_t transparent;
        COLORREF used;  // the colour that counts as transparent
    };
    const std::vector<Case> cases = {
        {"all transparent", {"....", "....", "...."}, kRed, kRed},
        {"holes", {"####", "#..#", "#.##", "####"}, kRed, kRed},
        {"runs reaching the right edge", {"..##", "####", "#..#"}, kRed, kRed},
        {"black pixels are opaque", {"kk..", ".kk."}, kRed, kRed},
        {"0: the top-left colour, green", {"#.#k", "kk##", "...#"}, 0, kGreen},
        {"below 0: the top-left colour, black", {"k#", "#k"}, -1, kBlack},
        {"single opaque pixel", {"#"}, kRed, kRed},
        {"single pixel, no colour chosen", {"#"}, 0, kGreen},
        {"one transparent pixel", {"."}, kRed, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int width = static_cast<int>(c.rows[0].size());
        const int height = static_cast<int>(c.rows.size());
        const std::vector<COLORREF> pixels = Pixels(c.rows);
        const Outlines outlines = BothWays(width, height, pixels, c.transparent);
        EXPECT_EQ(outlines.fromRunsColour, static_cast<std::int32_t>(c.used));
        ExpectSameOutline(outlines, width, height, pixels, c.used);
    }
}

TEST(RegionTest, AnAllTransparentPictureGivesAnEmptyRegion) {
    const Outlines outlines = BothWays(3, 2, std::vector<COLORREF>(6, kRed), kRed);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(Rgn(outlines.fromRuns), &box), NULLREGION);
    EXPECT_EQ(::GetRgnBox(Rgn(outlines.byPixel), &box), NULLREGION);
}

// Noisy pictures with thousands of runs: the region is made in parts and joined.
TEST(RegionTest, BothWaysAgreeOnLargeNoisyPictures) {
    std::mt19937 random(2024);
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{97, 61}, {300, 60}}) {
        std::vector<COLORREF> pixels(static_cast<std::size_t>(width * height));
        for (COLORREF& pixel : pixels) {
            pixel = random() % 2 == 0 ? kRed : RGB(0, 0, random() % 3);
        }
        const Outlines outlines = BothWays(width, height, pixels, kRed);
        ExpectSameOutline(outlines, width, height, pixels, kRed);
    }
}

TEST(RegionTest, PicturesThatCannotBeReadGiveAnEmptyRegion) {
    std::int32_t transparent = kRed;
    const UniqueGdiObject region = RegionFromPicture(nullptr, transparent);
    ASSERT_TRUE(region);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(Rgn(region), &box), NULLREGION);
}

// A window that records the non-client button-down instead of starting the move loop.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCLBUTTONDOWN) {
        ::SetPropW(window, L"Pellmark.hit", reinterpret_cast<HANDLE>(wParam + 1));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(RegionTest, DragWindowReleasesTheMouseAndPressesTheCaption) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PellmarkDragTest";
    ASSERT_NE(::RegisterClassExW(&windowClass), 0);
    const UniqueWindow window(::CreateWindowExW(0, L"PellmarkDragTest", L"drag", WS_POPUP, 10, 10,
                                                100, 80, nullptr, nullptr, windowClass.hInstance,
                                                nullptr));
    ASSERT_TRUE(window);
    ::SetCapture(window.get());
    DragWindow(window.get());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(reinterpret_cast<WPARAM>(::GetPropW(window.get(), L"Pellmark.hit")), HTCAPTION + 1);
    ::RemovePropW(window.get(), L"Pellmark.hit");
}

}  // namespace
}  // namespace pellmark::win32
