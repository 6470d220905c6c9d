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

}  // namespace pellmark
