#include "desktop/DesktopStyle.h"

#include <algorithm>

namespace pellmark {

bool CaptionStyleDrifted(const ChosenCaptionStyle& chosen, std::uint32_t text,
                         std::uint32_t back) noexcept {
    if (chosen.transparent ? back != platform::kNoColour : back != chosen.backColour) {
        return true;
    }
    return text != chosen.textColour;
}

bool ReapplyCaptionStyle(platform::DesktopStyle& desktop, const ChosenCaptionStyle& chosen) {
    const std::uint32_t back = desktop.TextBackColour();
    const std::uint32_t text = desktop.TextColour();
    if (!CaptionStyleDrifted(chosen, text, back)) {
        return false;
    }
    // Each send repaints the desktop: a transparent background is put back in two.
    desktop.SetTextColour(chosen.textColour);
    desktop.SetTextBackColour(chosen.backColour);
    if (chosen.transparent) {
        desktop.SetTextBackColour(platform::kNoColour);
    }
    return true;
}

int RefreshPeriod(int seconds) noexcept {
    return std::clamp(seconds, kRefreshTimeMin, kRefreshTimeMax) * 1000;
}

}  // namespace pellmark
