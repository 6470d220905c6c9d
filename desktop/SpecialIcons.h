// The special desktop icons (the Recycle Bin and the like): shell objects that the desktop
// shows because a key named by their class identifier sits under the machine's desktop
// NameSpace key. Removing one deletes that key, bringing it back makes it again; the list
// of identifiers is kept in SpecialDesktopIcons.cfg beside the program, since a removed
// icon has no key left to be found by.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "settings/RegistryAccess.h"

namespace pellmark {

inline constexpr const char* kNameSpaceKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace";
// Where Windows Vista and later let one user hide a desktop icon for that user alone: a
// DWORD value named by the identifier, 1 for hidden.
inline constexpr const char* kHideDesktopIconsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
inline constexpr const char* kSpecialIconsFileName = "SpecialDesktopIcons.cfg";
// The picture of a class that names none: this icon of the file in the Windows folder.
inline constexpr const char* kFallbackIconFile = "system\\cool.dll";
inline constexpr int kFallbackIconIndex = 37;
// A desktop lists a few dozen special icons; a list far longer is not one the program
// made, and each row costs registry reads and a picture.
inline constexpr std::size_t kMostSpecialIcons = 1000;

// What HKCR\CLSID\<identifier> says of the class; empty when it says nothing.
[[nodiscard]] std::string GetSpecialIconName(platform::Registry& registry, const std::string& id);
[[nodiscard]] std::string GetSpecialIconInfoTip(platform::Registry& registry,
                                                const std::string& id);
// The DefaultIcon text: a file, a comma and an icon index.
[[nodiscard]] std::string GetSpecialIconLocation(platform::Registry& registry,
                                                 const std::string& id);

// True when the machine's NameSpace key of the identifier exists and has a default value.
[[nodiscard]] bool IsOnDesktopForAll(platform::Registry& registry, const std::string& id);
// True when this user has hidden the icon for himself (the per-user value is 1).
[[nodiscard]] bool IsHiddenForUser(platform::Registry& registry, const std::string& id);

// Deletes the identifier's NameSpace key; an absent key counts as removed.
[[nodiscard]] RegistryStatus RemoveSpecialIcon(platform::Registry& registry, const std::string& id);
// Makes the NameSpace key again, its default value the display name.
[[nodiscard]] RegistryStatus RestoreSpecialIcon(platform::Registry& registry,
                                                const std::string& id);
// The per-user way: hides the icon for this user only, or takes that back.
[[nodiscard]] RegistryStatus HideSpecialIconForUser(platform::Registry& registry,
                                                    const std::string& id);
[[nodiscard]] RegistryStatus ShowSpecialIconForUser(platform::Registry& registry,
                                                    const std::string& id);

// The identifiers under the NameSpace key in the order the registry gives them; none when
// the key cannot be read.
[[nodiscard]] std::vector<std::string> ListNameSpaceKeys(platform::Registry& registry);

// An icon location split into its file and index: the index is the whole number after the
// last comma (one, two, three or more characters, a minus sign allowed; a negative index
// names a resource). A location without one is a file whose first icon is meant, as the
// shell reads it. Blanks and double quotes around the file are dropped.
struct IconLocation {
    std::string file;
    int index = 0;
    friend bool operator==(const IconLocation&, const IconLocation&) = default;
};
[[nodiscard]] IconLocation ParseIconLocation(std::string_view location);

// The fields of SpecialDesktopIcons.cfg in order: separated by commas or line ends, a field
// in double quotes keeps its commas (two quotes in it stand for one), an unquoted field
// loses its blanks at both ends. Empty
// fields are left out: an empty identifier would name the NameSpace key itself.
[[nodiscard]] std::vector<std::string> ParseSpecialIconFields(std::string_view text);
// One identifier a line, each ended by CR LF; quoted where a bare field would read back
// otherwise.
[[nodiscard]] std::string SpecialIconFileText(const std::vector<std::string>& ids);

// The identifiers in the file, the first kMostSpecialIcons of them; nothing when the file
// is missing. A file that cannot be read is a run-time error.
[[nodiscard]] std::optional<std::vector<std::string>> ReadSpecialIconFile(platform::Files& files,
                                                                          const std::string& path);
// Writes the whole file through a temporary file, so it is either whole or as it was.
[[nodiscard]] OsStatus WriteSpecialIconFile(platform::Files& files, const std::string& path,
                                            const std::vector<std::string>& ids);

}  // namespace pellmark
