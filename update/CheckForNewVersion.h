// Asks the maker's web server for the published version, compares it with the running
// one and tells the user, while a small progress window counts down and can cancel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Network.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/forms/Form.h"
#include "update/VersionServer.h"
#include "update/VersionText.h"

namespace pellmark::update {

// What one check needs; the references outlive it.
struct VersionCheckContext {
    forms::Backend& forms;
    platform::Dialogs& dialogs;
    platform::Network& network;
    platform::System& system;  // opens the home page when the user asks for it
    ProgramVersion running;    // the program's own version (its version resource)
    VersionServer server;      // where the version page is asked for (ReadVersionServer)
    // True once the program is ending (its main window has gone): the check stops at once,
    // without a message, rather than keep an unseen process alive. None: never.
    std::function<bool()> ending;
};

// The link's click: runs the whole check and returns when it is over. `link` (the options
// dialog's "Check for new version" label) reads "Checking..." meanwhile; the progress
// window is owned by the link's form. While a check runs, a second call returns at once.
void CheckForNewVersion(const VersionCheckContext& context, forms::Label& link);

// The link's click as the program wires it: the server is read from the settings in
// `registry` at every click, so a changed setting takes effect without a restart.
[[nodiscard]] std::function<void(forms::Label& link)> VersionCheckCommand(
    forms::Backend& forms, platform::Dialogs& dialogs, platform::Network& network,
    platform::System& system, platform::Registry& registry, ProgramVersion running,
    std::function<bool()> ending);

// True while a check runs anywhere in the program.
[[nodiscard]] bool VersionCheckRunning() noexcept;

}  // namespace pellmark::update
