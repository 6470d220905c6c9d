// Runs a real version check against a server on 127.0.0.1 that stays silent for the given
// number of seconds and then hangs up, so the progress window can be photographed while it
// counts down. The outcome goes to an in-memory message list: nothing else shows.
//   progress_shot.exe SECONDS
#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/win/WindowsVersionCheck.h"

int main(int argc, char** argv) {
    using namespace pellmark;
    const int silent = argc > 1 ? std::atoi(argv[1]) : 20;
    testcases::WindowsVersionCheck check;
    testcases::LocalServer server([silent](SOCKET client) {
        std::this_thread::sleep_for(std::chrono::seconds(silent));
        ::shutdown(client, SD_SEND);
    });
    if (!check.winsock.Started() || !server.Listening()) {
        return 1;
    }
    check.Run({"127.0.0.1", server.Port(), "version"});
    return server.ClientClosed() ? 0 : 1;
}
