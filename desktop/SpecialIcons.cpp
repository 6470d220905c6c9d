#include "desktop/SpecialIcons.h"

#include <charconv>
#include <memory>

#include "patterns/PatternFile.h"
#include "patterns/PatternReader.h"
#include "platform/RunTimeError.h"
#include "platform/SafeFileWrite.h"

namespace pellmark {

namespace {

constexpr std::uint32_t kErrorPathNotFound = 3;
// A list of class identifiers is a few kilobytes; a file far larger is not one of ours,
// and reading it whole would cost the start-up for nothing.
constexpr std::size_t kMostFileBytes = 1 << 20;

std::string ClassKey(const std::string& id) {
    std::string key = "CLSID\\";
    key += id;
    return key;
}

std::string NameSpaceKeyOf(const std::string& id) {
    std::string key = kNameSpaceKey;
    key += '\\';
    key += id;
    return key;
}

std::string TextValue(platform::Registry& registry, std::string_view root, const std::string& key,
                      const std::string& name) {
    RegistryValue value;
    static_cast<void>(GetRegistryValue(registry, root, key, name, "S", std::string(), value));
    return std::get<std::string>(value);
}

constexpr bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// An optional minus sign and digits that fit an int, nothing else.
std::optional<int> WholeNumber(std::string_view text) noexcept {
    text = TrimBlanks(text);
    if (text.empty() || (text.front() == '-' && text.size() == 1)) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool NeedsQuotes(std::string_view id) noexcept {
    return id.find(',') != std::string_view::npos || (!id.empty() && IsBlank(id.front())) ||
           (!id.empty() && IsBlank(id.back())) || (!id.empty() && id.front() == '"');
}

}  // namespace

std::string GetSpecialIconName(platform::Registry& registry, const std::string& id) {
    return TextValue(registry, "HKCR", ClassKey(id), "");
}

std::string GetSpecialIconInfoTip(platform::Registry& registry, const std::string& id) {
    return TextValue(registry, "HKCR", ClassKey(id), "InfoTip");
}

std::string GetSpecialIconLocation(platform::Registry& registry, const std::string& id) {
    return TextValue(registry, "HKCR", ClassKey(id) + "\\DefaultIcon", "");
}

bool IsOnDesktopForAll(platform::Registry& registry, const std::string& id) {
    RegistryValue value;
    // Any text, even an empty one, counts: only a missing key or value means removed.
    return GetRegistryValue(registry, "HKLM", NameSpaceKeyOf(id), "", "S", std::string(), value) ==
           0;
}

bool IsHiddenForUser(platform::Registry& registry, const std::string& id) {
    RegistryValue value;
    static_cast<void>(
        GetRegistryValue(registry, "HKCU", kHideDesktopIconsKey, id, "D", std::int32_t{0}, value));
    return std::get<std::int32_t>(value) == 1;
}

RegistryStatus RemoveSpecialIcon(platform::Registry& registry, const std::string& id) {
    // An empty name would delete the NameSpace key itself.
    if (id.empty()) {
        return platform::kErrorFileNotFound;
    }
    return DeleteRegistryKey(registry, "HKLM", kNameSpaceKey, id);
}

RegistryStatus RestoreSpecialIcon(platform::Registry& registry, const std::string& id) {
    if (id.empty()) {
        return platform::kErrorFileNotFound;
    }
    return SetRegistryValue(registry, "HKLM", NameSpaceKeyOf(id), "", "S",
                            GetSpecialIconName(registry, id));
}

RegistryStatus HideSpecialIconForUser(platform::Registry& registry, const std::string& id) {
    return SetRegistryValue(registry, "HKCU", kHideDesktopIconsKey, id, "D", std::int32_t{1});
}

RegistryStatus ShowSpecialIconForUser(platform::Registry& registry, const std::string& id) {
    return DeleteRegistryValue(registry, "HKCU", kHideDesktopIconsKey, id);
}

std::vector<std::string> ListNameSpaceKeys(platform::Registry& registry) {
    std::string list;
    static_cast<void>(EnumRegistryKeys(registry, "HKLM", kNameSpaceKey, list));
    std::vector<std::string> ids;
    std::size_t begin = 0;
    while (begin < list.size()) {
        std::size_t end = list.find('\0', begin);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (end > begin) {
            ids.push_back(list.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    return ids;
}

IconLocation ParseIconLocation(std::string_view location) {
    IconLocation result;
    std::string_view file = location;
    if (const std::size_t comma = location.rfind(','); comma != std::string_view::npos) {
        if (const std::optional<int> index = WholeNumber(location.substr(comma + 1))) {
            result.index = *index;
            file = location.substr(0, comma);
        }
    }
    file = TrimBlanks(file);
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') {
        file = file.substr(1, file.size() - 2);
    }
    result.file = std::string(file);
    return result;
}

std::vector<std::string> ParseSpecialIconFields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    const auto isEnd = [&text](std::size_t i) {
        return i >= text.size() || text[i] == ',' || text[i] == '\r' || text[i] == '\n';
    };
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
        std::string field;
        if (at < text.size() && text[at] == '"') {
            // To the closing quote; two quotes in a row stand for one in the field.
            ++at;
            while (at < text.size()) {
                if (text[at] != '"') {
                    field += text[at++];
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += '"';
                    at += 2;
                } else {
                    ++at;
                    break;
                }
            }
            // Whatever follows the closing quote up to the separator is not part of it.
            while (!isEnd(at)) {
                ++at;
            }
        } else {
            const std::size_t begin = at;
            while (!isEnd(at)) {
                ++at;
            }
            field = std::string(TrimBlanks(text.substr(begin, at - begin)));
        }
        if (!field.empty()) {
            fields.push_back(std::move(field));
        }
        // One separator: a comma, or a line end (CR LF as one).
        if (at < text.size()) {
            if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
                ++at;
            }
            ++at;
        }
    }
    return fields;
}

std::string SpecialIconFileText(const std::vector<std::string>& ids) {
    std::string text;
    for (const std::string& id : ids) {
        if (NeedsQuotes(id)) {
            text += '"';
            for (const char c : id) {
                text += c;
                if (c == '"') {
                    text += '"';
                }
            }
            text += '"';
        } else {
            text += id;
        }
        text += "\r\n";
    }
    return text;
}

std::optional<std::vector<std::string>> ReadSpecialIconFile(platform::Files& files,
                                                            const std::string& path) {
    OsStatus status;
    const std::unique_ptr<platform::ByteSource> file = files.OpenForReading(path, status);
    if (!file) {
        if (status.code == platform::kErrorFileNotFound || status.code == kErrorPathNotFound) {
            return std::nullopt;
        }
        throw RunTimeError(static_cast<int>(status.code), status.description);
    }
    std::string bytes;
    char buffer[4096];
    while (bytes.size() < kMostFileBytes) {
        const std::size_t read = file->Read(buffer, sizeof buffer);
        if (read == 0) {
            break;
        }
        bytes.append(buffer, read);
    }
    std::string text;
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        text = bytes.substr(kUtf8ByteOrderMark.size());
    } else {
        text = files.FromAnsiCodePage(bytes);
    }
    std::vector<std::string> ids = ParseSpecialIconFields(text);
    if (ids.size() > kMostSpecialIcons) {
        ids.resize(kMostSpecialIcons);
    }
    return ids;
}

OsStatus WriteSpecialIconFile(platform::Files& files, const std::string& path,
                              const std::vector<std::string>& ids) {
    // ANSI as always when the code page holds every identifier, else UTF-8 after a mark,
    // as the pattern files do.
    return platform::SafeFileWrite(files, path, EncodePattern(SpecialIconFileText(ids), files));
}

}  // namespace pellmark
