// The caption-style values the settings loader hands over, kept until the caption-style
// page exists to show them.
#pragma once

#include <cstdint>
#include <string>

#include "settings/LoadSettings.h"

namespace pellmark {

class IconStyleValues final : public IconStyleControls {
  public:
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
    std::int32_t refreshTime = 0;
    int transparentTitle = 0;
    int enableIconStyle = 0;
    std::string fontName;
    bool fontBold = false;
    bool fontItalic = false;
    double fontSize = 0;

    void SetTextColour(std::uint32_t colour) override { textColour = colour; }
    void SetBackgroundColour(std::uint32_t colour) override { backgroundColour = colour; }
    void SetRefreshTime(std::int32_t value) override { refreshTime = value; }
    void SetTransparentTitle(int checkState) override { transparentTitle = checkState; }
    void SetEnableIconStyle(int checkState) override { enableIconStyle = checkState; }
    void SetSampleFontName(const std::string& name) override { fontName = name; }
    void SetSampleFontBold(bool bold) override { fontBold = bold; }
    void SetSampleFontItalic(bool italic) override { fontItalic = italic; }
    void SetSampleFontSize(double points) override { fontSize = points; }
};

}  // namespace pellmark
