// Runs a real version check against a server on 127.0.0.1 that stays silent for the given
// number of seconds and then hangs up, so the progress window can be photographed while it
// counts down. The outcome goes to an in-memory message list: nothing else shows.
//   progress_shot.exe SECONDS
#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimSystem.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Network.h"
#include "tests/win/LocalWebServer.h"
#include "update/CheckForNewVersion.h"

namespace {

class LinkForm final : public pellmark::forms::Form {
  public:
    explicit LinkForm(pellmark::forms::Backend& backend)
        : Form(backend, "frmOptions"), link(Add<pellmark::forms::Label>("lblChkForUpdate")) {}
    pellmark::forms::Label& link;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace pellmark;
    const int silent = argc > 1 ? std::atoi(argv[1]) : 20;
    testcases::Winsock winsock;
    testcases::LocalServer server([silent](SOCKET client) {
        std::this_thread::sleep_for(std::chrono::seconds(silent));
        ::shutdown(client, SD_SEND);
    });
    if (!winsock.Started() || !server.Listening()) {
        return 1;
    }
    win32::Win32FormsBackend forms;
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    win32::Win32Network network;
    LinkForm options(forms);
    options.Load();
    update::CheckForNewVersion(
        {forms, dialogs, network, system, {2, 14, 2}, {"127.0.0.1", server.Port(), "version"}},
        options.link);
    return server.ClientClosed() ? 0 : 1;
}
