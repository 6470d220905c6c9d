// The tray menu's restore command: one pattern item chosen by its caption.
#pragma once

#include <functional>
#include <string>

#include "patterns/DesktopIconTable.h"
#include "patterns/PatternRestore.h"

namespace pellmark {

// Restores the pattern named by the menu item (silently; an empty caption does nothing),
// then lets the icon list take its check marks from the off-screen flags of the new read.
void RestorePatternFromMenu(const std::string& itemCaption, const std::string& programFolder,
                            PatternRestore& restore, const DesktopIconTable& table,
                            const std::function<void(const DesktopIconTable&)>& markHiddenIcons);

}  // namespace pellmark
