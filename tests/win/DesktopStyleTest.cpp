// The captions' colours and the pointer's place on real windows, against the stand-in
// desktop in another process.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32DesktopStyle.h"
#include "tests/win/StandInProcess.h"

namespace pellmark {
namespace {

using standin::Layout;
using standin::StandInProcess;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);

COLORREF ListViewColour(HWND listView, UINT message) {
    return static_cast<COLORREF>(::SendMessageW(listView, message, 0, 0));
}

// A plain top-level window over part of the screen: somewhere that is not the desktop. A
// button, since a static control lets the pointer through to what lies beneath it.
class Elsewhere {
  public:
    Elsewhere() {
        window_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BUTTON", L"elsewhere",
                                    WS_POPUP | WS_VISIBLE, 0, 0, 120, 80, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    }
    ~Elsewhere() { ::DestroyWindow(window_); }
    Elsewhere(const Elsewhere&) = delete;
    Elsewhere& operator=(const Elsewhere&) = delete;
    void PointAt() const { ::SetCursorPos(40, 40); }

  private:
    HWND window_ = nullptr;
};

void PointAtDesktop() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 50, ::GetSystemMetrics(SM_CYSCREEN) - 50);
}

TEST(DesktopStyle, ColoursGoToTheListViewOfAnotherProcessAndReadBack) {
    for (const bool workerW : {false, true}) {
        SCOPED_TRACE(workerW ? "view under a WorkerW" : "view under Progman");
        const auto host = StandInProcess::Start(
            Layout{.icons = {{"one", 10, 10, 0}, {"two", 90, 10, 1}}, .workerW = workerW});
        ASSERT_TRUE(host);
        win32::Win32DesktopStyle style;
        style.SetTextColour(kRed);
        style.SetTextBackColour(kNavy);
        EXPECT_EQ(ListViewColour(host->listView(), LVM_GETTEXTCOLOR), kRed);
        EXPECT_EQ(ListViewColour(host->listView(), LVM_GETTEXTBKCOLOR), kNavy);
        EXPECT_EQ(style.TextColour(), kRed);
        EXPECT_EQ(style.TextBackColour(), kNavy);
        style.SetTextBackColour(platform::kNoColour);
        EXPECT_EQ(ListViewColour(host->listView(), LVM_GETTEXTBKCOLOR), CLR_NONE);
        EXPECT_EQ(style.TextBackColour(), platform::kNoColour);
        // The host reports the colours it holds itself.
        const Layout dumped = host->Dump();
        EXPECT_EQ(dumped.textColor, kRed);
        EXPECT_EQ(dumped.textBackColor, CLR_NONE);
        EXPECT_TRUE(host->Stop());
    }
    // No desktop: 0, and nothing sent anywhere.
    win32::Win32DesktopStyle style;
    EXPECT_EQ(style.TextColour(), 0u);
    EXPECT_EQ(style.TextBackColour(), 0u);
    style.SetTextColour(kRed);
}

// On the NT family the font reaches Explorer as the system's icon-title font; the prefix's
// own is put back afterwards.
TEST(DesktopStyle, TheCaptionFontBecomesTheIconTitleFont) {
    LOGFONTW before{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof before, &before, 0));
    win32::Win32DesktopStyle style;
    // No desktop: nothing changes.
    style.SetCaptionFont({"Courier New", 14, true, true});
    LOGFONTW now{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof now, &now, 0));
    EXPECT_EQ(std::wstring(now.lfFaceName), std::wstring(before.lfFaceName));

    const auto host = StandInProcess::Start(Layout{.icons = {{"one", 10, 10, 0}}});
    ASSERT_TRUE(host);
    style.SetCaptionFont({"Courier New", 12, true, false});
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof now, &now, 0));
    EXPECT_EQ(std::wstring(now.lfFaceName), L"Courier New");
    EXPECT_GE(now.lfWeight, FW_BOLD);
    EXPECT_FALSE(now.lfItalic);
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(now.lfHeight, -MulDiv(12, dpi, 72));
    ::SystemParametersInfoW(SPI_SETICONTITLELOGFONT, sizeof before, &before, SPIF_SENDCHANGE);
    EXPECT_TRUE(host->Stop());
}

TEST(DesktopStyle, ThePointerIsOnTheDesktopOverItsIconsOrTheViewBeneathThem) {
    for (const bool workerW : {false, true}) {
        SCOPED_TRACE(workerW ? "view under a WorkerW" : "view under Progman");
        const auto host =
            StandInProcess::Start(Layout{.icons = {{"one", 10, 10, 0}}, .workerW = workerW});
        ASSERT_TRUE(host);
        const Elsewhere elsewhere;
        win32::Win32DesktopStyle style;
        PointAtDesktop();
        EXPECT_TRUE(style.PointerOnDesktop());
        elsewhere.PointAt();
        EXPECT_FALSE(style.PointerOnDesktop());
        // With the icons hidden, the view's own window lies under the pointer.
        ::ShowWindow(host->listView(), SW_HIDE);
        PointAtDesktop();
        EXPECT_TRUE(style.PointerOnDesktop());
        ::ShowWindow(host->listView(), SW_SHOWNORMAL);
        EXPECT_TRUE(host->Stop());
    }
}

}  // namespace
}  // namespace pellmark
