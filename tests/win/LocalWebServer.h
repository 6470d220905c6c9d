// A web server on 127.0.0.1 for the version check's tests, figures and screenshots: one
// client, in a thread of its own, answered as the caller says.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace pellmark::testcases {

// This side's sockets, used directly.
class Winsock {
  public:
    Winsock() { started_ = ::WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~Winsock() {
        if (started_) {
            ::WSACleanup();
        }
    }
    [[nodiscard]] bool Started() const noexcept { return started_; }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;

  private:
    WSADATA data_{};
    bool started_ = false;
};

bool SendAll(SOCKET socket, const std::string& text) {
    return ::send(socket, text.data(), static_cast<int>(text.size()), 0) ==
           static_cast<int>(text.size());
}

// One connection's worth of server: it listens on a free port of 127.0.0.1, takes one
// client, reads its request, then does what the case says; last it waits for the client
// to close its end.
class LocalServer {
  public:
    using Behaviour = std::function<void(SOCKET client)>;

    explicit LocalServer(Behaviour behaviour) : behaviour_(std::move(behaviour)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        listening_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        int length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ::ntohs(address.sin_port);
        listening_ = listening_ && ::listen(listener_, 1) == 0;
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalServer() {
        ::closesocket(listener_);  // ends an accept that never came
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    [[nodiscard]] bool Listening() const { return listening_; }
    [[nodiscard]] std::uint16_t Port() const { return port_; }
    // Waits for the server to be done with its client; true when the client closed.
    bool ClientClosed() {
        thread_.join();
        return clientClosed_;
    }
    [[nodiscard]] const std::string& Request() const { return request_; }

  private:
    void Serve() {
        const SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            return;
        }
        char buffer[1024];
        while (request_.find("\r\n\r\n") == std::string::npos) {
            const int got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            request_.append(buffer, static_cast<std::size_t>(got));
        }
        behaviour_(client);
        // The client's end: a read returns 0 (closed) or fails (reset) once it is gone.
        DWORD wait = 40000;  // longer than any check waits
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait),
                     sizeof wait);
        for (;;) {
            const int got = ::recv(client, buffer, sizeof buffer, 0);
            if (got == 0 || (got < 0 && ::WSAGetLastError() != WSAETIMEDOUT)) {
                clientClosed_ = true;
                break;
            }
            if (got < 0) {
                break;  // still open
            }
        }
        ::closesocket(client);
    }

    Behaviour behaviour_;
    SOCKET listener_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    bool listening_ = false;
    std::thread thread_;
    std::string request_;
    bool clientClosed_ = false;
};

}  // namespace pellmark::testcases
