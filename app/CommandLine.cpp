#include "app/CommandLine.h"

#include <cctype>

namespace pellmark {

std::optional<Command> ParseCommandLine(std::string_view line) {
    if (line.empty()) {
        return Command{};
    }
    if (line.size() < 5) {
        return std::nullopt;
    }
    Command command;
    command.name = std::string(line.substr(5));
    std::string keyword(line.substr(0, 4));
    for (char& c : keyword) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (keyword == "LOAD") {
        command.action = CommandAction::Load;
    } else if (keyword == "SAVE") {
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
