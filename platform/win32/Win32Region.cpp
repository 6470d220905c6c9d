#include "platform/win32/Win32Region.h"

#include <algorithm>
#include <climits>

namespace pellmark::win32 {

namespace {

// Windows 98 refuses ExtCreateRegion for a few thousand rectangles, so larger outlines
// are made in parts and joined.
constexpr std::size_t kRectanglesPerPart = 2000;

HRGN AsRegion(const UniqueGdiObject& region) {
    return static_cast<HRGN>(region.get());
}

UniqueGdiObject EmptyRegion() {
    return UniqueGdiObject(::CreateRectRgn(0, 0, 0, 0));
}

UniqueGdiObject RegionFromPart(std::span<const platform::PixelRun> runs) {
    std::vector<std::byte> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const platform::PixelRun& run = runs[i];
        rects[i] = {run.left, run.top, run.right, run.top + 1};
        bounds.left = std::min(bounds.left, rects[i].left);
        bounds.top = std::min(bounds.top, rects[i].top);
        bounds.right = std::max(bounds.right, rects[i].right);
        bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
    }
    header->rcBound = bounds;
    return UniqueGdiObject(::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                             reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace

std::vector<std::uint32_t> ReadBitmapPixels(HBITMAP picture, int& width, int& height) {
    width = 0;
    height = 0;
    BITMAP facts{};
    // A BITMAP holds no text: the ANSI call serves every Windows.
    if (::GetObjectA(picture, sizeof facts, &facts) == 0 || facts.bmWidth <= 0 ||
        facts.bmHeight == 0) {
        return {};
    }
    const int w = facts.bmWidth;
    const int h = facts.bmHeight < 0 ? -facts.bmHeight : facts.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    const UniqueScreenDc screen(::GetDC(nullptr));
    if (::GetDIBits(screen.get(), picture, 0, static_cast<UINT>(h), pixels.data(), &info,
                    DIB_RGB_COLORS) != h) {
        return {};
    }
    // Blue is in the low byte of a DIB pixel, red in the low byte of a COLORREF.
    for (std::uint32_t& pixel : pixels) {
        pixel = ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
    }
    width = w;
    height = h;
    return pixels;
}

UniqueGdiObject RegionFromRuns(std::span<const platform::PixelRun> runs) {
    if (runs.empty()) {
        return EmptyRegion();
    }
    UniqueGdiObject region = RegionFromPart(runs.first(std::min(runs.size(), kRectanglesPerPart)));
    for (std::size_t start = kRectanglesPerPart; region && start < runs.size();
         start += kRectanglesPerPart) {
        const UniqueGdiObject part =
            RegionFromPart(runs.subspan(start, std::min(kRectanglesPerPart, runs.size() - start)));
        if (!part) {
            return {};
        }
        ::CombineRgn(AsRegion(region), AsRegion(region), AsRegion(part), RGN_OR);
    }
    return region;
}

UniqueGdiObject RegionFromPicture(HBITMAP picture, std::int32_t& transparentColour) {
    int width = 0;
    int height = 0;
    const std::vector<std::uint32_t> pixels = ReadBitmapPixels(picture, width, height);
    const auto runs = platform::FindOpaqueRuns({width, height, pixels}, transparentColour);
    return RegionFromRuns(runs);
}

UniqueGdiObject RegionFromPictureByPixel(HDC picture, int width, int height,
                                         std::int32_t& transparentColour) {
    if (transparentColour < 1) {
        transparentColour = static_cast<std::int32_t>(::GetPixel(picture, 0, 0));
    }
    const auto transparent = static_cast<COLORREF>(transparentColour);
    UniqueGdiObject result = EmptyRegion();
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && ::GetPixel(picture, x, y) == transparent) {
                ++x;
            }
            if (x < width) {
                const int start = x;
                while (x < width && ::GetPixel(picture, x, y) != transparent) {
                    ++x;
                }
                const UniqueGdiObject run(::CreateRectRgn(start, y, x, y + 1));
                ::CombineRgn(AsRegion(result), AsRegion(result), AsRegion(run), RGN_OR);
            }
        }
    }
    return result;
}

void DragWindow(HWND window) {
    ::ReleaseCapture();
    // No text crosses, so the ANSI call serves every Windows.
    ::SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace pellmark::win32
