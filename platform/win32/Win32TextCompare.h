// Hands the system's own ordinal, case-blind comparison to the program's name comparisons.
#pragma once

namespace pellmark::win32 {

// CompareStringOrdinal where the system has it (Vista and later); on XP and 2000 the
// system's upper-case table through CharUpperBuffW; on 95/98/Me the built-in table stays.
void UseSystemCaseComparison() noexcept;

}  // namespace pellmark::win32
