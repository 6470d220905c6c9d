// Program start: one copy only, the warning where the desktop cannot be reached, then the
// main window.
#pragma once

#include "app/Form1.h"
#include "app/ProgramServices.h"

namespace pellmark {

inline constexpr const char* kNtWarning =
    "This program doesn't work in WindowsNT.\n"
    "Do you want to run this program anyway, at your own risk ?\n\n"
    "Note: You will not receieve this warning again";

// Loads the main window, which shows itself; false when the program ends at once (another
// copy runs, or the warning was declined), which for a command line is exit code 1.
bool Main(ProgramServices& services, Form1& mainForm);

}  // namespace pellmark
