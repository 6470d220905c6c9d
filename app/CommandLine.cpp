#include "app/CommandLine.h"

#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace pellmark {

std::optional<Command> ParseCommandLine(std::string_view line) {
    if (line.empty()) {
        return Command{};
    }
    // Characters, not bytes: a separator or keyword letter beyond ASCII is one character.
    const std::string_view throughSeparator = platform::Utf8PrefixOfUtf16Units(line, 5);
    if (platform::Utf8ToUtf16(throughSeparator).size() < 5) {
        return std::nullopt;
    }
    Command command;
    command.name = std::string(line.substr(throughSeparator.size()));
    const std::string_view keyword = platform::Utf8PrefixOfUtf16Units(line, 4);
    if (platform::EqualIgnoringCase(keyword, "LOAD")) {
        command.action = CommandAction::Load;
    } else if (platform::EqualIgnoringCase(keyword, "SAVE")) {
        command.action = CommandAction::Save;
    }
    return command;
}

std::string_view ArgumentsAfterProgramPath(std::string_view commandLine) noexcept {
    // Bytes of UTF-8 beyond ASCII count as text, not as blanks.
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t pos = 0;
    bool quoted = false;
    while (pos < commandLine.size() && (quoted || !isBlank(commandLine[pos]))) {
        if (commandLine[pos] == '"') {
            quoted = !quoted;
        }
        ++pos;
    }
    while (pos < commandLine.size() && isBlank(commandLine[pos])) {
        ++pos;
    }
    return commandLine.substr(pos);
}

RunResult ResultOf(RestoreResult restore) noexcept {
    switch (restore) {
        case RestoreResult::Restored:
            return RunResult::Done;
        case RestoreResult::Missing:
            return RunResult::NoSuchPattern;
        case RestoreResult::Unreadable:
        case RestoreResult::Refused:
            return RunResult::DamagedPattern;
        case RestoreResult::NoIcons:
            return RunResult::NoDesktop;
        case RestoreResult::AutoArranged:
            break;
    }
    return RunResult::Other;
}

RunResult ResultOf(SaveResult save) noexcept {
    switch (save.outcome) {
        case SaveResult::Saved:
            return RunResult::Done;
        case SaveResult::NameTooLong:
            return RunResult::NameRefused;
        case SaveResult::NoIcons:
            return RunResult::NoDesktop;
        case SaveResult::NotWritten:
            return RunResult::NotWritten;
    }
    return RunResult::Other;
}

bool QuietCommandLine(const SettingsStore& store, std::string_view commandLine) {
    if (commandLine.empty()) {
        return false;
    }
    // A check box's state; "True" is taken as the loader takes it.
    const std::string stored = store.Get(kSettingsSection, "QuietCommandLine", "0");
    const auto first = stored.find_first_not_of(' ');
    const auto last = stored.find_last_not_of(' ');
    const std::string_view value = first == std::string::npos
                                       ? std::string_view()
                                       : std::string_view(stored).substr(first, last - first + 1);
    return value == "1" || platform::EqualIgnoringCase(value, "True");
}

platform::MessageAnswer CommandLineMessages::ShowMessage(const platform::MessageRequest& request) {
    if (!running_) {
        return boxes_.ShowMessage(request);
    }
    system_.WriteToConsole(request.text);
    if (!quiet_) {
        return boxes_.ShowMessage(request);
    }
    switch (request.buttons) {
        case platform::MessageButtons::Ok:
            return platform::MessageAnswer::Ok;
        case platform::MessageButtons::YesNo:
            return platform::MessageAnswer::No;
        case platform::MessageButtons::OkCancel:
        case platform::MessageButtons::YesNoCancel:
            break;
    }
    return platform::MessageAnswer::Cancel;
}

}  // namespace pellmark
