// Whole files read and written as bytes, under names in UTF-8.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/win32/WideText.h"

namespace pellmark::testcases {

// The whole file; nothing when it cannot be read.
[[nodiscard]] inline std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(win32::Widen(path)), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[nodiscard]] inline bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(win32::Widen(path)),
                      std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out.flush());
}

}  // namespace pellmark::testcases
