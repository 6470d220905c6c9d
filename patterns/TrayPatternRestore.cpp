#include "patterns/TrayPatternRestore.h"

#include "patterns/SavedFolder.h"

namespace pellmark {

void RestorePatternFromMenu(const std::string& itemCaption, const std::string& programFolder,
                            PatternRestore& restore, const DesktopIconTable& table,
                            const std::function<void(const DesktopIconTable&)>& markHiddenIcons) {
    if (itemCaption.empty()) {
        return;
    }
    static_cast<void>(
        restore.RestorePatternFile(PatternPath(SavedFolderFor(programFolder), itemCaption), true));
    if (markHiddenIcons) {
        markHiddenIcons(table);
    }
}

}  // namespace pellmark
