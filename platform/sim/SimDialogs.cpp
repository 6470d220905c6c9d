#include "platform/sim/SimDialogs.h"

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

}  // namespace pellmark::sim
