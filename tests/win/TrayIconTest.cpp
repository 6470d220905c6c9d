// The notification-area icon on real windows, against the stand-in notification area
// (traystandin.exe, its own process): what Shell_NotifyIcon hands the taskbar, the clicks
// coming back, Explorer starting again, and the removal when the form unloads.
//
// The stand-in sees the record that Wine's shell32 makes of ours, not ours: Wine widens the
// tip into a field of 128 characters and sends the icon's pixels instead of its handle. So
// the checks are those that hold on Windows too: the icon's window, id 1, flags
// NIF_MESSAGE | NIF_ICON | NIF_TIP, the callback, an icon, and a tip of at most 63
// characters (the first-version field holds 64 with its NUL).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/TrayIcon.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32TrayIcon.h"
#include "tools/traystandin/TrayStandInProtocol.h"
#include "tray/SysTrayIcon.h"

namespace pellmark::win32 {
namespace {

constexpr DWORD kWaitMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;

// One line of the stand-in's log: the verb, its fields, and the tip.
struct Request {
    std::string verb;
    std::map<std::string, std::string> fields;
    std::string tip;
};

Request ParseRequest(const std::string& line) {
    Request request;
    const std::size_t tipAt = line.find(" tip=");
    std::istringstream words(line.substr(0, tipAt));
    words >> request.verb;
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        request.fields[word.substr(0, equals)] =
            equals == std::string::npos ? "" : word.substr(equals + 1);
    }
    if (tipAt != std::string::npos) {
        request.tip = line.substr(tipAt + 5);
    }
    return request;
}

std::string Hex(std::uintptr_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

std::string FolderOfThisProgram() {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = Narrow(std::wstring_view(self, length));
    return path.erase(path.find_last_of("\\/") + 1);
}

// traystandin.exe, started for one test and closed after it.
class TrayStandIn {
  public:
    static std::unique_ptr<TrayStandIn> Start() {
        const std::string program = FolderOfThisProgram() + "traystandin.exe";
        std::wstring commandLine = Widen("\"" + program + "\"");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              0, nullptr, nullptr, &startup, &info)) {
            ADD_FAILURE() << "cannot start " << program << " (error " << ::GetLastError() << ")";
            return nullptr;
        }
        const UniqueKernelHandle thread(info.hThread);
        std::unique_ptr<TrayStandIn> started(new TrayStandIn(UniqueKernelHandle(info.hProcess)));
        const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
        while ((started->window_ = ::FindWindowW(L"Shell_TrayWnd", nullptr)) == nullptr) {
            if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0 ||
                ::GetTickCount64() > deadline) {
                ADD_FAILURE() << "the stand-in notification area did not come up";
                return nullptr;
            }
            ::Sleep(20);
        }
        DWORD owner = 0;
        ::GetWindowThreadProcessId(started->window_, &owner);
        EXPECT_EQ(owner, info.dwProcessId) << "another notification area is running";
        return started;
    }

    TrayStandIn(const TrayStandIn&) = delete;
    TrayStandIn& operator=(const TrayStandIn&) = delete;
    ~TrayStandIn() {
        if (::PostMessageW(window_, WM_CLOSE, 0, 0) == FALSE ||
            ::WaitForSingleObject(process_.get(), kWaitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), kWaitMs);
        }
    }

    // Every request the stand-in was handed so far, and its own events.
    [[nodiscard]] std::vector<Request> Log() const {
        wchar_t folder[MAX_PATH];
        wchar_t path[MAX_PATH];
        if (::GetTempPathW(MAX_PATH, folder) == 0 ||
            ::GetTempFileNameW(folder, L"pmt", 0, path) == 0) {
            ADD_FAILURE() << "no temporary file";
            return {};
        }
        std::vector<Request> requests;
        if (!Send(traystandin::kCopyDataLog, Narrow(path))) {
            ADD_FAILURE() << "the stand-in did not write its log";
        } else {
            std::ifstream file{std::filesystem::path(path)};
            for (std::string line; std::getline(file, line);) {
                requests.push_back(ParseRequest(line));
            }
        }
        ::DeleteFileW(path);
        return requests;
    }

    // The user does `mouseMessage` on the icon of `owner`: false when the stand-in holds no
    // such icon.
    [[nodiscard]] bool Click(HWND owner, UINT mouseMessage) const {
        return Send(traystandin::kCopyDataClick, Hex(reinterpret_cast<std::uintptr_t>(owner)) +
                                                     " 1 " + std::to_string(mouseMessage));
    }

    // Explorer starts again: no icons, and "TaskbarCreated" to every top-level window.
    void Restart() const { EXPECT_TRUE(Send(traystandin::kCopyDataRestart, "")); }

  private:
    explicit TrayStandIn(UniqueKernelHandle process) : process_(std::move(process)) {}

    [[nodiscard]] bool Send(std::uintptr_t kind, const std::string& payload) const {
        COPYDATASTRUCT data{};
        data.dwData = kind;
        data.cbData = static_cast<DWORD>(payload.size() + 1);
        data.lpData = const_cast<char*>(payload.c_str());
        DWORD_PTR answer = FALSE;
        return ::SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                     SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0 &&
               answer == TRUE;
    }

    UniqueKernelHandle process_;
    HWND window_ = nullptr;
};

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standIn = TrayStandIn::Start();
        ASSERT_NE(standIn, nullptr);
        tray.OnMouse([this](forms::TrayMouse mouse) { seen.push_back(mouse); });
    }
    void TearDown() override {
        main.Unload();
        standIn.reset();
    }

    // Lets the form's messages run until `done` holds or a while has passed.
    bool RunUntil(const std::function<bool()>& done) {
        const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
        while (!done()) {
            if (::GetTickCount64() > deadline) {
                return false;
            }
            backend.DoEvents();
            ::Sleep(5);
        }
        return true;
    }

    [[nodiscard]] HWND Window() const { return Win32FormsBackend::WindowOf(main); }

    // The requests of the log with this verb.
    [[nodiscard]] std::vector<Request> Requests(const std::string& verb) const {
        std::vector<Request> found;
        for (const Request& request : standIn->Log()) {
            if (request.verb == verb) {
                found.push_back(request);
            }
        }
        return found;
    }

    // The shell was told about this form's icon 1 with the whole record, and took it.
    void ExpectIconRecord(const Request& request, const std::string& tip) const {
        EXPECT_EQ(request.fields.at("hwnd"), Hex(reinterpret_cast<std::uintptr_t>(Window())));
        EXPECT_EQ(request.fields.at("id"), "1");
        EXPECT_EQ(request.fields.at("flags"), "7");  // NIF_MESSAGE | NIF_ICON | NIF_TIP
        EXPECT_EQ(request.fields.at("callback"), Hex(kTrayCallbackMessage));
        EXPECT_NE(request.fields.at("icon"), "-");
        EXPECT_EQ(request.fields.at("answer"), "1");
        EXPECT_EQ(request.tip, tip);
    }

    std::unique_ptr<TrayStandIn> standIn;
    Win32FormsBackend backend;
    forms::Form main{backend, "frmTrayOwner"};
    SysTrayIcon tray{main};
    std::vector<forms::TrayMouse> seen;
};

TEST_F(TrayIconTest, TheAddCarriesTheRecordAndTheRemoveArrivesAtUnload) {
    tray.AddTrayIcon();
    ASSERT_NE(Window(), nullptr);
    const std::vector<Request> adds = Requests("add");
    ASSERT_EQ(adds.size(), 1u);
    ExpectIconRecord(adds[0], "Pellmark");

    const HWND window = Window();
    main.Unload();
    const std::vector<Request> log = standIn->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].verb, "delete");
    EXPECT_EQ(log[1].fields.at("hwnd"), Hex(reinterpret_cast<std::uintptr_t>(window)));
    EXPECT_EQ(log[1].fields.at("id"), "1");
    EXPECT_EQ(log[1].fields.at("answer"), "1");  // the icon was there to remove
}

TEST_F(TrayIconTest, ALongTitleArrivesAsItsFirst63CharactersAndTheIconGoesOnRemove) {
    const std::string title =
        "Pellmark keeps the places of the icons on the desktop and puts them back again";
    ASSERT_GE(title.size(), 64u);
    tray.AddTrayIcon(title);
    tray.RemoveTrayIcon();
    tray.RemoveTrayIcon();  // the shell has nothing more to remove and is not asked
    // The form's icon cuts a tip itself too, so that no field ever loses its NUL.
    main.Tray().Add(title);
    const std::vector<Request> log = standIn->Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].verb, "add");
    ExpectIconRecord(log[0], title.substr(0, 63));
    EXPECT_EQ(log[1].verb, "delete");
    EXPECT_EQ(log[1].fields.at("answer"), "1");
    EXPECT_EQ(log[2].verb, "add");
    ExpectIconRecord(log[2], title.substr(0, 63));
    EXPECT_TRUE(main.Loaded());  // removing the icon leaves the window
}

TEST_F(TrayIconTest, ClicksOnTheIconReachTheFormAndMouseMovesOverTheWindowDoNot) {
    tray.AddTrayIcon();
    ASSERT_TRUE(standIn->Click(Window(), WM_LBUTTONUP));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 1; }));
    ASSERT_TRUE(standIn->Click(Window(), WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 2; }));
    ASSERT_TRUE(standIn->Click(Window(), WM_LBUTTONDBLCLK));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen,
              (std::vector<forms::TrayMouse>{forms::TrayMouse::LeftUp, forms::TrayMouse::RightDown,
                                             forms::TrayMouse::LeftDoubleClick}));

    // A real movement over the window at x = 514 (0x202) is no click on the icon, and
    // neither is the callback for an icon id that is not ours.
    ::SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 10));
    ::SendMessageW(Window(), kTrayCallbackMessage, 2, WM_LBUTTONUP);
    backend.DoEvents();
    EXPECT_EQ(seen.size(), 3u);

    // Once the icon is gone the shell has nothing to click.
    tray.RemoveTrayIcon();
    EXPECT_FALSE(standIn->Click(Window(), WM_LBUTTONUP));
}

TEST_F(TrayIconTest, ANewExplorerGetsTheIconAgainAndItsClicksStillArrive) {
    tray.AddTrayIcon();
    standIn->Restart();
    ASSERT_TRUE(RunUntil([&] { return Requests("add").size() == 2; }));
    const std::vector<Request> log = standIn->Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].verb, "restart");
    EXPECT_EQ(log[2].verb, "add");
    ExpectIconRecord(log[2], "Pellmark");

    ASSERT_TRUE(standIn->Click(Window(), WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0], forms::TrayMouse::RightDown);
}

// Exit chosen from the tray menu unloads the form inside the icon's own message.
TEST_F(TrayIconTest, AClickWhoseHandlerUnloadsTheFormTakesTheIconAway) {
    tray.OnMouse([this](forms::TrayMouse) { main.Unload(); });
    tray.AddTrayIcon();
    const HWND window = Window();
    ASSERT_TRUE(standIn->Click(window, WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return !main.Loaded(); }));
    EXPECT_FALSE(::IsWindow(window));
    const std::vector<Request> removes = Requests("delete");
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].fields.at("answer"), "1");
}

TEST_F(TrayIconTest, WithoutAnIconAnExplorerRestartAddsNothing) {
    tray.AddTrayIcon();
    tray.RemoveTrayIcon();
    standIn->Restart();
    // Let a broadcast that would add the icon arrive, then look.
    for (int i = 0; i < 20; ++i) {
        backend.DoEvents();
        ::Sleep(10);
    }
    EXPECT_EQ(Requests("add").size(), 1u);
}

}  // namespace
}  // namespace pellmark::win32
