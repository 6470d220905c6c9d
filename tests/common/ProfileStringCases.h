// INI reading cases written once: natively against the in-memory files, under Wine against
// GetPrivateProfileStringA. A backend provides:
//   platform::Files files;
//   std::string Put(name, content);  writes a file and gives its full path
//   std::string Missing();           a full path where no file is
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/RegistryAccess.h"

namespace pellmark::testcases {

template <typename Backend>
class ProfileStringCases : public ::testing::Test {
  protected:
    Backend backend;
};

TYPED_TEST_SUITE_P(ProfileStringCases);

TYPED_TEST_P(ProfileStringCases, SectionsAndKeysIgnoreCaseAndSurroundingSpace) {
    const std::string path = this->backend.Put("Deutsch.txt",
                                               "top=before any section\r\n"
                                               "[Strings]\r\n"
                                               "0900 = First message  \r\n"
                                               "  Indented\t=\tvalue with  inner  spaces\r\n"
                                               "Quoted=\"  kept spaces  \"\r\n"
                                               "Single='x'\r\n"
                                               "Unbalanced=\"abc\r\n"
                                               "Lone=\"\r\n"
                                               "Empty=\r\n"
                                               "NoEquals\r\n"
                                               "Dup=first\r\n"
                                               "dup=second\r\n"
                                               "[Next]\r\n"
                                               "Dup=third\n"
                                               "Last=no line end");
    platform::Files& files = this->backend.files;
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } const cases[] = {
        {"Strings", "0900", "First message"},
        {"STRINGS", "indented", "value with  inner  spaces"},
        {"strings", "Quoted", "  kept spaces  "},
        {"Strings", "Single", "x"},
        {"Strings", "Unbalanced", "\"abc"},
        {"Strings", "Lone", "\""},
        {"Strings", "Empty", ""},
        {"Strings", "NoEquals", ""},
        {"Strings", "Dup", "first"},
        {"Next", "DUP", "third"},
        {"Next", "Last", "no line end"},
        {"Strings", "Missing", ""},
        {"Strings", "Last", ""},
        {"Nowhere", "Dup", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadINI(files, c.section, c.key, path), c.expected)
            << "[" << c.section << "] " << c.key;
    }
    EXPECT_EQ(ReadINI(files, "Strings", "0900", this->backend.Missing()), "");
}

TYPED_TEST_P(ProfileStringCases, ValuesAreCutTo254Characters) {
    const std::string longValue(300, 'v');
    const std::string path = this->backend.Put(
        "Long.txt", "[S]\r\nLong=" + longValue + "\r\nExact=" + std::string(254, 'e') + "\r\n");
    EXPECT_EQ(ReadINI(this->backend.files, "S", "Long", path), std::string(254, 'v'));
    EXPECT_EQ(ReadINI(this->backend.files, "S", "Exact", path), std::string(254, 'e'));
}

REGISTER_TYPED_TEST_SUITE_P(ProfileStringCases, SectionsAndKeysIgnoreCaseAndSurroundingSpace,
                            ValuesAreCutTo254Characters);

}  // namespace pellmark::testcases
