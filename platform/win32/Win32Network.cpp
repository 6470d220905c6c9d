// Winsock must come before <windows.h>, which would otherwise bring the old Winsock 1 in.
#include <winsock2.h>

#include "platform/win32/Win32Network.h"

#include <windows.h>

#include <cstring>
#include <type_traits>

#include "platform/win32/SystemLibraries.h"

namespace pellmark::win32 {

namespace {

int openSockets = 0;
int openSessions = 0;

// The Winsock calls, looked up once; all or none.
struct Sockets {
    decltype(&::WSAStartup) startup = nullptr;
    decltype(&::WSACleanup) cleanup = nullptr;
    decltype(&::gethostbyname) resolve = nullptr;
    decltype(&::socket) open = nullptr;
    decltype(&::connect) connect = nullptr;
    decltype(&::send) send = nullptr;
    decltype(&::recv) receive = nullptr;
    decltype(&::select) select = nullptr;
    decltype(&::ioctlsocket) control = nullptr;
    decltype(&::closesocket) close = nullptr;
    decltype(&::WSAGetLastError) lastError = nullptr;

    [[nodiscard]] bool Complete() const noexcept {
        return startup && cleanup && resolve && open && connect && send && receive && select &&
               control && close && lastError;
    }
};

const Sockets* LoadSockets() {
    static const Sockets sockets = [] {
        const auto find = [](auto& function, const char* name) {
            function = SystemFunction<std::remove_reference_t<decltype(function)>>(
                SystemLibrary::Sockets, name);
        };
        Sockets found;
        find(found.startup, "WSAStartup");
        find(found.cleanup, "WSACleanup");
        find(found.resolve, "gethostbyname");
        find(found.open, "socket");
        find(found.connect, "connect");
        find(found.send, "send");
        find(found.receive, "recv");
        find(found.select, "select");
        find(found.control, "ioctlsocket");
        find(found.close, "closesocket");
        find(found.lastError, "WSAGetLastError");
        return found;
    }();
    return sockets.Complete() ? &sockets : nullptr;
}

class Win32Connection final : public platform::Connection {
  public:
    Win32Connection(const Sockets& sockets, SOCKET handle) : sockets_(sockets), handle_(handle) {
        ++openSockets;
    }
    ~Win32Connection() override {
        sockets_.close(handle_);
        --openSockets;
    }
    Win32Connection(const Win32Connection&) = delete;
    Win32Connection& operator=(const Win32Connection&) = delete;

    bool Connect(const platform::HostAddress& address, std::uint16_t port) override {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        // Network order: the high byte first.
        const std::uint8_t portBytes[2] = {static_cast<std::uint8_t>(port >> 8),
                                           static_cast<std::uint8_t>(port & 0xFF)};
        std::memcpy(&target.sin_port, portBytes, sizeof portBytes);
        std::memcpy(&target.sin_addr, address.bytes.data(), address.bytes.size());
        return sockets_.connect(handle_, reinterpret_cast<const sockaddr*>(&target),
                                sizeof target) == 0;
    }

    bool Send(std::string_view data) override {
        const int sent = sockets_.send(handle_, data.data(), static_cast<int>(data.size()), 0);
        return sent == static_cast<int>(data.size());
    }

    void SetNonBlocking() override {
        u_long on = 1;
        sockets_.control(handle_, static_cast<long>(FIONBIO), &on);
    }

    int Receive(std::span<char> buffer, int waitMs) override {
        fd_set readable{};
        readable.fd_count = 1;
        readable.fd_array[0] = handle_;
        timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
        const int ready = sockets_.select(0, &readable, nullptr, nullptr, &wait);
        if (ready == 0) {
            return platform::kReceivedNothing;
        }
        if (ready == SOCKET_ERROR) {
            return platform::kReceivedEnd;
        }
        const int received =
            sockets_.receive(handle_, buffer.data(), static_cast<int>(buffer.size()), 0);
        if (received > 0) {
            return received;
        }
        if (received == SOCKET_ERROR && sockets_.lastError() == WSAEWOULDBLOCK) {
            return platform::kReceivedNothing;
        }
        // Closed by the server, or broken: nothing more will come either way.
        return platform::kReceivedEnd;
    }

  private:
    const Sockets& sockets_;
    SOCKET handle_;
};

class Win32Session final : public platform::NetworkSession {
  public:
    explicit Win32Session(const Sockets& sockets) : sockets_(sockets) { ++openSessions; }
    ~Win32Session() override {
        sockets_.cleanup();
        --openSessions;
    }
    Win32Session(const Win32Session&) = delete;
    Win32Session& operator=(const Win32Session&) = delete;

    std::optional<platform::HostAddress> Resolve(const std::string& host) override {
        const hostent* found = sockets_.resolve(host.c_str());
        if (found == nullptr || found->h_addr_list == nullptr || found->h_addr_list[0] == nullptr) {
            return std::nullopt;
        }
        platform::HostAddress address;
        address.family = found->h_addrtype;
        if (found->h_length >= static_cast<short>(address.bytes.size())) {
            std::memcpy(address.bytes.data(), found->h_addr_list[0], address.bytes.size());
        }
        return address;
    }

    std::unique_ptr<platform::Connection> OpenStream() override {
        const SOCKET handle = sockets_.open(AF_INET, SOCK_STREAM, 0);
        if (handle == INVALID_SOCKET) {
            return nullptr;
        }
        return std::make_unique<Win32Connection>(sockets_, handle);
    }

  private:
    const Sockets& sockets_;
};

}  // namespace

std::unique_ptr<platform::NetworkSession> Win32Network::StartSession() {
    const Sockets* sockets = LoadSockets();
    if (sockets == nullptr) {
        return nullptr;
    }
    WSADATA data{};
    if (sockets->startup(MAKEWORD(2, 2), &data) != 0) {
        return nullptr;
    }
    return std::make_unique<Win32Session>(*sockets);
}

std::uint32_t Win32Network::TickCount() {
    return ::GetTickCount();
}

int Win32Network::OpenSockets() noexcept {
    return openSockets;
}

int Win32Network::OpenSessions() noexcept {
    return openSessions;
}

}  // namespace pellmark::win32
