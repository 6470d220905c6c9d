// Message boxes that record what was shown and answer from a queue.
#pragma once

#include <deque>
#include <vector>

#include "platform/Dialogs.h"

namespace pellmark::sim {

class SimDialogs final : public platform::Dialogs {
  public:
    std::vector<platform::MessageRequest> shown;
    std::deque<platform::MessageAnswer> answers;  // empty: the first button

    platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override;
};

}  // namespace pellmark::sim
