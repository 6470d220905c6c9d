#include "patterns/PatternFile.h"

#include <algorithm>
#include <array>

#include "patterns/PatternReader.h"
#include "platform/SafeFileWrite.h"
#include "platform/Utf8.h"
#include "settings/AppInfo.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append(kLineEnd);
}

bool SameLetters(std::string_view text, std::string_view upper) noexcept {
    if (text.size() != upper.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
        if (c != upper[i]) {
            return false;
        }
    }
    return true;
}

bool IsPortDigit(std::string_view digit) noexcept {
    constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    if (digit.size() == 1) {
        return digit[0] >= '1' && digit[0] <= '9';
    }
    return std::find(kSuperscripts.begin(), kSuperscripts.end(), digit) != kSuperscripts.end();
}

void ShowRefusal(std::string text, platform::Dialogs& dialogs) {
    dialogs.ShowMessage(
        {.text = std::move(text), .caption = "", .icon = platform::MessageIcon::Critical});
}
}  // namespace

std::string PatternHeader() {
    return std::string(kAppTitle) + " | version | " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

std::string PrintStyleNumber(std::int32_t value) {
    const std::int64_t wide = value;  // -2147483648 has no 32-bit magnitude
    std::string text = wide < 0 ? "-" : " ";
    text += std::to_string(wide < 0 ? -wide : wide);
    text += ' ';
    return text;
}

std::string FormatPattern(const DesktopIconTable& table, std::int32_t screenTwips) {
    std::string out;
    out.reserve(64 + table.Icons.size() * 64);
    AppendLine(out, PatternHeader());
    AppendLine(out, std::to_string(table.Icons.size()));
    AppendLine(out, std::to_string(table.ScreenWidth));
    AppendLine(out, std::to_string(table.ScreenHeight));
    for (const DesktopIcon& icon : table.Icons) {
        const std::int64_t x = static_cast<std::int64_t>(icon.Position.x) -
                               (icon.OffScreen ? static_cast<std::int64_t>(screenTwips) : 0);
        AppendLine(out, icon.Caption);
        AppendLine(out, PrintStyleNumber(static_cast<std::int32_t>(x)));
        AppendLine(out, PrintStyleNumber(icon.Position.y));
        AppendLine(out, icon.OffScreen ? "True" : "False");
    }
    return out;
}

std::string FormatParsingNames(const DesktopIconTable& table) {
    const bool anyName =
        std::any_of(table.Icons.begin(), table.Icons.end(),
                    [](const DesktopIcon& icon) { return !icon.ParsingName.empty(); });
    if (!anyName) {
        return {};
    }
    std::string out;
    AppendLine(out, kParsingNamesHeader);
    for (const DesktopIcon& icon : table.Icons) {
        AppendLine(out, icon.Caption);
        AppendLine(out, icon.ParsingName);
    }
    return out;
}

std::string EncodePattern(std::string_view text, platform::Files& files) {
    if (std::optional<std::string> ansi = files.ToAnsiCodePage(text)) {
        return *std::move(ansi);
    }
    std::string bytes(kUtf8ByteOrderMark);
    bytes += text;
    return bytes;
}

bool IsReservedDeviceName(std::string_view name) noexcept {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    if (stem.size() == 3) {
        return SameLetters(stem, "CON") || SameLetters(stem, "PRN") || SameLetters(stem, "AUX") ||
               SameLetters(stem, "NUL");
    }
    if (stem.size() < 4) {
        return false;
    }
    const std::string_view port = stem.substr(0, 3);
    return (SameLetters(port, "COM") || SameLetters(port, "LPT")) && IsPortDigit(stem.substr(3));
}

bool ValidatePatternName(std::string_view name, platform::Dialogs& dialogs) {
    if (name.find_first_of(kForbiddenNameCharacters) != std::string_view::npos) {
        ShowRefusal(MessageText("0931") + "\n\\ / : *  ? \" < >  |", dialogs);
        return false;
    }
    if (IsReservedDeviceName(name)) {
        ShowRefusal(std::string(kReservedNameMessage), dialogs);
        return false;
    }
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        ShowRefusal(std::string(kTrailingDotOrSpaceMessage), dialogs);
        return false;
    }
    return true;
}

std::size_t LongestPatternName(std::string_view savedFolder) {
    const std::size_t taken = platform::Utf8ToUtf16(savedFolder).size() + 4;  // and ".ips"
    return taken < kLongestPath ? kLongestPath - taken : 0;
}

SaveResult SavePattern(const std::string& path, DesktopIcons& desktop, platform::Files& files,
                       platform::Dialogs& dialogs) {
    const std::string_view folder = std::string_view(path).substr(0, path.find_last_of('\\') + 1);
    if (platform::Utf8ToUtf16(path).size() > kLongestPath) {
        dialogs.ShowMessage(
            {.text = MessageText("0959") + " " + std::to_string(LongestPatternName(folder)),
             .caption = "Saving pattern",
             .icon = platform::MessageIcon::Critical});
        return {SaveResult::NameTooLong};
    }
    desktop.ReadDesktopIcons();
    // The width and height lines are the screen measured now, as the table has it.
    static_cast<void>(desktop.GetScreenResolution());
    // A read that found nothing (no desktop, Explorer gone at log-off) has shown why; a
    // pattern of no icons would put nothing back.
    if (desktop.Table().Icons.empty()) {
        return {SaveResult::NoIcons};
    }
    const std::string content =
        EncodePattern(FormatPattern(desktop.Table(), desktop.ScreenTwips()), files);
    const OsStatus written = platform::SafeFileWrite(files, path, content);
    if (!written.ok()) {
        dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(written.code) + "\n" + written.description,
             .caption = "Saving pattern",
             .icon = platform::MessageIcon::Critical});
        return {SaveResult::NotWritten};
    }
    // The names only help a later restore tell apart icons that share a caption: one that
    // cannot be written is not reported, and no older names are left to mislead.
    const std::string namesPath = ParsingNamesPath(path);
    const std::string names = FormatParsingNames(desktop.Table());
    if (names.empty() || !platform::SafeFileWrite(files, namesPath, names).ok()) {
        static_cast<void>(files.RemoveFile(namesPath));
    }
    return {SaveResult::Saved};
}

}  // namespace pellmark
