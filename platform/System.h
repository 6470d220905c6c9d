// Facts about the running system that the logic asks for.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/Types.h"

namespace pellmark::platform {

// One synthetic key event: a virtual-key code going down or up.
struct KeyStroke {
    std::uint8_t virtualKey = 0;
    bool up = false;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

class System {
  public:
    virtual ~System() = default;
    // GetVersionExA, read afresh at every call.
    virtual VersionInfo ReadVersion() = 0;
    // GetTempPathA: the temporary folder, ending with a backslash.
    virtual std::string GetTempFolder() = 0;
    // Claims the program for this process; false when a copy started from the same
    // program file already runs. The claim lasts as long as the process.
    virtual bool ClaimSingleInstance() = 0;
    // Hands a file path, a web or a "mailto:" address to the shell to open; whether it
    // opened is not examined.
    virtual void OpenAddress(const std::string& address) = 0;
    // Synthesises the key events in the order given, as if typed (keybd_event).
    virtual void SendKeys(std::span<const KeyStroke> keys) = 0;
    // Switches the screen saver on or off for this session only: the user's profile keeps
    // its setting and no other program is told. True when the system took it.
    virtual bool SetScreenSaverActive(bool active) = 0;
    // Starts the default screen saver now, as a system command of `window`.
    virtual void StartScreenSaver(WindowHandle window) = 0;
    // Writes a line where a script sees it: the file or pipe the program's output was
    // redirected to, else the console of the program that started it; nowhere when it has
    // neither.
    virtual void WriteToConsole(const std::string& text) = 0;
};

}  // namespace pellmark::platform
