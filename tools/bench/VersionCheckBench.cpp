// Prints how much of a processor the new-version check takes while it waits for a slow
// server: a web server in this process on 127.0.0.1 reads the request, says nothing for
// ten seconds, then answers with the running version. The check's thread (the window
// thread, which also draws the progress window) is measured alone and with the whole
// process. The run counts only when the check ended with the "latest version" message.
#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/win/WindowsVersionCheck.h"
#include "tools/bench/QuickMode.h"

namespace {

using namespace pellmark;

const int kSilentSeconds = pellmark::bench::Quick() ? 1 : 10;

double Seconds(const FILETIME& kernel, const FILETIME& user) {
    const auto value = [](const FILETIME& time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return value(kernel) + value(user);
}

double ThreadSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
    return Seconds(kernel, user);
}

double ProcessSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
    return Seconds(kernel, user);
}

}  // namespace

int main() {
    testcases::WindowsVersionCheck check;
    testcases::LocalServer server([](SOCKET client) {
        std::this_thread::sleep_for(std::chrono::seconds(kSilentSeconds));
        std::string page = "HTTP/1.1 200 OK\r\n\r\n";
        page += update::kVersionMarker;
        page += "2.14.2\">";
        testcases::SendAll(client, page);
    });
    if (!check.winsock.Started() || !server.Listening()) {
        std::printf("no server\n");
        return 1;
    }

    const double threadBefore = ThreadSeconds();
    const double processBefore = ProcessSeconds();
    const auto began = std::chrono::steady_clock::now();
    check.Run({"127.0.0.1", server.Port(), "version"});
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - began;
    const double thread = ThreadSeconds() - threadBefore;
    const double process = ProcessSeconds() - processBefore;
    const bool closed = server.ClientClosed();

    const bool answered = closed && check.dialogs.shown.size() == 1 &&
                          check.dialogs.shown[0].text.find("( 2.14.2 )") != std::string::npos;
    std::printf(
        "version check waiting %.2f s for a silent server: window thread %.3f s of "
        "processor (%.2f %% of a core), whole process %.3f s (%.2f %%)%s\n",
        wall.count(), thread, 100.0 * thread / wall.count(), process,
        100.0 * process / wall.count(), answered ? "" : "  [the check did not end well]");
    return answered ? 0 : 1;
}
