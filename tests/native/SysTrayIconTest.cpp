// The notification-area icon: the 95/98/Me record byte by byte, the tip, how the shell's
// mouse messages are read, what each one does, and the program's adding and removing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/TrayRecord.h"
#include "platform/forms/Form.h"
#include "platform/forms/TrayIcon.h"
#include "platform/sim/SimForms.h"
#include "tray/SysTrayIcon.h"
#include "tray/TrayRouting.h"

namespace pellmark {
namespace {

using forms::TrayMouse;

std::uint32_t U32At(const platform::TrayRecord88& record, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

std::string TipField(const platform::TrayRecord88& record) {
    return std::string(reinterpret_cast<const char*>(record.data()) + platform::kTrayTipOffset,
                       platform::kTrayTipBytes);
}

TEST(TrayRecord88, HeaderFieldsAndTipCutTo63BytesAndPaddedAfterItsNul) {
    const platform::TrayRecord88 record =
        platform::BuildTrayRecord88(0x00C0FFEE, 0x8123, 0x0BADF00D, "Pellmark");
    ASSERT_EQ(record.size(), 88u);
    EXPECT_EQ(U32At(record, 0), 88u);           // cbSize
    EXPECT_EQ(U32At(record, 4), 0x00C0FFEEu);   // hWnd
    EXPECT_EQ(U32At(record, 8), 1u);            // uID
    EXPECT_EQ(U32At(record, 12), 7u);           // NIF_MESSAGE | NIF_ICON | NIF_TIP
    EXPECT_EQ(U32At(record, 16), 0x8123u);      // uCallbackMessage
    EXPECT_EQ(U32At(record, 20), 0x0BADF00Du);  // hIcon
    EXPECT_EQ(TipField(record), std::string("Pellmark") + '\0' + std::string(55, ' '));

    const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+-*/";
    struct Case {
        std::size_t length;
        std::size_t kept;
    };
    for (const Case c :
         {Case{0, 0}, Case{1, 1}, Case{62, 62}, Case{63, 63}, Case{64, 63}, Case{66, 63}}) {
        SCOPED_TRACE(c.length);
        const std::string title = alphabet.substr(0, c.length);
        const platform::TrayRecord88 cut = platform::BuildTrayRecord88(1, 2, 3, title);
        const std::string field = TipField(cut);
        EXPECT_EQ(field.substr(0, c.kept), title.substr(0, c.kept));
        EXPECT_EQ(field[c.kept], '\0');
        EXPECT_EQ(field.substr(c.kept + 1), std::string(63 - c.kept, ' '));
        EXPECT_EQ(U32At(cut, 0), 88u);  // nothing ran over the header
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST(TrayTip, TheTitleCutTo63CharactersWithoutSplittingOne) {
    const std::string sixtyTwo(62, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"Pellmark", "Pellmark"},
        {"", ""},
        {std::string(63, 'a'), std::string(63, 'a')},
        {std::string(64, 'a'), std::string(63, 'a')},
        {std::string(200, 'a'), std::string(63, 'a')},
        // é is one character in two bytes: 63 of them are kept whole.
        {Repeat("\xC3\xA9", 70), Repeat("\xC3\xA9", 63)},
        // A character beyond the 16-bit range takes two of the 63: none is split.
        {sixtyTwo + "\xF0\x9F\x98\x80" + "z", sixtyTwo},
        {std::string(61, 'x') + "\xF0\x9F\x98\x80" + "z",
         std::string(61, 'x') + "\xF0\x9F\x98\x80"}};
    for (const auto& [title, tip] : cases) {
        SCOPED_TRACE(title);
        EXPECT_EQ(TrayTip(title), tip);
    }
}

TEST(TrayMouseFromMessage, TheShellsMouseMessagesAndNothingElse) {
    // 0x20A is the wheel, 0x400 the NIN_SELECT of later protocols.
    using M = TrayMouse;
    const std::pair<std::uint32_t, std::optional<M>> cases[] = {
        {0x1FF, std::nullopt},         {0x200, M::Move},
        {0x201, M::LeftDown},          {0x202, M::LeftUp},
        {0x203, M::LeftDoubleClick},   {0x204, M::RightDown},
        {0x205, M::RightUp},           {0x206, M::RightDoubleClick},
        {0x207, M::MiddleDown},        {0x208, M::MiddleUp},
        {0x209, M::MiddleDoubleClick}, {0x20A, std::nullopt},
        {0x400, std::nullopt},         {0x202 + 0x10000, std::nullopt}};
    for (const auto& [message, mouse] : cases) {
        EXPECT_EQ(forms::TrayMouseFromMessage(message), mouse) << message;
    }
}

TEST(RouteTrayMouse, LeftUpTogglesTheMainWindowUnlessADialogShowsRightDownOpensTheMenu) {
    struct Case {
        TrayMouse mouse;
        TrayWindowsState windows;
        TrayAction action;
    };
    const Case cases[] = {
        {TrayMouse::LeftUp, {.mainVisible = true}, TrayAction::HideMainWindow},
        {TrayMouse::LeftUp, {.mainVisible = false}, TrayAction::ShowMainWindow},
        {TrayMouse::LeftUp, {.mainVisible = true, .aboutVisible = true}, TrayAction::None},
        {TrayMouse::LeftUp, {.mainVisible = false, .aboutVisible = true}, TrayAction::None},
        {TrayMouse::LeftUp, {.mainVisible = true, .optionsVisible = true}, TrayAction::None},
        {TrayMouse::LeftUp, {.mainVisible = false, .optionsVisible = true}, TrayAction::None},
        {TrayMouse::LeftUp, {false, true, true}, TrayAction::None},
        {TrayMouse::RightDown, {.mainVisible = false}, TrayAction::OpenTrayMenu},
        {TrayMouse::RightDown, {.mainVisible = true}, TrayAction::OpenTrayMenu},
        {TrayMouse::RightDown, {true, true, true}, TrayAction::OpenTrayMenu}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(forms::TrayMouseName(c.mouse)) + " main " +
                     std::to_string(c.windows.mainVisible) + " about " +
                     std::to_string(c.windows.aboutVisible) + " options " +
                     std::to_string(c.windows.optionsVisible));
        EXPECT_EQ(RouteTrayMouse(c.mouse, c.windows), c.action);
    }
    // Every other mouse message does nothing, whether the main window shows or not.
    for (const TrayMouse other :
         {TrayMouse::Move, TrayMouse::LeftDown, TrayMouse::LeftDoubleClick, TrayMouse::RightUp,
          TrayMouse::RightDoubleClick, TrayMouse::MiddleDown, TrayMouse::MiddleUp,
          TrayMouse::MiddleDoubleClick}) {
        for (const bool shown : {true, false}) {
            EXPECT_EQ(RouteTrayMouse(other, {.mainVisible = shown}), TrayAction::None)
                << forms::TrayMouseName(other) << " " << shown;
        }
    }
}

class SysTrayIconTest : public ::testing::Test {
  protected:
    sim::SimFormsBackend backend;
    forms::Form main{backend, "Form1"};
    SysTrayIcon tray{main};
};

TEST_F(SysTrayIconTest, AddAndRemoveReachTheShellOnceEach) {
    EXPECT_FALSE(tray.TrayIconShown());
    tray.RemoveTrayIcon();  // never added: nothing happens, nothing is told
    EXPECT_TRUE(backend.trayLog.empty());

    tray.AddTrayIcon();
    EXPECT_TRUE(main.Loaded());  // the icon belongs to the form's window
    EXPECT_TRUE(main.Tray().Shown());
    tray.AddTrayIcon();  // the same again changes nothing
    tray.RemoveTrayIcon();
    tray.RemoveTrayIcon();
    EXPECT_FALSE(main.Tray().Shown());
    EXPECT_EQ(backend.trayLog, (std::vector<std::string>{"add Form1 Pellmark", "remove Form1"}));
    EXPECT_FALSE(tray.TrayIconShown());  // the flag is the program's, set by Minimize only
}

}  // namespace
}  // namespace pellmark
