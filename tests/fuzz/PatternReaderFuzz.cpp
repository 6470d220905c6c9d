// Feeds arbitrary bytes to the pattern readers as a pattern file, once as they are and once
// after a UTF-8 byte-order mark, so that both ways of reading captions see every input.
// The same bytes also serve as the parsing names kept beside the pattern. Beyond the
// sanitizers' own findings it checks that the file is closed afterwards, that a restore
// never puts two icons on one spot, that no record is made up (a file cannot hold more
// records than it has lines), and that the encoding changes the captions only.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternReader.h"
#include "patterns/PatternRestore.h"
#include "platform/Utf8.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "settings/AppInfo.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pellmark;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t lineCount =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(),
                                               [](char c) { return c == '\r' || c == '\n'; })) +
        1;

    sim::SimDesktop desktop;
    desktop.icons = {{"Recycle Bin", 18, 2, 0, "::{645FF040-5081-101B-9F08-00AA002F954E}"},
                     {"Notes", 100, 60, 1, "C:\\Desktop\\Notes.txt"},
                     {"Notes", 0, 0, 2, "C:\\Desktop\\Notes"},
                     {"Hidden", 1100, 300, 3}};
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    files.files["p.ips"] = bytes;
    // The same bytes as the names kept beside it, after their header.
    files.files["p.names"] = std::string(kParsingNamesHeader) + "\r\n" + bytes;
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();
    PatternRestore restore(icons, files, dialogs);
    restore.ApplyPattern("p.ips", 1024, 768, false);
    Require(files.openReaders == 0);
    Require(desktop.icons.size() == 4);
    // The icons stood apart, and a restore never puts two on one spot.
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = i + 1; j < 4; ++j) {
            Require(desktop.icons[i].x != desktop.icons[j].x ||
                    desktop.icons[i].y != desktop.icons[j].y);
        }
    }

    // The preview's reading, 16-bit positions, of the bytes as ANSI and as UTF-8.
    const auto previewable = [](int major) { return major == kVersionMajor; };
    PatternBody ansi;
    const PatternFileState ansiState =
        ReadPatternFile(files, "p.ips", previewable, kPreviewPositions, ansi);
    files.files["u.ips"] = std::string(kUtf8ByteOrderMark) + bytes;
    PatternBody utf8;
    const PatternFileState utf8State =
        ReadPatternFile(files, "u.ips", previewable, kPreviewPositions, utf8);
    Require(files.openReaders == 0);
    Require(ansi.records.size() <= lineCount / 2);
    for (const PatternRecord& record : ansi.records) {
        Require(record.x >= INT16_MIN && record.x <= INT16_MAX);
        Require(record.y >= INT16_MIN && record.y <= INT16_MAX);
    }
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        return 0;  // read as UTF-8 already; the second read only sees two marks
    }
    Require(ansiState == utf8State);
    Require(ansi.records.size() == utf8.records.size());
    Require(ansi.savedWidth == utf8.savedWidth && ansi.savedHeight == utf8.savedHeight);
    for (std::size_t i = 0; i < ansi.records.size(); ++i) {
        const PatternRecord& a = ansi.records[i];
        const PatternRecord& u = utf8.records[i];
        Require(a.x == u.x && a.y == u.y && a.offScreen == u.offScreen);
        // ANSI captions always come out as UTF-8, and go back to the very bytes stored.
        Require(platform::IsValidUtf8(a.caption));
        Require(files.ToAnsiCodePage(a.caption) == std::optional<std::string>(u.caption));
    }
    return 0;
}
