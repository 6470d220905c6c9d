#include "desktop/Wallpaper.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/SafeFileWrite.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {

constexpr const char* kTileValue = "TileWallpaper";
constexpr const char* kStyleValue = "WallpaperStyle";

// A value of the desktop's key as it is stored: its text, a DWORD as its decimal number.
struct StoredValue {
    std::string text;
    bool dword = false;
};

std::optional<StoredValue> ReadDesktopValue(platform::Registry& registry, const char* name) {
    platform::ScopedRegistryKey key(registry);
    if (key.Open(platform::PredefinedKey(platform::kHkeyCurrentUser), kDesktopSettingsKey,
                 platform::kKeyQueryValue) != 0) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::vector<std::uint8_t> bytes;
    std::uint32_t status = registry.QueryValue(key.get(), name, type, bytes, size);
    if (status == platform::kErrorMoreData) {
        bytes.resize(size);
        status = registry.QueryValue(key.get(), name, type, bytes, size);
    }
    if (status != 0) {
        return std::nullopt;
    }
    bytes.resize(std::min<std::size_t>(size, bytes.size()));
    if (type == platform::kRegDword && bytes.size() == 4) {
        const std::uint32_t number = bytes[0] | (std::uint32_t{bytes[1]} << 8) |
                                     (std::uint32_t{bytes[2]} << 16) |
                                     (std::uint32_t{bytes[3]} << 24);
        return StoredValue{std::to_string(number), true};
    }
    while (!bytes.empty() && bytes.back() == 0) {
        bytes.pop_back();
    }
    return StoredValue{std::string(bytes.begin(), bytes.end()), false};
}

// Written in the type the value has, so whatever else reads it still understands it; a
// value that is not there yet is text, as Windows writes it.
void WriteDesktopValue(platform::Registry& registry, const char* name, int number) {
    const std::optional<StoredValue> stored = ReadDesktopValue(registry, name);
    if (stored && stored->dword) {
        static_cast<void>(SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "D",
                                           std::int32_t{number}));
    } else {
        static_cast<void>(SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S",
                                           std::to_string(number)));
    }
}

// A stored text as the number it spells, blanks around it allowed ("0", " 2"); none when it
// is no number.
std::optional<double> AsNumber(const RegistryValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    const auto* text = std::get_if<std::string>(&value);
    if (text == nullptr) {
        return std::nullopt;
    }
    std::size_t begin = text->find_first_not_of(' ');
    const std::size_t end = text->find_last_not_of(' ');
    if (begin == std::string::npos) {
        return std::nullopt;
    }
    if ((*text)[begin] == '+') {
        ++begin;
    }
    double number = 0;
    const char* first = text->data() + begin;
    const char* last = text->data() + end + 1;
    const auto [stop, error] = std::from_chars(first, last, number);
    if (error != std::errc() || stop != last) {
        return std::nullopt;
    }
    return number;
}

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

[[noreturn]] void CannotWrite(const std::string& path, const OsStatus& status) {
    std::string description = MessageText("0958");
    description += ' ';
    description += path;
    if (!status.description.empty()) {
        description += ": ";
        description += status.description;
    }
    throw RunTimeError(75, description);  // path/file access error
}

}  // namespace

void SetWallpaper(platform::WallpaperSystem& system, const std::string& path) {
    if (!path.empty()) {
        system.SetDesktopWallpaper(path);
    }
}

void RemoveWallpaper(platform::WallpaperSystem& system) {
    system.RemoveDesktopWallpaper();
}

RegistryValue GetWallpaperStyle(platform::Registry& registry) {
    const std::optional<StoredValue> tile = ReadDesktopValue(registry, kTileValue);
    const std::optional<StoredValue> style = ReadDesktopValue(registry, kStyleValue);
    // Windows reads a missing "TileWallpaper" as not tiled: then the style alone decides.
    const bool tiled = tile ? AsNumber(tile->text) != std::optional<double>(0) : !style;
    if (tiled) {
        return std::int32_t{1};
    }
    if (!style) {
        return std::int32_t{-1};
    }
    return style->text;
}

std::optional<int> WallpaperStyleOption(const RegistryValue& style) {
    const std::optional<double> number = AsNumber(style);
    if (!number || (*number != 0 && *number != 1 && *number != 2)) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

void SetWallpaperStyle(platform::Registry& registry, int index) {
    WriteDesktopValue(registry, kStyleValue, index == 1 ? 0 : index);
    WriteDesktopValue(registry, kTileValue, index == 1 ? 1 : 0);
}

std::string ResolutionText(int width, int height) {
    std::string text = std::to_string(width);
    text += " x ";
    text += std::to_string(height);
    return text;
}

std::string FileSizeText(std::uint64_t bytes, std::string_view separator) {
    const std::uint64_t kilobytes = bytes / 1000 + (bytes % 1000 >= 500 ? 1 : 0);
    // Below half a kilobyte the grouped number would be empty: such a file says 1.
    const std::string digits = std::to_string(kilobytes == 0 ? 1 : kilobytes);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.append(separator);
        }
        text.push_back(digits[i]);
    }
    text.append(" kb");
    return text;
}

forms::Bounds PreviewSize(int width, int height) {
    if (width < kPreviewWidth || width <= 0) {
        return {0, 0, width, height};
    }
    const long long scaled =
        (static_cast<long long>(kPreviewWidth) * height * 2 + width) / (2LL * width);
    return {0, 0, kPreviewWidth, static_cast<int>(scaled)};
}

bool NeedsConversion(std::string_view path) {
    if (path.size() < 3) {
        return true;
    }
    const std::string_view last = path.substr(path.size() - 3);
    const char bmp[] = "bmp";
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::tolower(static_cast<unsigned char>(last[i])) != bmp[i]) {
            return true;
        }
    }
    return false;
}

std::string BitmapFileBytes(const forms::Bitmap& picture) {
    const auto width = static_cast<std::uint32_t>(picture.Width());
    const auto height = static_cast<std::uint32_t>(picture.Height());
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * height;
    constexpr std::uint32_t kHeaders = 14 + 40;
    std::string out;
    out.reserve(kHeaders + imageSize);
    out += "BM";
    AppendLittleEndian(out, kHeaders + imageSize, 4);
    AppendLittleEndian(out, 0, 4);  // reserved
    AppendLittleEndian(out, kHeaders, 4);
    AppendLittleEndian(out, 40, 4);  // BITMAPINFOHEADER
    AppendLittleEndian(out, width, 4);
    AppendLittleEndian(out, height, 4);  // positive: rows from the bottom up
    AppendLittleEndian(out, 1, 2);       // planes
    AppendLittleEndian(out, 24, 2);      // bits per pixel
    AppendLittleEndian(out, 0, 4);       // BI_RGB
    AppendLittleEndian(out, imageSize, 4);
    AppendLittleEndian(out, 3780, 4);  // 96 DPI in pixels per metre
    AppendLittleEndian(out, 3780, 4);
    AppendLittleEndian(out, 0, 4);
    AppendLittleEndian(out, 0, 4);
    const auto& pixels = picture.Pixels();
    for (std::uint32_t row = height; row-- > 0;) {
        const std::size_t start = static_cast<std::size_t>(row) * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[start + x];
            const std::uint32_t alpha = pixel >> 24;
            const auto channel = [&](int shift) {
                return static_cast<char>(((pixel >> shift) & 0xFF) * alpha / 255);
            };
            out.push_back(channel(16));  // blue
            out.push_back(channel(8));   // green
            out.push_back(channel(0));   // red
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    path += name;
    return path;
}

forms::PictureCut PreviewCut(int width, int height, int wellHeight) {
    const forms::Bounds shown = PreviewSize(width, height);
    const int visible = std::min(shown.height, wellHeight);
    const long long rows =
        (static_cast<long long>(visible) * height + shown.height - 1) / std::max(shown.height, 1);
    const int sourceHeight = static_cast<int>(std::min<long long>(height, rows));
    return {{0, 0, width, sourceHeight},
            std::min(width, shown.width * 2),
            std::min(sourceHeight, visible * 2)};
}

forms::PictureCut WallpaperCut(int width, int height, std::pair<int, int> screen,
                               const RegistryValue& style) {
    const auto [screenWidth, screenHeight] = screen;
    const std::optional<int> option = WallpaperStyleOption(style);
    if (option == 0 || option == 1) {
        const int shownWidth = std::min(width, screenWidth);
        const int shownHeight = std::min(height, screenHeight);
        // Centred: the middle shows; tiled: the first tile from the top left.
        const int left = *option == 0 ? (width - shownWidth) / 2 : 0;
        const int top = *option == 0 ? (height - shownHeight) / 2 : 0;
        return {{left, top, shownWidth, shownHeight}, shownWidth, shownHeight};
    }
    const double scale = std::max(static_cast<double>(screenWidth) / width,
                                  static_cast<double>(screenHeight) / height);
    if (scale >= 1) {
        return {{0, 0, width, height}, width, height};
    }
    return {{0, 0, width, height},
            std::max(1, static_cast<int>(std::ceil(width * scale))),
            std::max(1, static_cast<int>(std::ceil(height * scale)))};
}

std::string ApplyWallpaperPicture(WallpaperServices& services, const std::string& path,
                                  const RegistryValue& style) {
    const std::pair<int, int> screen = services.system.VirtualScreenSize();
    if (!NeedsConversion(path)) {
        // Read through, small, even though it is used as it is: a damaged file must not
        // become the wallpaper.
        static_cast<void>(services.pictures.LoadPicturePart(path, [](int width, int height) {
            return forms::PictureCut{{0, 0, width, height}, 1, 1};
        }));
        SetWallpaper(services.system, path);
        return path;
    }
    const std::string wallpaper = JoinPath(services.programFolder, kConvertedWallpaperName);
    std::string bytes;
    try {
        bytes = BitmapFileBytes(services.pictures.LoadPicturePart(path, [&](int width, int height) {
            return WallpaperCut(width, height, screen, style);
        }));
    } catch (const std::bad_alloc&) {
        throw RunTimeError(7, "Out of memory");
    }
    const OsStatus written = platform::SafeFileWrite(services.files, wallpaper, bytes);
    if (!written.ok()) {
        CannotWrite(wallpaper, written);
    }
    SetWallpaper(services.system, wallpaper);
    return wallpaper;
}

}  // namespace pellmark
