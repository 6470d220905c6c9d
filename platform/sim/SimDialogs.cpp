#include "platform/sim/SimDialogs.h"

#include <utility>

namespace pellmark::sim {

platform::MessageAnswer SimDialogs::ShowMessage(const platform::MessageRequest& request) {
    shown.push_back(request);
    if (!answers.empty()) {
        const platform::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case platform::MessageButtons::YesNo:
        case platform::MessageButtons::YesNoCancel:
            return platform::MessageAnswer::Yes;
        default:
            return platform::MessageAnswer::Ok;
    }
}

std::vector<std::string> SimDialogs::Said() const {
    static constexpr const char* kIcons[] = {"None", "Critical", "Question", "Exclamation",
                                             "Information"};
    static constexpr const char* kButtons[] = {"", " OkCancel", " YesNo", " YesNoCancel"};
    std::vector<std::string> said;
    for (const platform::MessageRequest& m : shown) {
        said.push_back(std::string(kIcons[static_cast<int>(m.icon)]) +
                       kButtons[static_cast<int>(m.buttons)] +
                       (m.caption.empty() ? "" : " [" + m.caption + "]") + " " + m.text);
    }
    return said;
}

namespace {
template <class Answer>
Answer Next(std::deque<Answer>& answers) {
    if (answers.empty()) {
        return Answer();
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
}  // namespace

std::optional<std::uint32_t> SimDialogs::PickColour(std::uint32_t initial) {
    colourDialogs.push_back(initial);
    return Next(colourAnswers);
}

std::optional<platform::FontChoice> SimDialogs::PickFont(const platform::FontChoice& initial) {
    fontDialogs.push_back(initial);
    return Next(fontAnswers);
}

}  // namespace pellmark::sim
