#include "desktop/Wallpaper.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <new>

#include "platform/RunTimeError.h"
#include "platform/SafeFileWrite.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {

constexpr const char* kTileValue = "TileWallpaper";
constexpr const char* kStyleValue = "WallpaperStyle";

RegistryValue ReadDesktopText(platform::Registry& registry, const char* name) {
    RegistryValue value;
    static_cast<void>(GetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S",
                                       std::int32_t{-1}, value));
    return value;
}

void WriteDesktopText(platform::Registry& registry, const char* name, std::string text) {
    static_cast<void>(
        SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S", std::move(text)));
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
    const std::optional<double> tiled = AsNumber(ReadDesktopText(registry, kTileValue));
    if (tiled && *tiled == 0) {
        return ReadDesktopText(registry, kStyleValue);
    }
    return std::int32_t{1};
}

std::optional<int> WallpaperStyleOption(const RegistryValue& style) {
    const std::optional<double> number = AsNumber(style);
    if (!number || (*number != 0 && *number != 1 && *number != 2)) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

void SetWallpaperStyle(platform::Registry& registry, int index) {
    if (index == 1) {
        WriteDesktopText(registry, kStyleValue, "0");
        WriteDesktopText(registry, kTileValue, "1");
    } else {
        WriteDesktopText(registry, kStyleValue, std::to_string(index));
        WriteDesktopText(registry, kTileValue, "0");
    }
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

std::string ApplyWallpaperPicture(WallpaperServices& services, const std::string& path,
                                  const forms::Bitmap* loaded) {
    // Loaded even when it is a bitmap: a damaged file must not become the wallpaper.
    forms::Bitmap picture =
        loaded != nullptr && !loaded->Empty() ? *loaded : services.pictures.LoadPicture(path);
    std::string wallpaper = path;
    if (NeedsConversion(path)) {
        wallpaper = JoinPath(services.programFolder, kConvertedWallpaperName);
        std::string bytes;
        try {
            bytes = BitmapFileBytes(picture);
        } catch (const std::bad_alloc&) {
            throw RunTimeError(7, "Out of memory");
        }
        picture = forms::Bitmap();  // its pixels are not needed any more
        const OsStatus written = platform::SafeFileWrite(services.files, wallpaper, bytes);
        if (!written.ok()) {
            CannotWrite(wallpaper, written);
        }
    }
    SetWallpaper(services.system, wallpaper);
    return wallpaper;
}

}  // namespace pellmark
