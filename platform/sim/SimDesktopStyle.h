// An in-memory desktop list view's caption colours and font, and a pointer and a tick count
// the tests move. Every change sent is recorded in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/DesktopStyle.h"

namespace pellmark::sim {

class SimDesktopStyle final : public platform::DesktopStyle {
  public:
    // What was sent, in order: which setter ("text", "back") and the colour.
    struct Sent {
        std::string what;
        std::uint32_t colour = 0;
        friend bool operator==(const Sent&, const Sent&) = default;
    };

    bool present = true;  // false: no desktop list view
    std::uint32_t textColour = 0xFFFFFF;
    std::uint32_t backColour = 0x808000;
    std::vector<platform::FontChoice> fonts;  // every font given to the captions
    std::vector<Sent> sent;
    int reads = 0;
    bool pointerOnDesktop = false;
    std::uint32_t tickCount = 0;
    // When set, the tick count follows it (a test's clock) instead.
    std::function<std::uint32_t()> ticks;

    std::uint32_t TextColour() override {
        ++reads;
        return present ? textColour : 0;
    }
    std::uint32_t TextBackColour() override {
        ++reads;
        return present ? backColour : 0;
    }
    void SetTextColour(std::uint32_t colour) override {
        if (present) {
            textColour = colour;
            sent.push_back({"text", colour});
        }
    }
    void SetTextBackColour(std::uint32_t colour) override {
        if (present) {
            backColour = colour;
            sent.push_back({"back", colour});
        }
    }
    void SetCaptionFont(const platform::FontChoice& font) override {
        if (present) {
            fonts.push_back(font);
        }
    }
    bool PointerOnDesktop() override { return pointerOnDesktop; }
    std::uint32_t TickCount() override { return ticks ? ticks() : tickCount; }
};

}  // namespace pellmark::sim
