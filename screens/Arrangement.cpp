#include "screens/Arrangement.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace pellmark::screens {

namespace {

auto Order(const platform::Monitor& m) {
    return std::tie(m.id, m.rect.left, m.rect.top, m.rect.right, m.rect.bottom, m.dpi, m.primary);
}

// FNV-1a: stable across builds and boots, unlike std::hash.
void Mix(std::uint64_t& hash, std::string_view bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
}

}  // namespace

const platform::Monitor* Arrangement::Primary() const noexcept {
    for (const platform::Monitor& monitor : monitors) {
        if (monitor.primary) {
            return &monitor;
        }
    }
    return monitors.empty() ? nullptr : &monitors.front();
}

Arrangement MakeArrangement(std::vector<platform::Monitor> monitors) {
    std::erase_if(monitors, [](const platform::Monitor& m) {
        return m.rect.Width() <= 0 || m.rect.Height() <= 0;
    });
    // The index keeps one arrangement a line, its fields between tabs.
    for (platform::Monitor& m : monitors) {
        for (char& c : m.id) {
            if (c == '\t' || c == '\r' || c == '\n') {
                c = ' ';
            }
        }
    }
    std::sort(
        monitors.begin(), monitors.end(),
        [](const platform::Monitor& a, const platform::Monitor& b) { return Order(a) < Order(b); });
    if (monitors.size() > kMostMonitors) {
        monitors.resize(kMostMonitors);
    }
    return {std::move(monitors)};
}

std::string ArrangementKey(const Arrangement& arrangement) {
    if (arrangement.Empty()) {
        return {};
    }
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const platform::Monitor& m : arrangement.monitors) {
        // The id's length first, so that no id can run into the numbers after it.
        Mix(hash, std::to_string(m.id.size()) + ":" + m.id + "|" + std::to_string(m.rect.left) +
                      "," + std::to_string(m.rect.top) + "," + std::to_string(m.rect.right) + "," +
                      std::to_string(m.rect.bottom) + "@" + std::to_string(m.dpi) +
                      (m.primary ? "P;" : ";"));
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i) {
        key[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
        hash >>= 4;
    }
    return key;
}

std::string DescribeArrangement(const Arrangement& arrangement) {
    std::vector<const platform::Monitor*> byPlace;
    for (const platform::Monitor& m : arrangement.monitors) {
        byPlace.push_back(&m);
    }
    std::sort(byPlace.begin(), byPlace.end(), [](const auto* a, const auto* b) {
        return std::tie(a->rect.left, a->rect.top) < std::tie(b->rect.left, b->rect.top);
    });
    std::string text =
        std::to_string(byPlace.size()) + (byPlace.size() == 1 ? " screen" : " screens");
    const char* separator = ": ";
    for (const platform::Monitor* m : byPlace) {
        text += separator;
        text += std::to_string(m->rect.Width()) + "x" + std::to_string(m->rect.Height());
        if (m->dpi != 96) {
            text += " at " + std::to_string(m->dpi) + " dpi";
        }
        separator = " + ";
    }
    return text;
}

}  // namespace pellmark::screens
