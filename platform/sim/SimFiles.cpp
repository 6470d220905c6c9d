#include "platform/sim/SimFiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "platform/LineReader.h"
#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace pellmark::sim {

namespace {

OsStatus SharingViolation() {
    return {32, "The process cannot access the file because it is being used by another process."};
}

// Windows-1252 from 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t Windows1252ToUnit(unsigned char byte) noexcept {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t{byte};
}

std::optional<char> UnitToWindows1252(char16_t unit) noexcept {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    const auto found = std::find(kWindows1252High.begin(), kWindows1252High.end(), unit);
    if (found == kWindows1252High.end()) {
        return std::nullopt;
    }
    return static_cast<char>(0x80 + (found - kWindows1252High.begin()));
}

constexpr auto Trim = platform::TrimProfileBlanks;

// The value as GetPrivateProfileStringA hands it over: one pair of matching quotes
// taken off, cut to what a 255-character buffer holds.
std::string Delivered(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, 254));
}

}  // namespace

std::string SimFiles::ReadProfileString(const std::string& section, const std::string& key,
                                        const std::string& path) {
    const auto file = files.find(path);
    if (file == files.end()) {
        return {};
    }
    // Only the first section of that name is searched, and the first line of the key in it
    // counts.
    bool inSection = false;
    std::string_view rest = file->second;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) {
                continue;
            }
            if (inSection) {
                return {};
            }
            inSection = platform::EqualIgnoringCase(line.substr(1, close - 1), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (platform::EqualIgnoringCase(Trim(line.substr(0, equals)), key)) {
            return equals == std::string_view::npos ? std::string()
                                                    : Delivered(Trim(line.substr(equals + 1)));
        }
    }
    return {};
}

OsStatus SimFiles::ListFiles(const std::string& folder, const std::string& /*pattern*/,
                             std::vector<std::string>& names) {
    bool exists = folders.count(folder) != 0;
    for (const auto& [path, bytes] : files) {
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
            exists = true;
            const std::string rest = path.substr(folder.size());
            if (rest.find('\\') == std::string::npos) {
                names.push_back(rest);
            }
        }
    }
    return exists ? OsStatus{} : OsStatus{3, "The system cannot find the path specified."};
}

OsStatus SimFiles::RemoveFile(const std::string& path) {
    if (undeletable.count(path) != 0 || openWriters.count(path) != 0) {
        return SharingViolation();
    }
    return files.erase(path) != 0 ? OsStatus{}
                                  : OsStatus{2, "The system cannot find the file specified."};
}

class SimFiles::Writer final : public platform::ByteSink {
  public:
    Writer(SimFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {
        owner_.openWriters.insert(path_);
    }
    ~Writer() override { owner_.openWriters.erase(owner_.openWriters.find(path_)); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    OsStatus Write(std::string_view bytes) override {
        if (!owner_.writeFailure.ok()) {
            return owner_.writeFailure;
        }
        std::size_t fits = bytes.size();
        if (owner_.freeSpace) {
            fits = std::min(fits, *owner_.freeSpace);
            *owner_.freeSpace -= fits;
        }
        owner_.files[path_].append(bytes.substr(0, fits));
        if (fits < bytes.size()) {
            return {112, "There is not enough space on the disk."};
        }
        return {};
    }

    OsStatus Flush() override { return owner_.flushFailure; }

  private:
    SimFiles& owner_;
    std::string path_;
};

std::unique_ptr<platform::ByteSink> SimFiles::CreateNewFile(const std::string& path,
                                                            OsStatus& status) {
    if (!createFailure.ok()) {
        status = createFailure;
        return nullptr;
    }
    if (files.count(path) != 0) {
        status = {80, "The file exists."};
        return nullptr;
    }
    status = {};
    files[path];
    return std::make_unique<Writer>(*this, path);
}

OsStatus SimFiles::MoveReplacing(const std::string& from, const std::string& to) {
    if (!replaceFailure.ok()) {
        return replaceFailure;
    }
    const auto source = files.find(from);
    if (source == files.end()) {
        return {2, "The system cannot find the file specified."};
    }
    if (openWriters.count(from) != 0 || openWriters.count(to) != 0 || undeletable.count(to) != 0) {
        return SharingViolation();
    }
    std::string bytes = std::move(source->second);
    files.erase(source);
    files[to] = std::move(bytes);
    return {};
}

std::optional<std::string> SimFiles::ToAnsiCodePage(std::string_view utf8) {
    // Anything that is not well-formed UTF-8 comes back from the converter with U+FFFD,
    // which the code page cannot hold.
    std::string ansi;
    for (const char16_t unit : platform::Utf8ToUtf16(utf8)) {
        const auto byte = UnitToWindows1252(unit);
        if (!byte) {
            return std::nullopt;
        }
        ansi += *byte;
    }
    return ansi;
}

std::string SimFiles::FromAnsiCodePage(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (const char byte : bytes) {
        units += Windows1252ToUnit(static_cast<unsigned char>(byte));
    }
    return platform::Utf16ToUtf8(units);
}

OsStatus SimFiles::CreateFolder(const std::string& path) {
    if (!folderFailure.ok()) {
        return folderFailure;
    }
    std::string folder = path;
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    if (!folders.insert(folder).second) {
        return {183, "Cannot create a file when that file already exists."};
    }
    return {};
}

}  // namespace pellmark::sim
