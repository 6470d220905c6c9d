// One plain TCP conversation with a web server: start the system's sockets, look a host
// name up, connect, send, and take the answer as it comes without blocking the window
// thread for long. Every object closes what it holds when it goes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellmark::platform {

inline constexpr int kInternetFamily = 2;  // AF_INET: an IPv4 address

// The first address a host name resolved to, with the family the resolver named.
struct HostAddress {
    int family = 0;
    std::array<std::uint8_t, 4> bytes{};  // in network order
    friend bool operator==(const HostAddress&, const HostAddress&) = default;
};

// What one receive found.
inline constexpr int kReceivedNothing = -1;  // nothing arrived within the wait
inline constexpr int kReceivedEnd = 0;       // the server closed, or the connection broke

// One stream socket; closed when this goes.
class Connection {
  public:
    virtual ~Connection() = default;
    [[nodiscard]] virtual bool Connect(const HostAddress& address, std::uint16_t port) = 0;
    // The whole text in one call; false when the system took less.
    [[nodiscard]] virtual bool Send(std::string_view data) = 0;
    // From now on a receive never blocks longer than its own wait.
    virtual void SetNonBlocking() = 0;
    // Waits at most `waitMs` for the server, then takes what has arrived (at most the
    // buffer's size): the number of bytes, kReceivedEnd or kReceivedNothing.
    [[nodiscard]] virtual int Receive(std::span<char> buffer, int waitMs) = 0;
};

// The system's sockets, started for as long as this lives.
class NetworkSession {
  public:
    virtual ~NetworkSession() = default;
    // The host's first address; none when the name did not resolve.
    [[nodiscard]] virtual std::optional<HostAddress> Resolve(const std::string& host) = 0;
    // A new stream socket; null when the system gave none. It must go before the session.
    [[nodiscard]] virtual std::unique_ptr<Connection> OpenStream() = 0;
};

class Network {
  public:
    virtual ~Network() = default;
    // Null when the system's sockets cannot be started.
    [[nodiscard]] virtual std::unique_ptr<NetworkSession> StartSession() = 0;
    // Milliseconds since the system started, wrapping after 49.7 days (GetTickCount); the
    // clock a receive's wait runs on.
    [[nodiscard]] virtual std::uint32_t TickCount() = 0;
};

}  // namespace pellmark::platform
