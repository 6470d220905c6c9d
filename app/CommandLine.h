// The command line: "LOAD" or "SAVE" in any case, one separator character, the name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellmark {

enum class CommandAction { None, Load, Save };

struct Command {
    CommandAction action = CommandAction::None;
    std::string name;  // taken literally: no quotes removed, no spaces trimmed
};

// Empty when the line is too short to hold a keyword and a separator (one to four
// characters); an empty line is a normal start.
[[nodiscard]] std::optional<Command> ParseCommandLine(std::string_view line);

// What follows the program's path in a whole command line, as WinMain's lpCmdLine gives
// it: the path (up to the first blank or control character outside double quotes) and the
// blanks after it skipped; the rest exactly as typed.
[[nodiscard]] std::string_view ArgumentsAfterProgramPath(std::string_view commandLine) noexcept;

}  // namespace pellmark
