// The benches run in full, or, with PELLMARK_BENCH_QUICK set (`scripts/bench.sh --quick`, as
// scripts/test-all.sh runs them), one round each with small sizes and short waits: a bench
// that stops then fails the run instead of going unseen. Its figures mean nothing then.
#pragma once

#include <cstdlib>

namespace pellmark::bench {

[[nodiscard]] inline bool Quick() noexcept {
    const char* quick = std::getenv("PELLMARK_BENCH_QUICK");
    return quick != nullptr && *quick != '\0' && *quick != '0';
}

// `full` rounds, or one in the quick mode.
[[nodiscard]] inline int Rounds(int full) noexcept {
    return Quick() ? 1 : full;
}

}  // namespace pellmark::bench
