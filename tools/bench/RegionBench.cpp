// Prints how long shaping the main window from its skin takes: one GetPixel per pixel
// and one CombineRgn per run, against the pixels read once and one region made from all
// runs. Both regions are compared, so a fast wrong answer cannot pass unnoticed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "chrome/res/ChromePictures.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Region.h"
#include "tools/bench/QuickMode.h"

namespace {

using pellmark::win32::UniqueGdiObject;
using pellmark::win32::UniqueMemoryDc;

// The best of several runs, in milliseconds: the least disturbed by the rest of the machine.
double BestMilliseconds(int runs, const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        work();
        ::QueryPerformanceCounter(&end);
        best = std::min(best, static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                                  static_cast<double>(frequency.QuadPart));
    }
    return best;
}

}  // namespace

int main() {
    const int runs = pellmark::bench::Rounds(5);
    std::printf("shaping the main window from its skin (best of %d runs)\n", runs);
    for (int dpi : {96, 144}) {
        const int id = pellmark::chrome::PictureForDpi(PELLMARK_PICTURE_MAIN_SKIN, dpi);
        const UniqueGdiObject skin = pellmark::win32::DibSectionOf(
            pellmark::win32::Win32FormsBackend{96}.LoadResourcePicture(
                pellmark::chrome::PictureName(id)));
        BITMAP facts{};
        if (!skin || ::GetObjectW(skin.get(), sizeof facts, &facts) == 0) {
            std::printf("  the %d-DPI skin is missing\n", dpi);
            return 1;
        }
        UniqueGdiObject slow;
        UniqueGdiObject fast;
        const double byPixel = BestMilliseconds(runs, [&] {
            const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
            const HGDIOBJ old = ::SelectObject(dc.get(), skin.get());
            std::int32_t red = RGB(255, 0, 0);
            slow = pellmark::win32::RegionFromPictureByPixel(dc.get(), facts.bmWidth,
                                                             facts.bmHeight, red);
            ::SelectObject(dc.get(), old);
        });
        const double readOnce = BestMilliseconds(runs, [&] {
            std::int32_t red = RGB(255, 0, 0);
            fast = pellmark::win32::RegionFromPicture(static_cast<HBITMAP>(skin.get()), red);
        });
        const bool equal = ::EqualRgn(static_cast<HRGN>(slow.get()), static_cast<HRGN>(fast.get()));
        std::printf(
            "  %3d DPI, %d x %d: pixel by pixel %8.2f ms   read once %6.2f ms   "
            "%5.0f times faster   regions equal: %s\n",
            dpi, static_cast<int>(facts.bmWidth), static_cast<int>(facts.bmHeight), byPixel,
            readOnce, byPixel / readOnce, equal ? "yes" : "NO");
        if (!equal) {
            return 1;
        }
    }
    return 0;
}
