// An in-memory desktop: a list view of icons that the tests arrange and inspect.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace pellmark::sim {

struct SimIcon {
    std::string caption;  // kept whole; reads cut it as the list view would
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t imageIndex = 0;
    std::string parsingName;  // as the shell's view tells it; empty as the list view does
};

class SimDesktop final : public platform::Desktop {
  public:
    std::vector<SimIcon> icons;
    platform::ScreenSize screen{1024, 768};
    int dpi = 96;
    bool present = true;  // false: no Explorer, no list view
    bool autoArrange = false;
    OsStatus transferFailure;  // non-zero code: the next reads fail with it
    WindowHandle listViewHandle = 0x1234;
    ImageListRef imageListHandle = 0x5678;
    int readCount = 0;
    // Every MoveIcons request, as it came: one entry per call.
    std::vector<std::vector<platform::IconPlacement>> moveBatches;

    platform::ScreenSize ReadScreenSize() override { return screen; }
    int LogicalDpiX() override { return dpi; }
    platform::DesktopRead ReadIcons() override;
    void MoveIcons(std::span<const platform::IconPlacement> placements) override;
    // From pictures (square), by image index, stretched to the size asked for (0: as kept);
    // none for other image lists.
    std::vector<platform::IconPixels> ReadIconPictures(
        ImageListRef imageList, std::span<const platform::IconPictureRequest> icons,
        int size) override;
    std::map<std::int32_t, platform::IconPixels> pictures;  // by image index
    int pictureReads = 0;
    bool IsAutoArrange() override { return present && autoArrange; }
    WindowHandle FindListView() override { return present ? listViewHandle : 0; }
    void ShowDesktopIcons(bool show) override {
        if (present) {
            listViewShown = show;
        }
    }
    bool listViewShown = true;
    std::uint32_t textColour = 0x00FFFF;  // yellow captions, unlike the default
    std::uint32_t GetDesktopTextColour() override { return present ? textColour : 0; }
};

}  // namespace pellmark::sim
