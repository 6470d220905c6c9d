#include "settings/Messages.h"

#include "settings/LanguageFile.h"

namespace pellmark {

std::string MessageText(std::string_view key) {
    return ProgramMessages().Text(key);
}

}  // namespace pellmark
