// Figures, not a test: what the wallpaper picker costs for a picture of few bytes and many
// pixels (16,384 x 16,384 PNG, BMP and JPEG pictures of a few stripes, and a 6,000 x 4,000
// JPEG photo's size), on real windows: the time to preview it, to make it the wallpaper and the
// size of the bitmap written, and the memory the process holds above what it held before the picker
// opened, at its highest during each step and after the picker closed. The wallpaper and
// its style are put back afterwards.
#include <windows.h>

#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "desktop/Wallpaper.h"
#include "desktop/frmSelectWallpaper.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ImagingGuids.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Wallpaper.h"

namespace {

using namespace pellmark;
using namespace pellmark::win32;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The memory the process holds (its working set: what Wine reports as the process's
// resident memory).
std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

double Megabytes(std::uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The most memory held while it runs, sampled every few milliseconds.
class PeakWatch {
  public:
    PeakWatch()
        : peak_(PrivateBytes()), thread_([this] {
              while (!stop_) {
                  Note();
                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
              }
          }) {}
    ~PeakWatch() {
        stop_ = true;
        thread_.join();
    }
    std::size_t Peak() {
        Note();
        return peak_;
    }

  private:
    void Note() {
        const std::size_t now = PrivateBytes();
        std::size_t seen = peak_;
        while (now > seen && !peak_.compare_exchange_weak(seen, now)) {
        }
    }
    std::atomic<std::size_t> peak_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Stripes of red, green and blue, written a band of rows at a time, so writing it costs
// little memory; kept between runs.
bool Encode(const std::string& path, const GUID& format, UINT side, UINT height) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    win32::ComPtr<IWICImagingFactory> factory;
    win32::ComPtr<IWICStream> stream;
    win32::ComPtr<IWICBitmapEncoder> encoder;
    win32::ComPtr<IWICBitmapFrameEncode> frame;
    win32::ComPtr<IPropertyBag2> options;
    const std::wstring wide(path.begin(), path.end());
    WICPixelFormatGUID pixels = kBgr24;
    if (FAILED(::CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(IWICImagingFactory), factory.put_void())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(format, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
        FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(side, height)) ||
        FAILED(frame->SetPixelFormat(&pixels))) {
        return false;
    }
    constexpr UINT kBand = 256;
    const UINT stride = side * 3;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * kBand);
    for (UINT y = 0; y < kBand; ++y) {
        for (UINT x = 0; x < side; ++x) {
            rows[y * stride + x * 3 + (x * 3 / side)] = 255;
        }
    }
    for (UINT y = 0; y < height; y += kBand) {
        const UINT band = std::min(kBand, height - y);
        if (FAILED(frame->WritePixels(band, stride, band * stride, rows.data()))) {
            return false;
        }
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::uint64_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) == FALSE) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string StoredText(win32::Win32Registry& registry, const char* name) {
    RegistryValue value;
    static_cast<void>(
        GetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S", std::string(), value));
    return std::get<std::string>(value);
}

}  // namespace

int main() {
    static_cast<void>(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const bool quick = std::getenv("PELLMARK_BENCH_QUICK") != nullptr;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "pellmark-wallpaper-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    // Quick: a smaller picture, so that a check that the bench runs takes seconds.
    const UINT kSide = quick ? 4096 : 16384;
    const std::string side = std::to_string(kSide);
    // Name, format, width, height.
    const struct {
        std::string name;
        const GUID& format;
        UINT width;
        UINT height;
    } encoded[] = {{"stripes" + side + ".png", kPngFormat, kSide, kSide},
                   {"stripes" + side + ".bmp", kBmpFormat, kSide, kSide},
                   {"photo6000.jpg", kJpegFormat, 6000, 4000},
                   {"stripes" + side + ".jpg", kJpegFormat, kSide, kSide}};
    std::vector<std::string> pictures;
    for (const auto& picture : encoded) {
        if (!Encode(folder + "\\" + picture.name, picture.format, picture.width, picture.height)) {
            std::printf("wallpaper bench: the pictures could not be written\n");
            return 1;
        }
        pictures.push_back(picture.name);
        if (quick) {
            break;
        }
    }
    win32::Win32FormsBackend forms;
    win32::Win32Files files;
    win32::Win32Wallpaper system;
    win32::Win32Registry registry;
    sim::SimDialogs dialogs;
    const std::string wallpaperBefore = win32::Win32Wallpaper::CurrentWallpaper();
    const std::string tileBefore = StoredText(registry, "TileWallpaper");
    const std::string styleBefore = StoredText(registry, "WallpaperStyle");

    std::printf("wallpaper picker (memory held above the start)\n");
    for (const std::string& name : pictures) {
        for (int style : {2, 0}) {
            // A bitmap is set as it is: no file is written for it.
            ::DeleteFileA((folder + "\\" + kConvertedWallpaperName).c_str());
            const std::size_t idle = PrivateBytes();
            PeakWatch watch;
            frmSelectWallpaper picker(
                WallpaperPickerServices{forms, files, registry, system, dialogs, folder, {}});
            picker.Open();
            picker.optStyle[static_cast<std::size_t>(style)]->UserClick();
            const auto& items = picker.File1.Items();
            const auto found = std::find(items.begin(), items.end(), name);
            if (found == items.end()) {
                std::printf("  %s is not listed\n", name.c_str());
                return 1;
            }
            Clock::time_point start = Clock::now();
            picker.File1.UserSelect(static_cast<int>(found - items.begin()));
            const double previewMs = Milliseconds(start);
            const std::size_t previewPeak = watch.Peak();
            start = Clock::now();
            picker.cmdSetWallpaper.UserClick();
            const double applyMs = Milliseconds(start);
            const std::size_t applyPeak = watch.Peak();
            picker.CancelButton.UserClick();
            const std::size_t after = PrivateBytes();
            const std::uint64_t written = FileBytes(folder + "\\" + kConvertedWallpaperName);
            std::printf(
                "  %-17s %-8s preview %7.0f ms, %7.1f MB at most; Change Wallpaper %7.0f "
                "ms, %7.1f MB at most, bitmap %7.1f MB; closed %6.1f MB\n",
                name.c_str(), style == 2 ? "stretch" : "center", previewMs,
                Megabytes(previewPeak - idle), applyMs, Megabytes(applyPeak - idle),
                Megabytes(written), Megabytes(after > idle ? after - idle : 0));
        }
    }
    // A picture that only a decoder holding it whole can read (a JPEG under Wine) may be
    // refused as too large; any other message is a failure.
    bool failed = false;
    for (const auto& shown : dialogs.shown) {
        std::printf("  message: %s\n", shown.text.c_str());
        failed = failed || shown.text.find("Error 7") == std::string::npos;
    }
    // The wallpaper and style of before.
    static_cast<void>(
        SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, "TileWallpaper", "S", tileBefore));
    static_cast<void>(SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, "WallpaperStyle", "S",
                                       styleBefore));
    if (wallpaperBefore.empty()) {
        RemoveWallpaper(system);
    } else {
        SetWallpaper(system, wallpaperBefore);
    }
    ::DeleteFileA((folder + "\\" + kConvertedWallpaperName).c_str());
    return failed ? 1 : 0;
}
