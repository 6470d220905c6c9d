// Language files: "Languages\<name>.txt" beside the program, an INI file whose one section
// is named after the language and whose keys are four-digit codes. The file is read once
// into memory, so translating every form costs one pass over it, not one per text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Files.h"

namespace pellmark {

// The file of a language: the program folder, "\Languages\", the name and ".txt".
[[nodiscard]] std::string LanguageFilePath(std::string_view programFolder,
                                           std::string_view language);

// Whether a language name is a plain file name of the Languages folder: not empty, no
// folder part (no "\", "/" or ":", so no "..\" either), none of the characters a file name
// cannot hold, and not a device that Windows opens in every folder ("COM1", "AUX", "NUL"
// and the like, with any extension), whose reading could wait for ever.
[[nodiscard]] bool IsPlainLanguageName(std::string_view language);

// One language's texts, read as GetPrivateProfileString would read them key by key: the
// first section whose name equals the language (letter case aside) and, in it, the first
// line of each key; blanks around keys and values and one pair of matching quotes around a
// value go; a value is cut to 254 characters. A missing file, section or key is empty text.
//
// Encodings: a file that starts with a UTF-8 byte-order mark is UTF-8, one with a UTF-16
// mark (Notepad's "Unicode") is UTF-16; otherwise each line that is well-formed UTF-8 is
// taken as such and any other line is in the system's ANSI code page, as older files are.
//
// Whatever the file holds, memory stays bounded: only the first bytes of a long line are
// looked at, the table keeps at most kMaxKeys keys of at most kMaxKeyLength characters
// (the program asks for four- and five-character keys), and reading stops at the end of
// the language's section.
class LanguageFile {
  public:
    static constexpr std::size_t kMaxValueUnits = 254;
    static constexpr std::size_t kMaxKeys = 4096;
    static constexpr std::size_t kMaxKeyLength = 32;
    static constexpr std::size_t kMaxLineBytes = 4096;

    LanguageFile() = default;
    // Reads the language's section of the file at `path`.
    static LanguageFile Read(platform::Files& files, const std::string& path,
                             std::string_view language);
    // Reads the language's section of a file's bytes held in memory.
    static LanguageFile FromBytes(platform::Files& files, std::string_view bytes,
                                  std::string_view language);

    // The language name the file was read for (the section's name).
    [[nodiscard]] const std::string& Language() const noexcept { return language_; }
    // The text of the key; empty when the file has none.
    [[nodiscard]] std::string Text(std::string_view key) const;
    [[nodiscard]] std::size_t KeyCount() const noexcept { return texts_.size(); }

  private:
    friend class LanguageSectionParser;
    void ReadFrom(platform::Files& files, platform::ByteSource& source);
    std::string language_;
    std::unordered_map<std::string, std::string> texts_;  // keys in ASCII lower case
};

// The texts the program shows in `language`: the language's file in the program's
// Languages folder. When the name is not plain, or its file cannot be read or holds no
// section of that name, the English built into the program (`builtInEnglish`, the bytes
// of Languages\English.txt as the build put them in) serves instead, silently: a program
// copied alone, or a language file taken away, still has every caption.
[[nodiscard]] LanguageFile ReadLanguage(platform::Files& files, std::string_view programFolder,
                                        const std::string& language,
                                        std::string_view builtInEnglish);

// The numbered messages of the current language ("0900" to "0963").
class LanguageMessages {
  public:
    // Every key the program reads into the table.
    static const std::array<std::string_view, 42> kKeys;

    [[nodiscard]] std::string Text(std::string_view key) const;
    // Takes every key of kKeys from the file (empty where it has none).
    void Load(const LanguageFile& file);

  private:
    std::unordered_map<std::string, std::string> texts_;
};

// The program-wide table that MessageText reads.
[[nodiscard]] LanguageMessages& ProgramMessages() noexcept;

// Fills the program-wide table from the language file.
void LoadLanguageMessages(const LanguageFile& file);
void LoadLanguageMessages(platform::Files& files, std::string_view language,
                          const std::string& languageFile);

}  // namespace pellmark
