#include "desktop/IconPictures.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace pellmark {

forms::Bitmap IconPicture(const forms::Bitmap& icon, int x) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kIconPictureWidth) *
                                      kIconPictureHeight);
    const int height = std::min(icon.Height(), kIconPictureHeight);
    for (int row = 0; row < height; ++row) {
        for (int column = std::max(0, -x); column < icon.Width(); ++column) {
            const int to = x + column;
            if (to >= kIconPictureWidth) {
                break;
            }
            pixels[static_cast<std::size_t>(row) * kIconPictureWidth + to] =
                icon.Pixels()[static_cast<std::size_t>(row) * icon.Width() + column];
        }
    }
    return {kIconPictureWidth, kIconPictureHeight, std::move(pixels), icon.Source()};
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
