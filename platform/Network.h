// One plain TCP conversation with a web server: start the system's sockets, look a host
// name up, connect, send, and take the answer as it comes. No step holds the window thread
// longer than the wait it is given, so the caller can let the window events run between
// two waits. Every object closes what it holds when it goes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
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

// Where a step stands after its wait.
enum class Step { Pending, Done, Failed };

// What one receive found.
inline constexpr int kReceivedNothing = -1;  // nothing arrived within the wait
inline constexpr int kReceivedEnd = 0;       // the server closed, or the connection broke

// A host name being looked up. Dropping it while the lookup runs costs the caller nothing:
// the lookup ends on its own.
class HostLookup {
  public:
    virtual ~HostLookup() = default;
    // Waits at most `waitMs` for the answer: Done with the address, Failed when the name
    // did not resolve.
    [[nodiscard]] virtual Step Wait(int waitMs) = 0;
    [[nodiscard]] virtual HostAddress Address() const = 0;  // once Wait said Done
};

// One stream socket that never blocks; closed when this goes.
class Connection {
  public:
    virtual ~Connection() = default;
    // Starts connecting; false when the system refused at once.
    [[nodiscard]] virtual bool Connect(const HostAddress& address, std::uint16_t port) = 0;
    // Waits at most `waitMs` for the server to take the connection.
    [[nodiscard]] virtual Step Connected(int waitMs) = 0;
    // Waits at most `waitMs` for room and sends what fits; what was sent is taken off the
    // front of `data`. Done once it is empty.
    [[nodiscard]] virtual Step Send(std::string_view& data, int waitMs) = 0;
    // Waits at most `waitMs` for the server, then takes what has arrived (at most the
    // buffer's size): the number of bytes, kReceivedEnd or kReceivedNothing.
    [[nodiscard]] virtual int Receive(std::span<char> buffer, int waitMs) = 0;
};

// The system's sockets, started for as long as this lives.
class NetworkSession {
  public:
    virtual ~NetworkSession() = default;
    [[nodiscard]] virtual std::unique_ptr<HostLookup> Resolve(const std::string& host) = 0;
    // A new stream socket; null when the system gave none. It must go before the session.
    [[nodiscard]] virtual std::unique_ptr<Connection> OpenStream() = 0;
};

class Network {
  public:
    virtual ~Network() = default;
    // Null when the system's sockets cannot be started.
    [[nodiscard]] virtual std::unique_ptr<NetworkSession> StartSession() = 0;
    // Milliseconds since the system started, wrapping after 49.7 days (GetTickCount); the
    // clock the waits run on.
    [[nodiscard]] virtual std::uint32_t TickCount() = 0;
};

}  // namespace pellmark::platform
