// Where the program's maker is reached: the about box's links and the menu commands
// that open the web site or write an e-mail use these and nothing else.
#pragma once

#include <string>
#include <string_view>

namespace pellmark::chrome {

[[nodiscard]] constexpr std::string_view WebAddress() noexcept {
    return "https://www.pellmark.example/";
}
[[nodiscard]] constexpr std::string_view EmailAddress() noexcept {
    return "mail@pellmark.example";
}
// What the shell opens for the e-mail link.
[[nodiscard]] inline std::string EmailLink() {
    return "mailto:" + std::string(EmailAddress());
}

}  // namespace pellmark::chrome
