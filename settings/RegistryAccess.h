// Registry operations that take the root by its short name and the key as a path, so that
// callers never hold a key; and the INI string reader of the language files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Files.h"
#include "platform/Registry.h"

namespace pellmark {

// 0 on success, otherwise the Win32 error code of the registry call that failed, or
// kRootNotRecognised.
using RegistryStatus = std::uint32_t;
inline constexpr RegistryStatus kRootNotRecognised = 99;

// A value as callers see it: text for "S", a boolean for "B", a whole number for "D".
using RegistryValue = std::variant<std::string, bool, std::int32_t>;

// "HKCR", "HKCU", "HKLM", "HKU", "HKCC" or "HKDD" in any letter case: the root's handle
// value (0x80000000 and up); 0 for any other name.
[[nodiscard]] std::uint32_t RootKeyFromName(std::string_view rootName);

// Deletes `subKey` under root\keyPath; a key that is not there counts as deleted.
[[nodiscard]] RegistryStatus DeleteRegistryKey(platform::Registry& registry,
                                               std::string_view rootName,
                                               const std::string& keyPath,
                                               const std::string& subKey);
// Deletes a value; a value or key that is not there counts as deleted.
[[nodiscard]] RegistryStatus DeleteRegistryValue(platform::Registry& registry,
                                                 std::string_view rootName,
                                                 const std::string& keyPath,
                                                 const std::string& valueName);
// Appends the names of the key's sub-keys to `list`, each followed by a NUL, then one
// more NUL. On failure `list` is left as it was.
[[nodiscard]] RegistryStatus EnumRegistryKeys(platform::Registry& registry,
                                              std::string_view rootName, const std::string& keyPath,
                                              std::string& list);
// Reads a value of type code "S", "B" or "D" (any case) into `result`, which holds
// `defaultValue` on every failure and for any other type code.
[[nodiscard]] RegistryStatus GetRegistryValue(platform::Registry& registry,
                                              std::string_view rootName, const std::string& keyPath,
                                              const std::string& valueName,
                                              std::string_view typeCode,
                                              const RegistryValue& defaultValue,
                                              RegistryValue& result);
// Writes a value, creating missing keys along the path. "S" takes text, "B" a boolean, "D"
// a whole number from -32768 to 32767; a value that does not fit its code is not written
// and the status so far is returned. Any other type code creates the key only.
[[nodiscard]] RegistryStatus SetRegistryValue(platform::Registry& registry,
                                              std::string_view rootName, const std::string& keyPath,
                                              const std::string& valueName,
                                              std::string_view typeCode,
                                              const RegistryValue& value);

// One string of an INI file; empty when the file, section or key is missing.
[[nodiscard]] std::string ReadINI(platform::Files& files, const std::string& section,
                                  const std::string& key, const std::string& fileName);

}  // namespace pellmark
