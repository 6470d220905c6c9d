#include "desktop/ExplorerSwitches.h"

#include <charconv>
#include <cmath>
#include <string>

#include "settings/RegistryAccess.h"

namespace pellmark {

namespace {

constexpr bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

constexpr bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

// How many characters at the start of `text` make a number: a sign, digits with an
// optional fraction (at least one digit), an exponent only when digits follow it.
std::size_t NumberLength(std::string_view text) noexcept {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    std::size_t digits = 0;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
        ++digits;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < text.size() && IsDigit(text[exponent])) {
            while (exponent < text.size() && IsDigit(text[exponent])) {
                ++exponent;
            }
            at = exponent;
        }
    }
    return at;
}

// A number as NumberLength measured it, rounded half to even into 32 bits.
std::optional<std::int32_t> Rounded(std::string_view number) {
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);  // from_chars takes no plus sign
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    const double whole = std::nearbyint(value);  // the default rounding: halves to even
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(whole);
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

bool GetExplorerSwitch(platform::Registry& registry, std::size_t index) {
    const ExplorerSwitch& entry = kExplorerSwitches.at(index);
    RegistryValue value;
    static_cast<void>(GetRegistryValue(registry, "HKCU", kExplorerPoliciesKey, entry.valueName, "D",
                                       std::int32_t{0}, value));
    return (std::get<std::int32_t>(value) == 1) == entry.tickedStoresOne;
}

void SetExplorerSwitch(platform::Registry& registry, std::size_t index, bool ticked) {
    const ExplorerSwitch& entry = kExplorerSwitches.at(index);
    const std::int32_t stored = ticked == entry.tickedStoresOne ? 1 : 0;
    static_cast<void>(
        SetRegistryValue(registry, "HKCU", kExplorerPoliciesKey, entry.valueName, "D", stored));
}

std::int32_t GetMaxCachedIcons(platform::Registry& registry) {
    RegistryValue value;
    static_cast<void>(GetRegistryValue(registry, "HKLM", kExplorerKey, "Max Cached Icons", "S",
                                       std::string(), value));
    return LeadingNumber(std::get<std::string>(value));
}

void SetMaxCachedIcons(platform::Registry& registry, std::int32_t count) {
    static_cast<void>(SetRegistryValue(registry, "HKLM", kExplorerKey, "Max Cached Icons", "S",
                                       std::to_string(count)));
}

bool SetDesktopIconSize(platform::Registry& registry, platform::Dialogs& dialogs, int size) {
    if (size == 0) {
        dialogs.ShowMessage({.text = "Size can't be set to 0",
                             .caption = "SetDesktopIconSize",
                             .icon = platform::MessageIcon::Critical});
        return false;
    }
    if (SetRegistryValue(registry, "HKCU", kWindowMetricsKey, "Shell Icon Size", "S",
                         std::to_string(size)) != 0) {
        dialogs.ShowMessage({.text = "Failed to change desktop icons' size",
                             .icon = platform::MessageIcon::Critical});
        return false;
    }
    return true;
}

std::optional<std::int32_t> RoundedNumber(std::string_view text) {
    text = TrimBlanks(text);
    const std::size_t length = NumberLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    return Rounded(text);
}

std::int32_t LeadingNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    const std::size_t length = NumberLength(text);
    if (length == 0) {
        return 0;
    }
    return Rounded(text.substr(0, length)).value_or(0);
}

}  // namespace pellmark
