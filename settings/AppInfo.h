// The program's name and version, as pattern files and messages carry them.
#pragma once

namespace pellmark {

inline constexpr const char* kAppTitle = "Pellmark";
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 14;
inline constexpr int kVersionRevision = 2;

}  // namespace pellmark
