// The numbered message texts ("0900" to "0963") of the current language, as
// LoadLanguageMessages last read them from the language file.
#pragma once

#include <string>
#include <string_view>

namespace pellmark {

// The text for a four-digit key; empty for a key that has none.
[[nodiscard]] std::string MessageText(std::string_view key);

}  // namespace pellmark
