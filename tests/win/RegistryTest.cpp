// The shared registry, settings-store and INI cases against the real registry and
// GetPrivateProfileStringA, in a scratch key and scratch files that are removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SafeFileWrite.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "tests/common/ProfileStringCases.h"
#include "tests/common/RegistryCases.h"

namespace pellmark::testcases {
namespace {

constexpr const char* kScratchParent = "Software\\PellmarkTests";

std::string UniqueSuffix() {
    return std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(::GetTickCount());
}

struct Win32RegistryBackend {
    win32::Win32Registry registry;
    std::string scratch = std::string(kScratchParent) + "\\Run" + UniqueSuffix();

    Win32RegistryBackend() { ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str()); }
    ~Win32RegistryBackend() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, scratch.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratchParent);  // only when no other run uses it
    }
    Win32RegistryBackend(const Win32RegistryBackend&) = delete;
    Win32RegistryBackend& operator=(const Win32RegistryBackend&) = delete;

    // Handles of the real registry cannot be counted from here.
    [[nodiscard]] std::optional<int> OpenKeys() const { return std::nullopt; }
};

// The ANSI calls, as 95/98/Me make them, against the same registry.
struct Win32AnsiRegistryBackend : Win32RegistryBackend {
    static constexpr bool kAnsiCalls = true;
    Win32AnsiRegistryBackend() { registry = win32::Win32Registry(false); }
};

struct Win32FilesBackend {
    win32::Win32Files files;
    std::string folder;
    std::vector<std::string> made;

    Win32FilesBackend() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "PellmarkIni" + UniqueSuffix() + "_";
    }
    ~Win32FilesBackend() {
        for (const std::string& path : made) {
            ::DeleteFileA(path.c_str());
        }
    }
    Win32FilesBackend(const Win32FilesBackend&) = delete;
    Win32FilesBackend& operator=(const Win32FilesBackend&) = delete;

    std::string Put(const std::string& name, const std::string& content) {
        const std::string path = folder + name;
        EXPECT_TRUE(platform::SafeFileWrite(files, path, content).ok()) << path;
        made.push_back(path);
        return path;
    }
    std::string Missing() { return folder + "Missing.txt"; }
};

TEST(Win32Registry, RootsAreThePredefinedHandles) {
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyClassesRoot),
              reinterpret_cast<platform::RegistryKey>(HKEY_CLASSES_ROOT));
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyCurrentUser),
              reinterpret_cast<platform::RegistryKey>(HKEY_CURRENT_USER));
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyLocalMachine),
              reinterpret_cast<platform::RegistryKey>(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyUsers),
              reinterpret_cast<platform::RegistryKey>(HKEY_USERS));
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyCurrentConfig),
              reinterpret_cast<platform::RegistryKey>(HKEY_CURRENT_CONFIG));
    EXPECT_EQ(platform::PredefinedKey(platform::kHkeyDynData),
              reinterpret_cast<platform::RegistryKey>(HKEY_DYN_DATA));
}

// Text of the expandable kind, as DefaultIcon values often are, reads as text like any.
TEST(Win32Registry, ExpandableTextReadsAsText) {
    const Win32RegistryBackend backend;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, backend.scratch.c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t stored[] = L"%SystemRoot%\\\u03A9.dll,3";
    ::RegSetValueExW(key, L"Icon", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(stored),
                     sizeof stored);
    win32::Win32Registry registry;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::vector<std::uint8_t> buffer(64);
    EXPECT_EQ(registry.QueryValue(reinterpret_cast<platform::RegistryKey>(key), "Icon", type,
                                  buffer, size),
              0u);
    ::RegCloseKey(key);
    EXPECT_EQ(type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())),
              "%SystemRoot%\\\xCE\xA9.dll,3");
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryCases, Win32RegistryBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32Ansi, RegistryCases, Win32AnsiRegistryBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProfileStringCases, Win32FilesBackend);

}  // namespace pellmark::testcases
