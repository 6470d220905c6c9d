// The new-version check against a scripted server on the in-memory forms: the published
// version read out of the page however it arrives, the comparison, the messages, the
// progress window's countdown on the fake clock, Cancel, and every path closing its socket.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimNetwork.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystem.h"
#include "settings/SettingsStore.h"
#include "update/CheckForNewVersion.h"
#include "update/frmProgress.h"

namespace pellmark::update {
namespace {

using platform::MessageIcon;

const std::string kMarker(kVersionMarker);
constexpr const char* kFailed = "The check for a new version failed:\n\n";
constexpr const char* kAdvice =
    "\n\nPlease insure you have an active Internet connection and try again.";

std::string Page(const std::string& version) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head><title>Pellmark</title>" +
           kMarker + version + "\"></head><body>Pellmark</body></html>";
}

TEST(VersionCheck, PublishedVersionsAreReadAndCompared) {
    const std::pair<const char*, ProgramVersion> valid[] = {
        {"2.14.2", {2, 14, 2}}, {"0.0.32767", {0, 0, 32767}}, {"10.020.3", {10, 20, 3}}};
    for (const auto& [text, version] : valid) {
        EXPECT_EQ(ParsePublishedVersion(text), version) << text;
    }
    for (const char* text : {"2.0", "2.0.0.1", "2..0", "", "v2.0.0", "2.0.0 ", "2.0.32768",
                             "-1.0.0", "2.0.x", "99999999999.0.0"}) {
        EXPECT_FALSE(ParsePublishedVersion(text)) << text;
    }
    struct Comparison {
        ProgramVersion published;
        ProgramVersion running;
        bool newer;
    };
    const Comparison comparisons[] = {
        {{2, 0, 0}, {1, 9, 9}, true},    {{1, 9, 0}, {2, 0, 0}, false},
        {{2, 14, 2}, {2, 14, 2}, false}, {{1, 0, 0}, {2, 0, 0}, false},
        {{2, 14, 3}, {2, 14, 2}, true},  {{2, 13, 9}, {2, 14, 2}, false},
        {{1, 99, 0}, {2, 14, 2}, false}, {{2, 15, 0}, {2, 14, 9}, true},
        {{3, 0, 0}, {2, 99, 99}, true},
    };
    for (const Comparison& c : comparisons) {
        EXPECT_EQ(IsNewer(c.published, c.running), c.newer)
            << VersionString(c.published) << " against " << VersionString(c.running);
    }
    EXPECT_EQ(VersionString({2, 1, 0}), "2.1.0");
}

TEST(VersionCheck, TheMarkerIsFoundWhereverTheAnswerIsSplit) {
    const std::string page = Page("3.1.4");
    for (std::size_t split = 0; split <= page.size(); ++split) {
        AnswerScanner scanner;
        scanner.Take(std::string_view(page).substr(0, split));
        scanner.Take(std::string_view(page).substr(split));
        ASSERT_TRUE(scanner.Complete()) << split;
        EXPECT_EQ(scanner.PublishedText(), "3.1.4") << split;
    }
    // A page without the marker, however long, is never complete.
    AnswerScanner none;
    for (int i = 0; i < 100; ++i) {
        none.Take(std::string(4096, 'x') + kMarker.substr(0, kMarker.size() - 1));
    }
    EXPECT_FALSE(none.MarkerSeen());
    EXPECT_FALSE(none.Complete());
    EXPECT_FALSE(none.PublishedText());

    // The marker with no quote after it: the answer stops at its limit, unread.
    AnswerScanner endless;
    endless.Take(kMarker);
    EXPECT_TRUE(endless.MarkerSeen());
    EXPECT_FALSE(endless.Complete());
    for (std::size_t taken = 0; taken < kAnswerLimit; taken += 4096) {
        endless.Take(std::string(4096, '1'));
    }
    EXPECT_TRUE(endless.Complete());
    endless.Take("\"");  // beyond the limit: dropped
    EXPECT_FALSE(endless.PublishedText());
}

TEST(VersionCheck, TheServerSettingAndTheRequest) {
    const std::pair<const char*, VersionServer> valid[] = {
        {"127.0.0.1:8080/programPg.asp?pid=8&DetailID=4",
         {"127.0.0.1", 8080, "programPg.asp?pid=8&DetailID=4"}},
        {"example.org/", {"example.org", 80, ""}},
        {"example.org:81", {"example.org", 81, ""}},
        {"example.org/a:b/c", {"example.org", 80, "a:b/c"}},
    };
    for (const auto& [text, server] : valid) {
        EXPECT_EQ(ParseVersionServer(text), server) << text;
    }
    for (const char* text : {"", ":80/page", "host:0", "host:65536", "host:http", "host:"}) {
        EXPECT_FALSE(ParseVersionServer(text)) << text;
    }
    // A stored server that cannot be used is the default one; a good one is asked by the
    // command, below.
    sim::SimRegistry registry;
    SettingsStore(registry).Save(kSettingsSection, kVersionServerKey, "host:99999");
    EXPECT_EQ(ReadVersionServer(SettingsStore(registry)), DefaultVersionServer());
    EXPECT_EQ(VersionRequest(DefaultVersionServer()),
              "GET /programPg.asp?pid=8&DetailID=4 HTTP/1.1\r\n"
              "Host: www.pellmark.example\r\n"
              "User-Agent: Pellmark-update\r\n"
              "\r\n");
}

// The options dialog's link, on a form of its own, in German and the dialog's colour.
class LinkForm final : public forms::Form {
  public:
    explicit LinkForm(forms::Backend& backend)
        : Form(backend, "frmOptions"), link(Add<forms::Label>("lblChkForUpdate")) {
        link.SetCaption("Nach neuer Version suchen");
        link.SetForeColour(0xCC6600);
    }
    forms::Label& link;
};

class VersionCheckRun : public ::testing::Test {
  protected:
    VersionCheckRun() {
        network.hosts["www.pellmark.example"] = {platform::kInternetFamily, {192, 0, 2, 7}};
        options.Load();
    }

    void Run() { CheckForNewVersion(context, options.link); }

    frmProgress* Progress() {
        for (forms::Form* form : forms.LoadedForms()) {
            if (form->Name() == "frmProgress") {
                return static_cast<frmProgress*>(form);
            }
        }
        return nullptr;
    }

    // Only the one message shown, with its text and icon.
    void ExpectMessage(const std::string& text, MessageIcon icon) {
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, text);
        EXPECT_EQ(dialogs.shown[0].icon, icon);
    }

    // Whatever happened, nothing is left open and the link is as before.
    void ExpectClosedAndIdle() {
        EXPECT_EQ(network.openSockets, 0);
        EXPECT_EQ(network.openSessions, 0);
        EXPECT_EQ(Progress(), nullptr);
        EXPECT_FALSE(VersionCheckRunning());
        EXPECT_EQ(options.link.Caption(), "Nach neuer Version suchen");
        EXPECT_EQ(options.link.ForeColour(), 0xCC6600u);
        EXPECT_FALSE(options.link.GetFont().bold);
    }

    sim::SimFormsBackend forms;
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    sim::SimNetwork network{forms};
    LinkForm options{forms};
    bool mainClosed = false;
    VersionCheckContext context{forms,
                                dialogs,
                                network,
                                system,
                                {2, 14, 2},
                                DefaultVersionServer(),
                                [this] { return mainClosed; }};
};

TEST_F(VersionCheckRun, ANewerVersionOffersTheHomePage) {
    network.answer = {{300, Page("3.0.0")}};
    network.closesAt = 400;
    dialogs.answers = {platform::MessageAnswer::Yes};
    Run();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto& shown = dialogs.shown[0];
    EXPECT_EQ(shown.caption, "Pellmark 3.0.0 is available");
    EXPECT_EQ(shown.text,
              "A newer version is available: Pellmark  (3.0.0).\n\n"
              "You are using version 2.14.2.\n\n"
              "Do you want to visit the homepage to download it?");
    EXPECT_EQ(shown.icon, MessageIcon::Question);
    EXPECT_EQ(shown.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(system.opened, (std::vector<std::string>{"https://www.pellmark.example/"}));
    const std::vector<std::string> expected = {
        "start",
        "resolve www.pellmark.example",
        "socket",
        "connect 192.0.2.7:80",
        "send GET /programPg.asp?pid=8&DetailID=4 HTTP/1.1\r\nHost: www.pellmark.example\r\n"
        "User-Agent: Pellmark-update\r\n\r\n",
        "close",
        "cleanup"};
    EXPECT_EQ(network.log, expected);
    ExpectClosedAndIdle();

    // No: nothing opens.
    dialogs.shown.clear();
    system.opened.clear();
    dialogs.answers = {platform::MessageAnswer::No};
    network.answer = {{0, Page("2.14.3")}};
    Run();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Pellmark 2.14.3 is available");
    EXPECT_TRUE(system.opened.empty());
    ExpectClosedAndIdle();
}

TEST_F(VersionCheckRun, EveryFailureNamesItsReasonAndClosesEverything) {
    struct Case {
        const char* name;
        std::function<void(sim::SimNetwork&)> script;
        const char* reason;
        std::int64_t endsBy;  // the clock when the message shows, at most
    };
    const std::string bigJunk(100 * 1024, 'x');
    const Case cases[] = {
        {"host unknown", [](sim::SimNetwork& n) { n.hosts.clear(); },
         "Failure resolving WEB SITE ADDRESS", 100},
        {"not the Internet family",
         [](sim::SimNetwork& n) { n.hosts["www.pellmark.example"].family = 23; }, "Protocol error",
         100},
        {"no socket", [](sim::SimNetwork& n) { n.socketFails = true; }, "Unable to create socket",
         100},
        {"refused", [](sim::SimNetwork& n) { n.connectRefused = true; }, "Unable to connect", 100},
        {"no marker, then closed",
         [](sim::SimNetwork& n) {
             n.answer = {{100, "HTTP/1.1 200 OK\r\n\r\n<html>nothing here</html>"}};
             n.closesAt = 200;
         },
         "Reason unknown", 400},
        {"not three numbers",
         [](sim::SimNetwork& n) {
             n.answer = {{100, Page("2.0")}};
             n.closesAt = 200;
         },
         "Reason unknown", 400},
        {"never answers", [](sim::SimNetwork&) {}, "Connection timed out", 30100},
        {"one limit over a slow lookup and a slow connect",
         [](sim::SimNetwork& n) {
             n.resolveMs = 20000;
             n.acceptsAfter = 20000;
             n.answer = {{0, Page("2.14.2")}};
         },
         "Connection timed out", 30100},
        {"one byte a second",
         [](sim::SimNetwork& n) {
             for (int i = 0; i < 60; ++i) {
                 n.answer.push_back({i * 1000, "x"});
             }
         },
         "Connection timed out", 30100},
        {"an endless stream",
         [&bigJunk](sim::SimNetwork& n) {
             for (int i = 0; i < 400; ++i) {
                 n.answer.push_back({i * 100, bigJunk});
             }
         },
         "Connection timed out", 30100},
        {"the marker and endless digits",
         [](sim::SimNetwork& n) {
             n.answer = {{0, kMarker}};
             for (int i = 1; i < 100; ++i) {
                 n.answer.push_back({i * 10, std::string(4096, '7')});
             }
         },
         "Reason unknown", 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        network = sim::SimNetwork{forms};
        network.hosts["www.pellmark.example"] = {platform::kInternetFamily, {192, 0, 2, 7}};
        c.script(network);
        dialogs.shown.clear();
        const std::int64_t began = forms.Now();
        Run();
        ExpectMessage(std::string(kFailed) + c.reason + kAdvice, MessageIcon::Exclamation);
        EXPECT_LE(forms.Now() - began, c.endsBy);
        if (std::string(c.reason) == "Connection timed out") {
            EXPECT_GT(forms.Now() - began, 30000);
        }
        if (std::string(c.name) == "never answers") {
            // Every pass waits for the server rather than spinning.
            EXPECT_LE(network.receives, 30100 / 20 + 1);
        }
        ExpectClosedAndIdle();
    }

    // The system's sockets cannot start: nothing else happens.
    network = sim::SimNetwork{forms};
    network.startFails = true;
    dialogs.shown.clear();
    Run();
    ExpectMessage("unable to start winsock session", MessageIcon::Critical);
    EXPECT_EQ(network.log, std::vector<std::string>{"start"});
    for (const forms::Form* withWindow : forms.LoadedForms()) {
        EXPECT_EQ(withWindow, &options);  // no progress window ever came
    }
    ExpectClosedAndIdle();
}

TEST_F(VersionCheckRun, TheProgressWindowCountsDownAndAlternatesItsStatus) {
    struct Seen {
        std::string countdown;
        std::string status;
        std::string percent;
        std::uint32_t colour;
    };
    std::vector<Seen> seen;
    bool linkBusy = false;
    bool shownOverOptions = false;
    network.waiting = [&](std::int64_t) {
        frmProgress* progress = Progress();
        ASSERT_NE(progress, nullptr);
        linkBusy = options.link.Caption() == "Checking..." &&
                   options.link.ForeColour() == 0x0000FFu &&
                   options.link.GetFont() == forms::Font{.bold = true};
        shownOverOptions = progress->Visible() && progress->Settings().owner == &options;
        if (seen.empty() || seen.back().countdown != progress->Label3.Caption()) {
            if (!progress->Label3.Caption().empty()) {
                seen.push_back({progress->Label3.Caption(), progress->Label2.Caption(),
                                progress->lblP.Caption(), *progress->lblP.ForeColour()});
            }
        } else {
            EXPECT_EQ(seen.back().status, progress->Label2.Caption());
        }
        if (seen.empty()) {
            // Before the first pass: connecting, nothing done yet.
            EXPECT_EQ(progress->Label1.Caption(), "Checking for new version");
            EXPECT_EQ(progress->Label2.Caption(), "[Connecting...]");
            EXPECT_EQ(progress->lblP.Caption(), "0%");
            EXPECT_EQ(progress->Max, 31);
        }
    };
    Run();
    EXPECT_TRUE(linkBusy);
    EXPECT_TRUE(shownOverOptions);

    ASSERT_EQ(seen.size(), 31u);
    for (int i = 0; i < 31; ++i) {
        SCOPED_TRACE(i);
        const int value = i + 1;
        EXPECT_EQ(seen[i].countdown, "(" + std::to_string(30 - i) + " seconds left)");
        EXPECT_EQ(seen[i].status, i % 2 == 0 ? "[ Checking... ]" : "[ Checking..  ]");
        EXPECT_EQ(seen[i].percent, std::to_string(value * 100 / 31) + "%");
        EXPECT_EQ(seen[i].colour, value * 100 >= 45 * 31 ? 0xFFFFFFu : 0x000000u);
    }
    EXPECT_EQ(seen[12].colour, 0x000000u);  // 13/31 is below 0.45
    EXPECT_EQ(seen[12].percent, "41%");
    EXPECT_EQ(seen[13].colour, 0xFFFFFFu);  // 14/31 is not
    EXPECT_EQ(seen[13].percent, "45%");
    ExpectMessage(std::string(kFailed) + "Connection timed out" + kAdvice,
                  MessageIcon::Exclamation);
}

TEST_F(VersionCheckRun, TheBarIsDrawnForItsShare) {
    frmProgress progress(forms);
    progress.Load();
    EXPECT_TRUE(progress.Visible());
    EXPECT_FALSE(progress.Cancel);
    EXPECT_EQ(progress.Label2.Caption(), "0");
    EXPECT_EQ(progress.lblP.Caption(), "0");

    progress.Max = 0;  // taken as 1
    progress.Value = 0;
    progress.SetStatus("x");
    EXPECT_EQ(progress.Max, 1);
    EXPECT_EQ(progress.lblP.Caption(), "0%");

    progress.Max = 31;
    progress.Value = 16;
    progress.SetStatus("[ Checking... ]");
    EXPECT_EQ(progress.lblP.Caption(), "51%");
    const forms::Bounds b = progress.lblP.GetBounds();
    const auto drawn = forms.PaintOf(progress);
    const auto box = [](int l, int t, int w, int h) {
        return std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(w) + " " +
               std::to_string(h);
    };
    for (const std::string& line :
         {"frame " + box(b.left - 1, b.top - 1, b.width + 2, b.height + 2) + " #000000",
          "fill " + box(b.left, b.top, b.width, b.height) + " #ffffff",
          "fill " + box(b.left, b.top, b.width * 16 / 31, b.height) + " #0000ff"}) {
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), line), drawn.end())
            << line << " in " << testing::PrintToString(drawn);
    }
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const std::string& line) {
        return line.starts_with("text ") && line.ends_with(" #ffffff centre 51%");
    }));

    // Closing the window is a cancel, and leaves the window to the check.
    progress.UserClose();
    EXPECT_TRUE(progress.Cancel);
    EXPECT_TRUE(progress.Loaded());
}

TEST_F(VersionCheckRun, CancelOrTheProgramsEndStopsTheCheckInEveryStep) {
    const std::function<void(sim::SimNetwork&)> steps[] = {
        [](sim::SimNetwork& n) { n.resolveMs = 60000; },
        [](sim::SimNetwork& n) { n.acceptsAfter = std::nullopt; },
        [](sim::SimNetwork& n) { n.sendRoom = 10; }, [](sim::SimNetwork&) {},  // a silent server
    };
    for (const bool cancel : {true, false}) {
        for (std::size_t step = 0; step < std::size(steps); ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step << (cancel ? " cancel" : " end"));
            network = sim::SimNetwork{forms};
            network.hosts["www.pellmark.example"] = {platform::kInternetFamily, {192, 0, 2, 7}};
            steps[step](network);
            // Only the window's events can stop it: they must run while the step waits.
            network.waiting = [&](std::int64_t since) {
                if (since >= 5000 && !forms.pendingEvents) {
                    forms.pendingEvents = [&] {
                        if (cancel) {
                            Progress()->cmdCancel.UserClick();
                        } else {
                            mainClosed = true;
                        }
                    };
                }
            };
            mainClosed = false;
            dialogs.shown.clear();
            const std::int64_t began = forms.Now();
            Run();
            EXPECT_TRUE(dialogs.shown.empty());
            EXPECT_GE(forms.Now() - began, 5000);
            EXPECT_LT(forms.Now() - began, 5100);
            EXPECT_EQ(network.log.back(), "cleanup");
            ExpectClosedAndIdle();
        }
    }
}

TEST_F(VersionCheckRun, ASecondClickWhileCheckingDoesNothing) {
    network.answer = {{2000, Page("2.14.2")}};
    int clicks = 0;
    network.waiting = [&](std::int64_t) {
        if (clicks < 3) {
            ++clicks;
            EXPECT_TRUE(VersionCheckRunning());
            Run();
        }
    };
    Run();
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(std::count(network.log.begin(), network.log.end(), "start"), 1);
    ExpectMessage("You have the latest version of Pellmark( 2.14.2 )", MessageIcon::Information);
    EXPECT_EQ(dialogs.shown[0].caption, "Pellmark");
    EXPECT_TRUE(system.opened.empty());
    ExpectClosedAndIdle();

    // Once over, a click checks again.
    dialogs.shown.clear();
    network.waiting = nullptr;
    Run();
    EXPECT_EQ(std::count(network.log.begin(), network.log.end(), "start"), 2);
}

TEST_F(VersionCheckRun, TheCommandAsksTheServerOfTheSettings) {
    sim::SimRegistry registry;
    const auto command =
        VersionCheckCommand(forms, dialogs, network, system, registry, {1, 0, 0}, nullptr);
    network.answer = {{0, Page("1.0.0")}};
    command(options.link);
    EXPECT_EQ(network.log[1], "resolve www.pellmark.example");
    ExpectMessage("You have the latest version of Pellmark( 1.0.0 )", MessageIcon::Information);

    SettingsStore(registry).Save(kSettingsSection, kVersionServerKey, "127.0.0.1:8123/v");
    network = sim::SimNetwork{forms};
    network.hosts["127.0.0.1"] = {platform::kInternetFamily, {127, 0, 0, 1}};
    network.answer = {{0, Page("1.0.1")}};
    dialogs.shown.clear();
    dialogs.answers = {platform::MessageAnswer::No};
    command(options.link);
    ASSERT_GE(network.log.size(), 5u);
    EXPECT_EQ(network.log[1], "resolve 127.0.0.1");
    EXPECT_EQ(network.log[3], "connect 127.0.0.1:8123");
    EXPECT_EQ(
        network.log[4],
        "send GET /v HTTP/1.1\r\nHost: 127.0.0.1:8123\r\nUser-Agent: Pellmark-update\r\n\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Pellmark 1.0.1 is available");
    ExpectClosedAndIdle();
}

TEST_F(VersionCheckRun, TheAnswerMaySplitAnywhereAndTheCounterMayWrap) {
    const std::string page = Page("2.15.0");
    const std::size_t inMarker = page.find(kMarker) + 10;
    const std::size_t inVersion = page.find(kMarker) + kMarker.size() + 2;
    network.answer = {{100, page.substr(0, inMarker)},
                      {1500, page.substr(inMarker, inVersion - inMarker)},
                      {2500, page.substr(inVersion)}};
    network.tickBase = 0xFFFFFFFFu - 1000;  // the tick counter wraps a second in
    dialogs.answers = {platform::MessageAnswer::No};
    Run();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Pellmark 2.15.0 is available");
    ExpectClosedAndIdle();

    // A server that never answers still times out at 30 seconds across the wrap.
    network = sim::SimNetwork{forms};
    network.hosts["www.pellmark.example"] = {platform::kInternetFamily, {192, 0, 2, 7}};
    network.tickBase = 0xFFFFFFFFu - 1000;
    dialogs.shown.clear();
    const std::int64_t began = forms.Now();
    Run();
    ExpectMessage(std::string(kFailed) + "Connection timed out" + kAdvice,
                  MessageIcon::Exclamation);
    EXPECT_GT(forms.Now() - began, 30000);
    EXPECT_LT(forms.Now() - began, 30100);
}

}  // namespace
}  // namespace pellmark::update
