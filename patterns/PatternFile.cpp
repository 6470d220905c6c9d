#include "patterns/PatternFile.h"

#include "settings/AppInfo.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append(kLineEnd);
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

bool ValidatePatternName(std::string_view name, platform::Dialogs& dialogs) {
    if (name.find_first_of(kForbiddenNameCharacters) == std::string_view::npos) {
        return true;
    }
    dialogs.ShowMessage({.text = MessageText("0931") + "\n\\ / : *  ? \" < >  |",
                         .caption = "",
                         .icon = platform::MessageIcon::Critical});
    return false;
}

bool SavePattern(const std::string& path, DesktopIcons& desktop, platform::Files& files,
                 platform::Dialogs& dialogs) {
    desktop.ReadDesktopIcons();
    // The width and height lines are the screen measured now, as the table has it.
    static_cast<void>(desktop.GetScreenResolution());
    const std::string content = FormatPattern(desktop.Table(), desktop.ScreenTwips());
    const OsStatus written = files.WriteWholeFile(path, content);
    if (!written.ok()) {
        dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(written.code) + "\n" + written.description,
             .caption = "Saving pattern",
             .icon = platform::MessageIcon::Critical});
        return false;
    }
    return true;
}

}  // namespace pellmark
