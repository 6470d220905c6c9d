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
constexpr const char* kLinkBusyCaption = "Checking...";
constexpr std::uint32_t kAnswerWaitMs = 30000;  // over the whole check, lookup included
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
    link.SetCaption(kLinkBusyCaption);
    link.SetFont(LinkFont(link.GetFont(), true));
}

// The link as it was before the check: its caption in the language shown, its form's colour.
void ShowIdle(forms::Label& link, const std::string& caption, std::optional<std::uint32_t> colour) {
    link.SetForeColour(colour);
    link.SetCaption(caption);
    link.SetFont(LinkFont(link.GetFont(), false));
}

// The progress window's countdown, which runs over the whole check, and what may end the
// check between two waits: Cancel, the program ending, or the limit.
class Countdown {
  public:
    Countdown(const VersionCheckContext& context, frmProgress& progress)
        : context_(context),
          progress_(progress),
          start_(context.network.TickCount()),
          shown_(progress.Label3.Caption()) {}

    // From now on the status line alternates, as the answer is awaited.
    void Connected() noexcept { connected_ = true; }

    // Lets the window events run and shows the time left; the code the check ends with, when
    // it must end.
    std::optional<Code> Pass() {
        context_.forms.DoEvents();
        // The difference of two counts is right across the counter's wrap too.
        const std::uint32_t elapsed = context_.network.TickCount() - start_;
        progress_.Value =
            static_cast<std::int16_t>(std::min<std::uint32_t>(elapsed / 1000 + 1, kSteps));
        std::string left = "(";
        left += std::to_string(kSteps - progress_.Value);
        left += " seconds left)";
        if (left != shown_) {
            progress_.Label3.SetCaption(left);
            shown_ = std::move(left);
            dots_ = connected_ && !dots_;
            // Setting the status line draws the bar again.
            progress_.SetStatus(!connected_ ? "[Connecting...]"
                                : dots_     ? "[ Checking... ]"
                                            : "[ Checking..  ]");
        }
        if (progress_.Cancel || (context_.ending && context_.ending())) {
            return Code::Done;
        }
        if (elapsed > kAnswerWaitMs) {
            return Code::TimedOut;
        }
        return std::nullopt;
    }

    // Repeats `wait` (one wait of at most kPassWaitMs) while its step is pending, with a pass
    // between two waits. Pending when the check must end first; Stopped() says how.
    template <class Wait>
    platform::Step Until(const Wait& wait) {
        platform::Step step = wait();
        while (step == platform::Step::Pending && !(stopped_ = Pass())) {
            step = wait();
        }
        return step;
    }
    [[nodiscard]] const std::optional<Code>& Stopped() const noexcept { return stopped_; }

  private:
    const VersionCheckContext& context_;
    frmProgress& progress_;
    std::uint32_t start_;
    std::string shown_;  // the countdown's caption
    bool connected_ = false;
    bool dots_ = false;  // the status line's last look
    std::optional<Code> stopped_;
};

// Asks the server and waits for its answer while the progress window counts down. No step
// holds the window for longer than one pass's wait.
Outcome Exchange(const VersionCheckContext& context, platform::NetworkSession& session,
                 frmProgress& progress) {
    Countdown countdown(context, progress);
    const auto lookup = session.Resolve(context.server.host);
    if (countdown.Until([&] { return lookup->Wait(kPassWaitMs); }) != platform::Step::Done) {
        return {countdown.Stopped().value_or(Code::NoResolve)};
    }
    const platform::HostAddress address = lookup->Address();
    if (address.family != platform::kInternetFamily) {
        return {Code::Protocol};
    }
    const auto connection = session.OpenStream();
    if (!connection) {
        return {Code::NoSocket};
    }
    // A request the system would not take has nobody to answer it.
    const std::string request = VersionRequest(context.server);
    std::string_view unsent = request;
    using platform::Step;
    const bool sent =
        connection->Connect(address, context.server.port) &&
        countdown.Until([&] { return connection->Connected(kPassWaitMs); }) == Step::Done &&
        countdown.Until([&] { return connection->Send(unsent, kPassWaitMs); }) == Step::Done;
    if (!sent) {
        return {countdown.Stopped().value_or(Code::NoConnection)};
    }
    countdown.Connected();

    AnswerScanner answer;
    std::array<char, kBlockSize> block{};
    for (;;) {
        const int received = connection->Receive(block, kPassWaitMs);
        if (received > 0) {
            answer.Take({block.data(), static_cast<std::size_t>(received)});
        }
        if (answer.Complete() || received == platform::kReceivedEnd) {
            break;
        }
        if (const auto stopped = countdown.Pass()) {
            return {*stopped};
        }
    }

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
        return;  // cancelled, or the program is ending
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
            // A language applied meanwhile has given the link its new caption already.
            ShowIdle(link_, link_.Caption() == kLinkBusyCaption ? idleCaption_ : link_.Caption(),
                     idleColour_);
        }
    }
    RunningCheck(const RunningCheck&) = delete;
    RunningCheck& operator=(const RunningCheck&) = delete;
    void ShowBusyLink() {
        busy_ = true;
        idleCaption_ = link_.Caption();
        idleColour_ = link_.ForeColour();
        ShowBusy(link_);
    }

  private:
    forms::Label& link_;
    bool busy_ = false;
    std::string idleCaption_;
    std::optional<std::uint32_t> idleColour_;
};

}  // namespace

std::function<void(forms::Label&)> VersionCheckCommand(
    forms::Backend& forms, platform::Dialogs& dialogs, platform::Network& network,
    platform::System& system, platform::Registry& registry, ProgramVersion running,
    std::function<bool()> ending) {
    return [&forms, &dialogs, &network, &system, &registry, running,
            ending = std::move(ending)](forms::Label& link) {
        const SettingsStore store(registry);
        CheckForNewVersion(
            {forms, dialogs, network, system, running, ReadVersionServer(store), ending}, link);
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
