#include "settings/Messages.h"

#include <array>
#include <utility>

namespace pellmark {

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 1> kEnglish{{
    {"0931", "A pattern name may not contain any of these characters:"},
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
