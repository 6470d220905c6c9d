// The command line: "LOAD" or "SAVE" in any case, one separator character, the name; the
// exit code that tells a script how the run went, and its messages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "patterns/PatternFile.h"
#include "patterns/PatternRestore.h"
#include "platform/Dialogs.h"
#include "platform/System.h"
#include "settings/SettingsStore.h"

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

// A command-line run's exit code.
enum class RunResult : int {
    Done = 0,
    Other = 1,  // anything below not named: an unknown keyword, an auto-arranged desktop
    NameRefused = 2,
    NoSuchPattern = 3,
    DamagedPattern = 4,  // unreadable, or of a version this release does not read
    NoDesktop = 5,       // the desktop could not be read: nothing written, nothing moved
    NotWritten = 6,
};

[[nodiscard]] RunResult ResultOf(RestoreResult restore) noexcept;
[[nodiscard]] RunResult ResultOf(SaveResult save) noexcept;

// Whether a run of this command line shows no message box (the setting QuietCommandLine,
// "1" or "0"); never for a start without one.
[[nodiscard]] bool QuietCommandLine(const SettingsStore& store, std::string_view commandLine);

// The message boxes while a command line runs: each text also goes to the console a script
// started the program from, and a quiet run shows no box at all, taking the answer that
// changes nothing. Outside a run every box passes through as it is.
class CommandLineMessages final : public platform::Dialogs {
  public:
    CommandLineMessages(platform::Dialogs& boxes, platform::System& system)
        : boxes_(boxes), system_(system) {}

    void BeginRun(bool quiet) noexcept {
        running_ = true;
        quiet_ = quiet;
    }
    void EndRun() noexcept { running_ = quiet_ = false; }

    platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override;
    std::optional<std::uint32_t> PickColour(std::uint32_t initial) override {
        return boxes_.PickColour(initial);
    }
    std::optional<platform::FontChoice> PickFont(const platform::FontChoice& initial) override {
        return boxes_.PickFont(initial);
    }

  private:
    platform::Dialogs& boxes_;
    platform::System& system_;
    bool running_ = false;
    bool quiet_ = false;
};

}  // namespace pellmark
