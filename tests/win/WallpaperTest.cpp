// The wallpaper on a real system: pictures written here by the imaging component become
// the wallpaper through the conversion, the style is read back from the registry, pictures
// that cannot be loaded change nothing, and the picker browses real folders.
#include <windows.h>

#include <psapi.h>
#include <wincodec.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "desktop/Wallpaper.h"
#include "desktop/frmSelectWallpaper.h"
#include "platform/RunTimeError.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ImagingGuids.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Wallpaper.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark::win32 {
namespace {

// The whole file; empty when it cannot be read.
std::string ReadAll(const std::string& path) {
    return testcases::ReadFileBytes(path).value_or("");
}
void WriteAll(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(testcases::WriteFileBytes(path, bytes)) << path;
}

// A picture of `width` by `height` in stripes of red, green and blue, encoded as `format`.
void Encode(const std::string& path, const GUID& format, UINT width, UINT height) {
    ComPtr<IWICImagingFactory> factory;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             __uuidof(IWICImagingFactory), factory.put_void())));
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    ASSERT_TRUE(SUCCEEDED(factory->CreateStream(stream.put())));
    ASSERT_TRUE(SUCCEEDED(stream->InitializeFromFilename(Widen(path).c_str(), GENERIC_WRITE)));
    ASSERT_TRUE(SUCCEEDED(factory->CreateEncoder(format, nullptr, encoder.put())));
    ASSERT_TRUE(SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)));
    ASSERT_TRUE(SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())));
    ASSERT_TRUE(SUCCEEDED(frame->Initialize(options.get())));
    ASSERT_TRUE(SUCCEEDED(frame->SetSize(width, height)));
    WICPixelFormatGUID pixels = kBgr24;
    ASSERT_TRUE(SUCCEEDED(frame->SetPixelFormat(&pixels)));
    const UINT stride = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * height);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            BYTE* pixel = &rows[y * stride + x * 3];
            pixel[2 - (x * 3 / width)] = 255;  // red, green, blue from left to right
        }
    }
    ASSERT_TRUE(
        SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(rows.size()), rows.data())));
    ASSERT_TRUE(SUCCEEDED(frame->Commit()));
    ASSERT_TRUE(SUCCEEDED(encoder->Commit()));
}

// A placeable metafile of 200 by 100 pixels at 96 DPI whose left half is a red rectangle,
// recorded by the system's own metafile drawing.
void WriteMetafile(const std::string& path) {
    HDC recorder = ::CreateMetaFileW(nullptr);
    ASSERT_NE(recorder, nullptr);
    ::SetWindowOrgEx(recorder, 0, 0, nullptr);
    ::SetWindowExtEx(recorder, 200, 100, nullptr);
    UniqueGdiObject red(::CreateSolidBrush(RGB(255, 0, 0)));
    ::SelectObject(recorder, red.get());
    ::SelectObject(recorder, ::GetStockObject(NULL_PEN));
    ::Rectangle(recorder, 0, 0, 101, 101);
    HMETAFILE metafile = ::CloseMetaFile(recorder);
    ASSERT_NE(metafile, nullptr);
    std::string records(::GetMetaFileBitsEx(metafile, 0, nullptr), '\0');
    ::GetMetaFileBitsEx(metafile, static_cast<UINT>(records.size()), records.data());
    ::DeleteMetaFile(metafile);
    const std::uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 100, 96, 0, 0};
    std::uint16_t sum = 0;
    for (const std::uint16_t word : words) {
        sum ^= word;
    }
    std::string header(reinterpret_cast<const char*>(words), sizeof words);
    header.append(reinterpret_cast<const char*>(&sum), 2);
    WriteAll(path, header + records);
}

// The size of the bitmap file Windows reads, or 0 by 0 when it reads none.
SIZE BitmapFileSize(const std::string& path) {
    UniqueGdiObject bitmap(::LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

// A PNG of 16,384 by 16,384 pixels in a few kilobytes: its left half red, its right blue.
std::string HugePng() {
    const auto bigEndian = [](std::size_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    };
    const auto chunk = [&](const std::string& body) {
        const uLong sum =
            crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return bigEndian(body.size() - 4) + body + bigEndian(sum);
    };
    constexpr std::size_t kSide = 16384;
    std::string row(1 + kSide / 8, '\0');  // no filter, then one bit a pixel
    std::fill(row.begin() + 1 + kSide / 16, row.end(), '\xFF');
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    std::string packed;
    char out[65536];
    for (std::size_t y = 0; y <= kSide; ++y) {
        z.next_in = reinterpret_cast<Bytef*>(row.data());
        z.avail_in = y < kSide ? static_cast<uInt>(row.size()) : 0;
        do {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            deflate(&z, y < kSide ? Z_NO_FLUSH : Z_FINISH);
            packed.append(out, sizeof out - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return "\x89PNG\r\n\x1a\n" +
           chunk("IHDR" + bigEndian(kSide) + bigEndian(kSide) + std::string("\1\3\0\0\0", 5)) +
           chunk(std::string("PLTE\xFF\0\0\0\0\xFF", 10)) + chunk("IDAT" + packed) + chunk("IEND");
}

std::string StoredText(Win32Registry& registry, const char* name) {
    RegistryValue value;
    static_cast<void>(GetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S",
                                       std::string("(absent)"), value));
    return std::get<std::string>(value);
}

class WallpaperTest : public ::testing::Test {
  protected:
    WallpaperTest() {
        static_cast<void>(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        Encode(scratch.File("photo.jpg"), kJpegFormat, 90, 60);
        Encode(scratch.File("drawing.png"), kPngFormat, 40, 30);
    }
    ~WallpaperTest() override { ::CoUninitialize(); }

    const testcases::ScratchFolder scratch{"pm wall \u65e5\u672c "};
    Win32FormsBackend forms;
    Win32Files files;
    Win32Wallpaper system;
    Win32Registry registry;
    WallpaperServices services{forms, files, system, scratch.Path()};
};

TEST_F(WallpaperTest, JpegAndPngBecomeTheWallpaperThroughTheConversion) {
    const std::string converted = scratch.File(kConvertedWallpaperName);
    struct Case {
        const char* name;
        int style;
        LONG width;
        LONG height;
        const char* tile;
        const char* stored;
    };
    const Case cases[] = {{"photo.jpg", 2, 90, 60, "0", "2"},
                          {"sketch.wmf", 0, 200, 100, "0", "0"},
                          {"drawing.png", 1, 40, 30, "1", "0"}};
    WriteMetafile(scratch.File("sketch.wmf"));
    // The metafile drawn by the system: its left half red, the rest white.
    const forms::Bitmap sketch = forms.LoadPicture(scratch.File("sketch.wmf"));
    ASSERT_EQ(sketch.Width(), 200);
    ASSERT_EQ(sketch.Height(), 100);
    EXPECT_EQ(sketch.ColourAt(20, 50), 0x0000FFu);
    EXPECT_EQ(sketch.ColourAt(180, 50), 0xFFFFFFu);
    // Cut and scaled while it decodes: the right half of the stripes (green, then blue),
    // at half its size.
    const forms::Bitmap half = forms.LoadPicturePart(scratch.File("drawing.png"), [](int, int) {
        return forms::PictureCut{{20, 0, 20, 30}, 10, 15};
    });
    ASSERT_EQ(half.Width(), 10);
    ASSERT_EQ(half.Height(), 15);
    EXPECT_EQ(half.ColourAt(0, 7), 0x00FF00u);
    EXPECT_EQ(half.ColourAt(9, 7), 0xFF0000u);
    for (const Case& c : cases) {
        SetWallpaperStyle(registry, c.style);
        EXPECT_EQ(
            ApplyWallpaperPicture(services, scratch.File(c.name), GetWallpaperStyle(registry)),
            converted)
            << c.name;
        const SIZE size = BitmapFileSize(converted);
        EXPECT_EQ(size.cx, c.width) << c.name;
        EXPECT_EQ(size.cy, c.height) << c.name;
        EXPECT_EQ(Win32Wallpaper::CurrentWallpaper(), converted) << c.name;
        EXPECT_EQ(StoredText(registry, "TileWallpaper"), c.tile) << c.name;
        EXPECT_EQ(StoredText(registry, "WallpaperStyle"), c.stored) << c.name;
        EXPECT_EQ(WallpaperStyleOption(GetWallpaperStyle(registry)), c.style) << c.name;
    }
    // The stripes came through: red on the left of the drawing's bitmap, blue on the right
    // (its pixels are blue, green, red).
    const std::string bytes = ReadAll(converted);
    ASSERT_GE(bytes.size(), 54u + 40 * 3);
    const auto at = [&](std::size_t i) {
        return static_cast<int>(static_cast<std::uint8_t>(bytes[54 + i]));
    };
    EXPECT_EQ(at(0), 0);
    EXPECT_EQ(at(2), 255);
    EXPECT_EQ(at(39 * 3), 255);
    EXPECT_EQ(at(39 * 3 + 2), 0);

    // A bitmap is made the wallpaper as it is.
    const std::string bitmap = scratch.File("copy.BMP");
    WriteAll(bitmap, bytes);
    EXPECT_EQ(ApplyWallpaperPicture(services, bitmap, GetWallpaperStyle(registry)), bitmap);
    EXPECT_EQ(Win32Wallpaper::CurrentWallpaper(), bitmap);

    RemoveWallpaper(system);
    EXPECT_EQ(Win32Wallpaper::CurrentWallpaper(), "");
}

TEST_F(WallpaperTest, PicturesThatCannotBeLoadedChangeNothing) {
    const std::string converted = scratch.File(kConvertedWallpaperName);
    ASSERT_EQ(ApplyWallpaperPicture(services, scratch.File("drawing.png"), std::int32_t{1}),
              converted);
    const std::string before = ReadAll(converted);
    ASSERT_FALSE(before.empty());

    WriteAll(scratch.File("damaged.jpg"), std::string("\xFF\xD8\xFF\xE0 not a picture"));
    WriteAll(scratch.File("empty.png"), "");
    ::CreateDirectoryW(Widen(scratch.File("folder.gif")).c_str(), nullptr);
    // A PNG whose header says 20,000 by 20,000 pixels.
    std::string huge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20\x08\x02\0\0\0", 29);
    huge += std::string("\0\0\0\0", 4);  // its checksum, wrong as the rest
    WriteAll(scratch.File("huge.png"), huge);
    WriteAll(scratch.File("damaged.bmp"), "BM and nothing else");
    WriteAll(scratch.File("damaged.wmf"),
             std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0'));
    for (const char* name : {"damaged.jpg", "empty.png", "folder.gif", "huge.png", "damaged.bmp",
                             "damaged.wmf", "missing.jpg"}) {
        EXPECT_THROW(ApplyWallpaperPicture(services, scratch.File(name), std::int32_t{1}),
                     RunTimeError)
            << name;
        EXPECT_EQ(Win32Wallpaper::CurrentWallpaper(), converted) << name;
        EXPECT_EQ(ReadAll(converted), before) << name;
    }
}

TEST_F(WallpaperTest, AHugePictureCostsWhatIsKeptOfIt) {
    const std::string path = scratch.File("huge.png");
    WriteAll(path, HugePng());
    PROCESS_MEMORY_COUNTERS before{sizeof before};
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before));
    const forms::Bitmap preview =
        forms.LoadPicturePart(path, [](int w, int h) { return PreviewCut(w, h, 150); });
    EXPECT_EQ(preview.Width(), 300);
    EXPECT_EQ(preview.ColourAt(10, 10), 0x0000FFu);
    EXPECT_EQ(preview.ColourAt(290, 290), 0xFF0000u);
    // Stretched: no larger than it takes to cover the screens.
    EXPECT_EQ(ApplyWallpaperPicture(services, path, std::string("2")),
              scratch.File(kConvertedWallpaperName));
    const auto [width, height] = system.VirtualScreenSize();
    const SIZE size = BitmapFileSize(scratch.File(kConvertedWallpaperName));
    EXPECT_EQ(size.cx, std::max(width, height));
    EXPECT_EQ(size.cy, std::max(width, height));
    // Headers of as many pixels that only the imaging component reads, which holds such a
    // picture whole under Wine as soon as it opens it: refused by their headers.
    WriteAll(scratch.File("huge.gif"), std::string("GIF89a\0\x40\0\x40", 10));
    WriteAll(scratch.File("huge.jpg"), std::string("\xFF\xD8\xFF\xC0\0\x11\x08\x40\0\x40\0", 11));
    for (const char* name : {"huge.gif", "huge.jpg"}) {
        EXPECT_THROW(static_cast<void>(forms.LoadPicture(scratch.File(name))), PictureTooLarge);
    }
    PROCESS_MEMORY_COUNTERS after{sizeof after};
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after));
    EXPECT_LT(after.PeakWorkingSetSize, before.WorkingSetSize + (100u << 20));
}

TEST_F(WallpaperTest, PickerBrowsesRealFoldersOnItsSkin) {
    Win32Dialogs dialogs("Pellmark");
    ::CreateDirectoryW(Widen(scratch.File("more")).c_str(), nullptr);
    frmSelectWallpaper picker(
        WallpaperPickerServices{forms, files, registry, system, dialogs, scratch.Path(), {}});
    SetWallpaperStyle(registry, 2);
    picker.Open();
    ASSERT_TRUE(picker.Loaded());
    EXPECT_EQ(picker.FolderPath(), scratch.Path());
    EXPECT_TRUE(picker.optStyle[2]->Value());
    EXPECT_EQ(picker.File1.Items(), (std::vector<std::string>{"drawing.png", "photo.jpg"}));
    ASSERT_FALSE(picker.Dir1.Items().empty());
    EXPECT_EQ(picker.Dir1.Items().back().find("more") != std::string::npos, true);
    // The drive list holds the open folder's drive, selected.
    ASSERT_GE(picker.Drive1.ListIndex(), 0);
    EXPECT_EQ(picker.Drive1.List(picker.Drive1.ListIndex())[0],
              static_cast<char>(std::tolower(static_cast<unsigned char>(scratch.Path()[0]))));
    // Shaped by its skin: the corner is cut away.
    HWND window = Win32FormsBackend::WindowOf(picker);
    UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window, static_cast<HRGN>(region.get())), ERROR);
    EXPECT_FALSE(::PtInRegion(static_cast<HRGN>(region.get()), 0, 0));
    EXPECT_TRUE(::PtInRegion(static_cast<HRGN>(region.get()), 100, 100));

    picker.File1.UserSelect(1);
    EXPECT_EQ(picker.lblRes.Caption(), "90 x 60");
    EXPECT_TRUE(picker.imgPreview.Visible());
    EXPECT_EQ(picker.imgPreview.GetBounds().width, 90);
    picker.cmdSetWallpaper.UserClick();
    EXPECT_EQ(Win32Wallpaper::CurrentWallpaper(), scratch.File(kConvertedWallpaperName));
    picker.CancelButton.UserClick();
    EXPECT_FALSE(picker.Loaded());
}

}  // namespace
}  // namespace pellmark::win32
