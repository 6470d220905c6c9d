// Reading and moving the desktop icons: fills the process-wide DesktopIconTable.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "patterns/DesktopIconTable.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Displays.h"

namespace pellmark {

inline constexpr const char* kNoIconsMessage = "Error occurred: No icons found";

class DesktopIcons {
  public:
    DesktopIcons(platform::Desktop& desktop, platform::Dialogs& dialogs);

    // Refills the table from the desktop and reports the count through the count hook.
    void ReadDesktopIcons();
    // The same read without its messages, for a read whose outcome a later read reports.
    void ReadDesktopIconsQuietly();
    // Moves item i of the last read; callers read first.
    void MoveDesktopIcon(int i, std::int32_t x, std::int32_t y);
    // Moves items of the last read in one request to the desktop.
    void MoveDesktopIcons(std::span<const platform::IconPlacement> placements);
    // Measures the screen into the table and returns it as "1024x768".
    std::string GetScreenResolution();
    [[nodiscard]] bool IsDesktopAutoArrange();
    [[nodiscard]] WindowHandle FindDesktopListView();
    // The screen width in twips at this moment.
    [[nodiscard]] std::int32_t ScreenTwips();

    [[nodiscard]] const DesktopIconTable& Table() const noexcept { return table_; }
    // The pattern reader stores a saved screen size here until its closing read.
    void SetScreenSize(std::int32_t width, std::int32_t height) noexcept;

    // Where the monitors stand, asked at every read; once given, an icon is off screen
    // when it stands on none of them, not merely beyond the primary's edges.
    void UseMonitors(std::function<std::vector<platform::MonitorRect>()> monitors);
    // By the rule the reads follow: beyond the screen's right or bottom edge, or, with the
    // monitors known, on none of them (an icon on an edge is on screen).
    [[nodiscard]] bool IsOffScreen(std::int32_t x, std::int32_t y) const;
    // Inside a monitor, edges included; without the monitors, inside the screen's rectangle.
    [[nodiscard]] bool IsOnAMonitor(std::int32_t x, std::int32_t y) const;

    // Called after every read with the count text ("12 icons"); the main window's
    // icon-count label listens here.
    void OnIconCountText(std::function<void(const std::string&)> listener);

  private:
    void MeasureScreen();
    void Read(bool report);

    platform::Desktop& desktop_;
    platform::Dialogs& dialogs_;
    DesktopIconTable table_;
    std::function<void(const std::string&)> countListener_;
    std::function<std::vector<platform::MonitorRect>()> monitorSource_;
    std::vector<platform::MonitorRect> monitors_;  // at the last read
};

}  // namespace pellmark
