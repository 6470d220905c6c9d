#include "patterns/PatternRestore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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

// Where a record puts its icon now; nothing when its position could not be read or lands
// beyond reach.
std::optional<IconPosition> TargetOf(const PatternRecord& record, ScaleRatios ratios,
                                     std::int32_t screenTwips, platform::ScreenSize screen) {
    if (!record.hasX || !record.hasY) {
        return std::nullopt;
    }
    const std::int64_t x = static_cast<std::int64_t>(record.x) +
                           (record.offScreen ? static_cast<std::int64_t>(screenTwips) : 0);
    const auto newX = Scale(x, ratios.x);
    const auto newY = Scale(record.y, ratios.y);
    if (!newX || !newY || !IsWithinReach(*newX, *newY, screen.width, screen.height, screenTwips)) {
        return std::nullopt;
    }
    return IconPosition{*newX, *newY};
}

std::uint64_t SpotKey(IconPosition at) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(at.x)) << 32 |
           static_cast<std::uint32_t>(at.y);
}

std::int64_t Distance(IconPosition a, IconPosition b) {
    return std::abs(static_cast<std::int64_t>(a.x) - b.x) +
           std::abs(static_cast<std::int64_t>(a.y) - b.y);
}

// The columns, one for each row, whose costs add up to the least (rows <= columns): the
// Hungarian method with potentials, rows * rows * columns steps.
std::vector<std::size_t> CheapestAssignment(const std::vector<std::vector<std::int64_t>>& cost) {
    const std::size_t rows = cost.size();
    const std::size_t columns = rows == 0 ? 0 : cost[0].size();
    constexpr std::int64_t kInfinite = std::numeric_limits<std::int64_t>::max() / 4;
    // One-based, column 0 standing for "none yet".
    std::vector<std::int64_t> rowPotential(rows + 1, 0);
    std::vector<std::int64_t> columnPotential(columns + 1, 0);
    std::vector<std::size_t> rowOfColumn(columns + 1, 0);
    std::vector<std::size_t> way(columns + 1, 0);
    for (std::size_t row = 1; row <= rows; ++row) {
        rowOfColumn[0] = row;
        std::size_t column = 0;
        std::vector<std::int64_t> least(columns + 1, kInfinite);
        std::vector<bool> used(columns + 1, false);
        do {
            used[column] = true;
            const std::size_t current = rowOfColumn[column];
            std::int64_t delta = kInfinite;
            std::size_t next = 0;
            for (std::size_t j = 1; j <= columns; ++j) {
                if (used[j]) {
                    continue;
                }
                const std::int64_t reduced =
                    cost[current - 1][j - 1] - rowPotential[current] - columnPotential[j];
                if (reduced < least[j]) {
                    least[j] = reduced;
                    way[j] = column;
                }
                if (least[j] < delta) {
                    delta = least[j];
                    next = j;
                }
            }
            for (std::size_t j = 0; j <= columns; ++j) {
                if (used[j]) {
                    rowPotential[rowOfColumn[j]] += delta;
                    columnPotential[j] -= delta;
                } else {
                    least[j] -= delta;
                }
            }
            column = next;
        } while (rowOfColumn[column] != 0);
        do {
            const std::size_t previous = way[column];
            rowOfColumn[column] = rowOfColumn[previous];
            column = previous;
        } while (column != 0);
    }
    std::vector<std::size_t> columnOfRow(rows, 0);
    for (std::size_t j = 1; j <= columns; ++j) {
        if (rowOfColumn[j] != 0) {
            columnOfRow[rowOfColumn[j] - 1] = j - 1;
        }
    }
    return columnOfRow;
}

// Icons and usable records of one caption, in their own order.
struct CaptionGroup {
    std::vector<std::size_t> icons;
    std::vector<std::size_t> records;
};

// Pairs one caption's icons with its records: an icon already at a record's place keeps
// it, the others go where the sum of their ways is least. Beyond some hundreds of icons
// of one caption, which no real desktop has, they pair in order instead.
void PairGroup(const CaptionGroup& group, const std::vector<DesktopIcon>& icons,
               const std::vector<std::optional<IconPosition>>& targets,
               std::vector<std::optional<std::size_t>>& recordOf) {
    std::unordered_multimap<std::uint64_t, std::size_t> iconsAt;
    for (const std::size_t i : group.icons) {
        iconsAt.emplace(SpotKey(icons[i].Position), i);
    }
    std::vector<std::size_t> records;
    for (const std::size_t r : group.records) {
        if (const auto here = iconsAt.find(SpotKey(*targets[r])); here != iconsAt.end()) {
            recordOf[here->second] = r;
            iconsAt.erase(here);
        } else {
            records.push_back(r);
        }
    }
    std::vector<std::size_t> free;
    for (const std::size_t i : group.icons) {
        if (!recordOf[i]) {
            free.push_back(i);
        }
    }
    const std::size_t pairs = std::min(free.size(), records.size());
    constexpr std::size_t kExactSteps = std::size_t{1} << 24;
    const std::size_t most = std::max(free.size(), records.size());
    if (pairs == 0) {
        return;
    }
    if (free.size() == 1 && records.size() == 1) {
        recordOf[free[0]] = records[0];
        return;
    }
    if (pairs * pairs * most > kExactSteps) {
        for (std::size_t k = 0; k < pairs; ++k) {
            recordOf[free[k]] = records[k];
        }
        return;
    }
    const bool iconsAreRows = free.size() <= records.size();
    const std::vector<std::size_t>& rows = iconsAreRows ? free : records;
    const std::vector<std::size_t>& columns = iconsAreRows ? records : free;
    std::vector<std::vector<std::int64_t>> cost(rows.size(),
                                                std::vector<std::int64_t>(columns.size()));
    for (std::size_t a = 0; a < rows.size(); ++a) {
        for (std::size_t b = 0; b < columns.size(); ++b) {
            const std::size_t i = iconsAreRows ? rows[a] : columns[b];
            const std::size_t r = iconsAreRows ? columns[b] : rows[a];
            cost[a][b] = Distance(icons[i].Position, *targets[r]);
        }
    }
    const std::vector<std::size_t> chosen = CheapestAssignment(cost);
    for (std::size_t a = 0; a < rows.size(); ++a) {
        const std::size_t i = iconsAreRows ? rows[a] : columns[chosen[a]];
        const std::size_t r = iconsAreRows ? columns[chosen[a]] : rows[a];
        recordOf[i] = r;
    }
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
                                       ScaleRatios ratios, std::int32_t screenTwips,
                                       platform::ScreenSize screen) {
    std::vector<std::optional<IconPosition>> targets(records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        targets[r] = TargetOf(records[r], ratios, screenTwips, screen);
    }
    std::vector<std::optional<std::size_t>> recordOf(icons.size());
    std::vector<bool> recordUsed(records.size(), false);

    // The shell's names are unique, so they settle every icon whose record knows its name;
    // such an icon is its record's alone, even when that record's position is damaged.
    std::unordered_map<std::string_view, std::size_t> iconByName;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (!icons[i].ParsingName.empty()) {
            iconByName.try_emplace(icons[i].ParsingName, i);
        }
    }
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto found = records[r].parsingName.empty() ? iconByName.end()
                                                          : iconByName.find(records[r].parsingName);
        if (found != iconByName.end() && !recordOf[found->second]) {
            recordOf[found->second] = r;
            recordUsed[r] = true;
        }
    }

    // Then by caption, among what is left.
    std::unordered_map<std::string_view, CaptionGroup> groups;
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (!recordUsed[r] && targets[r]) {
            groups[TrimTrailingSpaces(records[r].caption)].records.push_back(r);
        }
    }
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (!recordOf[i]) {
            if (const auto group = groups.find(TrimTrailingSpaces(icons[i].Caption));
                group != groups.end()) {
                group->second.icons.push_back(i);
            }
        }
    }
    for (const auto& [caption, group] : groups) {
        PairGroup(group, icons, targets, recordOf);
    }

    struct Candidate {
        std::size_t record;
        std::size_t icon;
        IconPosition at;
    };
    std::vector<Candidate> candidates;
    std::vector<bool> moving(icons.size(), false);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (recordOf[i] && targets[*recordOf[i]] && *targets[*recordOf[i]] != icons[i].Position) {
            candidates.push_back({*recordOf[i], i, *targets[*recordOf[i]]});
            moving[i] = true;
        }
    }
    // Never two icons on one spot: an icon that stays keeps its spot, an earlier record
    // wins over a later one. An icon held back stays, so its spot is taken in turn.
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.record < b.record; });
    for (bool heldBack = true; heldBack;) {
        heldBack = false;
        std::unordered_set<std::uint64_t> taken;
        for (std::size_t i = 0; i < icons.size(); ++i) {
            if (!moving[i]) {
                taken.insert(SpotKey(icons[i].Position));
            }
        }
        for (const Candidate& candidate : candidates) {
            if (moving[candidate.icon] && !taken.insert(SpotKey(candidate.at)).second) {
                moving[candidate.icon] = false;
                heldBack = true;
            }
        }
    }
    std::vector<IconMove> moves;
    for (const Candidate& candidate : candidates) {
        if (moving[candidate.icon]) {
            moves.push_back({static_cast<int>(candidate.icon), candidate.at.x, candidate.at.y});
        }
    }
    std::sort(moves.begin(), moves.end(),
              [](const IconMove& a, const IconMove& b) { return a.index < b.index; });
    return moves;
}

PatternRestore::PatternRestore(DesktopIcons& desktop, platform::Files& files,
                               platform::Dialogs& dialogs)
    : desktop_(desktop), files_(files), dialogs_(dialogs) {}

bool PatternRestore::RestorePatternFile(const std::string& path, bool silent) {
    const RestoreResult result = RestorePattern(path, silent);
    return result != RestoreResult::AutoArranged && result != RestoreResult::Missing;
}

RestoreResult PatternRestore::RestorePattern(const std::string& path, bool silent) {
    if (desktop_.IsDesktopAutoArrange()) {
        dialogs_.ShowMessage({.text = MessageText("0937") + "\n\n" + MessageText("0938"),
                              .caption = "",
                              .icon = platform::MessageIcon::Information});
        return RestoreResult::AutoArranged;
    }
    if (!PatternFileExists(path)) {
        dialogs_.ShowMessage({.text = "File: " + path + " not found. Unable to restore pattern.",
                              .caption = "",
                              .icon = platform::MessageIcon::Exclamation});
        return RestoreResult::Missing;
    }
    static_cast<void>(desktop_.GetScreenResolution());
    const DesktopIconTable& table = desktop_.Table();
    return ApplyPattern(path, table.ScreenWidth, table.ScreenHeight, silent);
}

RestoreResult PatternRestore::ApplyPattern(const std::string& path, std::int32_t width,
                                           std::int32_t height, bool silent) {
    PatternBody body;
    // The file is closed before anything is shown, so a refused one can be deleted while
    // its message is up.
    switch (ReadPatternFile(files_, path, RestorableMajor, kRestorePositions, body)) {
        case PatternFileState::Unreadable:
            if (!silent) {
                dialogs_.ShowMessage({.text = "Icon positions not previously saved."});
            }
            desktop_.ReadDesktopIcons();
            return RestoreResult::Unreadable;
        case PatternFileState::Refused:
            if (!silent) {
                dialogs_.ShowMessage({.text = MessageText("0934"),
                                      .caption = "",
                                      .icon = platform::MessageIcon::Question});
            }
            return RestoreResult::Refused;
        case PatternFileState::Read:
            break;
    }
    // Icons come and go between reads (a file saved to the desktop lands at index 0), so
    // the indexes the moves name must be those of the desktop as it is now.
    desktop_.ReadDesktopIconsQuietly();
    desktop_.SetScreenSize(body.savedWidth, body.savedHeight);
    const ScaleRatios ratios = ComputeScaleRatios(body.savedWidth, body.savedHeight, width, height);
    const std::vector<DesktopIcon>& icons = desktop_.Table().Icons;
    ReadParsingNames(files_, path, body.records);
    const std::vector<IconMove> moves =
        PlanPatternMoves(icons, body.records, ratios, desktop_.ScreenTwips(), {width, height});
    desktop_.MoveDesktopIcons(moves);
    desktop_.ReadDesktopIcons();
    return desktop_.Table().Icons.empty() ? RestoreResult::NoIcons : RestoreResult::Restored;
}

bool PatternRestore::PatternFileExists(const std::string& path) {
    OsStatus status;
    return files_.OpenForReading(path, status) != nullptr;
}

}  // namespace pellmark
