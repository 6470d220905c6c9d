#include "tools/desktophost/Layout.h"

#include <charconv>
#include <cstdio>

#include "platform/Utf8.h"

namespace pellmark::standin {

namespace {

template <typename Number>
[[nodiscard]] std::optional<Number> ParseNumber(std::string_view text, int base) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// "0x" and one to eight hex digits.
[[nodiscard]] std::optional<std::uint32_t> ParseColor(std::string_view text) {
    if (text.size() < 3 || text.size() > 10 ||
        (text.substr(0, 2) != "0x" && text.substr(0, 2) != "0X")) {
        return std::nullopt;
    }
    return ParseNumber<std::uint32_t>(text.substr(2), 16);
}

// Reads one "@name [value]" line into the layout; false when it is not a known option.
[[nodiscard]] bool ParseOption(std::string_view line, Layout& layout) {
    const std::size_t space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const std::string_view value =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    if (name == "@autoarrange" || name == "@workerw") {
        if (space != std::string_view::npos) {
            return false;
        }
        (name == "@autoarrange" ? layout.autoArrange : layout.workerW) = true;
        return true;
    }
    if (name == "@textcolor" || name == "@textbackcolor") {
        const std::optional<std::uint32_t> color = ParseColor(value);
        if (!color) {
            return false;
        }
        (name == "@textcolor" ? layout.textColor : layout.textBackColor) = color;
        return true;
    }
    return false;
}

[[nodiscard]] std::optional<LayoutIcon> ParseIcon(std::string_view line) {
    std::string_view fields[3];
    for (std::string_view& field : fields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return std::nullopt;
        }
        field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    const auto x = ParseNumber<std::int32_t>(fields[0], 10);
    const auto y = ParseNumber<std::int32_t>(fields[1], 10);
    const auto image = ParseNumber<std::int32_t>(fields[2], 10);
    if (!x || !y || !image) {
        return std::nullopt;
    }
    return LayoutIcon{.caption = std::string(line), .x = *x, .y = *y, .image = *image};
}

std::string ColorText(std::uint32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(color));
    return text;
}

}  // namespace

std::optional<Layout> ParseLayout(std::string_view text, std::string& error) {
    Layout layout;
    int number = 0;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!platform::IsValidUtf8(line)) {
            error = "line " + std::to_string(number) + ": not UTF-8";
            return std::nullopt;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '@') {
            if (!ParseOption(line, layout)) {
                error = "line " + std::to_string(number) + ": unknown or malformed option";
                return std::nullopt;
            }
            continue;
        }
        std::optional<LayoutIcon> icon = ParseIcon(line);
        if (!icon) {
            error = "line " + std::to_string(number) + ": expected x<TAB>y<TAB>image<TAB>caption";
            return std::nullopt;
        }
        layout.icons.push_back(std::move(*icon));
    }
    return layout;
}

std::string FormatLayout(const Layout& layout) {
    std::string out;
    if (layout.autoArrange) {
        out += "@autoarrange\n";
    }
    if (layout.workerW) {
        out += "@workerw\n";
    }
    if (layout.textColor) {
        out += "@textcolor " + ColorText(*layout.textColor) + "\n";
    }
    if (layout.textBackColor) {
        out += "@textbackcolor " + ColorText(*layout.textBackColor) + "\n";
    }
    for (const LayoutIcon& icon : layout.icons) {
        out += std::to_string(icon.x) + '\t' + std::to_string(icon.y) + '\t' +
               std::to_string(icon.image) + '\t' + icon.caption + '\n';
    }
    return out;
}

}  // namespace pellmark::standin
