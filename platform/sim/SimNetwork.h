// A web server the tests script: which names resolve, whether the socket and the
// connection are given, and what the answer is and when each part of it arrives. Time runs
// on the forms' clock, so timers tick while a receive waits.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Network.h"
#include "platform/sim/SimForms.h"

namespace pellmark::sim {

class SimNetwork final : public platform::Network {
  public:
    explicit SimNetwork(SimFormsBackend& clock) : clock_(&clock) {}

    std::unique_ptr<platform::NetworkSession> StartSession() override;
    // tickBase plus the forms' clock.
    std::uint32_t TickCount() override {
        return static_cast<std::uint32_t>(tickBase + static_cast<std::uint64_t>(clock_->Now()));
    }

    // One part of the answer and when it arrives, in milliseconds after the request.
    struct Block {
        std::int64_t at = 0;
        std::string data;
    };

    bool startFails = false;
    std::map<std::string, platform::HostAddress> hosts;  // the names that resolve
    std::int64_t resolveMs = 0;                          // how long a lookup takes
    bool socketFails = false;
    bool connectRefused = false;
    // How long the server takes to take the connection; none: it never does.
    std::optional<std::int64_t> acceptsAfter = 0;
    // How much of the request the system takes while the server reads nothing; none: all.
    std::optional<std::size_t> sendRoom;
    std::vector<Block> answer;  // in the order they arrive
    // When the server closes after the request; none: it keeps the connection open.
    std::optional<std::int64_t> closesAt;
    // Runs at the start of every wait, whatever the step, with the milliseconds since the
    // session started.
    std::function<void(std::int64_t sinceStart)> waiting;
    std::uint32_t tickBase = 0;

    // "start", "resolve www.x", "socket", "connect 127.0.0.1:80", "send <what the system
    // took>", "close", "cleanup", in order (receives are only counted).
    std::vector<std::string> log;
    int receives = 0;
    int openSockets = 0;
    int openSessions = 0;

  private:
    class Session;
    class Lookup;
    class Stream;
    void Waiting() const;
    // Lets the clock run until `until` (milliseconds on it), at most `waitMs`; true once
    // reached.
    bool WaitUntil(std::int64_t until, int waitMs);
    SimFormsBackend* clock_;      // a pointer, so that a test can start afresh by assigning
    std::int64_t startedAt_ = 0;  // a pointer, so that a test can start afresh by assigning
};

}  // namespace pellmark::sim
