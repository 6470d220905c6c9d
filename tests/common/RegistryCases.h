// Registry cases written once and run against every registry backend: natively against the
// in-memory registry, under Wine against the real one, so that both are held to the same
// answers. A backend provides:
//   platform::Registry registry;   the registry under test
//   std::string scratch;           a key path under HKEY_CURRENT_USER that does not exist yet
//   std::optional<int> OpenKeys(); keys left open, when the backend can count them
//   kAnsiCalls (optional)          present when the registry takes ANSI names and text
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "settings/RegistryAccess.h"
#include "settings/SettingsStore.h"

namespace pellmark::testcases {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

struct StoredValue {
    std::uint32_t type = 0;
    Bytes bytes;
};

inline constexpr platform::RegistryKey kCurrentUser =
    platform::PredefinedKey(platform::kHkeyCurrentUser);

template <typename Backend>
class RegistryCases : public ::testing::Test {
  protected:
    Backend backend;
    platform::Registry& registry = backend.registry;
    const std::string scratch = backend.scratch;

    void ExpectNoKeyOpen(std::string_view after) {
        if (const std::optional<int> open = backend.OpenKeys()) {
            EXPECT_EQ(*open, 0) << "a key is left open after " << after;
        }
    }

    // A value as stored, read straight through the primitives.
    std::optional<StoredValue> Stored(const std::string& path, const std::string& name) {
        platform::ScopedRegistryKey key(registry);
        if (key.Open(kCurrentUser, path, platform::kKeyQueryValue) != 0) {
            return std::nullopt;
        }
        Bytes buffer(4096);
        StoredValue value;
        std::uint32_t size = 0;
        if (registry.QueryValue(key.get(), name, value.type, buffer, size) != 0) {
            return std::nullopt;
        }
        buffer.resize(size);
        value.bytes = buffer;
        return value;
    }

    void WriteRaw(const std::string& path, const std::string& name, std::uint32_t type,
                  const Bytes& bytes) {
        platform::ScopedRegistryKey key(registry);
        ASSERT_EQ(key.Create(kCurrentUser, path, platform::kKeySetValue), 0u) << path;
        ASSERT_EQ(registry.SetValue(key.get(), name, type, bytes), 0u) << name;
    }

    bool KeyExists(const std::string& path) {
        platform::ScopedRegistryKey key(registry);
        return key.Open(kCurrentUser, path, platform::kKeyQueryValue) == 0;
    }
};

TYPED_TEST_SUITE_P(RegistryCases);

// ---- The primitives: the codes Windows gives ----

TYPED_TEST_P(RegistryCases, NamesMatchWhateverTheirCaseAndKeepTheirOwnCase) {
    auto& reg = this->registry;
    for (const char* name : {"b", "A", "Mixed"}) {
        platform::ScopedRegistryKey key(reg);
        ASSERT_EQ(key.Create(kCurrentUser, this->scratch + "\\" + name,
                             platform::kKeySetValue | platform::kKeyCreateSubKey),
                  0u);
        ASSERT_EQ(reg.SetValue(key.get(), "Value", platform::kRegSz, ToBytes("v")), 0u);
    }
    platform::ScopedRegistryKey upper(reg);
    std::string shouted = this->scratch + "\\MIXED";
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    ASSERT_EQ(upper.Open(kCurrentUser, shouted, platform::kKeyQueryValue), 0u);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer(8);
    EXPECT_EQ(reg.QueryValue(upper.get(), "VALUE", type, buffer, size), 0u);
    EXPECT_EQ(size, 1u);

    platform::ScopedRegistryKey parent(reg);
    ASSERT_EQ(parent.Open(kCurrentUser, this->scratch, platform::kKeyEnumerateSubKeys), 0u);
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; reg.EnumKey(parent.get(), i, 64, name) == 0; ++i) {
        names.push_back(name);
    }
    // Letters only: Windows orders the names by their upper case, Wine by their lower case,
    // so "_" sorts after the letters on Windows and before them under Wine.
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "Mixed"}));
    EXPECT_EQ(upper.Close(), 0u);
    EXPECT_EQ(parent.Close(), 0u);
    this->ExpectNoKeyOpen("enumerating");
}

TYPED_TEST_P(RegistryCases, AccessRightsOfTheOpenedKeyAreEnforced) {
    auto& reg = this->registry;
    this->WriteRaw(this->scratch + "\\Sub", "v", platform::kRegSz, ToBytes("x"));
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer(8);
    std::string name;

    platform::ScopedRegistryKey reading(reg);
    ASSERT_EQ(reading.Open(kCurrentUser, this->scratch, platform::kKeyQueryValue), 0u);
    EXPECT_EQ(reg.SetValue(reading.get(), "v", platform::kRegSz, ToBytes("y")),
              platform::kErrorAccessDenied);
    EXPECT_EQ(reg.DeleteValue(reading.get(), "v"), platform::kErrorAccessDenied);
    EXPECT_EQ(reg.EnumKey(reading.get(), 0, 64, name), platform::kErrorAccessDenied)
        << "listing sub-keys needs KEY_ENUMERATE_SUB_KEYS";
    // Opening beneath a key and deleting its sub-keys ask nothing of the key itself.
    platform::ScopedRegistryKey child(reg);
    EXPECT_EQ(child.Open(reading.get(), "Sub", platform::kKeyQueryValue), 0u);
    EXPECT_EQ(reg.QueryValue(child.get(), "v", type, buffer, size), 0u);

    platform::ScopedRegistryKey writing(reg);
    ASSERT_EQ(writing.Open(kCurrentUser, this->scratch + "\\Sub", platform::kKeySetValue), 0u);
    EXPECT_EQ(reg.QueryValue(writing.get(), "v", type, buffer, size), platform::kErrorAccessDenied);
    EXPECT_EQ(reg.SetValue(writing.get(), "v", platform::kRegSz, ToBytes("y")), 0u);
    EXPECT_EQ(child.Close(), 0u);
    EXPECT_EQ(writing.Close(), 0u);
    EXPECT_EQ(reg.DeleteKey(reading.get(), "Sub"), 0u);
    EXPECT_EQ(reading.Close(), 0u);
    this->ExpectNoKeyOpen("the access checks");
}

TYPED_TEST_P(RegistryCases, StaleNullAndRootHandles) {
    auto& reg = this->registry;
    platform::RegistryKey key = 0;
    ASSERT_EQ(reg.CreateKey(kCurrentUser, this->scratch, platform::kKeyQueryValue, key), 0u);
    EXPECT_EQ(reg.CloseKey(key), 0u);
    EXPECT_EQ(reg.CloseKey(key), platform::kErrorInvalidHandle);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer(8);
    EXPECT_EQ(reg.QueryValue(key, "v", type, buffer, size), platform::kErrorInvalidHandle);
    EXPECT_EQ(reg.QueryValue(0, "v", type, buffer, size), platform::kErrorInvalidHandle);
    EXPECT_EQ(reg.CloseKey(0), platform::kErrorInvalidHandle);

    // An empty path under a root gives the root back; closing a root does nothing.
    platform::RegistryKey root = 0;
    EXPECT_EQ(reg.OpenKey(kCurrentUser, "", platform::kKeyQueryValue, root), 0u);
    EXPECT_EQ(root, kCurrentUser);
    EXPECT_EQ(reg.CloseKey(kCurrentUser), 0u);
    this->ExpectNoKeyOpen("the handle checks");
}

TYPED_TEST_P(RegistryCases, ShortBuffersReportTheSizeNeeded) {
    auto& reg = this->registry;
    this->WriteRaw(this->scratch, "Text", platform::kRegSz, ToBytes(std::string("hello", 6)));
    this->WriteRaw(this->scratch, "Nothing", platform::kRegBinary, {});
    platform::ScopedRegistryKey key(reg);
    ASSERT_EQ(key.Open(kCurrentUser, this->scratch, platform::kKeyQueryValue), 0u);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer;
    EXPECT_EQ(reg.QueryValue(key.get(), "Text", type, buffer, size), platform::kErrorMoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, platform::kRegSz);
    buffer.resize(5);
    EXPECT_EQ(reg.QueryValue(key.get(), "Text", type, buffer, size), platform::kErrorMoreData);
    buffer.resize(6);
    EXPECT_EQ(reg.QueryValue(key.get(), "text", type, buffer, size), 0u);
    EXPECT_EQ(buffer, ToBytes(std::string("hello", 6)));
    EXPECT_EQ(reg.QueryValue(key.get(), "Nothing", type, buffer, size), 0u);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(type, platform::kRegBinary);
    EXPECT_EQ(reg.QueryValue(key.get(), "Absent", type, buffer, size),
              platform::kErrorFileNotFound);

    // Sub-key names: the buffer holds the terminating zero too.
    for (const char* name : {"Alpha", "Be"}) {
        platform::ScopedRegistryKey sub(reg);
        ASSERT_EQ(sub.Create(kCurrentUser, this->scratch + "\\" + name, platform::kKeySetValue),
                  0u);
    }
    platform::ScopedRegistryKey parent(reg);
    ASSERT_EQ(parent.Open(kCurrentUser, this->scratch,
                          platform::kKeyQueryValue | platform::kKeyEnumerateSubKeys),
              0u);
    platform::RegistryKeyInfo info;
    ASSERT_EQ(reg.QueryKeyInfo(parent.get(), info), 0u);
    EXPECT_EQ(info.subKeyCount, 2u);
    EXPECT_EQ(info.longestSubKeyName, 5u);
    std::string name;
    EXPECT_EQ(reg.EnumKey(parent.get(), 0, 5, name), platform::kErrorMoreData);
    EXPECT_EQ(reg.EnumKey(parent.get(), 0, 6, name), 0u);
    EXPECT_EQ(name, "Alpha");
    EXPECT_EQ(reg.EnumKey(parent.get(), 2, 6, name), platform::kErrorNoMoreItems);
    EXPECT_EQ(key.Close(), 0u);
    EXPECT_EQ(parent.Close(), 0u);
    this->ExpectNoKeyOpen("the size checks");
}

TYPED_TEST_P(RegistryCases, DeletingKeysAndPaths) {
    auto& reg = this->registry;
    const std::string parentPath = this->scratch + "\\Parent";
    this->WriteRaw(parentPath + "\\Child", "v", platform::kRegSz, ToBytes("x"));
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, parentPath), platform::kErrorAccessDenied)
        << "a key with sub-keys is not deleted";
    // Wine refuses an empty name the same way; the key it would name is the parent itself.
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, ""), platform::kErrorAccessDenied);

    platform::ScopedRegistryKey child(reg);
    ASSERT_EQ(child.Open(kCurrentUser, parentPath + "\\Child",
                         platform::kKeyQueryValue | platform::kKeySetValue),
              0u);
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, parentPath + "\\CHILD"), 0u);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer(8);
    EXPECT_EQ(reg.QueryValue(child.get(), "v", type, buffer, size), platform::kErrorKeyDeleted);
    EXPECT_EQ(reg.SetValue(child.get(), "v", platform::kRegSz, ToBytes("y")),
              platform::kErrorKeyDeleted);
    EXPECT_EQ(child.Close(), 0u);
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, parentPath + "\\Child"), platform::kErrorFileNotFound);
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, parentPath + "\\Gone\\Deeper"),
              platform::kErrorFileNotFound);

    platform::RegistryKey key = 0;
    EXPECT_EQ(reg.OpenKey(kCurrentUser, "\\" + parentPath, platform::kKeyQueryValue, key),
              platform::kErrorBadPathname);
    platform::ScopedRegistryKey trailing(reg);
    EXPECT_EQ(trailing.Open(kCurrentUser, parentPath + "\\", platform::kKeyQueryValue), 0u);
    EXPECT_EQ(trailing.Close(), 0u);
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, parentPath), 0u);
    EXPECT_FALSE(this->KeyExists(parentPath));
    this->ExpectNoKeyOpen("deleting");
}

TYPED_TEST_P(RegistryCases, NamesAndTextNoCodePageHoldsStayThemselves) {
    // Greek, Cyrillic, Japanese and an emoji: no ANSI code page holds them all, and a
    // look-alike of plain letters ("Omega") is another key with its own value.
    auto& reg = this->registry;
    const std::string path = this->scratch + "\\\u03A9mega \u65E5\u672C\u8A9E";
    const std::string plainPath = this->scratch + "\\Omega";
    const std::string valueName = "\u0418\u043C\u044F";
    const std::string text = "\u041E\u0442\u0447\u0451\u0442 \U0001F4C1 \u03A9mega";
    if constexpr (requires { TypeParam::kAnsiCalls; }) {
        // The ANSI calls of 95/98/Me cannot take these: each is refused, and nothing is
        // written under a look-alike name.
        constexpr std::uint32_t kNoUnicodeTranslation = 1113;
        EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "v", "S", std::string("x")),
                  kNoUnicodeTranslation);
        EXPECT_EQ(SetRegistryValue(reg, "HKCU", this->scratch, valueName, "S", std::string("x")),
                  kNoUnicodeTranslation);
        EXPECT_EQ(SetRegistryValue(reg, "HKCU", this->scratch, "v", "S", text),
                  kNoUnicodeTranslation);
        std::string list;
        EXPECT_EQ(EnumRegistryKeys(reg, "HKCU", this->scratch, list), 0u);
        EXPECT_EQ(list, std::string(1, '\0')) << "no key under another name";
        EXPECT_FALSE(this->Stored(this->scratch, "v"));
        EXPECT_FALSE(this->Stored(this->scratch, "???"));
        this->ExpectNoKeyOpen("refused text");
        return;
    }
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, valueName, "S", text), 0u);
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", plainPath, valueName, "S", std::string("plain")), 0u);

    RegistryValue result;
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, valueName, "S", std::string(), result), 0u);
    EXPECT_EQ(result, RegistryValue(text));
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", plainPath, valueName, "S", std::string(), result), 0u);
    EXPECT_EQ(result, RegistryValue(std::string("plain")));
    const auto stored = this->Stored(path, valueName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, ToBytes(text + std::string(1, '\0'))) << "UTF-8 with one zero";

    // Sizes are counted in the bytes handed out, not in the registry's own units.
    platform::ScopedRegistryKey key(reg);
    ASSERT_EQ(key.Open(kCurrentUser, path, platform::kKeyQueryValue), 0u);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes buffer;
    EXPECT_EQ(reg.QueryValue(key.get(), valueName, type, buffer, size), platform::kErrorMoreData);
    EXPECT_EQ(size, text.size() + 1);
    EXPECT_EQ(key.Close(), 0u);

    std::string list;
    EXPECT_EQ(EnumRegistryKeys(reg, "HKCU", this->scratch, list), 0u);
    EXPECT_EQ(list, "Omega" + std::string(1, '\0') + "\u03A9mega \u65E5\u672C\u8A9E" +
                        std::string(2, '\0'));

    SettingsStore store(reg, this->scratch);
    store.Save(kSettingsSection, "PatternToRestore", "\u65E5\u672C \U0001F600");
    EXPECT_EQ(store.Get(kSettingsSection, "PatternToRestore", ""), "\u65E5\u672C \U0001F600");
    this->ExpectNoKeyOpen("text beyond the code page");
}

// ---- RegistryAccess ----

TYPED_TEST_P(RegistryCases, RootNamesInAnyCaseAndUnknownRootsTouchNothing) {
    std::vector<std::uint32_t> roots;
    for (const char* name : {"HKCR", "hkcu", "HkLm", "hku", "HKCC", "hkdd", "HKEY_CURRENT_USER", "",
                             "HKPD", "HKCU "}) {
        roots.push_back(RootKeyFromName(name));
    }
    EXPECT_EQ(roots, (std::vector<std::uint32_t>{0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u,
                                                 0x80000005u, 0x80000006u, 0, 0, 0, 0}));

    auto& reg = this->registry;
    const std::string path = this->scratch;
    RegistryValue result = std::string("untouched");
    EXPECT_EQ(SetRegistryValue(reg, "HKEY_CURRENT_USER", path, "v", "S", std::string("x")),
              kRootNotRecognised);
    EXPECT_EQ(
        GetRegistryValue(reg, "HKEY_CURRENT_USER", path, "v", "S", std::string("default"), result),
        kRootNotRecognised);
    EXPECT_EQ(result, RegistryValue(std::string("default")));
    std::string list = "kept";
    EXPECT_EQ(EnumRegistryKeys(reg, "HKEY_CURRENT_USER", path, list), kRootNotRecognised);
    EXPECT_EQ(list, "kept");
    EXPECT_EQ(DeleteRegistryKey(reg, "HKEY_CURRENT_USER", path, "x"), kRootNotRecognised);
    EXPECT_EQ(DeleteRegistryValue(reg, "HKEY_CURRENT_USER", path, "v"), kRootNotRecognised);
    EXPECT_FALSE(this->KeyExists(path));
    this->ExpectNoKeyOpen("unknown roots");
}

TYPED_TEST_P(RegistryCases, TextIsStoredWithOneTerminatingZero) {
    auto& reg = this->registry;
    const std::string path = this->scratch + "\\Made\\Along\\The way";
    EXPECT_EQ(SetRegistryValue(reg, "hkcu", path, "Name", "S", std::string("C:\\Some path\\a b")),
              0u);
    this->ExpectNoKeyOpen("writing text");
    const auto stored = this->Stored(path, "Name");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::kRegSz);
    EXPECT_EQ(stored->bytes, ToBytes(std::string("C:\\Some path\\a b", 17)));

    RegistryValue result;
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "name", "s", std::string("default"), result), 0u);
    EXPECT_EQ(result, RegistryValue(std::string("C:\\Some path\\a b")));

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Empty", "s", std::string()), 0u);
    const auto empty = this->Stored(path, "Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->bytes, Bytes{0}) << "empty text is one zero byte";
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Empty", "S", std::string("default"), result),
              0u);
    EXPECT_EQ(result, RegistryValue(std::string()));

    // Text of no bytes at all, as another program may leave it, reads as empty too.
    this->WriteRaw(path, "NoBytes", platform::kRegSz, {});
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "NoBytes", "S", std::string("default"), result),
              0u);
    EXPECT_EQ(result, RegistryValue(std::string()));
    this->ExpectNoKeyOpen("reading text");
}

TYPED_TEST_P(RegistryCases, BooleansAreTwoBytesAndNumbersSignExtended16Bit) {
    auto& reg = this->registry;
    const std::string path = this->scratch;
    RegistryValue result;

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "On", "B", true), 0u);
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Off", "b", false), 0u);
    const auto on = this->Stored(path, "On");
    ASSERT_TRUE(on);
    EXPECT_EQ(on->type, platform::kRegBinary);
    EXPECT_EQ(on->bytes, (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(this->Stored(path, "Off")->bytes, (Bytes{0x00, 0x00}));
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "On", "b", false, result), 0u);
    EXPECT_EQ(result, RegistryValue(true));
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Off", "B", true, result), 0u);
    EXPECT_EQ(result, RegistryValue(false));

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Minus", "D", std::int32_t{-1}), 0u);
    const auto minus = this->Stored(path, "Minus");
    ASSERT_TRUE(minus);
    EXPECT_EQ(minus->type, platform::kRegDword);
    EXPECT_EQ(minus->bytes, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Minus", "d", std::int32_t{0}, result), 0u);
    EXPECT_EQ(result, RegistryValue(std::int32_t{-1}));
    for (const std::int32_t edge : {32767, -32768, 48}) {
        EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Edge", "d", edge), 0u);
        EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Edge", "D", std::int32_t{0}, result), 0u);
        EXPECT_EQ(result, RegistryValue(edge));
    }

    // Outside 16 bits nothing is written; the status so far is the key's creation.
    for (const std::int32_t tooBig : {40000, -32769}) {
        EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Big", "D", tooBig), 0u);
        EXPECT_FALSE(this->Stored(path, "Big")) << tooBig;
    }
    // A value of the wrong kind for its code is not written either.
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "Kind", "S", true), 0u);
    EXPECT_FALSE(this->Stored(path, "Kind"));
    // A 4-byte value does not fit the 2-byte boolean buffer: the query's code, the default.
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Minus", "B", true, result),
              platform::kErrorMoreData);
    EXPECT_EQ(result, RegistryValue(true));
    this->ExpectNoKeyOpen("booleans and numbers");
}

TYPED_TEST_P(RegistryCases, UnknownTypeCodesCreateTheKeyAndReadNothing) {
    auto& reg = this->registry;
    const std::string path = this->scratch + "\\Other";
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "v", "X", std::string("x")), 0u);
    EXPECT_TRUE(this->KeyExists(path));
    EXPECT_FALSE(this->Stored(path, "v"));
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "v", "S", std::string("there")), 0u);
    RegistryValue result;
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "v", "SZ", std::int32_t{7}, result), 0u);
    EXPECT_EQ(result, RegistryValue(std::int32_t{7}));
    this->ExpectNoKeyOpen("unknown type codes");
}

TYPED_TEST_P(RegistryCases, MissingThingsReadAsDefaultAndDeleteAsDone) {
    auto& reg = this->registry;
    const std::string path = this->scratch;
    RegistryValue result;
    EXPECT_EQ(
        GetRegistryValue(reg, "HKCU", path + "\\Nowhere", "v", "S", std::string("dflt"), result),
        platform::kErrorFileNotFound);
    EXPECT_EQ(result, RegistryValue(std::string("dflt")));
    this->ExpectNoKeyOpen("a missing key");

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path + "\\Sub", "v", "S", std::string("x")), 0u);
    EXPECT_EQ(GetRegistryValue(reg, "HKCU", path, "Absent", "D", std::int32_t{5}, result),
              platform::kErrorFileNotFound);
    EXPECT_EQ(result, RegistryValue(std::int32_t{5}));
    this->ExpectNoKeyOpen("a missing value");

    EXPECT_EQ(DeleteRegistryValue(reg, "HKCU", path, "Absent"), 0u);
    EXPECT_EQ(DeleteRegistryValue(reg, "HKCU", path + "\\Nowhere", "v"), 0u);
    EXPECT_EQ(DeleteRegistryKey(reg, "HKCU", path, "Nowhere"), 0u);
    EXPECT_EQ(DeleteRegistryKey(reg, "HKCU", path + "\\Nowhere", "Deeper"), 0u);
    EXPECT_TRUE(this->KeyExists(path + "\\Sub"));
    this->ExpectNoKeyOpen("deleting what is absent");

    EXPECT_EQ(DeleteRegistryValue(reg, "HKCU", path + "\\Sub", "V"), 0u);
    EXPECT_FALSE(this->Stored(path + "\\Sub", "v"));
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path + "\\Sub\\Inner", "v", "S", std::string()), 0u);
    EXPECT_EQ(DeleteRegistryKey(reg, "HKCU", path, "Sub"), platform::kErrorAccessDenied);
    EXPECT_EQ(DeleteRegistryKey(reg, "HKCU", path + "\\Sub", "Inner"), 0u);
    EXPECT_EQ(DeleteRegistryKey(reg, "HKCU", path, "sub"), 0u);
    EXPECT_FALSE(this->KeyExists(path + "\\Sub"));
    this->ExpectNoKeyOpen("deleting");
}

TYPED_TEST_P(RegistryCases, EnumerationAppendsEachNameAndAClosingNul) {
    auto& reg = this->registry;
    const std::string path = this->scratch;
    std::string list = "before|";
    EXPECT_EQ(EnumRegistryKeys(reg, "HKCU", path, list), platform::kErrorFileNotFound);
    EXPECT_EQ(list, "before|");
    this->ExpectNoKeyOpen("listing a missing key");

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path, "v", "S", std::string("x")), 0u);
    EXPECT_EQ(EnumRegistryKeys(reg, "HKCU", path, list), 0u);
    EXPECT_EQ(list, std::string("before|\0", 8)) << "no sub-keys: one NUL";

    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path + "\\B", "v", "S", std::string()), 0u);
    EXPECT_EQ(SetRegistryValue(reg, "HKCU", path + "\\A", "v", "S", std::string()), 0u);
    list.clear();
    EXPECT_EQ(EnumRegistryKeys(reg, "hkcu", path, list), 0u);
    EXPECT_EQ(list, std::string("A\0B\0\0", 5));
    this->ExpectNoKeyOpen("listing");
}

// ---- SettingsStore ----

TYPED_TEST_P(RegistryCases, SettingsStoreKeepsTextPerSection) {
    SettingsStore store(this->registry, this->scratch);
    EXPECT_EQ(store.Get(kSettingsSection, "Language", "English"), "English");
    this->ExpectNoKeyOpen("reading an empty store");

    store.Save(kSettingsSection, "Language", "Deutsch");
    store.Save(kIconStyleSection, "FontName", "Times New Roman");
    store.Save(kWarnSection, "GaveNT", "True");
    store.Save(kSettingsSection, "PatternToRestore", "");
    store.Save(kSettingsSection, "Language", "Fran\u00E7ais");
    this->ExpectNoKeyOpen("saving");

    EXPECT_EQ(store.Get(kSettingsSection, "language", "English"), "Fran\u00E7ais");
    EXPECT_EQ(store.Get(kIconStyleSection, "FontName", "Arial"), "Times New Roman");
    EXPECT_EQ(store.Get(kWarnSection, "GaveNT", "False"), "True");
    EXPECT_EQ(store.Get(kSettingsSection, "PatternToRestore", "x"), "");
    EXPECT_EQ(store.Get(kWarnSection, "FontName", "none"), "none") << "sections are apart";
    EXPECT_EQ(store.Get("Nowhere", "Language", "English"), "English");

    const auto stored = this->Stored(this->scratch + "\\Warn", "GaveNT");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::kRegSz);
    EXPECT_EQ(stored->bytes, ToBytes(std::string("True", 5)));

    const std::string longText(1000, 'x');
    store.Save(kSettingsSection, "Long", longText);
    EXPECT_EQ(store.Get(kSettingsSection, "Long", ""), longText);
    this->ExpectNoKeyOpen("reading");
}

TYPED_TEST_P(RegistryCases, SettingsStoreReadsForeignDataSafely) {
    const std::string section = this->scratch + "\\Settings";
    this->WriteRaw(section, "Minus", platform::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF});
    this->WriteRaw(section, "Number", platform::kRegDword, {42, 0, 0, 0});
    this->WriteRaw(section, "Short", platform::kRegDword, {1, 2});
    this->WriteRaw(section, "Binary", platform::kRegBinary, {'1', 0});
    this->WriteRaw(section, "Several", platform::kRegSz, ToBytes(std::string("abc\0def\0\0", 9)));
    // Wine adds the missing zero when it stores this; the in-memory registry keeps the
    // three bytes as given. Either way the text ends where the data end.
    this->WriteRaw(section, "Unended", platform::kRegSz, ToBytes("abc"));
    this->WriteRaw(section, "Expand", platform::kRegExpandSz, ToBytes(std::string("%T%", 4)));

    SettingsStore store(this->registry, this->scratch);
    EXPECT_EQ(store.Get(kSettingsSection, "Minus", "d"), "-1");
    EXPECT_EQ(store.Get(kSettingsSection, "Number", "d"), "42");
    EXPECT_EQ(store.Get(kSettingsSection, "Short", "d"), "d");
    EXPECT_EQ(store.Get(kSettingsSection, "Binary", "d"), "d");
    EXPECT_EQ(store.Get(kSettingsSection, "Several", "d"), "abc");
    EXPECT_EQ(store.Get(kSettingsSection, "Unended", "d"), "abc");
    EXPECT_EQ(store.Get(kSettingsSection, "Expand", "d"), "%T%");
    this->ExpectNoKeyOpen("reading foreign data");
}

REGISTER_TYPED_TEST_SUITE_P(
    RegistryCases, NamesMatchWhateverTheirCaseAndKeepTheirOwnCase,
    AccessRightsOfTheOpenedKeyAreEnforced, StaleNullAndRootHandles, ShortBuffersReportTheSizeNeeded,
    DeletingKeysAndPaths, NamesAndTextNoCodePageHoldsStayThemselves,
    RootNamesInAnyCaseAndUnknownRootsTouchNothing, TextIsStoredWithOneTerminatingZero,
    BooleansAreTwoBytesAndNumbersSignExtended16Bit, UnknownTypeCodesCreateTheKeyAndReadNothing,
    MissingThingsReadAsDefaultAndDeleteAsDone, EnumerationAppendsEachNameAndAClosingNul,
    SettingsStoreKeepsTextPerSection, SettingsStoreReadsForeignDataSafely);

}  // namespace pellmark::testcases
