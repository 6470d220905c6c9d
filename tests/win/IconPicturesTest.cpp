// The icons' pictures on real Windows: icons from files, and the desktop icons' own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/IconPictures.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Forms.h"
#include "tests/common/IconFileBytes.h"

namespace pellmark::win32 {
namespace {

std::string WriteTempFile(const wchar_t* name, const std::vector<std::uint8_t>& bytes) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr) != FALSE);
    return Narrow(path);
}

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
    const std::string file = WriteTempFile(L"pellmark-\u03A9-icon.ico",
                                           testcases::IconFileBytes(forms::Bitmap(32, 32, pixels)));
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

}  // namespace
}  // namespace pellmark::win32
