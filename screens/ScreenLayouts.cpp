#include "screens/ScreenLayouts.h"

#include <charconv>
#include <memory>
#include <utility>

#include "patterns/PatternFile.h"
#include "patterns/PatternRestore.h"
#include "platform/LineReader.h"
#include "platform/SafeFileWrite.h"

namespace pellmark::screens {

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

bool ParseInt(std::string_view text, std::int32_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool IsKey(std::string_view key) {
    return key.size() == 16 && key.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Only a plain name inside the folder, so that no index can point elsewhere.
bool IsLayoutFileName(std::string_view name) {
    return name.size() > 4 && name.ends_with(".ips") &&
           name.find_first_of("\\/:*?\"<>|") == std::string_view::npos && name != ".ips";
}

}  // namespace

std::string FormatIndexLine(const StoredLayout& layout) {
    std::string line = layout.key;
    for (const std::string* field : {&layout.file, &layout.description}) {
        line += '\t';
        line += *field;
    }
    for (const platform::Monitor& m : layout.arrangement.monitors) {
        line += '\t';
        for (const std::int32_t number : {m.rect.left, m.rect.top, m.rect.right, m.rect.bottom,
                                          static_cast<std::int32_t>(m.dpi)}) {
            line += std::to_string(number);
            line += ',';
        }
        line += m.primary ? "P," : "S,";
        line += m.id;
    }
    return line;
}

std::optional<StoredLayout> ParseIndexLine(std::string_view line) {
    const std::vector<std::string_view> fields = Split(line, '\t');
    if (fields.size() < 4 || !IsKey(fields[0]) || !IsLayoutFileName(fields[1])) {
        return std::nullopt;
    }
    StoredLayout layout{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), {}};
    std::vector<platform::Monitor> monitors;
    for (std::size_t i = 3; i < fields.size(); ++i) {
        const std::vector<std::string_view> parts = Split(fields[i], ',');
        platform::Monitor m;
        std::int32_t dpi = 0;
        if (parts.size() < 7 || !ParseInt(parts[0], m.rect.left) ||
            !ParseInt(parts[1], m.rect.top) || !ParseInt(parts[2], m.rect.right) ||
            !ParseInt(parts[3], m.rect.bottom) || !ParseInt(parts[4], dpi) ||
            (parts[5] != "P" && parts[5] != "S")) {
            return std::nullopt;
        }
        m.dpi = dpi;
        m.primary = parts[5] == "P";
        // The id is the rest of the field: it may hold commas of its own.
        const std::size_t idStart = static_cast<std::size_t>(parts[6].data() - fields[i].data());
        m.id = std::string(fields[i].substr(idStart));
        monitors.push_back(std::move(m));
    }
    layout.arrangement = MakeArrangement(std::move(monitors));
    // A line whose monitors do not give its own key was not written by this program.
    if (ArrangementKey(layout.arrangement) != layout.key) {
        return std::nullopt;
    }
    return layout;
}

ScreenLayouts::ScreenLayouts(platform::Files& files, std::string savedFolder)
    : files_(files), folder_(std::move(savedFolder) + "Screens\\") {}

void ScreenLayouts::Load() {
    layouts_.clear();
    keptLines_.clear();
    indexUnreadable_ = false;
    const std::string path = folder_ + std::string(kIndexName);
    OsStatus status;
    const std::unique_ptr<platform::ByteSource> file = files_.OpenForReading(path, status);
    if (!file) {
        if (status.code != kFileNotFound && status.code != kPathNotFound) {
            indexUnreadable_ = true;
            problems_.push_back({"0962", path, status.description});
        }
        return;
    }
    platform::LineReader lines(*file);
    std::string line;
    if (!lines.ReadLine(line) || line != kIndexHeader) {
        indexUnreadable_ = true;
        problems_.push_back({"0963", path, {}});
        return;
    }
    bool damaged = false;
    while (lines.ReadLine(line)) {
        if (line.empty()) {
            continue;
        }
        if (std::optional<StoredLayout> layout = ParseIndexLine(line);
            layout && !Find(layout->key)) {
            layouts_.push_back(*std::move(layout));
        } else {
            keptLines_.push_back(line);
            damaged = true;
        }
    }
    if (damaged) {
        problems_.push_back({"0963", path, {}});
    }
}

const StoredLayout* ScreenLayouts::Find(const std::string& key) const {
    for (const StoredLayout& layout : layouts_) {
        if (layout.key == key) {
            return &layout;
        }
    }
    return nullptr;
}

LayoutState ScreenLayouts::Read(const StoredLayout& layout, PatternBody& body) {
    const std::string path = PathOf(layout);
    switch (ReadPatternFile(files_, path, RestorableMajor, kRestorePositions, body)) {
        case PatternFileState::Read:
            return LayoutState::Read;
        case PatternFileState::Refused:
            problems_.push_back({"0960", path, {}});
            return LayoutState::Damaged;
        case PatternFileState::Unreadable:
            break;
    }
    OsStatus status;
    static_cast<void>(files_.OpenForReading(path, status));
    if (status.code == kFileNotFound || status.code == kPathNotFound) {
        problems_.push_back({"0961", path, {}});
        return LayoutState::Missing;
    }
    problems_.push_back({"0960", path, status.description});
    return LayoutState::Damaged;
}

void ScreenLayouts::MoveAside(const std::string& path) {
    // "Layout.ips.damaged", "Layout.ips.damaged2"...: a name no listing of patterns takes.
    for (int n = 1; n < 100; ++n) {
        const std::string aside = path + ".damaged" + (n == 1 ? "" : std::to_string(n));
        OsStatus status;
        if (!files_.OpenForReading(aside, status) &&
            (status.code == kFileNotFound || status.code == kPathNotFound)) {
            static_cast<void>(files_.MoveReplacing(path, aside));
            return;
        }
    }
}

bool ScreenLayouts::EnsureFolder() {
    // An existing folder answers with an error too; the writes below tell.
    static_cast<void>(files_.CreateFolder(folder_.substr(0, folder_.size() - 1)));
    return true;
}

bool ScreenLayouts::WriteIndex() {
    const std::string path = folder_ + std::string(kIndexName);
    if (indexUnreadable_) {
        MoveAside(path);
        indexUnreadable_ = false;
    }
    std::string text(kIndexHeader);
    text += "\r\n";
    for (const StoredLayout& layout : layouts_) {
        text += FormatIndexLine(layout) + "\r\n";
    }
    for (const std::string& line : keptLines_) {
        text += line + "\r\n";
    }
    const OsStatus written = platform::SafeFileWrite(files_, path, text);
    if (!written.ok()) {
        problems_.push_back({"0962", path, written.description});
    }
    return written.ok();
}

bool ScreenLayouts::Learn(const Arrangement& arrangement, const DesktopIconTable& table,
                          std::int32_t screenTwips) {
    const std::string key = ArrangementKey(arrangement);
    if (key.empty()) {
        return false;
    }
    EnsureFolder();
    StoredLayout entry{key, key + ".ips", DescribeArrangement(arrangement), arrangement};
    if (const StoredLayout* known = Find(key)) {
        entry.file = known->file;
    }
    const std::string path = folder_ + entry.file;
    PatternBody ignored;
    if (ReadPatternFile(files_, path, RestorableMajor, kRestorePositions, ignored) ==
        PatternFileState::Refused) {
        MoveAside(path);
    }
    const OsStatus written = platform::SafeFileWrite(
        files_, path, EncodePattern(FormatPattern(table, screenTwips), files_));
    if (!written.ok()) {
        problems_.push_back({"0962", path, written.description});
        return false;
    }
    const bool listed = Find(key) != nullptr;
    if (!listed) {
        layouts_.push_back(std::move(entry));
        return WriteIndex();
    }
    return true;
}

std::vector<StoreProblem> ScreenLayouts::TakeProblems() {
    return std::exchange(problems_, {});
}

}  // namespace pellmark::screens
