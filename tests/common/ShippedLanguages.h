// The language files as they ship (Languages/ in the source tree), for tests that need the
// program's texts: they go into the in-memory files where the program looks for them.
// The including target defines PELLMARK_LANGUAGES_DIR.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/sim/SimFiles.h"
#include "settings/LanguageFile.h"

namespace pellmark::testcases {

inline std::string ShippedLanguageBytes(std::string_view language) {
    std::ifstream in(std::string(PELLMARK_LANGUAGES_DIR) + "/" + std::string(language) + ".txt",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Puts the shipped file where a program in `programFolder` finds it; gives its path.
inline std::string PutShippedLanguage(sim::SimFiles& files, std::string_view programFolder,
                                      std::string_view language) {
    std::string path = LanguageFilePath(programFolder, language);
    files.files[path] = ShippedLanguageBytes(language);
    return path;
}

// The program-wide messages of a shipped language, as the program has them once started.
inline void LoadShippedMessages(std::string_view language) {
    sim::SimFiles files;
    LoadLanguageMessages(files, language, PutShippedLanguage(files, "C:\\Pellmark", language));
}

}  // namespace pellmark::testcases
