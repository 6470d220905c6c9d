// The forms on real windows: a form with every kind of control, driven by the messages a
// user's input produces, and read back from the native controls. The backend is set to
// 144 DPI so that scaling shows even where the screen is at 96.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/forms/Form.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ImagePlace.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Forms.h"
#include "tests/common/FormsCases.h"
#include "tests/common/IconFileBytes.h"
#include "tests/win/GdiObjects.h"
#include "tests/win/MemorySurface.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark::win32 {
namespace {

constexpr int kDpi = 144;  // every 96-DPI pixel is one and a half
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
const UINT kToolSize = TTTOOLINFOW_V2_SIZE;  // what common controls before version 6 take

class TestForm final : public forms::Form {
  public:
    explicit TestForm(forms::Backend& backend) : Form(backend, "FormsTest") {
        SetClientSize(480, 360);
        for (const char* item : {"a.ips", "b.ips", "c.ips"}) {
            cboSize.AddItem(item);
            lstFiles.AddItem(item);
        }
        lvwIcons.SetColumns({{"Name", 120}, {"Place", 80}});
        lvwIcons.AddItem({{"Computer", "10,10"}});
        lvwIcons.AddItem({{"Bin", "10,80"}});
        lvwIcons.AddItem({{"Notes", "80,10"}});
    }

    template <class T>
    T& Make(const char* name, forms::Bounds bounds, forms::Control* container = nullptr) {
        T& made = Add<T>(name, container);
        made.Move(bounds);
        return made;
    }

    forms::Button& cmdSave = Make<forms::Button>("cmdSave", {10, 20, 100, 30});
    forms::CheckBox& chkShow = Make<forms::CheckBox>("chkShow", {10, 60, 120, 20});
    forms::OptionButton& optA = Make<forms::OptionButton>("optA", {10, 85, 80, 20});
    forms::OptionButton& optB = Make<forms::OptionButton>("optB", {10, 105, 80, 20});
    forms::Frame& fraGroup = Make<forms::Frame>("fraGroup", {200, 10, 200, 150});
    forms::OptionButton& optC = Make<forms::OptionButton>("optC", {10, 120, 80, 20}, &fraGroup);
    forms::TextBox& txtName = Make<forms::TextBox>("txtName", {10, 20, 120, 24}, &fraGroup);
    forms::Button& cmdClose = Make<forms::Button>("cmdClose", {10, 50, 80, 30}, &fraGroup);
    forms::ComboBox& cboSize = Make<forms::ComboBox>("cboSize", {10, 130, 120, 24});
    forms::ListBox& lstFiles = Make<forms::ListBox>("lstFiles", {10, 160, 120, 60});
    forms::ListView& lvwIcons = Make<forms::ListView>("lvwIcons", {200, 170, 260, 100});
    forms::Label& lblInfo = Make<forms::Label>("lblInfo", {10, 230, 150, 20});
    forms::Picture& picPreview = Make<forms::Picture>("picPreview", {10, 250, 200, 100});
    forms::Slider& sldSpeed = Make<forms::Slider>("sldSpeed", {0, 60, 200, 30}, &picPreview);
    // Drawn by the picture at 30,15 to 90,45 of its 300 by 150 pixels.
    forms::Label& lblMarker = Make<forms::Label>("lblMarker", {20, 10, 40, 20}, &picPreview);
    forms::Timer& tmrTick = AddTimer("tmrTick");
    int unloads = 0;

  protected:
    void OnUnload() override { ++unloads; }
};

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(window, message, wParam, lParam);
}
template <class T>
LRESULT Send(HWND window, UINT message, WPARAM wParam, T* data) {
    return ::SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(data));
}

using Box = std::array<LONG, 4>;  // left, top, right, bottom
Box BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
Box Placed(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return BoxOf(place);
}
// An image as other processes find it: the window that draws it, and its place there.
struct DrawnPlace {
    HWND window = nullptr;
    Box area{};
};
DrawnPlace DrawnPlaceOf(HWND form, const std::string& name) {
    const ImagePlace place = ReadImagePlace(form, name);
    return {place.window, BoxOf(place.area)};
}
// The wide text of a window, and as UTF-8.
std::wstring WideText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}
std::string Text(HWND window) {
    return Narrow(WideText(window));
}
void Notify(HWND control, int code) {
    Send(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code), control);
}
// Puts the cursor over a point of the window's inside; false when the display will not.
bool CursorTo(HWND window, POINT at) {
    ::ClientToScreen(window, &at);
    ::SetCursorPos(at.x, at.y);
    POINT cursor{};
    return ::GetCursorPos(&cursor) != FALSE && cursor.x == at.x && cursor.y == at.y &&
           ::WindowFromPoint(at) == window;
}

// With the cursor resting at `at` in `window`: tells the window the mouse moved there and
// waits up to five seconds for a tip to show. The tool showing, or none.
std::optional<TTTOOLINFOW> TipWhereTheMouseRests(Win32FormsBackend& backend, HWND tips, HWND window,
                                                 POINT at) {
    ::PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    TTTOOLINFOW current{kToolSize};
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 5000; ::Sleep(10)) {
        backend.DoEvents();
        if (Send(tips, TTM_GETCURRENTTOOLW, 0, &current) != FALSE) {
            return current;
        }
    }
    return std::nullopt;
}

// This thread's top-level windows of a class; of any class for null.
std::vector<HWND> ThreadWindows(const char* className = nullptr) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, className, nullptr)) != nullptr;) {
        if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) {
            found.push_back(w);
        }
    }
    return found;
}
// The form's one tool tip window; null when there is not exactly one.
HWND ToolTipsOf(HWND form) {
    std::vector<HWND> tips = ThreadWindows(TOOLTIPS_CLASSA);
    std::erase_if(tips, [form](HWND tip) { return ::GetWindow(tip, GW_OWNER) != form; });
    return tips.size() == 1 ? tips[0] : nullptr;
}

// A tool's tip ("(none)" for no tool) and place, found as the tool tips find it: by id.
std::pair<std::string, Box> ToolOf(HWND tips, HWND window, UINT_PTR id) {
    wchar_t text[128] = {};
    TTTOOLINFOW tool{kToolSize, 0, window, id, {}, nullptr, text};
    if (Send(tips, TTM_GETTOOLINFOW, 0, &tool) == FALSE) {
        return {"(none)", {}};
    }
    Send(tips, TTM_GETTEXTW, 128, &tool);
    return {Narrow(text), BoxOf(tool.rect)};
}
// The tools for areas of `window` (the labels a picture draws): their tips and places.
using Areas = std::multimap<std::string, Box>;
Areas AreaTools(HWND tips, HWND window) {
    Areas found;
    const auto count = static_cast<int>(Send(tips, TTM_GETTOOLCOUNT));
    for (int i = 0; i < count; ++i) {
        TTTOOLINFOW tool{kToolSize};
        if (Send(tips, TTM_ENUMTOOLSW, i, &tool) != FALSE && tool.hwnd == window &&
            (tool.uFlags & TTF_IDISHWND) == 0) {
            found.insert(ToolOf(tips, window, tool.uId));
        }
    }
    return found;
}

// A window's inside, drawn into memory by WM_PRINTCLIENT as WM_PAINT draws it on the screen.
class Snapshot : public MemorySurface {
  public:
    explicit Snapshot(HWND window)
        : MemorySurface(ClientSize(window).right, ClientSize(window).bottom) {
        Send(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    }

  private:
    static RECT ClientSize(HWND window) {
        RECT size{};
        ::GetClientRect(window, &size);
        return size;
    }
};

void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) {
    ::PostQuitMessage(1);
}
// The program's message loop, ended with 1 when nothing else ends it in ten seconds.
int RunMessageLoopForTenSeconds() {
    const UINT_PTR deadline = ::SetTimer(nullptr, 0, 10000, &Deadline);
    const int exitCode = RunMessageLoop();
    ::KillTimer(nullptr, deadline);
    return exitCode;
}

class FormsTest : public ::testing::Test {
  protected:
    void SetUp() override { form.Show(); }

    [[nodiscard]] HWND FormWindow() const { return Win32FormsBackend::WindowOf(form); }
    // As another process finds a control: by the property on the form's window.
    [[nodiscard]] HWND Find(const std::string& name) const {
        return static_cast<HWND>(::GetPropA(FormWindow(), ("Pellmark." + name).c_str()));
    }

    Win32FormsBackend backend{kDpi};
    TestForm form{backend};
};

TEST_F(FormsTest, FormAndControlsAreFoundNamedAndPlacedAtScale) {
    HWND window = FormWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::FindWindowA("Pellmark.FormsTest", nullptr), window);
    EXPECT_EQ(::GetFocus(), Find("cmdSave")) << "the first control to Tab to has the focus";
    form.SetCaption("Renamed");
    form.SetClientSize(400, 200);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(Text(window), "Renamed");
    EXPECT_EQ(BoxOf(client), (Box{0, 0, 600, 300}));
    // Every control by its property on the form, but for a label the picture draws.
    for (const auto& control : form.Controls()) {
        HWND found = Find(control->Name());
        EXPECT_EQ(found, Win32FormsBackend::WindowOf(*control)) << control->Name();
        EXPECT_EQ(found == nullptr, control.get() == &form.lblMarker) << control->Name();
    }
    EXPECT_EQ(::GetParent(Find("txtName")), Find("fraGroup"));
    EXPECT_EQ(Placed(Find("cmdSave")), (Box{15, 30, 165, 75}));
    EXPECT_EQ(Placed(Find("txtName")), (Box{15, 30, 195, 66}));  // in the frame
    EXPECT_EQ(Placed(Find("picPreview")), (Box{15, 375, 315, 525}));

    HWND check = Find("chkShow");
    form.chkShow.SetCaption("Shown");
    form.chkShow.SetEnabled(false);
    form.chkShow.SetVisible(false);
    form.txtName.SetCaption("not shown");  // a text box shows its text, never a caption
    form.lblInfo.SetFont({"Arial", 12, true, false});
    EXPECT_EQ(Text(check) + "|" + Text(Find("txtName")), "Shown|");
    EXPECT_FALSE(::IsWindowEnabled(check) || ::IsWindowVisible(check));
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HGDIOBJ>(Send(Find("lblInfo"), WM_GETFONT)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -24);  // 12 points at 144 DPI
}

// The wide text of a list box or combo box row, a list view cell or column.
std::wstring WideRow(HWND list, UINT getText, int row) {
    wchar_t text[256] = {};
    ::SendMessageW(list, getText, row, reinterpret_cast<LPARAM>(text));
    return text;
}
std::wstring WideCell(HWND view, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 256;
    ::SendMessageW(view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    return text;
}
std::wstring WideColumn(HWND view, int column) {
    wchar_t text[256] = {};
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = text;
    header.cchTextMax = 256;
    ::SendMessageW(view, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
    return text;
}
// Drives this thread's pop-up menus as a user at the keyboard would. A hook sees each menu
// open; while it shows, a timer moves the highlight one item at a time toward the next
// caption of the path, opens its submenu or chooses it, and gives up (EndMenu) when the
// item cannot be reached. The top pop-up is read back as it opens.
struct MenuPilot {
    std::deque<std::vector<std::wstring>> paths;  // one per menu to show; empty: dismiss
    std::vector<std::wstring> path;
    std::vector<HMENU> open;         // the pop-ups opened in the last menu, outermost first
    std::vector<HWND> initialised;   // the windows WM_INITMENUPOPUP went to
    std::vector<std::string> shown;  // the last top pop-up, as MenuShown gives it
    RECT placed{};                   // where its window showed, in screen pixels
    HWND front = nullptr;            // the foreground window while it showed
    HWND owner = nullptr;
    UINT_PTR timer = 0;
    int steps = 0;
    HHOOK hook = nullptr;
};
MenuPilot pilot;

std::string MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return Narrow(text);
}

void ReadMenu(HMENU menu, const std::string& indent, std::vector<std::string>& lines) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        std::string line = indent + ((info.fType & MFT_SEPARATOR) != 0 ? "-" : MenuText(menu, i));
        line += (info.fState & MFS_CHECKED) != 0 ? " checked" : "";
        line += (info.fState & MFS_GRAYED) != 0 ? " disabled" : "";
        line += (info.fState & MFS_DEFAULT) != 0 ? " default" : "";
        line += info.hSubMenu != nullptr ? " >" : "";
        lines.push_back(line);
        if (info.hSubMenu != nullptr) {
            ReadMenu(info.hSubMenu, indent + "  ", lines);
        }
    }
}

void CALLBACK SteerMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (pilot.open.empty()) {
        return;
    }
    if (pilot.steps++ == 0) {
        HWND popup = ::FindWindowA(MAKEINTATOM(32768), nullptr);
        ::GetWindowRect(popup, &pilot.placed);
        pilot.front = ::GetForegroundWindow();
    }
    const std::size_t depth = pilot.open.size() - 1;
    HMENU menu = pilot.open.back();
    int target = -1;
    int lit = -1;
    for (int i = 0; depth < pilot.path.size() && i < ::GetMenuItemCount(menu); ++i) {
        target = Widen(MenuText(menu, i)) == pilot.path[depth] ? i : target;
        lit =
            (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0 ? i : lit;
    }
    if (target < 0 || pilot.steps > 40) {
        ::EndMenu();
        return;
    }
    const WPARAM key = lit < target                    ? VK_DOWN
                       : lit > target                  ? VK_UP
                       : depth + 1 < pilot.path.size() ? VK_RIGHT
                                                       : VK_RETURN;
    ::PostMessageW(pilot.owner, WM_KEYDOWN, key, 0);
}

LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERMENULOOP) {
        pilot.owner = call->hwnd;
        pilot.open.clear();
        pilot.steps = 0;
        pilot.path.clear();
        if (!pilot.paths.empty()) {
            pilot.path = std::move(pilot.paths.front());
            pilot.paths.pop_front();
        }
        pilot.timer = ::SetTimer(nullptr, 0, 10, &SteerMenu);
    } else if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        auto menu = reinterpret_cast<HMENU>(call->wParam);
        pilot.initialised.push_back(call->hwnd);
        if (pilot.open.empty()) {
            pilot.shown.clear();
            ReadMenu(menu, "", pilot.shown);
        }
        pilot.open.push_back(menu);
    } else if (code == HC_ACTION && call->message == WM_EXITMENULOOP) {
        ::KillTimer(nullptr, pilot.timer);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The pilot flies while one of these lives.
class MenuPilotHook {
  public:
    MenuPilotHook() {
        pilot = MenuPilot{};
        pilot.hook =
            ::SetWindowsHookExW(WH_CALLWNDPROC, &WatchMenus, nullptr, ::GetCurrentThreadId());
    }
    ~MenuPilotHook() { ::UnhookWindowsHookEx(pilot.hook); }
    MenuPilotHook(const MenuPilotHook&) = delete;
    MenuPilotHook& operator=(const MenuPilotHook&) = delete;

    // The next menu shown: the item is chosen through its submenus; null dismisses it.
    static void Choose(const forms::MenuItem* item) {
        std::vector<std::wstring> path;
        for (; item != nullptr && item->Parent() != nullptr; item = item->Parent()) {
            path.insert(path.begin(), Widen(item->caption));
        }
        pilot.paths.push_back(std::move(path));
    }
};

TEST_F(FormsTest, TextOutsideTheCodePageCrossesExactlyBothWays) {
    const std::string text = "Ωmega 日本";
    const std::wstring wide = L"Ωmega 日本";
    HWND window = FormWindow();
    form.SetCaption(text);
    form.cmdSave.SetCaption(text);
    form.lstFiles.AddItem(text);
    form.cboSize.AddItem(text);
    form.lvwIcons.SetColumns({{text, 120}, {"Place", 80}});
    form.lvwIcons.AddItem({{"Computer", text}});
    form.cmdSave.SetToolTip(text);
    form.txtName.SetText(text);
    EXPECT_EQ(WideText(window), wide);
    EXPECT_EQ(WideText(Find("cmdSave")), wide);
    EXPECT_EQ(WideText(Find("txtName")), wide);
    EXPECT_EQ(WideRow(Find("lstFiles"), LB_GETTEXT, 3), wide);
    EXPECT_EQ(WideRow(Find("cboSize"), CB_GETLBTEXT, 3), wide);
    EXPECT_EQ(WideColumn(Find("lvwIcons"), 0), wide);
    EXPECT_EQ(WideCell(Find("lvwIcons"), 3, 1), wide);
    EXPECT_EQ(ToolOf(ToolTipsOf(window), window, reinterpret_cast<UINT_PTR>(Find("cmdSave"))).first,
              text);
    // The window is a wide one, so no message on the way converts through the code page.
    EXPECT_TRUE(::IsWindowUnicode(window) && ::IsWindowUnicode(Find("txtName")));

    // What the user types reaches the model exactly.
    ::SendMessageW(Find("txtName"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"日本 Ωmega"));
    EXPECT_EQ(form.txtName.Text(), "日本 Ωmega");
    // A control's property is found by its name in either kind of call.
    EXPECT_EQ(::GetPropW(window, L"Pellmark.cmdSave"), Find("cmdSave"));
}

TEST_F(FormsTest, UserInputRunsEachHandlerOncePerChangeAndCodeUpdatesTheWindows) {
    int saves = 0, typed = 0, infoClicks = 0;
    form.cmdSave.Click = [&] { ++saves; };
    form.txtName.Change = [&] { ++typed; };
    form.lblInfo.Click = [&] { ++infoClicks; };
    HWND label = Find("lblInfo");
    Send(Find("cmdSave"), BM_CLICK);
    Send(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    Send(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(std::make_pair(saves, infoClicks), std::make_pair(1, 1));

    // Check box and option buttons are not automatic: the model decides, the window follows.
    HWND check = Find("chkShow");
    HWND optB = Find("optB");
    Send(check, BM_CLICK);
    Send(optB, BM_CLICK);
    EXPECT_EQ(Send(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(Send(optB, BM_GETCHECK), BST_CHECKED);
    form.chkShow.SetValue(2);
    form.optA.SetValue(true);
    EXPECT_EQ(Send(check, BM_GETCHECK), BST_INDETERMINATE);
    EXPECT_EQ(Send(optB, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_TRUE(::GetWindowLongPtrA(Find("optA"), GWL_STYLE) & WS_TABSTOP)
        << "Tab reaches the chosen option";
    Send(Find("optC"), BM_CLICK);  // another group, in the frame
    EXPECT_TRUE(form.optC.Value() && form.optA.Value());

    // The slider, in the picture: the position arrives with the scroll message.
    HWND slider = Find("sldSpeed");
    Send(slider, TBM_SETPOS, TRUE, 7);
    Send(::GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7), slider);
    EXPECT_EQ(form.sldSpeed.Value(), 7);
    form.sldSpeed.SetRange(0, 5);
    EXPECT_EQ(Send(slider, TBM_GETRANGEMAX), 5);

    // Typing at the end leaves the caret there: the model's echo does not set the text again.
    HWND edit = Find("txtName");
    form.txtName.SetText("world");
    Send(edit, EM_SETSEL, 5, 5);
    Send(edit, EM_REPLACESEL, TRUE, "s");
    DWORD start = 0, end = 0;
    Send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), &end);
    EXPECT_EQ(form.txtName.Text(), "worlds");
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6ul, 6ul));
    // Typing the model refuses (its frame is disabled) is taken back.
    form.fraGroup.SetEnabled(false);
    Send(edit, WM_SETTEXT, 0, "refused");
    EXPECT_EQ(Text(edit), "worlds");
    EXPECT_EQ(form.txtName.Text(), "worlds");
    EXPECT_EQ(typed, 2);

    // Drop-down and list box: the selection arrives with the selection-change notification.
    HWND list = Find("lstFiles");
    Send(Find("cboSize"), CB_SETCURSEL, 1);
    Notify(Find("cboSize"), CBN_SELCHANGE);
    Send(list, LB_SETCURSEL, 1);
    Notify(list, LBN_SELCHANGE);
    EXPECT_EQ(std::make_pair(form.cboSize.ListIndex(), form.lstFiles.ListIndex()),
              std::make_pair(1, 1));
    form.lstFiles.SetListIndex(2);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
    form.lstFiles.RemoveItem(0);  // the selection moves up with its row
    EXPECT_EQ(Send(list, LB_GETCURSEL), 1);

    // Colours come from a brush of the control's own.
    form.lblInfo.SetBackColour(0x00FF00);
    HDC dc = ::GetDC(label);
    LOGBRUSH brush{};
    ::GetObjectA(reinterpret_cast<HGDIOBJ>(
                     Send(FormWindow(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), label)),
                 sizeof brush, &brush);
    ::ReleaseDC(label, dc);
    EXPECT_EQ(brush.lbColor, 0x00FF00u);
}

TEST_F(FormsTest, ListViewShowsRowsAndReportsOnlyTheUsersChecks) {
    std::vector<int> checked, clicked;
    form.lvwIcons.ItemCheck = [&](int row) { checked.push_back(row); };
    form.lvwIcons.ItemClick = [&](int row) { clicked.push_back(row); };
    HWND view = Find("lvwIcons");
    // The user's toggles, as a click or the space bar makes them; the code's raise no event.
    ListView_SetCheckState(view, 1, TRUE);
    form.lvwIcons.SetChecked(1, false);
    form.lvwIcons.SetChecked(2, true);
    EXPECT_EQ(ListView_GetCheckState(view, 1), 0u);
    EXPECT_EQ(ListView_GetCheckState(view, 2), 1u);
    ListView_SetCheckState(view, 2, FALSE);
    form.lvwIcons.SetEnabled(false);  // a toggle the model refuses is taken back
    ListView_SetCheckState(view, 0, TRUE);
    EXPECT_EQ(ListView_GetCheckState(view, 0), 0u);
    form.lvwIcons.SetEnabled(true);
    EXPECT_EQ(checked, (std::vector<int>{1, 2}));

    // The user's selection runs ItemClick, also a click on the chosen row but not on its check
    // box; the code's does not.
    ListView_SetItemState(view, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    form.lvwIcons.SetSelectedIndex(2);
    EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), 2);
    RECT row{};
    row.left = LVIR_BOUNDS;
    Send(view, LVM_GETITEMRECT, 2, &row);
    for (const LONG x : {(row.left + row.right) / 2, row.left + 4}) {  // the row, its check box
        NMITEMACTIVATE click{{view, static_cast<UINT_PTR>(::GetDlgCtrlID(view)), NM_CLICK}, 2};
        click.ptAction = {x, (row.top + row.bottom) / 2};
        Send(::GetParent(view), WM_NOTIFY, click.hdr.idFrom, &click);
    }
    EXPECT_EQ(clicked, (std::vector<int>{0, 2}));

    // Windows will not delete a list view's first column (Wine will): it is rewritten.
    form.lvwIcons.AddItem({{"Drive", "80,80"}, -1, true, true});
    form.lvwIcons.SetColumns({{"Name", 100}, {"Place", 60}, {"Kind", 60}});
    EXPECT_EQ(ListView_GetCheckState(view, 3), 1u);
    EXPECT_NE(ListView_GetItemState(view, 3, LVIS_CUT), 0u) << "ghosted";
    EXPECT_EQ(Send(reinterpret_cast<HWND>(Send(view, LVM_GETHEADER)), HDM_GETITEMCOUNT), 3);
    EXPECT_EQ(Send(view, LVM_GETCOLUMNWIDTH, 0), 150);
    EXPECT_EQ(WideCell(view, 3, 0), L"Drive");
    EXPECT_EQ(checked.size() + clicked.size(), 4u) << "the code's changes raised events";
}

TEST_F(FormsTest, ToolTipsFollowTheControlsAndTheLabelsAPictureDrawsAndShowUnderTheMouse) {
    HWND window = FormWindow();
    HWND picture = Find("picPreview");
    form.cmdSave.SetToolTip("Save the pattern");
    HWND tips = ToolTipsOf(window);
    ASSERT_NE(tips, nullptr) << "one tool tip window per form, from its first tip";
    const auto tipOf = [&](const char* name) {
        return ToolOf(tips, window, reinterpret_cast<UINT_PTR>(Find(name))).first;
    };
    form.lblInfo.SetToolTip("What happened last");
    form.cmdSave.SetToolTip("Save it");
    EXPECT_EQ(tipOf("cmdSave") + "|" + tipOf("lblInfo") + "|" + tipOf("chkShow"),
              "Save it|What happened last|(none)");
    form.cmdSave.SetToolTip("");
    EXPECT_EQ(tipOf("cmdSave"), "(none)");
    // A control taken away takes its tool and its property with it.
    form.Remove(form.lblInfo);
    EXPECT_EQ(Send(tips, TTM_GETTOOLCOUNT), 0);
    EXPECT_EQ(Find("lblInfo"), nullptr);

    // The labels a picture draws share one area tool: over the visible label with a tip
    // under the mouse, following that label's tip and place.
    const auto areas = [&] { return AreaTools(tips, picture); };
    const auto mouseAt = [&](int x, int y) {
        ::SendMessageA(picture, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    };
    form.lblMarker.SetToolTip("Marker");
    auto& other = form.Add<forms::Label>("lblOther", &form.picPreview);  // as markers are made
    other.Move({100, 50, 40, 20});
    other.SetToolTip("Other");
    EXPECT_EQ(areas(), Areas{}) << "a tool before the mouse came";
    mouseAt(40, 20);
    EXPECT_EQ(areas(), (Areas{{"Marker", {30, 15, 90, 45}}}));
    mouseAt(160, 80);
    EXPECT_EQ(areas(), (Areas{{"Other", {150, 75, 210, 105}}}));
    mouseAt(120, 60);  // between the two
    EXPECT_EQ(areas(), Areas{});
    mouseAt(40, 20);
    form.lblMarker.SetVisible(false);
    EXPECT_EQ(areas(), Areas{}) << "a hidden label's tip stayed";
    mouseAt(41, 21);
    EXPECT_EQ(areas(), Areas{});
    form.lblMarker.Move({0, 0, 20, 20});
    form.lblMarker.SetVisible(true);
    mouseAt(10, 10);
    form.lblMarker.SetToolTip("Marker, renamed");
    EXPECT_EQ(areas(), (Areas{{"Marker, renamed", {0, 0, 30, 30}}}));

    // The picture's scale and size place its windows and its labels alike.
    form.picPreview.SetScale(400, 200);  // 300 by 150 pixels inside: three quarters
    EXPECT_EQ(areas(), (Areas{{"Marker, renamed", {0, 0, 15, 15}}}));
    mouseAt(80, 40);
    EXPECT_EQ(areas(), (Areas{{"Other", {75, 38, 105, 53}}}));
    EXPECT_EQ(Placed(Find("sldSpeed")), (Box{0, 45, 150, 68}));
    form.picPreview.Move({10, 250, 400, 200});  // 600 by 300 pixels inside
    EXPECT_EQ(areas(), (Areas{{"Other", {150, 75, 210, 105}}}));
    EXPECT_EQ(Placed(Find("sldSpeed")), (Box{0, 90, 300, 135}));

    // Its tip shows where the mouse rests, also after another label's tool went.
    other.SetVisible(false);
    Send(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(10, 0));
    if (!CursorTo(picture, {15, 15})) {
        GTEST_SKIP() << "this display cannot put the cursor over the picture";
    }
    const auto current = TipWhereTheMouseRests(backend, tips, picture, {15, 15});
    ASSERT_TRUE(current.has_value()) << "no tip within five seconds";
    EXPECT_EQ(current->hwnd, picture);
    EXPECT_EQ(ToolOf(tips, picture, current->uId).first, "Marker, renamed");
}

TEST_F(FormsTest, PictureDrawsItsLabelsInTheOrderMadeWhereTheyAre) {
    HWND picture = Find("picPreview");
    form.picPreview.SetBackColour(kGrey);
    form.lblMarker.SetBackColour(kRed);
    Snapshot(picture).Expect({{30, 15, kRed}, {89, 44, kRed}, {90, 44, kGrey}, {89, 45, kGrey}});
    // Without a back colour a label shows what is beneath it; the last made is on top.
    auto& clear = form.Add<forms::Label>("lblClear", &form.picPreview);
    clear.Move({40, 10, 100, 20});  // 60,15 to 210,45
    auto& top = form.Add<forms::Label>("lblTop", &form.picPreview);
    top.Move({50, 20, 40, 20});  // 75,30 to 135,60
    top.SetBackColour(kBlue);
    Snapshot(picture).Expect({{65, 20, kRed}, {150, 20, kGrey}, {80, 35, kBlue}, {100, 50, kBlue}});
    top.SetVisible(false);
    Snapshot(picture).Expect({{80, 35, kRed}, {100, 50, kGrey}});

    // The caption, in the label's font and fore colour; greyed while the label is disabled.
    auto& text = form.Add<forms::Label>("lblText", &form.picPreview);
    text.Move({100, 0, 100, 40});
    text.SetBackColour(RGB(255, 255, 255));
    text.SetForeColour(kGreen);
    text.SetFont({"", 16, true, false});
    text.SetCaption("WWW");
    const auto count = [&](COLORREF colour) {
        return Snapshot(picture).Count({150, 0, 300, 60}, colour);
    };
    const COLORREF greyed = ::GetSysColor(COLOR_GRAYTEXT);
    const int large = count(kGreen);
    EXPECT_GT(large, 50);
    text.SetEnabled(false);
    EXPECT_EQ(count(kGreen), 0);
    EXPECT_GT(count(greyed), 50);
    text.SetEnabled(true);
    text.SetFont({"", 8, false, false});  // a smaller font draws fewer pixels of text
    EXPECT_LT(count(kGreen), large);
}

TEST_F(FormsTest, PictureRepaintsOnlyWhatALabelChanges) {
    HWND picture = Find("picPreview");
    form.picPreview.SetBackColour(kGrey);
    form.lblMarker.SetBackColour(kRed);
    ::UpdateWindow(picture);
    UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    const auto dirt = static_cast<HRGN>(region.get());
    // What waits to be painted; then painted, as WM_PAINT draws on the screen.
    const auto dirty = [&] {
        RECT box{};
        if (::GetUpdateRgn(picture, dirt, FALSE) > NULLREGION) {
            ::GetRgnBox(dirt, &box);
        }
        ::UpdateWindow(picture);
        return BoxOf(box);
    };
    const auto shown = [&](int x, int y) {
        HDC dc = ::GetDC(picture);
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(picture, dc);
        return colour;
    };
    const Box none{0, 0, 0, 0};
    EXPECT_EQ(dirty(), none);
    form.lblMarker.SetBackColour(kBlue);
    EXPECT_EQ(dirty(), (Box{30, 15, 90, 45}));
    // A move: where it was and where it is, not what lies between.
    form.lblMarker.Move({100, 10, 40, 20});  // 150,15 to 210,45
    EXPECT_EQ(dirty(), (Box{30, 15, 210, 45}));
    EXPECT_FALSE(::PtInRegion(dirt, 120, 16));
    EXPECT_EQ(std::make_pair(shown(60, 30), shown(160, 30)), std::make_pair(kGrey, kBlue));
    form.lblMarker.SetCaption("Icon");
    EXPECT_EQ(dirty(), (Box{150, 15, 210, 45}));
    // Nothing to draw again for a tip, or for a hidden label's colour or place.
    form.lblMarker.SetToolTip("Icon");
    EXPECT_EQ(dirty(), none);
    form.lblMarker.SetVisible(false);
    EXPECT_EQ(dirty(), (Box{150, 15, 210, 45}));
    form.lblMarker.SetBackColour(kRed);
    form.lblMarker.Move({0, 0, 40, 20});
    EXPECT_EQ(dirty(), none);
    form.lblMarker.SetVisible(true);
    EXPECT_EQ(dirty(), (Box{0, 0, 60, 30}));
}

TEST_F(FormsTest, KeysAndClicksReachTheirHandlersThroughTheMessagePump) {
    std::vector<std::string> events;
    const auto log = [&](const std::string& what) {
        return [&events, what](int key) { events.push_back(what + std::to_string(key)); };
    };
    form.KeyUp = log("form up ");
    form.txtName.KeyDown = log("text down ");
    form.txtName.KeyUp = log("text up ");
    form.lstFiles.MouseUp = [&](const forms::MouseEvent& event) {
        events.push_back(event.button == forms::MouseButton::Right ? "list right" : "list other");
    };
    HWND edit = Find("txtName");
    ::PostMessageA(edit, WM_KEYDOWN, VK_F2, 0x003C0001);
    ::PostMessageA(edit, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC03F0001));
    ::PostMessageA(Find("lstFiles"), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ::PostMessageA(FormWindow(), WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC03F0001));
    // Tab moves the focus as in a dialog box: into the frame, past options not chosen.
    ::SetFocus(Find("chkShow"));
    ::PostMessageA(Find("chkShow"), WM_KEYDOWN, VK_TAB, 0x000F0001);
    backend.DoEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"text down 113", "form up 116", "text up 116",
                                                "list right", "form up 116"}));
    EXPECT_EQ(::GetFocus(), edit);

    // The form's key preview may unload it: the control's handler then never runs.
    form.KeyUp = [&](int) { form.Unload(); };
    ::PostMessageA(edit, WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC03F0001));
    backend.DoEvents();
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(events.size(), 5u);

    // A label the picture draws: a click is a press and a release on it.
    form.Show();
    HWND picture = Find("picPreview");
    const auto press = [&](int downX, int upX) {
        ::PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(downX, 30));
        ::PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(upX, 30));
        backend.DoEvents();
    };
    events.clear();
    form.lblMarker.Click = [&] { events.emplace_back("marker"); };
    form.lblMarker.MouseUp = [&](const forms::MouseEvent&) { events.emplace_back("marker up"); };
    form.picPreview.MouseUp = [&](const forms::MouseEvent&) { events.emplace_back("picture up"); };
    press(60, 60);
    press(150, 150);  // beside it
    press(150, 60);   // pressed beside it, released on it
    // Of two labels one over the other, the last made gets the click; hidden, the one beneath.
    auto& over = form.Add<forms::Label>("lblOver", &form.picPreview);
    over.Move({30, 15, 40, 20});  // 45,22 to 105,52
    over.Click = [&] { events.emplace_back("over"); };
    press(60, 60);
    over.SetVisible(false);
    press(60, 60);
    // The right button: the label's MouseUp where there is one, else the picture's.
    ::PostMessageA(picture, WM_RBUTTONUP, 0, MAKELPARAM(60, 30));
    ::PostMessageA(picture, WM_RBUTTONUP, 0, MAKELPARAM(200, 30));
    backend.DoEvents();
    // Every button's release is a MouseUp, before the click it makes.
    EXPECT_EQ(events,
              (std::vector<std::string>{"marker up", "marker", "picture up", "marker up", "over",
                                        "marker up", "marker", "marker up", "picture up"}));

    // A click may take its label away, or the whole form.
    form.lblMarker.Click = [&] { form.Remove(form.lblMarker); };
    press(60, 60);
    EXPECT_EQ(form.Controls().size(), 15u);
    over.SetVisible(true);
    over.Click = [&] { form.Unload(); };
    press(60, 60);
    EXPECT_FALSE(form.Loaded());
}

TEST_F(FormsTest, LoadingFiftyTimesAndAThousandLabelsLeaveNothingBehind) {
    form.lblInfo.SetFont({"Arial", 10, false, true});
    form.cmdSave.SetToolTip("Save");
    form.tmrTick.SetInterval(1000);
    form.tmrTick.SetEnabled(true);
    std::vector<forms::Label*> labels;
    const auto addLabels = [&] {  // as the preview makes its markers
        for (int i = 0; i < 1000; ++i) {
            auto& label =
                form.Add<forms::Label>("lblMany(" + std::to_string(i) + ")", &form.picPreview);
            label.SetBackColour(RGB(i % 256, 0, 0));
            label.Move({(i % 40) * 5, (i / 40) * 4, 5, 4});
            // A font each: fonts are shared between the controls that ask for the same one.
            label.SetFont({"", 8 + i * 0.01, i % 2 == 0, false});
            label.SetCaption("x");
            label.SetToolTip("Icon " + std::to_string(i));
            labels.push_back(&label);
        }
    };
    const auto removeLabels = [&] {
        for (; !labels.empty(); labels.pop_back()) {
            form.Remove(*labels.back());
        }
    };
    const auto counts = [] { return std::make_pair(GdiObjects(), ThreadWindows().size()); };
    // Once before counting: classes and caches are made on first use.
    addLabels();
    Snapshot{Find("picPreview")};
    removeLabels();
    form.Unload();
    const auto unloaded = counts();
    for (int i = 0; i < 50; ++i) {
        form.Show();
        form.lblInfo.SetBackColour(RGB(i, 0, 0));  // a brush made, the one before freed
        form.Unload();
    }
    EXPECT_EQ(counts(), unloaded);

    form.Show();
    HWND picture = Find("picPreview");
    HWND tips = ToolTipsOf(FormWindow());
    const int gdiLoaded = GdiObjects();
    addLabels();
    Snapshot{picture};  // every label's font selected and let go
    EXPECT_EQ(::GetWindow(::GetWindow(picture, GW_CHILD), GW_HWNDNEXT), nullptr)
        << "a label made a window: the slider should be the picture's only one";
    EXPECT_TRUE(AreaTools(tips, picture).empty()) << "a tool per label";
    ::SendMessageA(picture, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // over the first label
    const Areas over = AreaTools(tips, picture);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over.begin()->first, "Icon 0");
    ASSERT_GE(GdiObjects(), gdiLoaded + 1000) << "the labels' fonts are not counted";
    removeLabels();
    EXPECT_TRUE(AreaTools(tips, picture).empty()) << "the tool outlived its label";
    EXPECT_EQ(GdiObjects(), gdiLoaded);
    // Unloaded with the labels in; loaded again, and the picture taken away with them in.
    addLabels();
    form.Unload();
    EXPECT_EQ(counts(), unloaded);
    form.Show();
    labels.clear();  // they go with the picture
    form.Remove(form.picPreview);
    EXPECT_EQ(Send(ToolTipsOf(FormWindow()), TTM_GETTOOLCOUNT), 1) << "cmdSave's alone";
    form.Unload();
    EXPECT_EQ(counts(), unloaded);
}

TEST_F(FormsTest, TimerTicksThroughTheMessageLoopWhileItRuns) {
    int ticks = 0;
    form.tmrTick.Tick = [&] {
        if (++ticks == 3) {
            form.tmrTick.SetEnabled(false);
            backend.EndProgram();
            backend.DoEvents();  // leaves WM_QUIT for the loop
        }
    };
    form.tmrTick.SetInterval(20);
    form.tmrTick.SetEnabled(true);
    EXPECT_EQ(RunMessageLoopForTenSeconds(), 0) << "the timer did not tick three times";
    ::Sleep(100);
    backend.DoEvents();
    EXPECT_EQ(ticks, 3) << "it ticked while stopped";
    // A tick may unload the form, timer and all.
    form.tmrTick.Tick = [&] {
        form.Unload();
        backend.EndProgram();
    };
    form.tmrTick.SetEnabled(true);
    EXPECT_EQ(RunMessageLoopForTenSeconds(), 0);
    EXPECT_FALSE(form.Loaded());
}

TEST_F(FormsTest, ClosingOrLoggingOffUnloadsTheForm) {
    HWND window = FormWindow();
    Send(window, WM_CLOSE);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(::FindWindowA("Pellmark.FormsTest", nullptr), nullptr);
    form.Show();
    window = FormWindow();
    EXPECT_EQ(Send(window, WM_QUERYENDSESSION), TRUE);
    Send(window, WM_ENDSESSION, FALSE);  // the log-off was cancelled
    EXPECT_TRUE(form.Loaded());
    Send(window, WM_ENDSESSION, TRUE);
    EXPECT_FALSE(::IsWindow(window));
    // A button in the frame unloads it from inside the frame's and the form's procedures.
    form.Show();
    form.cmdClose.Click = [&] { form.Unload(); };
    Send(Find("cmdClose"), BM_CLICK);
    EXPECT_EQ(form.unloads, 3);
    // The controls keep their values while unloaded, and show them again on loading.
    form.chkShow.SetValue(1);
    form.txtName.SetText("kept");
    form.Show();
    EXPECT_EQ(Send(Find("chkShow"), BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(Text(Find("txtName")), "kept");
}

TEST_F(FormsTest, AMenuIsTheOwnersKeptInStepAndShownWhereTheAskerSaysWhileItStaysActive) {
    MenuPilotHook hook;
    forms::Form menus(backend, "frmMenus");
    std::vector<std::string> ran;
    forms::MenuItem& tray = menus.AddMenu("mnuTray");
    tray.Add("mnuOpen", -1, "&Open").Click = [&] { ran.emplace_back("Open"); };
    forms::MenuItem& patterns = tray.Add("mnuPatterns", -1, "&Patterns");
    patterns.Add("mnuPattern", 0, "Home").Click = [&] { ran.emplace_back("Home"); };
    HWND asker = FormWindow();
    ::SetWindowPos(asker, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(::GetForegroundWindow(), asker);

    hook.Choose(patterns.Find("mnuPattern", 0));
    menus.ShowPopup(tray, &form, forms::MenuPoint{20, 10});
    EXPECT_EQ(ran, std::vector<std::string>{"Home"});
    HWND owner = Win32FormsBackend::WindowOf(menus);
    // The owner's window carries the menu (the owner-drawn engine listens there), while the
    // asker keeps the foreground and its activation.
    EXPECT_EQ(pilot.initialised, (std::vector<HWND>{owner, owner}));
    EXPECT_EQ(pilot.front, asker);
    EXPECT_EQ(::GetForegroundWindow(), asker);
    EXPECT_EQ(::GetActiveWindow(), asker);
    // The asker's client point at its DPI (144), on the screen.
    POINT expected{30, 15};
    ::ClientToScreen(asker, &expected);
    EXPECT_EQ(std::make_pair(pilot.placed.left, pilot.placed.top),
              std::make_pair(expected.x, expected.y));

    // The same menus stay: a rebuilt submenu keeps its handle and shows its new items, a
    // submenu gone takes its own with it, and the form's unloading takes them all.
    ASSERT_EQ(pilot.open.size(), 2u);
    const std::vector<HMENU> first = pilot.open;
    patterns.RemoveFrom(0);
    patterns.Add("mnuPattern", 0, "Work").Click = [&] { ran.emplace_back("Work"); };
    hook.Choose(patterns.Find("mnuPattern", 0));
    menus.ShowPopup(tray);
    EXPECT_EQ(pilot.open, first);
    EXPECT_EQ(pilot.shown, (std::vector<std::string>{"&Open", "&Patterns >", "  Work"}));
    tray.RemoveFrom(1);
    hook.Choose(nullptr);
    menus.ShowPopup(tray);
    EXPECT_EQ(pilot.shown, std::vector<std::string>{"&Open"});
    EXPECT_TRUE(::IsMenu(first[0]));
    EXPECT_FALSE(::IsMenu(first[1]));
    menus.Unload();
    EXPECT_FALSE(::IsMenu(first[0]));
    EXPECT_EQ(ran, (std::vector<std::string>{"Home", "Work"}));
}

TEST_F(FormsTest, AMenuAskedForWhileAnotherThreadIsInFrontBringsItsOwnerForward) {
    MenuPilotHook hook;
    forms::Form menus(backend, "frmMenus");
    forms::MenuItem& tray = menus.AddMenu("mnuTray");
    bool ran = false;
    tray.Add("mnuOpen", -1, "&Open").Click = [&] { ran = true; };
    // Another thread's window in front, as when the notification area asks.
    HWND front = nullptr;
    DWORD thread = 0;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        front = ::CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
        thread = ::GetCurrentThreadId();
        ::SetEvent(ready);
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageW(&message);
        }
        ::DestroyWindow(front);
    });
    ::WaitForSingleObject(ready, INFINITE);
    ::SetForegroundWindow(front);
    ::SendMessageW(front, WM_NULL, 0, 0);  // its thread has taken the activation
    EXPECT_EQ(::GetForegroundWindow(), front);

    hook.Choose(tray.Find("mnuOpen"));
    menus.ShowPopup(tray);
    EXPECT_TRUE(ran);
    EXPECT_EQ(pilot.front, Win32FormsBackend::WindowOf(menus));
    MSG posted{};
    EXPECT_TRUE(
        ::PeekMessageW(&posted, Win32FormsBackend::WindowOf(menus), WM_NULL, WM_NULL, PM_REMOVE))
        << "the message that lets the next menu close";
    ::PostThreadMessageW(thread, WM_QUIT, 0, 0);
    other.join();
    ::CloseHandle(ready);
    menus.Unload();
}

TEST_F(FormsTest, AWindowMovedToAnotherDpiTakesTheSuggestedPlaceAndLaysItselfOutAgain) {
    HWND window = FormWindow();
    form.lblInfo.SetFont({"Arial", 12, false, false});
    form.picPreview.SetScale(400, 200);
    const auto fontHeight = [&] {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HGDIOBJ>(Send(Find("lblInfo"), WM_GETFONT)), sizeof font,
                     &font);
        return font.lfHeight;
    };
    // Each row: the new DPI, then where the controls go at it.
    auto& image = form.Add<forms::Image>("imgLogo");
    image.Move({300, 280, 40, 20});
    image.SetToolTip("Logo");
    struct Row {
        int dpi;
        Box save, text, slider, image;
        LONG font, column;
    };
    for (const Row& row : {Row{96,
                               {10, 20, 110, 50},
                               {10, 20, 130, 44},
                               {0, 30, 100, 45},
                               {300, 280, 340, 300},
                               -16,
                               120},
                           Row{192,
                               {20, 40, 220, 100},
                               {20, 40, 260, 88},
                               {0, 60, 200, 90},
                               {600, 560, 680, 600},
                               -32,
                               240},
                           Row{144,
                               {15, 30, 165, 75},
                               {15, 30, 195, 66},
                               {0, 45, 150, 68},
                               {450, 420, 510, 450},
                               -24,
                               180}}) {
        RECT suggested{100, 50, 100 + row.dpi * 5, 50 + row.dpi * 4};
        Send(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(row.dpi, row.dpi), &suggested);
        RECT outer{};
        ::GetWindowRect(window, &outer);
        EXPECT_EQ(BoxOf(outer), BoxOf(suggested)) << row.dpi;
        EXPECT_EQ(Placed(Find("cmdSave")), row.save) << row.dpi;
        EXPECT_EQ(Placed(Find("txtName")), row.text) << row.dpi << ": in the frame";
        EXPECT_EQ(Placed(Find("sldSpeed")), row.slider) << row.dpi << ": in the picture's scale";
        EXPECT_EQ(fontHeight(), row.font) << row.dpi;
        EXPECT_EQ(Send(Find("lvwIcons"), LVM_GETCOLUMNWIDTH, 0), row.column) << row.dpi;
        EXPECT_EQ(DrawnPlaceOf(window, "imgLogo").area, row.image) << row.dpi << ": drawn";
        EXPECT_EQ(AreaTools(ToolTipsOf(window), window), (Areas{{"Logo", row.image}})) << row.dpi;
    }
}

TEST_F(FormsTest, DefaultButtonShowsAsOneAndThePictureCapturesTheMouseWhilePressed) {
    form.cmdSave.SetDefault(true);
    EXPECT_EQ(::GetWindowLongPtrW(Find("cmdSave"), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    form.cmdClose.SetDefault(true);
    EXPECT_EQ(::GetWindowLongPtrW(Find("cmdSave"), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

    HWND picture = Find("picPreview");
    std::vector<std::string> events;
    form.picPreview.MouseMove = [&](const forms::MouseEvent& event) {
        events.push_back("move " + std::to_string(event.x) + "," + std::to_string(event.y));
    };
    ::PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    backend.DoEvents();
    EXPECT_EQ(::GetCapture(), picture);
    // Outside it, to the left: still the picture's, at a negative point.
    ::PostMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30, 15));
    ::PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(-30, 15));
    backend.DoEvents();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_NE(std::find(events.begin(), events.end(), "move -20,10"), events.end());
}

TEST_F(FormsTest, RawMessagesReachTheFormFromItsCreationAndItMayAnswerThem) {
    forms::Form other(backend, "frmRaw");
    std::vector<UINT> seen;
    other.Raw = [&](forms::RawMessage& message) {
        seen.push_back(message.message);
        if (message.message == WM_NCHITTEST) {
            message.handled = true;
            message.result = HTCAPTION;
        }
    };
    other.Show();
    HWND window = Win32FormsBackend::WindowOf(other);
    const auto position = [&](UINT message) {
        return std::find(seen.begin(), seen.end(), message) - seen.begin();
    };
    ASSERT_LT(position(WM_CREATE), static_cast<std::ptrdiff_t>(seen.size()));
    EXPECT_EQ(position(WM_NCCREATE), 0);
    EXPECT_LT(position(WM_NCCALCSIZE), position(WM_CREATE));
    EXPECT_EQ(Send(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCAPTION);
    seen.clear();
    ::SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_GETMINMAXINFO), seen.end());
    other.Unload();
}

// ---- Window settings, owners and the system's destroying ----

using testcases::CountingForm;  // 400 by 300, logging its unloading

TEST(FormsWindowsTest, SettingsAreReadWhenTheWindowIsMade) {
    Win32FormsBackend backend{kDpi};
    std::vector<std::string> unloaded;
    CountingForm owner(backend, "frmOwner", unloaded);
    owner.Show();
    HWND ownerWindow = Win32FormsBackend::WindowOf(owner);
    struct Row {
        const char* what;
        forms::WindowSettings settings;
        LONG_PTR style, notStyle, exStyle;
        bool owned;
    };
    const Row rows[] = {
        {"fixed", {}, WS_CAPTION | WS_MINIMIZEBOX | WS_SYSMENU, WS_THICKFRAME, 0, false},
        {"dialog",
         {.border = forms::BorderStyle::FixedDialog},
         WS_CAPTION | WS_SYSMENU,
         WS_MINIMIZEBOX | WS_THICKFRAME,
         WS_EX_DLGMODALFRAME,
         false},
        {"sizable",
         {.border = forms::BorderStyle::Sizable},
         WS_THICKFRAME | WS_CAPTION,
         0,
         0,
         false},
        {"none",
         {.border = forms::BorderStyle::None},
         WS_SYSMENU,
         WS_CAPTION | WS_THICKFRAME,
         0,
         false},
        {"topmost", {.topmost = true}, 0, 0, WS_EX_TOPMOST, false},
        {"owned", {.owner = &owner}, 0, 0, 0, true},
        {"owned, in the taskbar",
         {.owner = &owner, .showInTaskbar = true},
         0,
         0,
         WS_EX_APPWINDOW,
         true},
    };
    for (const Row& row : rows) {
        CountingForm form(backend, "frmSettings", unloaded);
        form.SetSettings(row.settings);
        form.Show();
        HWND window = Win32FormsBackend::WindowOf(form);
        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
        EXPECT_EQ(style & row.style, row.style) << row.what;
        EXPECT_EQ(style & row.notStyle, 0) << row.what;
        EXPECT_EQ(exStyle & row.exStyle, row.exStyle) << row.what;
        EXPECT_EQ(::GetWindow(window, GW_OWNER) == ownerWindow, row.owned) << row.what;
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_EQ(BoxOf(client), (Box{0, 0, 600, 450})) << row.what;
        EXPECT_NE(::GetSystemMenu(window, FALSE), nullptr) << row.what << ": a system menu";
    }

    // Out of the taskbar: owned by a hidden window of the program's.
    CountingForm hidden(backend, "frmHidden", unloaded);
    hidden.SetSettings({.showInTaskbar = false});
    hidden.Show();
    HWND parking = ::GetWindow(Win32FormsBackend::WindowOf(hidden), GW_OWNER);
    EXPECT_TRUE(parking != nullptr && !::IsWindowVisible(parking));

    // Placed where asked, or in the middle of the work area.
    CountingForm placed(backend, "frmPlaced", unloaded);
    placed.SetSettings({.border = forms::BorderStyle::None,
                        .start = forms::StartPosition::Manual,
                        .left = 30,
                        .top = 40});
    placed.Show();
    RECT outer{};
    ::GetWindowRect(Win32FormsBackend::WindowOf(placed), &outer);
    EXPECT_EQ(BoxOf(outer), (Box{45, 60, 645, 510}));
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(ownerWindow, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);

    // Alt+F4 closes a window without a caption, through its system menu's Close.
    Send(Win32FormsBackend::WindowOf(placed), WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(placed.Loaded());
}

TEST(FormsWindowsTest, AWindowMadeWhenItsPageFirstShowsStacksAndTabsInTheFormsOrder) {
    Win32FormsBackend backend{kDpi};
    std::vector<std::string> unloaded;
    CountingForm form(backend, "frmPages", unloaded);
    auto& before = form.Add<forms::Button>("cmdBefore");
    auto& page = form.Add<forms::Picture>("picPage");
    page.SetVisible(false);
    auto& first = form.Add<forms::Button>("cmdFirst", &page);
    auto& second = form.Add<forms::TextBox>("txtSecond", &page);
    auto& after = form.Add<forms::Button>("cmdAfter");
    page.Move({0, 40, 200, 100});
    form.Show();
    ASSERT_EQ(Win32FormsBackend::WindowOf(page), nullptr);
    second.SetText("typed before it showed");
    page.SetVisible(true);
    HWND pageWindow = Win32FormsBackend::WindowOf(page);
    ASSERT_NE(pageWindow, nullptr);
    EXPECT_EQ(::GetWindow(Win32FormsBackend::WindowOf(before), GW_HWNDNEXT), pageWindow);
    EXPECT_EQ(::GetWindow(pageWindow, GW_HWNDNEXT), Win32FormsBackend::WindowOf(after));
    EXPECT_EQ(::GetWindow(pageWindow, GW_CHILD), Win32FormsBackend::WindowOf(first));
    EXPECT_EQ(::GetWindow(Win32FormsBackend::WindowOf(first), GW_HWNDNEXT),
              Win32FormsBackend::WindowOf(second));
    EXPECT_EQ(Text(Win32FormsBackend::WindowOf(second)), "typed before it showed");
    EXPECT_TRUE(::IsWindowVisible(Win32FormsBackend::WindowOf(second)));
    form.Unload();
}

TEST(FormsWindowsTest, MeasuredTextWrapsAtSpacesWithinTheWidthAndGrowsWithTheFont) {
    Win32FormsBackend backend{kDpi};
    const forms::Font message;
    const forms::TextSize line = backend.MeasureText("Pellmark", message, 0);
    EXPECT_GT(line.width, 20);
    EXPECT_GT(line.height, 8);
    EXPECT_LT(backend.MeasureText("iiii", message, 0).width,
              backend.MeasureText("WWWW", message, 0).width);
    EXPECT_EQ(backend.MeasureText("", message, 0), (forms::TextSize{0, 0}));
    // Twelve words in 100 pixels: several lines, none wider than the room.
    const std::string words = "one two three four five six seven eight nine ten eleven twelve";
    const forms::TextSize wrapped = backend.MeasureText(words, message, 100);
    EXPECT_LE(wrapped.width, 100);
    EXPECT_GT(wrapped.height, 2 * line.height) << "three lines or more";
    EXPECT_EQ(backend.MeasureText(words, message, 0).height, line.height) << "unwrapped: one line";
    EXPECT_EQ(backend.MeasureText("one\ntwo", message, 0).height, 2 * line.height);
    const forms::TextSize title = backend.MeasureText("Pellmark", {.points = 14, .bold = true}, 0);
    EXPECT_GT(title.width, line.width);
    EXPECT_GT(title.height, line.height);
}

TEST(FormsWindowsTest, ASlidersTickMarksAndStepsAreTheModels) {
    Win32FormsBackend backend{kDpi};
    std::vector<std::string> unloaded;
    CountingForm form(backend, "frmSliders", unloaded);
    auto& seconds = form.Add<forms::Slider>("sldSeconds");
    seconds.Move({0, 0, 200, 30});
    seconds.SetRange(1, 60);
    seconds.SetSteps(5, 1, 5);
    auto& size = form.Add<forms::Slider>("sldSize");
    size.Move({0, 40, 200, 30});
    size.SetRange(2, 100);
    size.SetSteps(0, 1, 5);
    form.Show();
    HWND every5 = Win32FormsBackend::WindowOf(seconds);
    HWND none = Win32FormsBackend::WindowOf(size);
    EXPECT_EQ(Send(every5, TBM_GETLINESIZE), 1);
    EXPECT_EQ(Send(every5, TBM_GETPAGESIZE), 5);
    // 1, 6, ... 56 and the end at 60.
    EXPECT_EQ(Send(every5, TBM_GETNUMTICS), 13);
    EXPECT_NE(::GetWindowLongPtrA(none, GWL_STYLE) & TBS_NOTICKS, 0);
    EXPECT_EQ(Send(none, TBM_GETPAGESIZE), 5);
    seconds.SetSteps(1, 1, 2);
    EXPECT_EQ(Send(every5, TBM_GETNUMTICS), 60);
    EXPECT_EQ(Send(every5, TBM_GETPAGESIZE), 2);
    form.Unload();
}

TEST(FormsWindowsTest, AWindowTheSystemDestroysUnloadsItsFormOnceAndLeavesNoDeadHandle) {
    Win32FormsBackend backend{kDpi};
    std::vector<std::string> unloaded;
    CountingForm owner(backend, "frmOwner", unloaded);
    CountingForm owned(backend, "frmOwned", unloaded);
    owned.SetSettings({.owner = &owner});
    auto& button = owned.Add<forms::Button>("cmdGo");
    button.Move({10, 10, 80, 24});
    auto& text = owner.Add<forms::TextBox>("txtName");
    owner.Show();
    owned.Show();
    HWND buttonWindow = Win32FormsBackend::WindowOf(button);
    ASSERT_TRUE(::IsWindow(buttonWindow));
    ::DestroyWindow(Win32FormsBackend::WindowOf(owner));  // the owned window goes first
    EXPECT_EQ(unloaded, (std::vector<std::string>{"unload frmOwned", "unload frmOwner"}));
    EXPECT_FALSE(owner.Loaded() || owned.Loaded());
    EXPECT_EQ(Win32FormsBackend::WindowOf(button), nullptr);
    EXPECT_EQ(Win32FormsBackend::WindowOf(text), nullptr);
    EXPECT_FALSE(::IsWindow(buttonWindow));
    // Loaded again, the form gets new windows.
    owner.Show();
    EXPECT_TRUE(::IsWindow(Win32FormsBackend::WindowOf(text)));
    owner.Unload();
    EXPECT_EQ(unloaded.size(), 3u);
}

// ---- Pictures and painting ----

// PELLMARK_TEST_PICTURES holds a 4 by 2 picture, red on its left half and blue on its right,
// in each format; the PNG's top-left pixel is transparent.
std::string TestPicture(const char* name) {
    return std::string(PELLMARK_TEST_PICTURES) + name;
}

TEST(FormsPicturesTest, FilesOfEveryKindLoadToTheirPixelsAndBadOnesAreErrors) {
    Win32FormsBackend backend{kDpi};
    constexpr std::uint32_t kRedPixel = 0xFF0000FF;
    constexpr std::uint32_t kBluePixel = 0xFFFF0000;
    struct Row {
        const char* name;
        int tolerance;  // JPEG is lossy
    };
    for (const Row& row : {Row{"halves.bmp", 0}, Row{"halves.png", 0}, Row{"halves.gif", 0},
                           Row{"halves.jpg", 40}, Row{"halves.ico", 0}}) {
        const std::string path = TestPicture(row.name);
        const forms::Bitmap picture = backend.LoadPicture(path);
        ASSERT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(4, 2))
            << row.name;
        EXPECT_EQ(picture.Source(), path);
        const auto similar = [&](std::uint32_t pixel, std::uint32_t expected) {
            for (int shift = 0; shift < 32; shift += 8) {
                const int got = static_cast<int>((pixel >> shift) & 0xFF);
                const int want = static_cast<int>((expected >> shift) & 0xFF);
                if (got - want > row.tolerance || want - got > row.tolerance) {
                    return false;
                }
            }
            return true;
        };
        const std::vector<std::uint32_t>& pixels = picture.Pixels();
        const bool png = std::string_view(row.name) == "halves.png";
        EXPECT_TRUE(png ? (pixels[0] >> 24) == 0 : similar(pixels[0], kRedPixel)) << row.name;
        EXPECT_TRUE(similar(pixels[1], kRedPixel)) << row.name;
        EXPECT_TRUE(similar(pixels[2], kBluePixel)) << row.name;
        EXPECT_TRUE(similar(pixels[7], kBluePixel)) << row.name;
        EXPECT_EQ(picture.HasTransparency(), png) << row.name;
    }
    const auto number = [&](const std::string& path) {
        try {
            static_cast<void>(backend.LoadPicture(path));
        } catch (const RunTimeError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(number(TestPicture("missing.png")), 53);
    EXPECT_EQ(number(TestPicture("not-a-picture.png")), 481);
    EXPECT_EQ(number(TestPicture("")), 481) << "a folder";
    EXPECT_THROW(static_cast<void>(backend.LoadResourcePicture("NOSUCHPICTURE")), RunTimeError);
}

TEST_F(FormsTest, PaintDrawsWithGdiInThePicturesScaleAndPicturesScaleWithTheDpi) {
    HWND picture = Find("picPreview");
    form.picPreview.SetScale(400, 200);  // 300 by 150 pixels: a unit is three quarters of one
    form.picPreview.SetBackColour(kGrey);
    form.lblMarker.SetVisible(false);
    // Eight by two: red on the left half, blue on the right.
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < 16; ++i) {
        pixels.push_back(i % 8 < 4 ? 0xFF0000FFu : 0xFFFF0000u);
    }
    const forms::Bitmap halves(8, 2, pixels, "halves");
    form.picPreview.Paint = [&](forms::Canvas& canvas) {
        canvas.Fill({0, 0, 40, 40}, kRed);      // 0,0 to 30,30
        canvas.Frame({40, 0, 40, 40}, kBlue);   // 30,0 to 60,30
        canvas.Line(0, 60, 100, 60, kGreen);    // y 45, x 0 to 75
        canvas.Draw(halves, {100, 0, 80, 40});  // 75,0 to 135,30
        canvas.Clip({200, 0, 40, 40});          // 150,0 to 180,30
        canvas.Fill({200, 0, 400, 200}, kBlue);
    };
    Snapshot(picture).Expect({{0, 0, kRed},
                              {29, 29, kRed},
                              {30, 30, kGrey},
                              {30, 10, kBlue},
                              {59, 10, kBlue},
                              {45, 10, kGrey},
                              {10, 45, kGreen},
                              {78, 10, kRed},
                              {132, 10, kBlue},
                              {160, 10, kBlue},
                              {185, 10, kGrey},
                              {160, 40, kGrey}});
    // A picture of its own, drawn at its size scaled to 144 DPI (12 by 3 pixels) beneath.
    form.picPreview.Paint = nullptr;
    form.picPreview.SetPicture(halves);
    Snapshot(picture).Expect({{1, 1, kRed}, {10, 1, kBlue}, {12, 0, kGrey}, {0, 3, kGrey}});
    // An image, at its size or stretched.
    // The form draws it: 450,30 to 510,60.
    auto& image = form.Add<forms::Image>("imgHalves");
    image.Move({300, 20, 40, 20});  // 60 by 30 pixels
    image.SetPicture(halves);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    Snapshot(FormWindow()).Expect({{451, 31, kRed}, {460, 31, kBlue}, {470, 40, face}});
    image.SetStretch(true);
    Snapshot(FormWindow()).Expect({{455, 45, kRed}, {505, 45, kBlue}, {511, 45, face}});
    // A picture with a drawing for high DPI shows that one wherever it is shown larger: its
    // 12 by 3 green drawing in place of the stretched halves, the picture's size unchanged.
    const forms::Bitmap green(12, 3, std::vector<std::uint32_t>(36, 0xFF000000u | kGreen), "green");
    const forms::Bitmap sharp(8, 2, pixels, "halves with a large drawing");
    sharp.SetLarge(green);
    image.SetStretch(false);
    image.SetPicture(sharp);
    EXPECT_EQ(sharp.Width(), 8);
    Snapshot(FormWindow()).Expect({{451, 31, kGreen}, {460, 31, kGreen}, {470, 40, face}});
}

// A picture of one colour.
forms::Bitmap Solid(int width, int height, COLORREF colour) {
    return {
        width, height,
        std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), 0xFF000000u | colour),
        "solid"};
}
BOOL CALLBACK CountWindow(HWND, LPARAM counted) {
    ++*reinterpret_cast<int*>(counted);
    return TRUE;
}
int ChildWindows(HWND window) {
    int count = 0;
    ::EnumChildWindows(window, &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}
// What waits to be painted in the window, then painted.
Box Dirty(HWND window) {
    UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetUpdateRgn(window, static_cast<HRGN>(region.get()), FALSE) > NULLREGION) {
        ::GetRgnBox(static_cast<HRGN>(region.get()), &box);
    }
    ::UpdateWindow(window);
    return BoxOf(box);
}

TEST_F(FormsTest, AnImageHasNoWindowAndIsDrawnByItsFormInTheFormsOrderBeneathOtherWindows) {
    HWND window = FormWindow();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int children = ChildWindows(window);
    const auto make = [&](const char* name, forms::Bounds bounds, COLORREF colour) -> auto& {
        auto& image = form.Add<forms::Image>(name);
        image.Move(bounds);
        image.SetPicture(Solid(8, 8, colour));
        image.SetStretch(true);
        return image;
    };
    auto& red = make("imgRed", {240, 290, 40, 40}, kRed);     // 360,435 to 420,495
    auto& blue = make("imgBlue", {260, 300, 40, 40}, kBlue);  // 390,450 to 450,510
    EXPECT_EQ(ChildWindows(window), children);
    EXPECT_EQ(Win32FormsBackend::WindowOf(red), nullptr);
    EXPECT_EQ(Find("imgRed"), nullptr);
    // Other processes find the window that draws it and its place there.
    EXPECT_EQ(DrawnPlaceOf(window, "imgRed").window, window);
    EXPECT_EQ(DrawnPlaceOf(window, "imgRed").area, (Box{360, 435, 420, 495}));
    EXPECT_EQ(DrawnPlaceOf(window, "imgBlue").area, (Box{390, 450, 450, 510}));
    // The later in the form's order on top; the form's background around them.
    Snapshot(window).Expect({{361, 436, kRed},
                             {389, 494, kRed},
                             {391, 451, kBlue},
                             {449, 509, kBlue},
                             {450, 509, face},
                             {380, 500, face}});
    blue.SetVisible(false);
    Snapshot(window).Expect({{400, 470, kRed}, {440, 500, face}});
    blue.SetVisible(true);

    // One shown only after the form is: it still goes beneath the later one.
    form.Unload();
    red.SetVisible(false);
    form.Show();
    window = FormWindow();
    EXPECT_EQ(DrawnPlaceOf(window, "imgRed").window, nullptr) << "drawn before it shows";
    red.SetVisible(true);
    Snapshot(window).Expect({{361, 436, kRed}, {400, 470, kBlue}});

    // Beneath a window over it: the form's painting leaves the button's pixels alone.
    auto& under = make("imgUnder", {0, 10, 60, 40}, kRed);  // 0,15 to 90,75; the button 15,30 on
    static_cast<void>(under);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    HDC formDc = ::GetDC(window);
    EXPECT_EQ(::GetPixel(formDc, 5, 20), kRed);
    ::ReleaseDC(window, formDc);
    HWND button = Find("cmdSave");
    HDC buttonDc = ::GetDC(button);
    EXPECT_NE(::GetPixel(buttonDc, 20, 20), kRed);
    ::ReleaseDC(button, buttonDc);
}

TEST_F(FormsTest, AnImageTakesTheMouseWhereItIsAndKeepsItWhileAButtonIsHeld) {
    HWND window = FormWindow();
    std::vector<std::string> events;
    const auto record = [&](const std::string& what) {
        return [&events, what](const forms::MouseEvent& event) {
            events.push_back(what + " " + std::to_string(event.x) + "," + std::to_string(event.y) +
                             (event.button == forms::MouseButton::Right ? " right" : "") +
                             (event.shift ? " shift" : "") + (event.ctrl ? " ctrl" : ""));
        };
    };
    auto& red = form.Add<forms::Image>("imgRed");
    red.Move({240, 290, 40, 40});  // 360,435 to 420,495
    red.MouseDown = record("down");
    red.MouseMove = record("move");
    red.MouseUp = record("up");
    red.Click = [&] { events.emplace_back("click"); };
    red.DblClick = [&] { events.emplace_back("double"); };
    form.MouseDown = record("form down");
    form.MouseUp = record("form up");
    const auto post = [&](UINT message, WPARAM state, int x, int y) {
        ::PostMessageA(window, message, state, MAKELPARAM(x, y));
    };
    const auto take = [&] {
        backend.DoEvents();
        return std::exchange(events, {});
    };
    using Events = std::vector<std::string>;

    // The point from the image's top left, in 96-DPI pixels; out and back while held.
    post(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 375, 450);
    backend.DoEvents();
    EXPECT_EQ(::GetCapture(), window);
    post(WM_MOUSEMOVE, MK_LBUTTON, 300, 420);
    post(WM_MOUSEMOVE, MK_LBUTTON, 390, 465);
    post(WM_LBUTTONUP, 0, 390, 465);
    EXPECT_EQ(take(),
              (Events{"down 10,10 ctrl", "move -40,-10", "move 20,20", "up 20,20", "click"}));
    EXPECT_EQ(::GetCapture(), nullptr);
    // Released beside it: its release, no click. Pressed beside it: the form's throughout.
    post(WM_LBUTTONDOWN, MK_LBUTTON, 375, 450);
    post(WM_LBUTTONUP, 0, 300, 420);
    post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 420);
    post(WM_MOUSEMOVE, MK_LBUTTON, 375, 450);
    post(WM_LBUTTONUP, 0, 375, 450);
    EXPECT_EQ(take(), (Events{"down 10,10", "up -40,-10", "form down 200,280", "form up 250,300"}));
    // The right button with shift, a move with no button, a double click.
    post(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 375, 450);
    post(WM_RBUTTONUP, MK_SHIFT, 375, 450);
    post(WM_MOUSEMOVE, 0, 405, 480);
    post(WM_LBUTTONDBLCLK, MK_LBUTTON, 375, 450);
    post(WM_LBUTTONUP, 0, 375, 450);
    EXPECT_EQ(take(), (Events{"down 10,10 right shift", "up 10,10 right shift", "move 30,30",
                              "double", "up 10,10"}));

    // Disabled or hidden, it hears nothing: the form's background has the click.
    const auto click = [&](int x, int y) {
        post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        post(WM_LBUTTONUP, 0, x, y);
        return take();
    };
    red.SetEnabled(false);
    EXPECT_EQ(click(375, 450), (Events{"form down 250,300", "form up 250,300"}));
    red.SetEnabled(true);
    red.SetVisible(false);
    EXPECT_EQ(click(375, 450), (Events{"form down 250,300", "form up 250,300"}));
    red.SetVisible(true);

    // Of two one over the other, the later in the form's order; disabled, the one beneath.
    red.MouseDown = nullptr;
    red.MouseUp = nullptr;
    auto& blue = form.Add<forms::Image>("imgBlue");
    blue.Move({260, 300, 40, 40});  // 390,450 to 450,510
    blue.Click = [&] { events.emplace_back("blue click"); };
    EXPECT_EQ(click(400, 460), Events{"blue click"});
    blue.SetEnabled(false);
    EXPECT_EQ(click(400, 460), Events{"click"});

    // A click may take its image away, or the whole form.
    red.Click = [&] { form.Remove(red); };
    EXPECT_EQ(click(400, 460), Events{});
    EXPECT_EQ(DrawnPlaceOf(window, "imgRed").window, nullptr);
    EXPECT_EQ(click(375, 450), (Events{"form down 250,300", "form up 250,300"}));
    blue.SetEnabled(true);
    blue.Click = [&] { form.Unload(); };
    click(400, 460);
    EXPECT_FALSE(form.Loaded());
}

// Its tip is an area of the window that draws it, and goes with it.
TEST_F(FormsTest, AnImagePaintsAgainOnlyItsOwnPlaceWhenItsLookChangesAndItsTipFollowsIt) {
    HWND window = FormWindow();
    auto& image = form.Add<forms::Image>("imgRed");
    image.Move({240, 290, 40, 40});  // 360,435 to 420,495
    image.SetPicture(Solid(40, 40, kRed));
    image.SetToolTip("Red");
    HWND tips = ToolTipsOf(window);
    ASSERT_NE(tips, nullptr);
    const auto areas = [&] { return AreaTools(tips, window); };
    EXPECT_EQ(areas(), (Areas{{"Red", {360, 435, 420, 495}}}));
    ::UpdateWindow(window);
    const Box none{0, 0, 0, 0};
    EXPECT_EQ(Dirty(window), none);
    image.SetPicture(Solid(40, 40, kBlue));
    EXPECT_EQ(Dirty(window), (Box{360, 435, 420, 495}));
    image.Refresh();
    EXPECT_EQ(Dirty(window), (Box{360, 435, 420, 495}));
    image.Move({240, 280, 40, 40});  // 360,420 to 420,480
    EXPECT_EQ(Dirty(window), (Box{360, 420, 420, 495}));
    image.SetStretch(true);
    image.SetToolTip("Red, moved");
    EXPECT_EQ(areas(), (Areas{{"Red, moved", {360, 420, 420, 480}}}));
    image.SetEnabled(false);
    EXPECT_EQ(areas(), Areas{}) << "disabled";
    EXPECT_EQ(Dirty(window), (Box{360, 420, 420, 480})) << "the stretch alone";
    image.SetEnabled(true);
    image.SetVisible(false);
    EXPECT_EQ(areas(), Areas{}) << "hidden";
    EXPECT_EQ(Dirty(window), (Box{360, 420, 420, 480}));
    image.Move({0, 0, 10, 10});
    image.SetPicture(Solid(4, 4, kGreen));
    image.Refresh();
    EXPECT_EQ(Dirty(window), none) << "hidden";
    image.SetVisible(true);
    EXPECT_EQ(Dirty(window), (Box{0, 0, 15, 15}));
    EXPECT_EQ(areas(), (Areas{{"Red, moved", {0, 0, 15, 15}}}));
    form.Remove(image);
    EXPECT_EQ(areas(), Areas{});
    EXPECT_EQ(DrawnPlaceOf(window, "imgRed").window, nullptr);

    // The tip shows where the mouse rests: the form relays its mouse to the tool tips.
    auto& shown = form.Add<forms::Image>("imgShown");
    shown.Move({240, 290, 40, 40});
    shown.SetToolTip("Shown");
    Send(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(10, 0));
    if (!CursorTo(window, {380, 460})) {
        GTEST_SKIP() << "this display cannot put the cursor over the form";
    }
    const auto current = TipWhereTheMouseRests(backend, tips, window, {380, 460});
    ASSERT_TRUE(current.has_value()) << "no tip within five seconds";
    EXPECT_EQ(ToolOf(tips, window, current->uId).first, "Shown");
}

TEST_F(FormsTest, APictureBoxDrawsItsImagesAboveItsLabelsInItsScaleAndHandsThemTheirClicks) {
    HWND picture = Find("picPreview");
    form.picPreview.SetScale(400, 200);  // 300 by 150 pixels: a unit is three quarters
    form.picPreview.SetBackColour(kGrey);
    form.lblMarker.SetBackColour(kRed);  // 15,8 to 45,23
    auto& image = form.Add<forms::Image>("imgInside", &form.picPreview);
    image.Move({40, 20, 80, 40});  // 30,15 to 90,45
    image.SetPicture(Solid(4, 4, kBlue));
    image.SetStretch(true);
    EXPECT_EQ(DrawnPlaceOf(FormWindow(), "imgInside").window, picture);
    EXPECT_EQ(DrawnPlaceOf(FormWindow(), "imgInside").area, (Box{30, 15, 90, 45}));
    Snapshot(picture).Expect(
        {{20, 10, kRed}, {35, 18, kBlue}, {89, 44, kBlue}, {90, 44, kGrey}, {60, 46, kGrey}});
    // Its own background where its picture is clear: the picture box's colour.
    image.SetPicture(forms::Bitmap(1, 1, {0x00000000u}, "clear"));
    Snapshot(picture).Expect({{35, 18, kGrey}, {60, 30, kGrey}});

    std::vector<std::string> events;
    image.MouseDown = [&](const forms::MouseEvent& event) {
        events.push_back("image down " + std::to_string(event.x) + "," + std::to_string(event.y));
    };
    image.Click = [&] { events.emplace_back("image click"); };
    form.picPreview.MouseDown = [&](const forms::MouseEvent&) {
        events.emplace_back("picture down");  // where a skinned window's drag begins
    };
    form.picPreview.Click = [&] { events.emplace_back("picture click"); };
    form.lblMarker.Click = [&] { events.emplace_back("marker click"); };
    const auto click = [&](int x, int y) {
        ::PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        backend.DoEvents();
    };
    click(60, 30);  // 30,15 from its corner: 40,20 in the picture's units
    click(35, 18);  // over the label too
    click(20, 10);  // the label alone
    click(150, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"image down 40,20", "image click", "image down 7,4",
                                                "image click", "marker click", "picture down",
                                                "picture click"}));

    // A new scale places it again, and its tip with it.
    image.SetToolTip("Inside");
    form.picPreview.SetScale(200, 100);  // a unit is one and a half
    EXPECT_EQ(DrawnPlaceOf(FormWindow(), "imgInside").area, (Box{60, 30, 180, 90}));
    HWND tips = ToolTipsOf(FormWindow());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(AreaTools(tips, picture), (Areas{{"Inside", {60, 30, 180, 90}}}));
    // Its picture box going first leaves nothing of it behind.
    form.Remove(form.picPreview);
    EXPECT_EQ(AreaTools(tips, picture), Areas{});
    EXPECT_EQ(DrawnPlaceOf(FormWindow(), "imgInside").window, nullptr);
}

TEST_F(FormsTest, EachListViewHasItsOwnImageListSetAtAnyTime) {
    HWND view = Find("lvwIcons");
    EXPECT_EQ(Send(view, LVM_GETIMAGELIST, LVSIL_SMALL), 0);
    const forms::Bitmap red(1, 1, {0xFF0000FF});
    auto images = std::make_shared<forms::ImageList>();
    images->images = {red, red, red};
    form.lvwIcons.SetImages(images);
    const auto list = [&] {  // looked up each time: loading again makes a new window
        return reinterpret_cast<HIMAGELIST>(Send(Find("lvwIcons"), LVM_GETIMAGELIST, LVSIL_SMALL));
    };
    ASSERT_NE(list(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list()), 3);
    int width = 0, height = 0;
    ImageList_GetIconSize(list(), &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(24, 24)) << "16 pixels at 144 DPI";
    // Another form's list view keeps its own.
    images->images.push_back(red);  // the shown list is a copy: this changes nothing
    EXPECT_EQ(ImageList_GetImageCount(list()), 3);
    form.lvwIcons.SetImages(nullptr);
    EXPECT_EQ(list(), nullptr);
    form.lvwIcons.SetImages(images);
    form.Unload();
    form.Show();
    EXPECT_EQ(ImageList_GetImageCount(list()), 4) << "shown again on loading";
}

// ---- The shared cases, on real windows ----

using testcases::MouseAction;

// The steps of the modal form being shown, run from a timer inside its loop.
std::deque<std::function<void()>> modalSteps;
int idleModalTicks = 0;
forms::Form* modalForm = nullptr;
void CALLBACK RunModalStep(HWND, UINT, UINT_PTR, DWORD) {
    if (!modalSteps.empty()) {
        auto step = std::move(modalSteps.front());
        modalSteps.pop_front();
        step();
    } else if (++idleModalTicks > 100 && modalForm != nullptr && modalForm->Visible()) {
        ADD_FAILURE() << "the steps ran out with the form still modal";
        modalForm->Hide();
    }
}

// The user and the system as Windows sees them: messages to the windows, through the
// program's message loop.
struct Win32FormsDriver {
    Win32FormsBackend backend{kDpi};
    MenuPilotHook menus;

    static HWND WindowOf(const forms::Form& form) { return Win32FormsBackend::WindowOf(form); }
    static HWND WindowOf(const forms::Control& control) {
        return Win32FormsBackend::WindowOf(control);
    }
    // The window that takes a control's mouse, and where the control starts in it: an image
    // is drawn by the window that holds it, found as other processes find it.
    static std::pair<HWND, POINT> MouseWindow(const forms::Form& form,
                                              const forms::Control* control) {
        if (control == nullptr || WindowOf(*control) != nullptr) {
            return {control == nullptr ? WindowOf(form) : WindowOf(*control), {0, 0}};
        }
        const DrawnPlace place = DrawnPlaceOf(WindowOf(form), control->Name());
        return {place.window, {place.area[0], place.area[1]}};
    }
    // A point of a control's scale (or of the form's, at 96 DPI) in its window's pixels.
    static POINT Pixels(const forms::Control* control, int x, int y) {
        if (const auto* picture = dynamic_cast<const forms::Picture*>(control)) {
            RECT inside{};
            ::GetClientRect(WindowOf(*control), &inside);
            return {::MulDiv(x, inside.right, picture->ScaleWidth()),
                    ::MulDiv(y, inside.bottom, picture->ScaleHeight())};
        }
        return {::MulDiv(x, kDpi, 96), ::MulDiv(y, kDpi, 96)};
    }

    void Click(forms::Control& control) {
        const auto [window, origin] = MouseWindow(control.Owner(), &control);
        if (control.Kind() == forms::ControlKind::Button) {
            Send(window, BM_CLICK);
            return;
        }
        const LPARAM at = MAKELPARAM(origin.x + 1, origin.y + 1);
        ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(window, WM_LBUTTONUP, 0, at);
        backend.DoEvents();
    }
    void Key(forms::Form&, forms::Control& focus, int key) {
        ::SetFocus(WindowOf(focus));
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        ::PostMessageW(::GetFocus(), WM_KEYUP, static_cast<WPARAM>(key),
                       static_cast<LPARAM>(0xC0000001));
        backend.DoEvents();
    }
    void Close(forms::Form& form) { Send(WindowOf(form), WM_CLOSE); }
    // Types into a text box or an editable combo's box, as the keyboard would leave it.
    void Type(forms::Control& control, const std::string& text) {
        HWND window = WindowOf(control);
        if (control.Kind() == forms::ControlKind::ComboBox) {
            window = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
        }
        // A combo's edit tells nothing of WM_SETTEXT; what is typed replaces the selection.
        ::SendMessageW(window, EM_SETSEL, 0, -1);
        ::SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
        backend.DoEvents();
    }
    static std::string TextShown(const forms::Control& control) { return Text(WindowOf(control)); }
    static bool Underlined(const forms::Control& control) {
        const auto font = reinterpret_cast<HFONT>(Send(WindowOf(control), WM_GETFONT));
        LOGFONTW description{};
        return font != nullptr && ::GetObjectW(font, sizeof description, &description) != 0 &&
               description.lfUnderline != FALSE;
    }
    void Mouse(forms::Form& form, forms::Control* control, MouseAction action,
               const forms::MouseEvent& event) {
        const auto [window, origin] = MouseWindow(form, control);
        const POINT at = Pixels(control, event.x, event.y);
        static constexpr UINT kMessages[3][4] = {
            {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
            {WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
            {WM_MBUTTONDOWN, WM_MOUSEMOVE, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
        static constexpr WPARAM kHeld[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
        const int button = static_cast<int>(event.button);
        WPARAM state = (event.shift ? MK_SHIFT : 0) | (event.ctrl ? MK_CONTROL : 0);
        if (action == MouseAction::Down || action == MouseAction::DblClick) {
            state |= kHeld[button];
        }
        ::PostMessageW(window, kMessages[button][static_cast<int>(action)], state,
                       MAKELPARAM(origin.x + at.x, origin.y + at.y));
        backend.DoEvents();
    }
    void Modal(forms::Form& form, std::vector<std::function<void()>> steps) {
        modalSteps.assign(steps.begin(), steps.end());
        idleModalTicks = 0;
        modalForm = &form;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &RunModalStep);
        form.ShowModal();
        ::KillTimer(nullptr, timer);
        modalForm = nullptr;
    }
    bool Enabled(const forms::Form& form) const {
        return ::IsWindowEnabled(WindowOf(form)) != FALSE;
    }
    void Wait(int milliseconds) {
        for (const DWORD start = ::GetTickCount();
             ::GetTickCount() - start < static_cast<DWORD>(milliseconds);) {
            backend.DoEvents();
            ::Sleep(5);
        }
    }
    static void Paint(HWND window) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    void Paint(forms::Form& form) { Paint(WindowOf(form)); }
    void Paint(forms::Control& control) { Paint(WindowOf(control)); }
    bool PaintPending(const forms::Control& control) const {
        return ::GetUpdateRect(WindowOf(control), nullptr, FALSE) != FALSE;
    }
    static void Choose(const forms::MenuItem* item) { MenuPilotHook::Choose(item); }
    static std::vector<std::string> MenuShown() { return pilot.shown; }
    void ClickColumn(forms::ListView& view, int column) {
        const auto header = reinterpret_cast<HWND>(Send(WindowOf(view), LVM_GETHEADER));
        RECT item{};
        ASSERT_NE(Send(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&item)),
                  0);
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(header, WM_LBUTTONUP, 0, at);
        backend.DoEvents();
    }
    static std::string IconFile(const forms::Bitmap& picture) {
        return testcases::WriteTempFile("pellmark-forms-square.ico",
                                        testcases::IconFileBytes(picture));
    }
    bool ShowsAt(const forms::Form& form, int x, int y) const {
        HWND window = WindowOf(form);
        RECT outer{};
        ::GetWindowRect(window, &outer);
        // The middle of the 96-DPI pixel, in the window's pixels.
        const int px = (2 * x + 1) * kDpi / 192;
        const int py = (2 * y + 1) * kDpi / 192;
        if (px >= outer.right - outer.left || py >= outer.bottom - outer.top) {
            return false;
        }
        UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
        if (::GetWindowRgn(window, static_cast<HRGN>(region.get())) == ERROR) {
            return true;  // no region: the whole window
        }
        return ::PtInRegion(static_cast<HRGN>(region.get()), px, py) != FALSE;
    }
};

}  // namespace
}  // namespace pellmark::win32

namespace pellmark::testcases {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FormsCases, win32::Win32FormsDriver);
}  // namespace pellmark::testcases
