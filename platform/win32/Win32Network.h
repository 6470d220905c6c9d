// The network over Winsock 2.2, loaded from the system folder when a check first needs it,
// so that the program's start-up does not load it. Sockets never block: a connect or a send
// that the server does not take waits only as long as the caller says. A host name given as
// four dotted numbers needs no lookup; any other is looked up on a thread of its own, the
// one blocking call Winsock has for it, so that the window thread only waits on its answer.
#pragma once

#include "platform/Network.h"

namespace pellmark::win32 {

class Win32Network final : public platform::Network {
  public:
    std::unique_ptr<platform::NetworkSession> StartSession() override;
    std::uint32_t TickCount() override;

    // The sockets and sessions of this process still open, for the tests that make sure
    // every path closes them.
    [[nodiscard]] static int OpenSockets() noexcept;
    [[nodiscard]] static int OpenSessions() noexcept;
};

}  // namespace pellmark::win32
