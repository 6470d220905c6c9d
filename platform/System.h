// Facts about the running system that the logic asks for.
#pragma once

#include <string>

#include "platform/Types.h"

namespace pellmark::platform {

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
    // Hands a web or "mailto:" address to the shell; whether it opened is not examined.
    virtual void OpenAddress(const std::string& address) = 0;
};

}  // namespace pellmark::platform
