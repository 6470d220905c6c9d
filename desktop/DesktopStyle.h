// Keeping the desktop's captions in the colours the user chose: the rule that says they
// drifted, what is sent to put them back, and the timer's period.
#pragma once

#include <cstdint>

#include "platform/DesktopStyle.h"

namespace pellmark {

inline constexpr int kRefreshTimeMin = 1;   // seconds
inline constexpr int kRefreshTimeMax = 60;  // seconds

// What the user chose. The background colour is kept while the background is transparent,
// for when it is not any more.
struct ChosenCaptionStyle {
    std::uint32_t textColour = 0;
    std::uint32_t backColour = 0;
    bool transparent = false;
};

// True when the desktop's captions (text and background colour as read back) are not as
// chosen. Exact 32-bit comparisons: a transparent background reads as kNoColour.
[[nodiscard]] bool CaptionStyleDrifted(const ChosenCaptionStyle& chosen, std::uint32_t text,
                                       std::uint32_t back) noexcept;

// One re-application: reads the desktop's colours and, only when they drifted, sends the
// text colour, the background colour, and then no background when it is transparent.
// True when it sent.
bool ReapplyCaptionStyle(platform::DesktopStyle& desktop, const ChosenCaptionStyle& chosen);

// The re-application timer's period for a slider value, in milliseconds; a value outside
// the slider's range counts as its nearest end.
[[nodiscard]] int RefreshPeriod(int seconds) noexcept;

}  // namespace pellmark
