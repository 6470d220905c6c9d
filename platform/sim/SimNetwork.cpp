#include "platform/sim/SimNetwork.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pellmark::sim {

void SimNetwork::Waiting() const {
    if (waiting) {
        waiting(clock_->Now() - startedAt_);
    }
}

bool SimNetwork::WaitUntil(std::int64_t until, int waitMs) {
    const std::int64_t left = until - clock_->Now();
    if (left > 0) {
        clock_->AdvanceClock(std::min<std::int64_t>(left, waitMs));
    }
    return clock_->Now() >= until;
}

class SimNetwork::Lookup final : public platform::HostLookup {
  public:
    Lookup(SimNetwork& network, std::string host)
        : network_(network),
          host_(std::move(host)),
          answerAt_(network.clock_->Now() + network.resolveMs) {}

    platform::Step Wait(int waitMs) override {
        network_.Waiting();
        if (!network_.WaitUntil(answerAt_, waitMs)) {
            return platform::Step::Pending;
        }
        return network_.hosts.contains(host_) ? platform::Step::Done : platform::Step::Failed;
    }
    platform::HostAddress Address() const override { return network_.hosts.at(host_); }

  private:
    SimNetwork& network_;
    std::string host_;
    std::int64_t answerAt_;
};

class SimNetwork::Stream final : public platform::Connection {
  public:
    explicit Stream(SimNetwork& network) : network_(network) { ++network_.openSockets; }
    ~Stream() override {
        network_.log.emplace_back("close");
        --network_.openSockets;
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    bool Connect(const platform::HostAddress& address, std::uint16_t port) override {
        std::string line = "connect ";
        for (std::size_t i = 0; i < address.bytes.size(); ++i) {
            if (i > 0) {
                line += '.';
            }
            line += std::to_string(address.bytes[i]);
        }
        line += ':';
        line += std::to_string(port);
        network_.log.push_back(line);
        connectedAt_ = network_.clock_->Now() + network_.acceptsAfter.value_or(0);
        return true;
    }

    platform::Step Connected(int waitMs) override {
        network_.Waiting();
        if (network_.connectRefused) {
            return platform::Step::Failed;
        }
        if (!network_.acceptsAfter) {
            network_.clock_->AdvanceClock(waitMs);
            return platform::Step::Pending;
        }
        return network_.WaitUntil(connectedAt_, waitMs) ? platform::Step::Done
                                                        : platform::Step::Pending;
    }

    platform::Step Send(std::string_view& data, int waitMs) override {
        network_.Waiting();
        std::size_t room = data.size();
        if (network_.sendRoom) {
            room = *network_.sendRoom - std::min(*network_.sendRoom, sent_);
        }
        const std::size_t taken = std::min(room, data.size());
        if (taken > 0) {
            std::string line = "send ";
            line += data.substr(0, taken);
            network_.log.push_back(std::move(line));
            sent_ += taken;
            data.remove_prefix(taken);
        }
        if (data.empty()) {
            sentAt_ = network_.clock_->Now();
            return platform::Step::Done;
        }
        network_.clock_->AdvanceClock(waitMs);  // the server reads nothing
        return platform::Step::Pending;
    }

    int Receive(std::span<char> buffer, int waitMs) override {
        ++network_.receives;
        network_.Waiting();
        if (const int taken = Take(buffer); taken != platform::kReceivedNothing) {
            return taken;
        }
        // Wait until the next part arrives or the wait is over, as the system's wait does.
        std::int64_t wait = waitMs;
        if (next_ < network_.answer.size()) {
            wait = std::min(wait, network_.answer[next_].at - SinceRequest());
        } else if (network_.closesAt) {
            wait = std::min(wait, *network_.closesAt - SinceRequest());
        }
        network_.clock_->AdvanceClock(std::max<std::int64_t>(wait, 0));
        return Take(buffer);
    }

  private:
    [[nodiscard]] std::int64_t SinceRequest() const { return network_.clock_->Now() - sentAt_; }

    // What has arrived by now, at most the buffer's size.
    int Take(std::span<char> buffer) {
        const std::int64_t since = SinceRequest();
        if (next_ < network_.answer.size()) {
            const SimNetwork::Block& block = network_.answer[next_];
            if (block.at > since) {
                return platform::kReceivedNothing;
            }
            const std::size_t count = std::min(buffer.size(), block.data.size() - offset_);
            std::memcpy(buffer.data(), block.data.data() + offset_, count);
            offset_ += count;
            if (offset_ == block.data.size()) {
                ++next_;
                offset_ = 0;
            }
            return static_cast<int>(count);
        }
        if (network_.closesAt && *network_.closesAt <= since) {
            return platform::kReceivedEnd;
        }
        return platform::kReceivedNothing;
    }

    SimNetwork& network_;
    std::int64_t connectedAt_ = 0;
    std::size_t sent_ = 0;
    std::int64_t sentAt_ = 0;
    std::size_t next_ = 0;    // the part that arrives next
    std::size_t offset_ = 0;  // how much of it was taken
};

class SimNetwork::Session final : public platform::NetworkSession {
  public:
    explicit Session(SimNetwork& network) : network_(network) { ++network_.openSessions; }
    ~Session() override {
        network_.log.emplace_back("cleanup");
        --network_.openSessions;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::unique_ptr<platform::HostLookup> Resolve(const std::string& host) override {
        std::string line = "resolve ";
        line += host;
        network_.log.push_back(std::move(line));
        return std::make_unique<Lookup>(network_, host);
    }

    std::unique_ptr<platform::Connection> OpenStream() override {
        network_.log.emplace_back("socket");
        if (network_.socketFails) {
            return nullptr;
        }
        return std::make_unique<Stream>(network_);
    }

  private:
    SimNetwork& network_;
};

std::unique_ptr<platform::NetworkSession> SimNetwork::StartSession() {
    log.emplace_back("start");
    startedAt_ = clock_->Now();
    if (startFails) {
        return nullptr;
    }
    return std::make_unique<Session>(*this);
}

}  // namespace pellmark::sim
