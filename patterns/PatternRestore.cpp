#include "patterns/PatternRestore.h"

#include <cmath>
#include <string_view>
#include <unordered_map>

#include "patterns/IconGeometry.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {

std::string_view TrimTrailingSpaces(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// A saved position divided by its ratio, or nothing when that is not a 32-bit number.
std::optional<std::int32_t> Scale(std::int64_t position, float ratio) {
    if (!(ratio > 0) || !std::isfinite(ratio)) {
        return std::nullopt;
    }
    const double scaled = RoundHalfEven(static_cast<double>(position) / static_cast<double>(ratio));
    if (!(scaled >= INT32_MIN && scaled <= INT32_MAX)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(scaled);
}

}  // namespace

ScaleRatios ComputeScaleRatios(std::int32_t savedWidth, std::int32_t savedHeight,
                               std::int32_t width, std::int32_t height) noexcept {
    // A zero current size gives no ratio; the positions then cannot be scaled.
    ScaleRatios ratios;
    if (width != 0) {
        ratios.x = static_cast<float>(static_cast<double>(savedWidth) / width);
    }
    if (height != 0) {
        ratios.y = static_cast<float>(static_cast<double>(savedHeight) / height);
    }
    return ratios;
}

std::vector<IconMove> PlanPatternMoves(const std::vector<DesktopIcon>& icons,
                                       const std::vector<PatternRecord>& records,
                                       ScaleRatios ratios, std::int32_t screenTwips) {
    // First record wins: later records with the same caption never enter the index.
    std::unordered_map<std::string_view, const PatternRecord*> byCaption;
    byCaption.reserve(records.size());
    for (const PatternRecord& record : records) {
        byCaption.try_emplace(TrimTrailingSpaces(record.caption), &record);
    }
    std::vector<IconMove> moves;
    moves.reserve(icons.size());
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const auto found = byCaption.find(TrimTrailingSpaces(icons[i].Caption));
        if (found == byCaption.end()) {
            continue;
        }
        const PatternRecord& record = *found->second;
        const std::int64_t x = static_cast<std::int64_t>(record.x) +
                               (record.offScreen ? static_cast<std::int64_t>(screenTwips) : 0);
        const auto newX = Scale(x, ratios.x);
        const auto newY = Scale(record.y, ratios.y);
        if (newX && newY) {
            moves.push_back({static_cast<int>(i), *newX, *newY});
        }
    }
    return moves;
}

std::vector<IconMove> MisplacedOnly(std::vector<IconMove> moves,
                                    const std::vector<DesktopIcon>& icons) {
    std::erase_if(moves, [&](const IconMove& move) {
        const auto index = static_cast<std::size_t>(move.index);
        return index < icons.size() && icons[index].Position == IconPosition{move.x, move.y};
    });
    return moves;
}

PatternRestore::PatternRestore(DesktopIcons& desktop, platform::Files& files,
                               platform::Dialogs& dialogs)
    : desktop_(desktop), files_(files), dialogs_(dialogs) {}

bool PatternRestore::RestorePatternFile(const std::string& path, bool silent) {
    if (desktop_.IsDesktopAutoArrange()) {
        dialogs_.ShowMessage({.text = MessageText("0937") + "\n\n" + MessageText("0938"),
                              .caption = "",
                              .icon = platform::MessageIcon::Information});
        return false;
    }
    if (!PatternFileExists(path)) {
        dialogs_.ShowMessage({.text = "File: " + path + " not found. Unable to restore pattern.",
                              .caption = "",
                              .icon = platform::MessageIcon::Exclamation});
        return false;
    }
    static_cast<void>(desktop_.GetScreenResolution());
    const DesktopIconTable& table = desktop_.Table();
    ApplyPattern(path, table.ScreenWidth, table.ScreenHeight, silent);
    return true;
}

void PatternRestore::ApplyPattern(const std::string& path, std::int32_t width, std::int32_t height,
                                  bool silent) {
    PatternBody body;
    // The file is closed before anything is shown, so a refused one can be deleted while
    // its message is up.
    const auto readable = [](int major) { return major >= kOldestReadableMajorVersion; };
    switch (ReadPatternFile(files_, path, readable, kRestorePositions, body)) {
        case PatternFileState::Unreadable:
            if (!silent) {
                dialogs_.ShowMessage({.text = "Icon positions not previously saved."});
            }
            desktop_.ReadDesktopIcons();
            return;
        case PatternFileState::Refused:
            if (!silent) {
                dialogs_.ShowMessage({.text = MessageText("0934"),
                                      .caption = "",
                                      .icon = platform::MessageIcon::Question});
            }
            return;
        case PatternFileState::Read:
            break;
    }
    // Icons come and go between reads (a file saved to the desktop lands at index 0), so
    // the indexes the moves name must be those of the desktop as it is now.
    desktop_.ReadDesktopIconsQuietly();
    desktop_.SetScreenSize(body.savedWidth, body.savedHeight);
    const ScaleRatios ratios = ComputeScaleRatios(body.savedWidth, body.savedHeight, width, height);
    const std::vector<DesktopIcon>& icons = desktop_.Table().Icons;
    const std::vector<IconMove> moves =
        MisplacedOnly(PlanPatternMoves(icons, body.records, ratios, desktop_.ScreenTwips()), icons);
    desktop_.MoveDesktopIcons(moves);
    desktop_.ReadDesktopIcons();
}

bool PatternRestore::PatternFileExists(const std::string& path) {
    OsStatus status;
    return files_.OpenForReading(path, status) != nullptr;
}

}  // namespace pellmark
