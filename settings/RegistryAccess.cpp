#include "settings/RegistryAccess.h"

#include <array>
#include <cctype>
#include <vector>

namespace pellmark {

using platform::ScopedRegistryKey;

namespace {

char UpperTypeCode(std::string_view typeCode) noexcept {
    return typeCode.size() == 1
               ? static_cast<char>(std::toupper(static_cast<unsigned char>(typeCode[0])))
               : '\0';
}

// An absent key or value is what a delete wants.
RegistryStatus AbsentCountsAsDone(RegistryStatus status) noexcept {
    return status == platform::kErrorFileNotFound ? 0 : status;
}

}  // namespace

std::uint32_t RootKeyFromName(std::string_view rootName) {
    std::string upper(rootName);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    struct Root {
        std::string_view name;
        std::uint32_t handle;
    };
    static constexpr std::array<Root, 6> kRoots{{
        {"HKCR", platform::kHkeyClassesRoot},
        {"HKCU", platform::kHkeyCurrentUser},
        {"HKLM", platform::kHkeyLocalMachine},
        {"HKU", platform::kHkeyUsers},
        {"HKCC", platform::kHkeyCurrentConfig},
        {"HKDD", platform::kHkeyDynData},
    }};
    for (const Root& root : kRoots) {
        if (root.name == upper) {
            return root.handle;
        }
    }
    return 0;
}

namespace {

// Opens the key path with `access` and deletes something beneath it; a key or item that
// is already absent counts as deleted.
template <typename Delete>
RegistryStatus DeleteBeneath(platform::Registry& registry, std::string_view rootName,
                             const std::string& keyPath, std::uint32_t access, Delete remove) {
    const std::uint32_t root = RootKeyFromName(rootName);
    if (root == 0) {
        return kRootNotRecognised;
    }
    ScopedRegistryKey key(registry);
    if (const RegistryStatus status = key.Open(platform::PredefinedKey(root), keyPath, access);
        status != 0) {
        return AbsentCountsAsDone(status);
    }
    if (const RegistryStatus status = AbsentCountsAsDone(remove(key.get())); status != 0) {
        return status;
    }
    return key.Close();
}

}  // namespace

RegistryStatus DeleteRegistryKey(platform::Registry& registry, std::string_view rootName,
                                 const std::string& keyPath, const std::string& subKey) {
    return DeleteBeneath(
        registry, rootName, keyPath, platform::kKeyCreateSubKey,
        [&](platform::RegistryKey key) { return registry.DeleteKey(key, subKey); });
}

RegistryStatus DeleteRegistryValue(platform::Registry& registry, std::string_view rootName,
                                   const std::string& keyPath, const std::string& valueName) {
    return DeleteBeneath(
        registry, rootName, keyPath, platform::kKeySetValue,
        [&](platform::RegistryKey key) { return registry.DeleteValue(key, valueName); });
}

RegistryStatus EnumRegistryKeys(platform::Registry& registry, std::string_view rootName,
                                const std::string& keyPath, std::string& list) {
    const std::uint32_t root = RootKeyFromName(rootName);
    if (root == 0) {
        return kRootNotRecognised;
    }
    ScopedRegistryKey key(registry);
    // The NT family refuses to list sub-keys through a key opened only for querying.
    if (const RegistryStatus status =
            key.Open(platform::PredefinedKey(root), keyPath,
                     platform::kKeyQueryValue | platform::kKeyEnumerateSubKeys);
        status != 0) {
        return status;
    }
    platform::RegistryKeyInfo info;
    if (const RegistryStatus status = registry.QueryKeyInfo(key.get(), info); status != 0) {
        return status;
    }
    std::string names;
    std::string name;
    for (std::uint32_t index = 0; index < info.subKeyCount; ++index) {
        if (const RegistryStatus status =
                registry.EnumKey(key.get(), index, info.longestSubKeyName + 1, name);
            status != 0) {
            return status;
        }
        names += name;
        names += '\0';
    }
    names += '\0';
    list += names;
    return key.Close();
}

RegistryStatus GetRegistryValue(platform::Registry& registry, std::string_view rootName,
                                const std::string& keyPath, const std::string& valueName,
                                std::string_view typeCode, const RegistryValue& defaultValue,
                                RegistryValue& result) {
    result = defaultValue;
    const std::uint32_t root = RootKeyFromName(rootName);
    if (root == 0) {
        return kRootNotRecognised;
    }
    ScopedRegistryKey key(registry);
    if (const RegistryStatus status =
            key.Open(platform::PredefinedKey(root), keyPath, platform::kKeyQueryValue);
        status != 0) {
        return status;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    switch (UpperTypeCode(typeCode)) {
        case 'S': {
            // Asked once with no room to learn the size, then with exactly that much.
            std::vector<std::uint8_t> text;
            RegistryStatus status = registry.QueryValue(key.get(), valueName, type, text, size);
            if (status == platform::kErrorMoreData) {
                text.resize(size);
                status = registry.QueryValue(key.get(), valueName, type, text, size);
            }
            if (status != 0) {
                return status;
            }
            text.resize(size);
            if (!text.empty() && text.back() == 0) {
                text.pop_back();
            }
            result = std::string(text.begin(), text.end());
            break;
        }
        case 'B': {
            std::array<std::uint8_t, 2> bytes{};
            if (const RegistryStatus status =
                    registry.QueryValue(key.get(), valueName, type, bytes, size);
                status != 0) {
                return status;
            }
            result = bytes[0] != 0 || bytes[1] != 0;
            break;
        }
        case 'D': {
            std::array<std::uint8_t, 4> bytes{};
            if (const RegistryStatus status =
                    registry.QueryValue(key.get(), valueName, type, bytes, size);
                status != 0) {
                return status;
            }
            const std::uint32_t number = bytes[0] | (std::uint32_t{bytes[1]} << 8) |
                                         (std::uint32_t{bytes[2]} << 16) |
                                         (std::uint32_t{bytes[3]} << 24);
            result = static_cast<std::int32_t>(number);
            break;
        }
        default:
            break;
    }
    return key.Close();
}

RegistryStatus SetRegistryValue(platform::Registry& registry, std::string_view rootName,
                                const std::string& keyPath, const std::string& valueName,
                                std::string_view typeCode, const RegistryValue& value) {
    const std::uint32_t root = RootKeyFromName(rootName);
    if (root == 0) {
        return kRootNotRecognised;
    }
    ScopedRegistryKey key(registry);
    const RegistryStatus created = key.Create(platform::PredefinedKey(root), keyPath,
                                              platform::kKeySetValue | platform::kKeyCreateSubKey);
    if (created != 0) {
        return created;
    }
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
    switch (UpperTypeCode(typeCode)) {
        case 'S': {
            const auto* text = std::get_if<std::string>(&value);
            if (text == nullptr) {
                return created;
            }
            type = platform::kRegSz;
            bytes.assign(text->begin(), text->end());
            bytes.push_back(0);
            break;
        }
        case 'B': {
            const auto* flag = std::get_if<bool>(&value);
            if (flag == nullptr) {
                return created;
            }
            type = platform::kRegBinary;
            bytes.assign(2, *flag ? 0xFF : 0x00);
            break;
        }
        case 'D': {
            const auto* number = std::get_if<std::int32_t>(&value);
            if (number == nullptr || *number < -32768 || *number > 32767) {
                return created;
            }
            type = platform::kRegDword;
            const auto stored = static_cast<std::uint32_t>(*number);
            bytes = {static_cast<std::uint8_t>(stored), static_cast<std::uint8_t>(stored >> 8),
                     static_cast<std::uint8_t>(stored >> 16),
                     static_cast<std::uint8_t>(stored >> 24)};
            break;
        }
        default:
            return key.Close();
    }
    if (const RegistryStatus status = registry.SetValue(key.get(), valueName, type, bytes);
        status != 0) {
        return status;
    }
    return key.Close();
}

std::string ReadINI(platform::Files& files, const std::string& section, const std::string& key,
                    const std::string& fileName) {
    return files.ReadProfileString(section, key, fileName);
}

}  // namespace pellmark
