// Winsock must come before <windows.h>, which would otherwise bring the old Winsock 1 in.
#include <winsock2.h>

#include "platform/win32/Win32Network.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <type_traits>

#include "platform/win32/Handles.h"
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

// "a.b.c.d", each a decimal number up to 255.
std::optional<platform::HostAddress> NumericAddress(std::string_view host) {
    platform::HostAddress address{platform::kInternetFamily, {}};
    for (std::size_t i = 0; i < address.bytes.size(); ++i) {
        if (i > 0) {
            if (host.empty() || host.front() != '.') {
                return std::nullopt;
            }
            host.remove_prefix(1);
        }
        unsigned value = 0;
        const auto [end, error] = std::from_chars(host.data(), host.data() + host.size(), value);
        if (error != std::errc() || end == host.data() || end - host.data() > 3 || value > 255) {
            return std::nullopt;
        }
        address.bytes[i] = static_cast<std::uint8_t>(value);
        host.remove_prefix(static_cast<std::size_t>(end - host.data()));
    }
    if (!host.empty()) {
        return std::nullopt;
    }
    return address;
}

// What a lookup thread and its caller share; whichever lets go last frees it, so a caller
// that stops waiting never waits for the thread.
struct LookupState {
    const Sockets* sockets = nullptr;
    std::string host;
    UniqueHandle<KernelHandleTraits> answered;  // set once `address` holds the answer
    std::optional<platform::HostAddress> address;
};

DWORD WINAPI LookUp(void* parameter) {
    const std::unique_ptr<std::shared_ptr<LookupState>> held(
        static_cast<std::shared_ptr<LookupState>*>(parameter));
    LookupState& state = **held;
    const Sockets& sockets = *state.sockets;
    // A start of its own keeps Winsock up for this call after the caller's session ended.
    WSADATA data{};
    if (sockets.startup(MAKEWORD(2, 2), &data) == 0) {
        const hostent* found = sockets.resolve(state.host.c_str());
        if (found != nullptr && found->h_addr_list != nullptr && found->h_addr_list[0] != nullptr) {
            platform::HostAddress address;
            address.family = found->h_addrtype;
            if (found->h_length >= static_cast<short>(address.bytes.size())) {
                std::memcpy(address.bytes.data(), found->h_addr_list[0], address.bytes.size());
            }
            state.address = address;
        }
        sockets.cleanup();
    }
    ::SetEvent(state.answered.get());
    return 0;
}

class Win32Lookup final : public platform::HostLookup {
  public:
    explicit Win32Lookup(std::shared_ptr<LookupState> state) : state_(std::move(state)) {}

    platform::Step Wait(int waitMs) override {
        if (state_->answered &&
            ::WaitForSingleObject(state_->answered.get(), static_cast<DWORD>(waitMs)) !=
                WAIT_OBJECT_0) {
            return platform::Step::Pending;
        }
        return state_->address ? platform::Step::Done : platform::Step::Failed;
    }
    platform::HostAddress Address() const override {
        return state_->address.value_or(platform::HostAddress{});
    }

  private:
    std::shared_ptr<LookupState> state_;
};

timeval WaitOf(int waitMs) {
    return {waitMs / 1000, (waitMs % 1000) * 1000};
}

class Win32Connection final : public platform::Connection {
  public:
    Win32Connection(const Sockets& sockets, SOCKET handle) : sockets_(sockets), handle_(handle) {
        ++openSockets;
        u_long on = 1;
        sockets_.control(handle_, static_cast<long>(FIONBIO), &on);
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
                                sizeof target) == 0 ||
               sockets_.lastError() == WSAEWOULDBLOCK;
    }

    platform::Step Connected(int waitMs) override {
        fd_set writable = Alone();
        fd_set failed = Alone();
        timeval wait = WaitOf(waitMs);
        const int ready = sockets_.select(0, nullptr, &writable, &failed, &wait);
        if (ready == 0) {
            return platform::Step::Pending;
        }
        // A refused or broken attempt is reported as an exception, not as writable.
        return ready == SOCKET_ERROR || failed.fd_count != 0 ? platform::Step::Failed
                                                             : platform::Step::Done;
    }

    platform::Step Send(std::string_view& data, int waitMs) override {
        if (data.empty()) {
            return platform::Step::Done;
        }
        fd_set writable = Alone();
        timeval wait = WaitOf(waitMs);
        const int ready = sockets_.select(0, nullptr, &writable, nullptr, &wait);
        if (ready == 0) {
            return platform::Step::Pending;
        }
        if (ready == SOCKET_ERROR) {
            return platform::Step::Failed;
        }
        constexpr std::size_t kLargestSend = 1 << 20;
        const int sent = sockets_.send(handle_, data.data(),
                                       static_cast<int>(std::min(data.size(), kLargestSend)), 0);
        if (sent == SOCKET_ERROR) {
            return sockets_.lastError() == WSAEWOULDBLOCK ? platform::Step::Pending
                                                          : platform::Step::Failed;
        }
        data.remove_prefix(static_cast<std::size_t>(sent));
        return data.empty() ? platform::Step::Done : platform::Step::Pending;
    }

    int Receive(std::span<char> buffer, int waitMs) override {
        fd_set readable = Alone();
        timeval wait = WaitOf(waitMs);
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
    // A set of this socket alone, for a select.
    [[nodiscard]] fd_set Alone() const {
        fd_set set{};
        set.fd_count = 1;
        set.fd_array[0] = handle_;
        return set;
    }

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

    std::unique_ptr<platform::HostLookup> Resolve(const std::string& host) override {
        auto state = std::make_shared<LookupState>();
        state->address = NumericAddress(host);
        if (!state->address) {
            state->sockets = &sockets_;
            state->host = host;
            state->answered.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
            if (state->answered) {
                auto held = std::make_unique<std::shared_ptr<LookupState>>(state);
                const UniqueHandle<KernelHandleTraits> thread(
                    ::CreateThread(nullptr, 0, LookUp, held.get(), 0, nullptr));
                if (thread) {
                    static_cast<void>(held.release());  // the thread's now
                } else {
                    state->answered.reset();  // the lookup fails at once
                }
            }
        }
        return std::make_unique<Win32Lookup>(std::move(state));
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
