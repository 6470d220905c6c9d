// Where a form's windowless image is drawn, as the form's window tells other programs (the
// end-to-end tests, the screenshot tool): three properties on the form, named after the
// image, give the window that draws it and its place in that window.
#pragma once

#include <windows.h>

#include <string>

namespace pellmark::win32 {

inline constexpr const char* kImageHostPart = " host";  // the drawing window
inline constexpr const char* kImageAtPart = " at";      // left and top, 16 bits each
inline constexpr const char* kImageSizePart = " size";  // width and height, 16 bits each

[[nodiscard]] inline std::string ImagePropertyName(const std::string& image, const char* part) {
    std::string name = "Pellmark.";
    name += image;
    name += part;
    return name;
}

struct ImagePlace {
    HWND window = nullptr;  // null: the form has no such image drawn
    RECT area{};
};

// Read from another process as well; image names are ASCII, as control names are.
[[nodiscard]] inline ImagePlace ReadImagePlace(HWND form, const std::string& image) {
    const auto number = [&](const char* part) {
        return reinterpret_cast<UINT_PTR>(::GetPropA(form, ImagePropertyName(image, part).c_str()));
    };
    const UINT_PTR at = number(kImageAtPart);
    const UINT_PTR size = number(kImageSizePart);
    ImagePlace place{reinterpret_cast<HWND>(number(kImageHostPart)), {}};
    place.area.left = static_cast<short>(LOWORD(at));
    place.area.top = static_cast<short>(HIWORD(at));
    place.area.right = place.area.left + static_cast<short>(LOWORD(size));
    place.area.bottom = place.area.top + static_cast<short>(HIWORD(size));
    return place;
}

}  // namespace pellmark::win32
