// Feeds arbitrary bytes to the pattern readers as a pattern file. Beyond the sanitizers'
// own findings it checks that the file is closed afterwards and that no record is made
// up: a file cannot hold more records than it has lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternReader.h"
#include "patterns/PatternRestore.h"
#include "platform/LineReader.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"

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
    desktop.icons = {
        {"Recycle Bin", 18, 2, 0}, {"Notes", 100, 60, 1}, {"", 0, 0, 2}, {"Hidden", 1100, 300, 3}};
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    files.files["p.ips"] = bytes;
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();
    PatternRestore restore(icons, files, dialogs);
    restore.ApplyPattern("p.ips", 1024, 768, false);
    Require(files.openReaders == 0);
    Require(desktop.icons.size() == 4);

    // The preview's reading: the same body with 16-bit positions.
    OsStatus status;
    const auto source = files.OpenForReading("p.ips", status);
    platform::LineReader lines(*source);
    std::string header;
    lines.ReadLine(header);
    static_cast<void>(PatternMajorVersion(header));
    const PatternBody body = ReadPatternBody(lines, kPreviewPositions);
    Require(body.records.size() <= lineCount / 2);
    for (const PatternRecord& record : body.records) {
        Require(record.x >= INT16_MIN && record.x <= INT16_MAX);
        Require(record.y >= INT16_MIN && record.y <= INT16_MAX);
    }
    return 0;
}
