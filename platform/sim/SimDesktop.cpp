#include "platform/sim/SimDesktop.h"

#include "patterns/IconGeometry.h"

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

void SimDesktop::MoveIcon(int index, std::int32_t x, std::int32_t y) {
    if (!present || autoArrange || index < 0 || index >= static_cast<int>(icons.size())) {
        return;
    }
    // The position travels in 16-bit halves, as LVM_SETITEMPOSITION carries it.
    const std::uint32_t packed = PackPositionLParam(x, y);
    icons[index].x = static_cast<std::int16_t>(packed & 0xFFFF);
    icons[index].y = static_cast<std::int16_t>(packed >> 16);
}

}  // namespace pellmark::sim
