#include "platform/sim/SimDesktop.h"

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
        read.icons.push_back({CutCaption(icon.caption), icon.x, icon.y, icon.imageIndex});
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
        found.push_back(imageList == imageListHandle && picture != pictures.end() &&
                                picture->second.size() == static_cast<std::size_t>(size) * size
                            ? picture->second
                            : platform::IconPixels());
    }
    return found;
}

}  // namespace pellmark::sim
