// pellmark.exe with the language of its settings: the captions of its real windows come
// from the shipped language file beside it, or from the English built into it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using EndToEndLanguageTest = ProgramTest;

TEST_F(EndToEndLanguageTest, EachLanguageShowsItsCaptionsAndTheProgramAloneSpeaksEnglish) {
    const auto host = standin::StandInProcess::Start(standin::AwkwardLayout());
    ASSERT_TRUE(host);
    struct Case {
        const char* language;
        const char* save;
        const char* load;
    } const cases[] = {{"German", "Speichern", "Laden"}, {"English", "Save", "Load"}};
    for (const Case& c : cases) {
        SetSetting("Settings", "Language", c.language);
        HWND form = StartMainWindow();
        ASSERT_NE(form, nullptr) << c.language;
        EXPECT_EQ(WindowText(FormControl(form, "cmdSave")), c.save);
        EXPECT_EQ(WindowText(FormControl(form, "cmdLoad")), c.load);
        ::PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program->WaitForExit(kEndTimeoutMs).has_value()) << c.language;
    }

    // pellmark.exe alone in its folder, as people take a small program: the English built
    // into it, whatever language is stored, and not a message.
    for (const char* file : {"English.txt", "German.txt"}) {
        ASSERT_NE(::DeleteFileA((folder.Path() + "\\Languages\\" + file).c_str()), FALSE);
    }
    ASSERT_NE(::RemoveDirectoryA((folder.Path() + "\\Languages").c_str()), FALSE);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(WindowText(FormControl(form, "cmdSave")), "Save");
    EXPECT_EQ(WindowText(FormControl(form, "cmdLoad")), "Load");
    std::string text;
    EXPECT_EQ(program->WaitForMessageBox(text, 2000), nullptr) << text;
    ::PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program->WaitForExit(kEndTimeoutMs).has_value());
}

}  // namespace
}  // namespace pellmark::e2e
