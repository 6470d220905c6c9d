#include "platform/sim/SimDesktop.h"

#include <cmath>

#include "platform/ListViewText.h"

namespace pellmark::sim {

platform::DesktopRead SimDesktop::ReadIcons() {
    ++readCount;
    platform::DesktopRead read;
    if (!present) {
        return read;
    }
    read.listView = listViewHandle;
    read.imageList = imageListHandle;
    if (!transferFailure.ok()) {
        read.status = platform::DesktopReadStatus::Failed;
        read.error = transferFailure;
        return read;
    }
    read.status = platform::DesktopReadStatus::Ok;
    for (const SimIcon& icon : icons) {
        read.icons.push_back(
            {CutCaption(icon.caption), icon.x, icon.y, icon.imageIndex, icon.parsingName});
    }
    return read;
}

void SimDesktop::MoveIcons(std::span<const platform::IconPlacement> placements) {
    moveBatches.emplace_back(placements.begin(), placements.end());
    if (!present || autoArrange) {
        return;
    }
    for (const platform::IconPlacement& placement : placements) {
        if (placement.index < 0 || placement.index >= static_cast<int>(icons.size())) {
            continue;
        }
        // Whole, as the 32-bit position message and the shell's view set it.
        SimIcon& icon = icons[static_cast<std::size_t>(placement.index)];
        icon.x = placement.x;
        icon.y = placement.y;
    }
}

std::vector<platform::IconPixels> SimDesktop::ReadIconPictures(
    ImageListRef imageList, std::span<const platform::IconPictureRequest> requests, int size) {
    ++pictureReads;
    std::vector<platform::IconPixels> found;
    for (const platform::IconPictureRequest& request : requests) {
        const auto picture = pictures.find(request.imageIndex);
        if (imageList != imageListHandle || picture == pictures.end()) {
            found.emplace_back();
            continue;
        }
        const platform::IconPixels& kept = picture->second;
        const auto side = static_cast<int>(std::lround(std::sqrt(kept.size())));
        if (size == 0 || size == side || side == 0) {
            found.push_back(kept);
            continue;
        }
        // Another size: stretched to it, nearest pixel.
        platform::IconPixels stretched(static_cast<std::size_t>(size) * size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                stretched[static_cast<std::size_t>(y) * size + x] =
                    kept[static_cast<std::size_t>(y * side / size) * side + x * side / size];
            }
        }
        found.push_back(std::move(stretched));
    }
    return found;
}

}  // namespace pellmark::sim
