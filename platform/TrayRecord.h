// The record that adds the program's icon to the notification area on 95/98/Me: the
// shell's first layout, 88 bytes, with 32-bit handles and an ANSI tip.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pellmark::platform {

inline constexpr std::size_t kTrayRecordSize = 88;
inline constexpr std::size_t kTrayTipOffset = 24;
inline constexpr std::size_t kTrayTipBytes = 64;  // the NUL included
// The program has one icon, and its add always carries the callback, the icon and the tip.
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayFlags = 1 | 2 | 4;  // NIF_MESSAGE | NIF_ICON | NIF_TIP

using TrayRecord88 = std::array<std::byte, kTrayRecordSize>;

// cbSize 88, the window, id 1, flags 7, the callback message and the icon; then the tip:
// its first 63 bytes, a NUL, and blanks to the end of the field.
[[nodiscard]] TrayRecord88 BuildTrayRecord88(std::uint32_t window, std::uint32_t callbackMessage,
                                             std::uint32_t icon, std::string_view ansiTip) noexcept;

}  // namespace pellmark::platform
