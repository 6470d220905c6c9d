#include "settings/LanguageFile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "platform/LineReader.h"
#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace pellmark {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

enum class Encoding { Guess, Utf8, Utf16Le, Utf16Be };

constexpr auto Trim = platform::TrimProfileBlanks;

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// UTF-16 bytes to UTF-8 as they arrive in blocks: a byte or a high surrogate left over at
// the end of one block waits for the next.
class Utf16Decoder {
  public:
    explicit Utf16Decoder(bool bigEndian) noexcept : bigEndian_(bigEndian) {}

    std::string Decode(std::string_view bytes) {
        std::u16string units;
        units.reserve(bytes.size() / 2 + 2);
        if (pendingHigh_ != 0) {
            units.push_back(pendingHigh_);
            pendingHigh_ = 0;
        }
        for (const char byte : bytes) {
            if (!oddByte_) {
                oddByte_ = static_cast<unsigned char>(byte);
                continue;
            }
            const auto first = static_cast<char16_t>(*oddByte_);
            const auto second = static_cast<char16_t>(static_cast<unsigned char>(byte));
            oddByte_.reset();
            units.push_back(bigEndian_ ? static_cast<char16_t>(first << 8 | second)
                                       : static_cast<char16_t>(second << 8 | first));
        }
        if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) {
            pendingHigh_ = units.back();
            units.pop_back();
        }
        return platform::Utf16ToUtf8(units);
    }

    // What is left at the end of the file (a lone surrogate, an odd byte) is dropped as
    // Windows drops it.
  private:
    bool bigEndian_;
    std::optional<unsigned char> oddByte_;
    char16_t pendingHigh_ = 0;
};

}  // namespace

// Splits the text into lines, keeping at most kMaxLineBytes of each, and fills the table
// from the language's section.
class LanguageSectionParser {
  public:
    LanguageSectionParser(platform::Files& files, LanguageFile& target, Encoding encoding)
        : files_(files), target_(target), encoding_(encoding) {}

    [[nodiscard]] bool Finished() const noexcept { return finished_; }

    void Feed(std::string_view text) {
        while (!text.empty() && !finished_) {
            const std::size_t end = text.find('\n');
            const std::string_view piece = text.substr(0, end);
            if (line_.size() < LanguageFile::kMaxLineBytes) {
                line_.append(piece.substr(0, LanguageFile::kMaxLineBytes - line_.size()));
            }
            if (end == std::string_view::npos) {
                return;
            }
            TakeLine();
            text.remove_prefix(end + 1);
        }
    }

    void Finish() {
        if (!finished_) {
            TakeLine();
        }
    }

  private:
    void TakeLine() {
        const std::string_view raw = Trim(line_);
        if (!raw.empty() &&
            (raw.front() == '[' || target_.texts_.size() < LanguageFile::kMaxKeys)) {
            // A plain file mixes nothing: a line is UTF-8 when it reads as UTF-8, otherwise it
            // was written in the ANSI code page.
            if (encoding_ == Encoding::Guess && !platform::IsValidUtf8(raw)) {
                Parse(files_.FromAnsiCodePage(raw));
            } else {
                Parse(raw);
            }
        }
        line_.clear();
    }

    void Parse(std::string_view line) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) {
                return;
            }
            if (inSection_) {
                finished_ = true;  // only the first section of that name counts
                return;
            }
            inSection_ = platform::EqualIgnoringCase(line.substr(1, close - 1), target_.language_);
            return;
        }
        if (!inSection_ || target_.texts_.size() >= LanguageFile::kMaxKeys) {
            return;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty() || key.size() > LanguageFile::kMaxKeyLength) {
            return;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = Trim(line.substr(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
        }
        // The first line of a key counts; what Windows hands over fits 255 characters with
        // the terminating NUL. Bytes that are not UTF-8 (a mark said UTF-8, wrongly) become
        // U+FFFD here, so every text inside the program is well-formed.
        const std::string text = platform::IsValidUtf8(value)
                                     ? std::string(value)
                                     : platform::Utf16ToUtf8(platform::Utf8ToUtf16(value));
        target_.texts_.try_emplace(AsciiLower(key), std::string(platform::Utf8PrefixOfUtf16Units(
                                                        text, LanguageFile::kMaxValueUnits)));
    }

    platform::Files& files_;
    LanguageFile& target_;
    Encoding encoding_;
    std::string line_;
    bool inSection_ = false;
    bool finished_ = false;
};

std::string LanguageFilePath(std::string_view programFolder, std::string_view language) {
    std::string path(programFolder);
    path += "\\Languages\\";
    path += language;
    path += ".txt";
    return path;
}

namespace {

// Windows opens these names as devices in every folder, whatever follows the first dot.
constexpr std::array<std::string_view, 8> kDeviceNames = {"CON",    "PRN",     "AUX",    "NUL",
                                                          "CONIN$", "CONOUT$", "CLOCK$", "KEYBD$"};

bool IsDeviceName(std::string_view name) {
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    for (const std::string_view device : kDeviceNames) {
        if (platform::EqualIgnoringCase(name, device)) {
            return true;
        }
    }
    // COM1 to COM9 and LPT1 to LPT9, also with 0 and with the superscripts one to three.
    if (name.size() < 4 || !(platform::EqualIgnoringCase(name.substr(0, 3), "COM") ||
                             platform::EqualIgnoringCase(name.substr(0, 3), "LPT"))) {
        return false;
    }
    const std::string_view number = name.substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

// A file's bytes already in memory, read as a file is read.
class MemorySource final : public platform::ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) noexcept : bytes_(bytes) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min(capacity, bytes_.size());
        std::copy_n(bytes_.data(), n, buffer);
        bytes_.remove_prefix(n);
        return n;
    }

  private:
    std::string_view bytes_;
};

}  // namespace

bool IsPlainLanguageName(std::string_view language) {
    if (language.empty() || IsDeviceName(language)) {
        return false;
    }
    return std::none_of(language.begin(), language.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

LanguageFile LanguageFile::Read(platform::Files& files, const std::string& path,
                                std::string_view language) {
    LanguageFile file;
    file.language_ = std::string(language);
    OsStatus status;
    if (const auto source = files.OpenForReading(path, status)) {
        file.ReadFrom(files, *source);
    }
    return file;  // a missing file reads as empty texts
}

LanguageFile LanguageFile::FromBytes(platform::Files& files, std::string_view bytes,
                                     std::string_view language) {
    LanguageFile file;
    file.language_ = std::string(language);
    MemorySource source(bytes);
    file.ReadFrom(files, source);
    return file;
}

LanguageFile ReadLanguage(platform::Files& files, std::string_view programFolder,
                          const std::string& language, std::string_view builtInEnglish) {
    if (IsPlainLanguageName(language)) {
        LanguageFile file =
            LanguageFile::Read(files, LanguageFilePath(programFolder, language), language);
        if (file.KeyCount() != 0) {
            return file;
        }
    }
    return LanguageFile::FromBytes(files, builtInEnglish, "English");
}

void LanguageFile::ReadFrom(platform::Files& files, platform::ByteSource& source) {
    std::array<char, 16384> block{};
    std::size_t got = source.Read(block.data(), block.size());
    std::string_view first(block.data(), got);

    Encoding encoding = Encoding::Guess;
    std::unique_ptr<Utf16Decoder> utf16;
    if (first.starts_with(kUtf8Mark)) {
        encoding = Encoding::Utf8;
        first.remove_prefix(kUtf8Mark.size());
    } else if (first.starts_with(kUtf16LeMark) || first.starts_with(kUtf16BeMark)) {
        encoding = first.starts_with(kUtf16LeMark) ? Encoding::Utf16Le : Encoding::Utf16Be;
        utf16 = std::make_unique<Utf16Decoder>(encoding == Encoding::Utf16Be);
        first.remove_prefix(2);
    }
    LanguageSectionParser parser(files, *this, encoding);
    for (std::string_view bytes = first; got != 0 && !parser.Finished();) {
        parser.Feed(utf16 ? std::string_view(utf16->Decode(bytes)) : bytes);
        got = source.Read(block.data(), block.size());
        bytes = std::string_view(block.data(), got);
    }
    parser.Finish();
}

std::string LanguageFile::Text(std::string_view key) const {
    const auto found = texts_.find(AsciiLower(key));
    return found != texts_.end() ? found->second : std::string();
}

const std::array<std::string_view, 42> LanguageMessages::kKeys = {
    "0900", "0910", "0911", "0912", "0913", "0914", "0915", "0920", "0921", "0922", "0923",
    "0924", "0925", "0931", "0932", "0934", "0935", "0936", "0937", "0938", "0939", "0940",
    "0941", "0942", "0943", "0944", "0945", "0950", "0951", "0952", "0953", "0954", "0955",
    "0956", "0957", "0958", "0959", "0960", "0961", "0962", "0963", "0975",
};

std::string LanguageMessages::Text(std::string_view key) const {
    const auto found = texts_.find(std::string(key));
    return found != texts_.end() ? found->second : std::string();
}

void LanguageMessages::Load(const LanguageFile& file) {
    texts_.clear();
    for (const std::string_view key : kKeys) {
        texts_[std::string(key)] = file.Text(key);
    }
}

LanguageMessages& ProgramMessages() noexcept {
    static LanguageMessages messages;
    return messages;
}

void LoadLanguageMessages(const LanguageFile& file) {
    ProgramMessages().Load(file);
}

void LoadLanguageMessages(platform::Files& files, std::string_view language,
                          const std::string& languageFile) {
    LoadLanguageMessages(LanguageFile::Read(files, languageFile, language));
}

}  // namespace pellmark
