// Where the published version is asked for: one setting holds the host, its port and the
// page, so a test (or a mirror) can point the check elsewhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/SettingsStore.h"

namespace pellmark::update {

// The setting, in the settings section: "host[:port][/page]".
inline constexpr std::string_view kVersionServerKey = "VersionServer";

struct VersionServer {
    std::string host;
    std::uint16_t port = 80;
    std::string page;  // after the first "/" of the request line
    friend bool operator==(const VersionServer&, const VersionServer&) = default;
};

[[nodiscard]] VersionServer DefaultVersionServer();

// "host[:port][/page]"; none when the host is empty or the port is not 1 to 65535. No
// page asks for the server's root.
[[nodiscard]] std::optional<VersionServer> ParseVersionServer(std::string_view text);

// The stored setting, or the maker's server when there is none or it does not parse.
[[nodiscard]] VersionServer ReadVersionServer(const SettingsStore& store);

// The request, every line ended by CR LF, as one text.
[[nodiscard]] std::string VersionRequest(const VersionServer& server);

}  // namespace pellmark::update
