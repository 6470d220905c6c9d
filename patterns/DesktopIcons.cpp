#include "patterns/DesktopIcons.h"

#include <algorithm>
#include <utility>

#include "patterns/IconGeometry.h"
#include "settings/Messages.h"

namespace pellmark {

DesktopIcons::DesktopIcons(platform::Desktop& desktop, platform::Dialogs& dialogs)
    : desktop_(desktop), dialogs_(dialogs) {}

void DesktopIcons::MeasureScreen() {
    const platform::ScreenSize screen = desktop_.ReadScreenSize();
    table_.ScreenWidth = screen.width;
    table_.ScreenHeight = screen.height;
}

void DesktopIcons::ReadDesktopIcons() {
    Read(true);
}

void DesktopIcons::ReadDesktopIconsQuietly() {
    Read(false);
}

void DesktopIcons::Read(bool report) {
    MeasureScreen();
    if (monitorSource_) {
        monitors_ = monitorSource_();
    }
    platform::DesktopRead read = desktop_.ReadIcons();
    table_.ListViewWindow = read.listView;
    table_.ImageListHandle = read.imageList;
    table_.Icons.clear();
    table_.IconCount = 0;

    if (read.status == platform::DesktopReadStatus::Failed) {
        // The transfer memory could not be made, so nothing was asked of Explorer.
        if (report) {
            dialogs_.ShowMessage({.text = "Err: " + std::to_string(read.error.code) + "\n" +
                                          read.error.description +
                                          "\n\nProblem finding desktop icons ",
                                  .caption = "",
                                  .icon = platform::MessageIcon::Critical});
        }
    } else {
        if (read.icons.empty() && report) {
            dialogs_.ShowMessage({.text = kNoIconsMessage});
        }
        table_.Icons.reserve(read.icons.size());
        for (platform::RawDesktopIcon& raw : read.icons) {
            DesktopIcon icon;
            icon.Caption = std::move(raw.caption);
            icon.Position = {raw.x, raw.y};
            icon.ImageIndex = raw.imageIndex;
            icon.ParsingName = std::move(raw.parsingName);
            icon.OffScreen = IsOffScreen(raw.x, raw.y);
            table_.Icons.push_back(std::move(icon));
        }
        table_.IconCount = static_cast<std::int32_t>(table_.Icons.size());
    }
    if (countListener_) {
        countListener_(std::to_string(table_.IconCount) + " " + MessageText("0900"));
    }
}

void DesktopIcons::MoveDesktopIcon(int i, std::int32_t x, std::int32_t y) {
    desktop_.MoveIcon(i, x, y);
}

void DesktopIcons::MoveDesktopIcons(std::span<const platform::IconPlacement> placements) {
    if (!placements.empty()) {
        desktop_.MoveIcons(placements);
    }
}

std::string DesktopIcons::GetScreenResolution() {
    MeasureScreen();
    return std::to_string(table_.ScreenWidth) + "x" + std::to_string(table_.ScreenHeight);
}

bool DesktopIcons::IsDesktopAutoArrange() {
    return desktop_.IsAutoArrange();
}

WindowHandle DesktopIcons::FindDesktopListView() {
    return desktop_.FindListView();
}

std::int32_t DesktopIcons::ScreenTwips() {
    return pellmark::ScreenTwips(desktop_.ReadScreenSize().width, desktop_.LogicalDpiX());
}

void DesktopIcons::SetScreenSize(std::int32_t width, std::int32_t height) noexcept {
    table_.ScreenWidth = width;
    table_.ScreenHeight = height;
}

void DesktopIcons::UseMonitors(std::function<std::vector<platform::MonitorRect>()> monitors) {
    monitorSource_ = std::move(monitors);
}

bool DesktopIcons::IsOffScreen(std::int32_t x, std::int32_t y) const {
    if (monitors_.empty()) {
        return pellmark::IsOffScreen(x, y, table_.ScreenWidth, table_.ScreenHeight);
    }
    return !IsOnAMonitor(x, y);
}

bool DesktopIcons::IsOnAMonitor(std::int32_t x, std::int32_t y) const {
    const auto inside = [x, y](const platform::MonitorRect& r) {
        return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
    };
    if (monitors_.empty()) {
        return inside({0, 0, table_.ScreenWidth, table_.ScreenHeight});
    }
    return std::any_of(monitors_.begin(), monitors_.end(), inside);
}

void DesktopIcons::OnIconCountText(std::function<void(const std::string&)> listener) {
    countListener_ = std::move(listener);
}

}  // namespace pellmark
