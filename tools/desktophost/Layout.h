// The stand-in desktop's icons as a small text file, so tests and the demo can describe a
// desktop in a few lines and read one back.
//
//   # comment
//   @autoarrange                 list view arranges its icons itself
//   @workerw                     the icons live under a top-level WorkerW, not under Progman
//   @textcolor 0x00FFFFFF        caption colour (COLORREF); 0xFFFFFFFF is "none"
//   @textbackcolor 0xFFFFFFFF    caption background colour
//   x<TAB>y<TAB>image<TAB>caption
//
// Numbers are signed decimal; the caption is everything after the third tab, so it may hold
// spaces, commas, quotes and further tabs, but no line break. LF or CRLF line ends. The file
// is UTF-8 (a byte-order mark at its start is skipped), so a caption may hold any character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellmark::standin {

struct LayoutIcon {
    std::string caption{};  // UTF-8
    std::int32_t x = 0, y = 0;
    std::int32_t image = 0;  // index into the host's image list

    friend bool operator==(const LayoutIcon&, const LayoutIcon&) = default;
};

struct Layout {
    std::vector<LayoutIcon> icons{};
    bool autoArrange = false;
    bool workerW = false;
    std::optional<std::uint32_t> textColor{}, textBackColor{};

    friend bool operator==(const Layout&, const Layout&) = default;
};

// Colour value meaning "no colour" (a transparent caption background).
inline constexpr std::uint32_t kNoColor = 0xFFFFFFFF;

// nullopt on the first malformed line (one that is not UTF-8 too); `error` then names its
// number ("line 7: ...").
[[nodiscard]] std::optional<Layout> ParseLayout(std::string_view text, std::string& error);

// Text that ParseLayout reads back to an equal Layout (captions must not hold CR or LF).
[[nodiscard]] std::string FormatLayout(const Layout& layout);

}  // namespace pellmark::standin
