#include "settings/Messages.h"

#include <array>
#include <utility>

namespace pellmark {

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kEnglish{{
    {"0900", "icons"},
    {"0931", "A pattern name may not contain any of these characters:"},
    {"0932", "is no longer among the saved patterns, so it will not be restored at start-up."},
    {"0934",
     "This pattern file was not saved by this version of the program and cannot be "
     "read."},
    {"0935", "Do you want to delete the pattern"},
    {"0936", "The pattern to restore when the screen resolution changes could not be found:"},
    {"0937",
     "The desktop arranges its icons automatically, so their positions cannot be "
     "restored."},
    {"0938", "Turn off Auto Arrange (right-click the desktop, View) and try again."},
}};
}  // namespace

std::string MessageText(std::string_view key) {
    for (const auto& [k, text] : kEnglish) {
        if (k == key) {
            return std::string(text);
        }
    }
    return {};
}

}  // namespace pellmark
