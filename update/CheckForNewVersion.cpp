#include "update/CheckForNewVersion.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "chrome/MakerAddresses.h"
#include "settings/AppInfo.h"
#include "settings/Messages.h"
#include "update/frmProgress.h"

namespace pellmark::update {

namespace {

bool checkRunning = false;

constexpr std::uint32_t kLinkBusyColour = 0x0000FF;  // red
constexpr std::uint32_t kLinkIdleColour = 0xFF0000;  // blue
constexpr std::uint32_t kAnswerWaitMs = 30000;
constexpr std::int16_t kSteps = 31;  // the bar's Max: one step a second, and one to start
// How long one pass waits for the server before it lets the window events run: short
// enough that a click is answered at once, long enough that the wait costs no processor.
constexpr int kPassWaitMs = 20;
constexpr std::size_t kBlockSize = 4096;

enum class Code {
    Done = 0,
    NoResolve = 1,
    Protocol = 2,
    NoSocket = 3,
    NoConnection = 4,
    TimedOut = 5,
    Unknown = 9
};

struct Outcome {
    Code code = Code::Unknown;
    std::string published;  // the version as the page gave it, when it was read
    ProgramVersion version;
};

const char* Reason(Code code) {
    switch (code) {
        case Code::NoResolve:
            return "Failure resolving WEB SITE ADDRESS";
        case Code::Protocol:
            return "Protocol error";
        case Code::NoSocket:
            return "Unable to create socket";
        case Code::NoConnection:
            return "Unable to connect";
        case Code::TimedOut:
            return "Connection timed out";
        default:
            return "Reason unknown";
    }
}

// The link's font with the weight given and every other mark (an underline) taken off.
forms::Font LinkFont(const forms::Font& was, bool bold) {
    return {.name = was.name, .points = was.points, .bold = bold, .italic = was.italic};
}

void ShowBusy(forms::Label& link) {
    link.SetForeColour(kLinkBusyColour);
    link.SetCaption("Checking...");
    link.SetFont(LinkFont(link.GetFont(), true));
}

void ShowIdle(forms::Label& link) {
    link.SetForeColour(kLinkIdleColour);
    link.SetCaption("Check for new version");
    link.SetFont(LinkFont(link.GetFont(), false));
}

// Asks the server and waits for its answer while the progress window counts down.
Outcome Exchange(const VersionCheckContext& context, platform::NetworkSession& session,
                 frmProgress& progress) {
    const auto address = session.Resolve(context.server.host);
    if (!address) {
        return {Code::NoResolve};
    }
    if (address->family != platform::kInternetFamily) {
        return {Code::Protocol};
    }
    const auto connection = session.OpenStream();
    if (!connection) {
        return {Code::NoSocket};
    }
    // A request the system would not take has nobody to answer it.
    if (!connection->Connect(*address, context.server.port) ||
        !connection->Send(VersionRequest(context.server))) {
        return {Code::NoConnection};
    }
    connection->SetNonBlocking();

    const std::uint32_t start = context.network.TickCount();
    progress.Value = 2;
    AnswerScanner answer;
    std::array<char, kBlockSize> block{};
    std::string countdown = progress.Label3.Caption();
    bool dots = false;  // the status line's next look
    int received = platform::kReceivedNothing;
    do {
        received = connection->Receive(block, kPassWaitMs);
        if (received > 0) {
            answer.Take({block.data(), static_cast<std::size_t>(received)});
        }
        context.forms.DoEvents();
        // The difference of two counts is right across the counter's wrap too.
        const std::uint32_t elapsed = context.network.TickCount() - start;
        progress.Value =
            static_cast<std::int16_t>(std::min<std::uint32_t>(elapsed / 1000 + 1, kSteps));
        std::string left = "(";
        left += std::to_string(kSteps - progress.Value);
        left += " seconds left)";
        if (left != countdown) {
            progress.Label3.SetCaption(left);
            countdown = std::move(left);
            dots = !dots;
            progress.SetStatus(dots ? "[ Checking... ]" : "[ Checking..  ]");
        }
        if (progress.Cancel) {
            return {Code::Done};
        }
        if (!answer.Complete() && elapsed > kAnswerWaitMs) {
            return {Code::TimedOut};
        }
    } while (!answer.Complete() && received != platform::kReceivedEnd);

    const auto text = answer.PublishedText();
    const auto version = text ? ParsePublishedVersion(*text) : std::nullopt;
    if (!version) {
        return {Code::Unknown};
    }
    return {Code::Done, *text, *version};
}

void Report(const VersionCheckContext& context, const Outcome& outcome) {
    using platform::MessageIcon;
    if (outcome.code != Code::Done) {
        std::string text = "The check for a new version failed:\n\n";
        text += Reason(outcome.code);
        text += "\n\nPlease insure you have an active Internet connection and try again.";
        context.dialogs.ShowMessage({.text = text, .icon = MessageIcon::Exclamation});
        return;
    }
    if (outcome.published.empty()) {
        return;  // cancelled
    }
    const std::string running = VersionString(context.running);
    if (IsNewer(outcome.version, context.running)) {
        std::string caption = kAppTitle;
        caption += ' ';
        caption += outcome.published;
        caption += ' ';
        caption += MessageText("0944");
        std::string text = MessageText("0941");
        text += ' ';
        text += kAppTitle;
        text += "  (";
        text += outcome.published;
        text += ").\n\n";
        text += MessageText("0942");
        text += ' ';
        text += running;
        text += ".\n\n";
        text += MessageText("0943");
        const auto answer =
            context.dialogs.ShowMessage({.text = text,
                                         .caption = caption,
                                         .icon = MessageIcon::Question,
                                         .buttons = platform::MessageButtons::YesNo});
        if (answer == platform::MessageAnswer::Yes) {
            context.system.OpenAddress(std::string(chrome::WebAddress()));
        }
        return;
    }
    std::string text = MessageText("0945");
    text += ' ';
    text += kAppTitle;
    text += "( ";
    text += running;
    text += " )";
    context.dialogs.ShowMessage(
        {.text = text, .caption = kAppTitle, .icon = MessageIcon::Information});
}

// Whatever ends the check, the flag is cleared and the link looks as before.
class RunningCheck {
  public:
    explicit RunningCheck(forms::Label& link) : link_(link) { checkRunning = true; }
    ~RunningCheck() {
        checkRunning = false;
        if (busy_) {
            ShowIdle(link_);
        }
    }
    RunningCheck(const RunningCheck&) = delete;
    RunningCheck& operator=(const RunningCheck&) = delete;
    void ShowBusyLink() {
        busy_ = true;
        ShowBusy(link_);
    }

  private:
    forms::Label& link_;
    bool busy_ = false;
};

}  // namespace

std::function<void(forms::Label&)> VersionCheckCommand(
    forms::Backend& forms, platform::Dialogs& dialogs, platform::Network& network,
    platform::System& system, platform::Registry& registry, ProgramVersion running) {
    return [&forms, &dialogs, &network, &system, &registry, running](forms::Label& link) {
        const SettingsStore store(registry);
        CheckForNewVersion({forms, dialogs, network, system, running, ReadVersionServer(store)},
                           link);
    };
}

bool VersionCheckRunning() noexcept {
    return checkRunning;
}

void CheckForNewVersion(const VersionCheckContext& context, forms::Label& link) {
    if (checkRunning) {
        return;
    }
    RunningCheck check(link);
    auto session = context.network.StartSession();
    if (!session) {
        context.dialogs.ShowMessage(
            {.text = "unable to start winsock session", .icon = platform::MessageIcon::Critical});
        return;
    }
    check.ShowBusyLink();

    frmProgress progress(context.forms);
    forms::WindowSettings settings = progress.Settings();
    settings.owner = &link.Owner();
    progress.SetSettings(settings);
    progress.Load();
    progress.Max = kSteps;
    progress.Value = 0;
    progress.Label1.SetCaption("Checking for new version");
    progress.SetStatus("[Connecting...]");
    context.forms.DoEvents();

    const Outcome outcome = Exchange(context, *session, progress);
    // The socket and the session go before anything waits for the user.
    session.reset();
    progress.Unload();
    Report(context, outcome);
}

}  // namespace pellmark::update
