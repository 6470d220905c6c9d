#include "platform/win32/IconPixels.h"

#include <algorithm>

#include "platform/win32/Handles.h"

namespace pellmark::win32 {

namespace {
// A top-down 32-bit DIB filled with one colour, selected into a memory DC.
class Surface {
  public:
    Surface(HDC screen, int size, std::uint32_t fill) : size_(size) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, size, -size, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc_.reset(::CreateCompatibleDC(screen));
        if (!bitmap_ || !dc_ || bits == nullptr) {
            return;
        }
        bits_ = static_cast<std::uint32_t*>(bits);
        std::fill(bits_, bits_ + static_cast<std::size_t>(size) * size, fill);
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~Surface() {
        if (old_ != nullptr) {
            ::SelectObject(dc_.get(), old_);
        }
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    [[nodiscard]] HDC Dc() const noexcept { return bits_ != nullptr ? dc_.get() : nullptr; }
    [[nodiscard]] std::uint32_t At(std::size_t i) const noexcept { return bits_[i] & 0xFFFFFF; }

  private:
    int size_;
    UniqueGdiObject bitmap_;
    UniqueMemoryDc dc_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};
}  // namespace

std::vector<std::uint32_t> DrawnPixels(int size, const std::function<void(HDC)>& draw) {
    if (size <= 0 || size > 256) {
        return {};
    }
    const UniqueScreenDc screen(::GetDC(nullptr));
    Surface black(screen.get(), size, 0x000000);
    Surface white(screen.get(), size, 0xFFFFFF);
    if (black.Dc() == nullptr || white.Dc() == nullptr) {
        return {};
    }
    draw(black.Dc());
    draw(white.Dc());
    ::GdiFlush();

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    bool drawn = false;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        // DIB pixels are blue, green, red; on black a pixel is colour x alpha, on white
        // that plus (1 - alpha) x 255 in every channel.
        const std::uint32_t onBlack = black.At(i);
        const std::uint32_t onWhite = white.At(i);
        std::uint32_t alpha = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int b = static_cast<int>((onBlack >> shift) & 0xFF);
            const int w = static_cast<int>((onWhite >> shift) & 0xFF);
            alpha = std::max(alpha, static_cast<std::uint32_t>(255 - std::clamp(w - b, 0, 255)));
        }
        std::uint32_t colour = 0;
        if (alpha != 0) {
            drawn = true;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t b = (onBlack >> shift) & 0xFF;
                const std::uint32_t channel = std::min<std::uint32_t>(255, b * 255 / alpha);
                // Blue, green, red in the DIB; red, green, blue in a COLORREF.
                colour |= channel << (16 - shift);
            }
        }
        pixels[i] = colour | alpha << 24;
    }
    if (!drawn) {
        return {};
    }
    return pixels;
}

std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
    if (icon == nullptr) {
        return {};
    }
    return DrawnPixels(
        size, [&](HDC dc) { ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
}

std::vector<std::uint32_t> ImageListPixels(HIMAGELIST list, int index, int size) {
    if (list == nullptr || index < 0 || index >= ::ImageList_GetImageCount(list)) {
        return {};
    }
    int width = 0;
    int height = 0;
    const bool sized = ::ImageList_GetIconSize(list, &width, &height) != FALSE;
    if (size == 0) {
        // The list's own size, which a screen of more dots per inch makes larger.
        if (!sized || width != height || width <= 0) {
            return {};
        }
        size = width;
    }
    if (sized && width == size && height == size) {
        return DrawnPixels(size,
                           [&](HDC dc) { ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL); });
    }
    // Another size (a system list of 48-pixel icons): the icon stretched, as DrawIconEx does.
    const UniqueIcon icon(::ImageList_GetIcon(list, index, ILD_NORMAL));
    return IconPixels(icon.get(), size);
}

}  // namespace pellmark::win32
