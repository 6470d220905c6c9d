// Small services of the system for the desktop pages: environment variables in texts the
// registry holds, and a repaint of the whole screen.
#pragma once

#include <string>

namespace pellmark::win32 {

// The text with each %variable% replaced by its value; unknown ones stay as written. A
// text that cannot be expanded comes back as it was.
[[nodiscard]] std::string ExpandEnvironment(const std::string& text);

// Asks every window on the screen to paint again, as after a change of the system's
// metrics that nobody announced.
void RepaintAllWindows() noexcept;

}  // namespace pellmark::win32
