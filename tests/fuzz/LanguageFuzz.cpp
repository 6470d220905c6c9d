// Feeds arbitrary bytes to the language file reader. Beyond the sanitizers' own findings
// it checks the bounds every file must keep (keys, characters per text, well-formed text,
// the file closed) and, for plain ASCII files, that every key reads as the profile reader
// of the in-memory files reads it (which the INI cases hold to Windows' own).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Utf8.h"
#include "platform/sim/SimFiles.h"
#include "settings/LanguageFile.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Keys worth asking for: a few fixed ones and the first of every line that has an "=".
std::string KeyOfLine(const std::string& bytes, std::size_t start) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    const std::size_t equals = bytes.find('=', start);
    if (equals == std::string::npos || equals > end) {
        return {};
    }
    std::string key = bytes.substr(start, equals - start);
    key.erase(0, key.find_first_not_of(" \t\r\v\f"));
    key.erase(key.find_last_not_of(" \t\r\v\f") + 1);
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pellmark;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    sim::SimFiles files;
    const std::string path = "C:\\pm\\Languages\\English.txt";
    files.files[path] = bytes;
    const LanguageFile file = LanguageFile::Read(files, path, "English");
    Require(files.openReaders == 0);
    Require(file.KeyCount() <= LanguageFile::kMaxKeys);

    std::vector<std::string> keys = {"0001", "2207", "a", "A", ""};
    std::size_t longestLine = 0;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
            longestLine = std::max(longestLine, i - lineStart);
            const std::string key = KeyOfLine(bytes, lineStart);
            if (!key.empty() && key.size() <= LanguageFile::kMaxKeyLength && keys.size() < 64) {
                keys.push_back(key);
            }
            lineStart = i + 1;
        }
    }
    for (const std::string& key : keys) {
        const std::string text = file.Text(key);
        Require(platform::IsValidUtf8(text));
        Require(platform::Utf8ToUtf16(text).size() <= LanguageFile::kMaxValueUnits);
    }

    const bool comparable = platform::IsAscii(bytes) && longestLine < LanguageFile::kMaxLineBytes &&
                            static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) <
                                LanguageFile::kMaxKeys;
    if (comparable) {
        for (const std::string& key : keys) {
            if (!key.empty()) {
                Require(file.Text(key) == files.ReadProfileString("English", key, path));
            }
        }
    }
    return 0;
}
