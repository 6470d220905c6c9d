// An icon file (.ico) holding 32-bit pictures, for tests that read icons from files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms/Canvas.h"

namespace pellmark::testcases {

// The pictures' opacity goes both into their alpha channel and into the mask, so systems
// that draw by the mask and those that blend agree. Each picture is one image of the icon.
inline std::vector<std::uint8_t> IconFileBytes(const std::vector<forms::Bitmap>& pictures) {
    std::vector<std::uint8_t> bytes;
    const auto put16 = [&](std::uint32_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    const auto put32 = [&](std::uint32_t value) {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    const auto imageBytes = [](const forms::Bitmap& picture) {
        const auto width = static_cast<std::uint32_t>(picture.Width());
        const auto height = static_cast<std::uint32_t>(picture.Height());
        return 40 + width * height * 4 + (width + 31) / 32 * 4 * height;
    };
    put16(0);  // reserved, type 1 (icon), the number of images
    put16(1);
    put16(static_cast<std::uint32_t>(pictures.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    for (const forms::Bitmap& picture : pictures) {
        bytes.push_back(static_cast<std::uint8_t>(picture.Width()));
        bytes.push_back(static_cast<std::uint8_t>(picture.Height()));
        bytes.push_back(0);  // no palette
        bytes.push_back(0);
        put16(1);   // planes
        put16(32);  // bits per pixel
        put32(imageBytes(picture));
        put32(offset);
        offset += imageBytes(picture);
    }
    for (const forms::Bitmap& picture : pictures) {
        const auto width = static_cast<std::uint32_t>(picture.Width());
        const auto height = static_cast<std::uint32_t>(picture.Height());
        const std::uint32_t maskRow = (width + 31) / 32 * 4;
        // BITMAPINFOHEADER: the height counts the colours and the mask.
        put32(40);
        put32(width);
        put32(height * 2);
        put16(1);
        put16(32);
        for (int i = 0; i < 6; ++i) {
            put32(0);
        }
        for (std::uint32_t row = height; row-- > 0;) {  // bottom-up
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint32_t pixel = picture.Pixels()[row * width + x];
                bytes.push_back(static_cast<std::uint8_t>(pixel >> 16));  // blue
                bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));   // green
                bytes.push_back(static_cast<std::uint8_t>(pixel));        // red
                bytes.push_back(static_cast<std::uint8_t>(pixel >> 24));  // alpha
            }
        }
        for (std::uint32_t row = height; row-- > 0;) {
            std::vector<std::uint8_t> mask(maskRow, 0);
            for (std::uint32_t x = 0; x < width; ++x) {
                if ((picture.Pixels()[row * width + x] >> 24) == 0) {
                    mask[x / 8] = static_cast<std::uint8_t>(mask[x / 8] | (0x80 >> (x % 8)));
                }
            }
            bytes.insert(bytes.end(), mask.begin(), mask.end());
        }
    }
    return bytes;
}

inline std::vector<std::uint8_t> IconFileBytes(const forms::Bitmap& picture) {
    return IconFileBytes(std::vector<forms::Bitmap>{picture});
}

}  // namespace pellmark::testcases
