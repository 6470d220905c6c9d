// Message boxes: the only way the program reports anything to the user.
#pragma once

#include <string>

namespace pellmark::platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string caption;  // empty: the application title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;
};

}  // namespace pellmark::platform
