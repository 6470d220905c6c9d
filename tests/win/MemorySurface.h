// A 32-bit surface in memory for tests that draw, or have a window print itself, and read
// the pixels back.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "platform/win32/Handles.h"

namespace pellmark::win32 {

class MemorySurface {
  public:
    MemorySurface(int width, int height) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~MemorySurface() { ::SelectObject(dc_.get(), old_); }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    [[nodiscard]] HDC Dc() const { return dc_.get(); }
    // Each pixel: x, y and the colour expected there.
    void Expect(std::initializer_list<std::tuple<int, int, COLORREF>> pixels) const {
        for (const auto& [x, y, colour] : pixels) {
            EXPECT_EQ(::GetPixel(dc_.get(), x, y), colour) << "at " << x << "," << y;
        }
    }
    // The pixels of an area that have the colour.
    [[nodiscard]] int Count(const RECT& area, COLORREF colour) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                count += ::GetPixel(dc_.get(), x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

  private:
    UniqueGdiObject bitmap_;  // freed after the DC that holds it
    UniqueMemoryDc dc_{::CreateCompatibleDC(nullptr)};
    HGDIOBJ old_ = nullptr;
};

}  // namespace pellmark::win32
