// A new-version check on real windows and sockets, started from the options dialog's link
// on a form of its own, its messages kept in memory: for the tests, the figures and the
// screenshots that run it against a local web server.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimSystem.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Network.h"
#include "tests/win/LocalWebServer.h"
#include "update/CheckForNewVersion.h"

namespace pellmark::testcases {

class LinkForm final : public forms::Form {
  public:
    explicit LinkForm(forms::Backend& backend)
        : Form(backend, "frmOptions"), link(Add<forms::Label>("lblChkForUpdate")) {
        link.SetCaption("Check for new version");
        link.Move({10, 10, 200, 16});
    }
    forms::Label& link;
};

struct WindowsVersionCheck {
    WindowsVersionCheck() { options.Load(); }

    // Runs the check as version 2.14.2 against the server; returns when it has ended.
    void Run(const update::VersionServer& server) {
        update::CheckForNewVersion(
            {forms, dialogs, network, system, {2, 14, 2}, server, [this] { return mainClosed; }},
            options.link);
    }

    Winsock winsock;  // the server's sockets, started before and apart from the check's
    win32::Win32FormsBackend forms;
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    win32::Win32Network network;
    LinkForm options{forms};
    bool mainClosed = false;  // the main window's unload, as the check sees it
};

}  // namespace pellmark::testcases
