// Message boxes that record what was shown and answer from a queue.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace pellmark::sim {

class SimDialogs final : public platform::Dialogs {
  public:
    std::vector<platform::MessageRequest> shown;
    std::deque<platform::MessageAnswer> answers;  // empty: the first button

    platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override;
    // The messages shown, each as "Icon Buttons [caption] text": the buttons only when not
    // OK alone, the caption only when there is one ("Critical [Saving pattern] Error: 5").
    [[nodiscard]] std::vector<std::string> Said() const;

    // The colour and font dialogs: each records where it opened and answers from its
    // queue (an empty answer is a cancel; an empty queue cancels too).
    std::vector<std::uint32_t> colourDialogs;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::vector<platform::FontChoice> fontDialogs;
    std::deque<std::optional<platform::FontChoice>> fontAnswers;

    std::optional<std::uint32_t> PickColour(std::uint32_t initial) override;
    std::optional<platform::FontChoice> PickFont(const platform::FontChoice& initial) override;
};

}  // namespace pellmark::sim
