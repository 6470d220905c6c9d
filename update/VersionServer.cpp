#include "update/VersionServer.h"

#include <charconv>

#include "settings/AppInfo.h"

namespace pellmark::update {

namespace {
constexpr std::uint16_t kWebPort = 80;
}  // namespace

VersionServer DefaultVersionServer() {
    return {"www.pellmark.example", kWebPort, "programPg.asp?pid=8&DetailID=4"};
}

std::optional<VersionServer> ParseVersionServer(std::string_view text) {
    VersionServer server;
    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos) {
        server.page = std::string(text.substr(slash + 1));
        text = text.substr(0, slash);
    }
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view port = text.substr(colon + 1);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value == 0 ||
            value > 65535) {
            return std::nullopt;
        }
        server.port = static_cast<std::uint16_t>(value);
        text = text.substr(0, colon);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    server.host = std::string(text);
    return server;
}

VersionServer ReadVersionServer(const SettingsStore& store) {
    const std::string stored = store.Get(kSettingsSection, kVersionServerKey, "");
    if (auto server = ParseVersionServer(stored)) {
        return *std::move(server);
    }
    return DefaultVersionServer();
}

std::string VersionRequest(const VersionServer& server) {
    std::string request = "GET /";
    request += server.page;
    request += " HTTP/1.1\r\nHost: ";
    request += server.host;
    if (server.port != kWebPort) {
        request += ':';
        request += std::to_string(server.port);
    }
    request += "\r\nUser-Agent: ";
    request += kAppTitle;
    request += "-update\r\n\r\n";
    return request;
}

}  // namespace pellmark::update
