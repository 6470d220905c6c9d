// The new-version check over real sockets, against a small web server this test runs on
// 127.0.0.1 in a thread of its own, with the progress window on real windows. Every case
// ends with its message, and with no socket left open on either side.
#include <winsock2.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/ShippedLanguages.h"
#include "tests/win/WindowsVersionCheck.h"

namespace pellmark::update {
namespace {

using testcases::LocalServer;
using testcases::SendAll;

using platform::MessageIcon;

const std::string kMarker(kVersionMarker);
constexpr const char* kFailed = "The check for a new version failed:\n\n";
constexpr const char* kAdvice =
    "\n\nPlease insure you have an active Internet connection and try again.";

std::string Page(const std::string& version) {
    std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head>";
    page += kMarker;
    page += version;
    page += "\"></head><body>Pellmark</body></html>";
    return page;
}

class VersionCheckWin : public ::testing::Test, public testcases::WindowsVersionCheck {
  protected:
    VersionCheckWin() {
        testcases::LoadShippedMessages("English");
        EXPECT_TRUE(winsock.Started());
    }

    // Runs the check against the server and expects one message; returns the seconds it took.
    double Check(std::uint16_t port, const std::string& host, const std::string& text,
                 MessageIcon icon) {
        dialogs.shown.clear();
        const auto began = std::chrono::steady_clock::now();
        WindowsVersionCheck::Run({host, port, "programPg.asp?pid=8&DetailID=4"});
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
        EXPECT_EQ(dialogs.shown.size(), 1u);
        if (!dialogs.shown.empty()) {
            EXPECT_EQ(dialogs.shown[0].text, text);
            EXPECT_EQ(dialogs.shown[0].icon, icon);
        }
        EXPECT_EQ(win32::Win32Network::OpenSockets(), 0);
        EXPECT_EQ(win32::Win32Network::OpenSessions(), 0);
        EXPECT_FALSE(VersionCheckRunning());
        EXPECT_EQ(options.link.Caption(), "Check for new version");
        return took.count();
    }
};

TEST_F(VersionCheckWin, AnswersThatArriveWhole) {
    {
        LocalServer server([](SOCKET client) { SendAll(client, Page("3.0.0")); });
        dialogs.answers = {platform::MessageAnswer::Yes};
        Check(server.Port(), "127.0.0.1",
              "A newer version is available: Pellmark  (3.0.0).\n\nYou are using version "
              "2.14.2.\n\nDo you want to visit the homepage to download it?",
              MessageIcon::Question);
        EXPECT_EQ(dialogs.shown[0].caption, "Pellmark 3.0.0 is available");
        EXPECT_EQ(system.opened, std::vector<std::string>{"https://www.pellmark.example/"});
        EXPECT_TRUE(server.ClientClosed());
        std::string request = "GET /programPg.asp?pid=8&DetailID=4 HTTP/1.1\r\nHost: 127.0.0.1:";
        request += std::to_string(server.Port());
        request += "\r\nUser-Agent: Pellmark-update\r\n\r\n";
        EXPECT_EQ(server.Request(), request);
    }
    {
        LocalServer server([](SOCKET client) { SendAll(client, Page("2.14.2")); });
        Check(server.Port(), "127.0.0.1", "You have the latest version of Pellmark( 2.14.2 )",
              MessageIcon::Information);
        EXPECT_TRUE(server.ClientClosed());
    }
    {
        // The marker in two sends, apart in time.
        LocalServer server([](SOCKET client) {
            const std::string page = Page("2.15.0");
            const std::size_t split = page.find(kMarker) + 12;
            SendAll(client, page.substr(0, split));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            SendAll(client, page.substr(split));
        });
        dialogs.answers = {platform::MessageAnswer::No};
        Check(server.Port(), "127.0.0.1",
              "A newer version is available: Pellmark  (2.15.0).\n\nYou are using version "
              "2.14.2.\n\nDo you want to visit the homepage to download it?",
              MessageIcon::Question);
        EXPECT_TRUE(server.ClientClosed());
    }
    {
        // No marker, then the server closes.
        LocalServer server([](SOCKET client) {
            SendAll(client, "HTTP/1.1 404 Not Found\r\n\r\n<html>gone</html>");
            ::shutdown(client, SD_SEND);
        });
        const double took =
            Check(server.Port(), "127.0.0.1", std::string(kFailed) + "Reason unknown" + kAdvice,
                  MessageIcon::Exclamation);
        EXPECT_LT(took, 5.0);
        EXPECT_TRUE(server.ClientClosed());
    }
}

TEST_F(VersionCheckWin, TheLinksDialogMayCloseMeanwhile) {
    // The progress window belongs to the dialog; the dialog going takes its window along.
    LocalServer server([](SOCKET client) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        SendAll(client, Page("2.14.2"));
    });
    forms::Timer& closer = options.AddTimer("tmrClose");
    closer.SetInterval(500);
    closer.Tick = [this] { options.Unload(); };
    options.Show();
    closer.SetEnabled(true);
    Check(server.Port(), "127.0.0.1", "You have the latest version of Pellmark( 2.14.2 )",
          MessageIcon::Information);
    EXPECT_FALSE(options.Loaded());
    EXPECT_TRUE(server.ClientClosed());
}

// A listener on 127.0.0.1 that never takes a connection off its queue.
class Listener {
  public:
    Listener() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ::ntohs(address.sin_port);
        ::listen(socket_, 1);
    }
    ~Listener() {
        for (const SOCKET filler : fillers_) {
            ::closesocket(filler);
        }
        ::closesocket(socket_);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    [[nodiscard]] std::uint16_t Port() const { return port_; }

    // Connects until the queue is full, after which a connect waits for room that never
    // comes; false if it never filled.
    bool Fill() {
        for (int i = 0; i < 16; ++i) {
            const SOCKET filler = ::socket(AF_INET, SOCK_STREAM, 0);
            fillers_.push_back(filler);
            u_long on = 1;
            ::ioctlsocket(filler, static_cast<long>(FIONBIO), &on);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
            address.sin_port = ::htons(port_);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
            fd_set connected{1, {filler}};
            timeval wait{0, 300000};
            if (::select(0, nullptr, &connected, nullptr, &wait) == 0) {
                return true;
            }
        }
        return false;
    }

  private:
    SOCKET socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    std::uint16_t port_ = 0;
    std::vector<SOCKET> fillers_;
};

TEST_F(VersionCheckWin, NoConversation) {
    // A port nobody listens on: listened on, then closed again.
    const std::uint16_t freePort = Listener().Port();
    Check(freePort, "127.0.0.1", std::string(kFailed) + "Unable to connect" + kAdvice,
          MessageIcon::Exclamation);
    // The reserved top-level name never resolves.
    Check(80, "pellmark-check.invalid",
          std::string(kFailed) + "Failure resolving WEB SITE ADDRESS" + kAdvice,
          MessageIcon::Exclamation);
}

// A server that says nothing times out by the same clock, which the in-memory tests drive;
// here, one that never stops sending.
TEST_F(VersionCheckWin, ServersThatNeverFinishTimeOutAtThirtySeconds) {
    // Junk without end, as fast as the client takes it: read and let go.
    std::atomic<std::int64_t> sent{0};
    LocalServer server([&sent](SOCKET client) {
        const std::string junk(8192, 'x');
        while (SendAll(client, junk)) {
            sent += static_cast<std::int64_t>(junk.size());
        }
    });
    const double took =
        Check(server.Port(), "127.0.0.1", std::string(kFailed) + "Connection timed out" + kAdvice,
              MessageIcon::Exclamation);
    EXPECT_GT(took, 29.9);
    EXPECT_LT(took, 33.0);
    EXPECT_GT(sent.load(), 1'000'000);  // the client kept reading, and kept nothing
    EXPECT_TRUE(server.ClientClosed());
}

// Runs the check while a timer of the options form ticks every 100 ms; its tenth tick
// clicks Cancel, or ends the program as closing the main window does, while the check still
// connects or sends. Nothing is shown.
double RunUntilStopped(VersionCheckWin& fixture, std::uint16_t port, const std::string& page,
                       bool cancel) {
    int ticks = 0;
    char status[32] = "";
    forms::Timer& timer = fixture.options.AddTimer("tmrStop" + std::to_string(port));
    timer.SetInterval(100);
    timer.Tick = [&] {
        if (++ticks == 10) {
            const HWND progress = ::FindWindowA("Pellmark.frmProgress", nullptr);
            ::GetWindowTextA(static_cast<HWND>(::GetPropA(progress, "Pellmark.Label2")), status,
                             sizeof status);
            if (cancel) {
                ::PostMessageA(static_cast<HWND>(::GetPropA(progress, "Pellmark.cmdCancel")),
                               BM_CLICK, 0, 0);
            } else {
                fixture.mainClosed = true;  // what the main window's unload does
                fixture.forms.EndProgram();
            }
        }
    };
    timer.SetEnabled(true);
    fixture.dialogs.shown.clear();
    const auto began = std::chrono::steady_clock::now();
    fixture.testcases::WindowsVersionCheck::Run({"127.0.0.1", port, page});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 10);
    EXPECT_LT(ticks, 50);
    EXPECT_STREQ(status, "[Connecting...]");
    EXPECT_TRUE(fixture.dialogs.shown.empty());
    EXPECT_EQ(win32::Win32Network::OpenSockets(), 0);
    EXPECT_EQ(win32::Win32Network::OpenSessions(), 0);
    EXPECT_FALSE(VersionCheckRunning());
    EXPECT_EQ(::FindWindowA("Pellmark.frmProgress", nullptr), nullptr);
    return took.count();
}

TEST_F(VersionCheckWin, CancelWorksWhileTheServerHoldsTheConnectOrTheRequest) {
    {
        Listener listener;
        ASSERT_TRUE(listener.Fill());
        EXPECT_LT(RunUntilStopped(*this, listener.Port(), "v", true), 5.0);
    }
    {
        // Taken into the queue, never read: a request larger than both ends' buffers.
        Listener listener;
        EXPECT_LT(RunUntilStopped(*this, listener.Port(), std::string(32 << 20, 'p'), true), 5.0);
    }
}

TEST_F(VersionCheckWin, TheProgramsEndEndsTheCheck) {
    Listener listener;
    ASSERT_TRUE(listener.Fill());
    EXPECT_LT(RunUntilStopped(*this, listener.Port(), "v", false), 5.0);
    MSG quit{};
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // left for the loop
}

}  // namespace
}  // namespace pellmark::update
