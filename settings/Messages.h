// The numbered message texts ("0900" to "0945"). Until language files are read they
// come from the built-in English table.
#pragma once

#include <string>
#include <string_view>

namespace pellmark {

// The text for a four-digit key; empty for a key that has none.
[[nodiscard]] std::string MessageText(std::string_view key);

}  // namespace pellmark
