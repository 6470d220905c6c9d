#include "platform/sim/SimNetwork.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pellmark::sim {

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
        return !network_.connectRefused;
    }

    bool Send(std::string_view data) override {
        std::string line = "send ";
        line += data;
        network_.log.push_back(std::move(line));
        sentAt_ = network_.clock_->Now();
        return true;
    }

    void SetNonBlocking() override { network_.log.emplace_back("non-blocking"); }

    int Receive(std::span<char> buffer, int waitMs) override {
        ++network_.receives;
        if (network_.waiting) {
            network_.waiting(SinceRequest());
        }
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

    std::optional<platform::HostAddress> Resolve(const std::string& host) override {
        std::string line = "resolve ";
        line += host;
        network_.log.push_back(std::move(line));
        const auto found = network_.hosts.find(host);
        if (found == network_.hosts.end()) {
            return std::nullopt;
        }
        return found->second;
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
    if (startFails) {
        return nullptr;
    }
    return std::make_unique<Session>(*this);
}

}  // namespace pellmark::sim
