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
        // The position travels in 16-bit halves, as LVM_SETITEMPOSITION carries it.
        const std::uint32_t packed = PackPositionLParam(placement.x, placement.y);
        SimIcon& icon = icons[static_cast<std::size_t>(placement.index)];
        icon.x = static_cast<std::int16_t>(packed & 0xFFFF);
        icon.y = static_cast<std::int16_t>(packed >> 16);
    }
}

}  // namespace pellmark::sim
