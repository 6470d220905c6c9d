#include "app/Main.h"

#include <string>

#include "settings/AppInfo.h"
#include "settings/SettingsStore.h"
#include "settings/WindowsVersion.h"

namespace pellmark {

bool Main(ProgramServices& services, Form1& mainForm) {
    if (!services.system.ClaimSingleInstance()) {
        // A script's second call is told too, quietly when it asked for that.
        CommandLineMessages messages(services.dialogs, services.system);
        if (!services.commandLine.empty()) {
            messages.BeginRun(
                QuietCommandLine(SettingsStore(services.registry), services.commandLine));
        }
        messages.ShowMessage({.text = std::string(kAppTitle) + " is already running.",
                              .icon = platform::MessageIcon::Information});
        return false;
    }
    // The warning is for a system where no way to the desktop's icons exists; on 95/98/Me
    // and the NT family from NT 4 on the program reads and moves them.
    if (!DesktopReachable(GetVersionInfo(services.system))) {
        SettingsStore store(services.registry);
        if (store.Get(kWarnSection, "GaveNT", "") != "True") {
            const auto answer =
                services.dialogs.ShowMessage({.text = kNtWarning,
                                              .icon = platform::MessageIcon::Exclamation,
                                              .buttons = platform::MessageButtons::YesNo});
            if (answer == platform::MessageAnswer::No) {
                return false;
            }
            store.Save(kWarnSection, "GaveNT", "True");
        }
    }
    mainForm.Load();
    return true;
}

}  // namespace pellmark
