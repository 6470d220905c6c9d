// The desktop the benchmarks measure: a thousand icons in a grid.
#pragma once

#include <string>

#include "tools/desktophost/Layout.h"

namespace pellmark::bench {

inline constexpr int kIcons = 1000;

[[nodiscard]] inline standin::Layout ThousandIcons() {
    standin::Layout layout;
    for (int i = 0; i < kIcons; ++i) {
        layout.icons.push_back(
            {"Document number " + std::to_string(i) + ".txt", (i % 40) * 25, (i / 40) * 30, i % 8});
    }
    return layout;
}

}  // namespace pellmark::bench
