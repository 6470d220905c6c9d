#include "desktop/IconPictures.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace pellmark {

namespace {

forms::Bitmap Placed(const forms::Bitmap& icon, int x, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const int rows = std::min(icon.Height(), height);
    for (int row = 0; row < rows; ++row) {
        for (int column = std::max(0, -x); column < icon.Width(); ++column) {
            const int to = x + column;
            if (to >= width) {
                break;
            }
            pixels[static_cast<std::size_t>(row) * width + to] =
                icon.Pixels()[static_cast<std::size_t>(row) * icon.Width() + column];
        }
    }
    return {width, height, std::move(pixels), icon.Source()};
}

}  // namespace

forms::Bitmap IconPicture(const forms::Bitmap& icon, int x) {
    forms::Bitmap picture = Placed(icon, x, kIconPictureWidth, kIconPictureHeight);
    // An icon drawn larger for a screen of more dots per inch: the picture gets a larger
    // drawing too, everything in it grown by the icon's own ratio (rounded as the screen's
    // lengths are), so that a list shows it without stretching.
    if (const forms::Bitmap large = icon.Large(); !large.Empty() && icon.Height() > 0) {
        const auto grown = [&](int length) {
            return (2 * length * large.Height() + icon.Height()) / (2 * icon.Height());
        };
        picture.SetLarge(
            Placed(large, grown(x), grown(kIconPictureWidth), grown(kIconPictureHeight)));
    }
    return picture;
}

forms::Bitmap DrawIconFromFile(forms::Backend& backend, int size, const std::string& file,
                               int index, int x) {
    return IconPicture(size > 0 ? backend.LoadFileIcon(file, index, size) : forms::Bitmap(), x);
}

std::shared_ptr<forms::ImageList> IconPictureList(std::vector<forms::Bitmap> pictures) {
    auto list = std::make_shared<forms::ImageList>();
    list->size = kIconPictureHeight;
    list->width = kIconPictureWidth;
    list->images = std::move(pictures);
    return list;
}

}  // namespace pellmark
