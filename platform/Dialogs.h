// Message boxes: the only way the program reports anything to the user; and the
// system's colour and font dialogs.
#pragma once

#include <cstdint>
#include <optional>
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

// A font as the font dialog offers it.
struct FontChoice {
    std::string name;
    double points = 0;  // with a fraction when there is one
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;
    // The colour dialog, opened on `initial` (COLORREF); none when the user cancels.
    virtual std::optional<std::uint32_t> PickColour(std::uint32_t initial) = 0;
    // The font dialog listing screen and printer fonts, opened on `initial`; none when
    // the user cancels.
    virtual std::optional<FontChoice> PickFont(const FontChoice& initial) = 0;
};

}  // namespace pellmark::platform
