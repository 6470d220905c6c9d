// The stand-in desktop the Windows tests run against: its windows, its exact positions and
// its own reporting channel.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/StandInProcess.h"
#include "tools/desktophost/StandInDesktop.h"
#include "tools/desktophost/StandInProtocol.h"

namespace pellmark::standin {
namespace {

[[nodiscard]] std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

[[nodiscard]] std::string TitleOf(HWND hwnd) {
    char title[64] = {};
    ::GetWindowTextA(hwnd, title, sizeof title);
    return title;
}

// Lets the windows of this thread paint and handle what is queued for them.
void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

TEST(StandInHost, DumpGivesBackExactlyTheLayout) {
    Layout plain = AwkwardLayout();
    Layout coloured = AwkwardLayout();
    coloured.icons.resize(12);
    coloured.textColor = 0x00FFFFFF;
    coloured.textBackColor = kNoColor;
    // Captions no ANSI code page holds, kept whole however long.
    const Layout scripts{.icons = {{"\u041E\u0442\u0447\u0451\u0442", 100, 100, 0},
                                   {"\u03A9mega \u65E5\u672C\u8A9E \U0001F4C1", 300, 100, 1},
                                   {std::string(60, 'x') + "\U0001F600\u0416", 500, 100, 2}}};
    for (const Layout& layout : {plain, coloured, scripts}) {
        const auto host = StandInProcess::Start(layout);
        ASSERT_TRUE(host);
        EXPECT_EQ(host->Dump(), layout);
        EXPECT_TRUE(host->Stop()) << "the host should end on WM_CLOSE to Progman";
    }
}

TEST(StandInHost, ProgmanAndWorkerWShapes) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    for (const bool workerW : {false, true}) {
        SCOPED_TRACE(workerW ? "WorkerW shape" : "Progman shape");
        Layout layout{.icons = {{"one", 10, 10, 0}, {"two", 90, 10, 1}}, .workerW = workerW};
        const auto host = StandInProcess::Start(layout);
        ASSERT_TRUE(host);

        HWND progman = host->progman();
        EXPECT_EQ(TitleOf(progman), "Program Manager");
        RECT rect{};
        ::GetWindowRect(progman, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right, width);
        EXPECT_EQ(rect.bottom, height);
        EXPECT_EQ(::GetParent(progman), nullptr);

        HWND defView = ::GetParent(host->listView());
        EXPECT_EQ(ClassOf(host->listView()), "SysListView32");
        EXPECT_EQ(ClassOf(defView), "SHELLDLL_DefView");
        HWND holder = ::GetAncestor(defView, GA_PARENT);
        if (workerW) {
            EXPECT_EQ(::FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr), nullptr);
            EXPECT_EQ(ClassOf(holder), "WorkerW");
            EXPECT_EQ(TitleOf(holder), "");
            EXPECT_EQ(::GetAncestor(holder, GA_PARENT), ::GetDesktopWindow());
        } else {
            EXPECT_EQ(holder, progman);
        }

        const LONG_PTR style = ::GetWindowLongPtrA(host->listView(), GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_ICON);
        EXPECT_EQ(style & LVS_AUTOARRANGE, 0);
        EXPECT_EQ(::SendMessageA(host->listView(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                      LVS_EX_SNAPTOGRID,
                  0);
        EXPECT_EQ(host->Dump(), layout);
    }
}

TEST(StandInHost, AutoArrangeChannelTogglesTheStyleAndArranges) {
    Layout layout = AwkwardLayout();
    layout.icons.resize(10);
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    const auto autoArranged = [&] {
        return (::GetWindowLongPtrA(host->listView(), GWL_STYLE) & LVS_AUTOARRANGE) != 0;
    };
    EXPECT_FALSE(autoArranged());

    host->SetAutoArrange(true);
    EXPECT_TRUE(autoArranged());
    const Layout arranged = host->Dump();
    EXPECT_TRUE(arranged.autoArrange);
    ASSERT_EQ(arranged.icons.size(), layout.icons.size());
    for (const LayoutIcon& icon : arranged.icons) {
        // Arranging brings the icons pushed off the screen back onto it.
        EXPECT_GE(icon.x, 0) << icon.caption;
        EXPECT_LT(icon.x, ::GetSystemMetrics(SM_CXSCREEN)) << icon.caption;
        EXPECT_GE(icon.y, 0) << icon.caption;
    }

    host->SetAutoArrange(false);
    EXPECT_FALSE(autoArranged());
    EXPECT_FALSE(host->Dump().autoArrange);
}

TEST(StandInHost, RefusesABadLayoutFileWithExitCode2) {
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(::GetTempFileNameA(folder, "pmk", 0, path), 0u);
    {
        std::ofstream file(path, std::ios::binary);
        file << "10\t10\t0\tfine\nten\t10\t0\tbroken\n";
    }
    const std::string host = StandInProcess::HostPath();
    std::string commandLine = "\"" + host + "\" \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(host.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &info));
    const win32::UniqueKernelHandle process(info.hProcess);
    const win32::UniqueKernelHandle thread(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeProcess(process.get(), &code));
    EXPECT_EQ(code, 2u);
    ::DeleteFileA(path);
}

TEST(StandInDesktopInProcess, KeepsExactPositionsThroughMoves) {
    const Layout layout{.icons = {{"A caption that is forty-five characters long.", 10, 10, 0},
                                  {"Smith, \"J\"", 100, 10, 5},
                                  {"  spaced", 10, 100, 7}}};
    std::optional<StandInDesktop> created = StandInDesktop::Create(layout);
    ASSERT_TRUE(created);
    // Moving the object must not cut its windows off from it.
    StandInDesktop desktop = std::move(*created);
    created.reset();
    ASSERT_NE(desktop.listView(), nullptr);
    // Painting must not arrange them.
    ::InvalidateRect(desktop.listView(), nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(desktop.CurrentLayout(), layout);

    const struct {
        int index;
        POINT to;
    } moves[] = {
        {0, {17000, 5}},  {1, {-300, -50}}, {2, {0, 0}},        {0, {1023, 767}},
        {1, {16500, -1}}, {2, {-1, 200}},   {0, {-2000, 9000}}, {2, {17001, 16999}},
    };
    std::vector<LayoutIcon> expected = layout.icons;
    for (const auto& move : moves) {
        POINT to = move.to;
        ::SendMessageA(desktop.listView(), LVM_SETITEMPOSITION32, move.index,
                       reinterpret_cast<LPARAM>(&to));
        expected[move.index].x = move.to.x;
        expected[move.index].y = move.to.y;
        PumpMessages();
        EXPECT_EQ(desktop.CurrentIcons(), expected)
            << "after moving " << move.index << " to " << move.to.x << "," << move.to.y;
    }

    const HWND progman = desktop.progman();
    COPYDATASTRUCT data{kCopyDataAutoArrange, 2, const_cast<char*>("1")};
    EXPECT_EQ(::SendMessageA(progman, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_TRUE(desktop.CurrentLayout().autoArrange);
    { const StandInDesktop gone = std::move(desktop); }
    EXPECT_FALSE(::IsWindow(progman));
}

}  // namespace
}  // namespace pellmark::standin
