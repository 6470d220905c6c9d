// The desktop wallpaper: setting and removing it, the style Windows keeps for it, the
// texts the picker shows about a picture, and turning any picture into the bitmap file a
// wallpaper must be.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WallpaperSystem.h"
#include "platform/forms/Form.h"
#include "settings/RegistryAccess.h"

namespace pellmark {

// Where Windows keeps the wallpaper's style.
inline constexpr const char* kDesktopSettingsKey = "Control Panel\\Desktop";
// The file a picture that is not a bitmap becomes, beside the program.
inline constexpr const char* kConvertedWallpaperName = "pellmark-Wallpaper.bmp";
// The pictures the picker lists.
inline constexpr const char* kWallpaperPattern = "*.bmp;*.jpg;*.jpeg;*.dib;*.gif;*.png;*.wmf";
// The preview is never wider than this (pixels at 96 DPI).
inline constexpr int kPreviewWidth = 150;

// An empty path does nothing.
void SetWallpaper(platform::WallpaperSystem& system, const std::string& path);
void RemoveWallpaper(platform::WallpaperSystem& system);

// The stored style, each value read as text or as a DWORD: 1 when "TileWallpaper" is there
// and not the number 0, or when neither value is there; otherwise the text of
// "WallpaperStyle" ("0", "2", "10" ...), or -1 when it is absent.
[[nodiscard]] RegistryValue GetWallpaperStyle(platform::Registry& registry);
// The option the stored style stands for (0 centre, 1 tile, 2 stretch); none for any
// other style, such as the newer "Fill" (10) or an absent "WallpaperStyle".
[[nodiscard]] std::optional<int> WallpaperStyleOption(const RegistryValue& style);
// 1 tiles ("WallpaperStyle" 0, "TileWallpaper" 1); any other index is written as the
// "WallpaperStyle" with "TileWallpaper" 0. Each value keeps the type it has (a DWORD stays
// a DWORD); a new one is text. Write failures are ignored.
void SetWallpaperStyle(platform::Registry& registry, int index);

// "800 x 600".
[[nodiscard]] std::string ResolutionText(int width, int height);
// The size in whole kilobytes of 1000 bytes, rounded, grouped by `separator`, then " kb";
// below 500 bytes it says 1 kb.
[[nodiscard]] std::string FileSizeText(std::uint64_t bytes, std::string_view separator);
// The preview's size for a picture: 150 pixels wide with its proportions kept when it is
// at least that wide, otherwise its own size.
[[nodiscard]] forms::Bounds PreviewSize(int width, int height);

// What of a picture the preview decodes: the rows a well `wellHeight` pixels high shows (a
// taller picture shows its top), at twice the preview's size so it stays sharp up to 192
// DPI, and never more pixels than the picture has.
[[nodiscard]] forms::PictureCut PreviewCut(int width, int height, int wellHeight);
// What of a picture the wallpaper needs on a virtual screen of `screen` pixels, for the
// style as GetWallpaperStyle reads it: centred or tiled, the part the screen shows at the
// picture's own size; stretched or any other style (fill, fit, span), the whole picture no
// larger than it takes to cover the screen.
[[nodiscard]] forms::PictureCut WallpaperCut(int width, int height, std::pair<int, int> screen,
                                             const RegistryValue& style);

// A name whose last three letters are not "bmp" (in any case) must be converted.
[[nodiscard]] bool NeedsConversion(std::string_view path);
// The picture as a 24-bit Windows bitmap file. Bitmaps have no transparency: what was
// see-through comes out black.
[[nodiscard]] std::string BitmapFileBytes(const forms::Bitmap& picture);
// `folder` joined with `name`, with one backslash between.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

// What setting a wallpaper from a picture file takes.
struct WallpaperServices {
    forms::Backend& pictures;
    platform::Files& files;
    platform::WallpaperSystem& system;
    std::string programFolder;
};

// Makes the picture at `path` the wallpaper for `style` (as GetWallpaperStyle reads it): a
// bitmap file itself, any other picture written first as pellmark-Wallpaper.bmp beside the
// program, through a temporary file, no larger than the virtual screen needs. Returns the
// file given to the system. A picture that cannot be loaded, or a file that cannot be
// written, is a run-time error and the wallpaper stays as it was.
std::string ApplyWallpaperPicture(WallpaperServices& services, const std::string& path,
                                  const RegistryValue& style);

}  // namespace pellmark
