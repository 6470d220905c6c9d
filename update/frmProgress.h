// The small window that shows a running version check: a heading, a status line, a bar
// with its percentage, the seconds left, and Cancel.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms/Form.h"

namespace pellmark::update {

inline constexpr std::uint32_t kBarEmptyColour = 0xFFFFFF;  // white
inline constexpr std::uint32_t kBarFullColour = 0xFF0000;   // blue (red in the low byte)
inline constexpr std::uint32_t kBarFrameColour = 0x000000;
inline constexpr std::uint32_t kLightPercentColour = 0xFFFFFF;  // on the blue part
inline constexpr std::uint32_t kDarkPercentColour = 0x000000;
// From this share on, the percentage sits on blue and is written in white.
inline constexpr double kLightPercentFrom = 0.45;

class frmProgress final : public forms::Form {
  public:
    explicit frmProgress(forms::Backend& backend);

    forms::Label& Label1;  // heading
    forms::Label& Label2;  // status line
    forms::Label& Label3;  // seconds left
    // The percentage; its rectangle is the bar, which the form paints, text included.
    forms::Label& lblP;
    forms::Button& cmdCancel;

    std::int16_t Value = 0;
    std::int16_t Max = 0;
    bool Cancel = false;

    // Sets the status line and draws the bar again for the current Value and Max.
    void SetStatus(std::string caption);

  protected:
    void OnLoad() override;

  private:
    void PaintBar(forms::Canvas& canvas) const;
};

}  // namespace pellmark::update
