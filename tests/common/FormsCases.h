// Forms cases written once and run on both backends: natively on the in-memory forms,
// under Wine on real windows, so that the sim cannot drift from what windows do. A driver
// acts as the user and the system would, and provides:
//   backend                              the forms backend under test
//   Click(control)                       the user clicks a button, an image or a picture
//   Key(form, focus, key)                a key pressed while `focus` has the focus
//   Close(form)                          the user closes the window
//   Type(control, text)                  the user types: a text box or an editable combo's
//                                        box now holds `text`
//   TextShown(control)                   the text the control's window shows
//   Underlined(control)                  its text is drawn underlined
//   Mouse(form, control, action, event)  the mouse on a control (null: the form's background)
//   Modal(form, steps)                   ShowModal, the steps run one by one while it shows
//   Enabled(form)                        the form takes the user's input
//   Wait(milliseconds)                   time passes and timers tick
//   Paint(form) / Paint(control)         paints now
//   PaintPending(control)                a repaint was asked for since the last paint
//   ShowsAt(form, x, y)                  the window's shape holds the point (96-DPI pixels)
//   Choose(item)                         the next menu shown: the user picks the item, going
//                                        through its submenus (null: dismisses the menu)
//   MenuShown()                          the last menu shown as the user saw it: a line per
//                                        item, two spaces deeper per submenu, the caption
//                                        then " checked", " disabled", " default", " >"
//   ClickColumn(view, column)            the user clicks a list view's column header
//   IconFile(picture)                    a file whose icon 0 is the picture: its path
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/forms/Form.h"

namespace pellmark::testcases {

enum class MouseAction { Down, Move, Up, DblClick };

// A form that counts its unloads under a log the cases read.
class CountingForm final : public forms::Form {
  public:
    CountingForm(forms::Backend& backend, std::string name, std::vector<std::string>& log)
        : Form(backend, std::move(name)), log_(log) {
        SetClientSize(400, 300);
    }

    bool failUnload = false;  // its unloading raises an error

  protected:
    void OnUnload() override {
        log_.push_back("unload " + Name());
        if (failUnload) {
            throw RunTimeError(kInvalidProcedureCall, "Invalid procedure call or argument");
        }
    }

  private:
    std::vector<std::string>& log_;
};

template <typename Driver>
class FormsCases : public ::testing::Test {
  protected:
    Driver driver;
    std::vector<std::string> log;
    std::vector<std::string> reported;

    void SetUp() override {
        driver.backend.SetErrorReporter([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const RunTimeError& failure) {
                reported.push_back(std::to_string(failure.Number()) + " " + failure.what());
            } catch (const std::exception& failure) {
                reported.push_back(std::string("exception ") + failure.what());
            }
        });
    }

    template <class T>
    static T& Make(forms::Form& form, const char* name, forms::Bounds bounds,
                   forms::Control* container = nullptr) {
        T& made = form.Add<T>(name, container);
        made.Move(bounds);
        return made;
    }

    static std::string Describe(const char* what, const forms::MouseEvent& event) {
        static constexpr const char* kButtons[] = {"left", "right", "middle"};
        return std::string(what) + " " + kButtons[static_cast<int>(event.button)] +
               (event.shift ? " shift" : "") + (event.ctrl ? " ctrl" : "") + " " +
               std::to_string(event.x) + "," + std::to_string(event.y);
    }
};

TYPED_TEST_SUITE_P(FormsCases);

TYPED_TEST_P(FormsCases, AnOwnedFormGoesWithItsOwnerAndMakesItsWindowOnlyWhenItIsNeeded) {
    CountingForm owner(this->driver.backend, "frmOwner", this->log);
    CountingForm owned(this->driver.backend, "frmOwned", this->log);
    forms::WindowSettings settings;
    settings.owner = &owner;
    owned.SetSettings(settings);
    auto& button = this->template Make<forms::Button>(owned, "cmdGo", {10, 10, 80, 24});
    owned.Load();
    button.SetCaption("Go");
    EXPECT_TRUE(owned.Loaded());
    EXPECT_EQ(owned.Peer(), nullptr) << "a form nobody has seen made its window";
    EXPECT_EQ(owner.Peer(), nullptr);
    // Its owner takes it along all the same.
    owner.Show();
    owner.Unload();
    EXPECT_EQ(this->log, (std::vector<std::string>{"unload frmOwner", "unload frmOwned"}));
    EXPECT_FALSE(owned.Loaded());

    // A timer that runs needs the window; the form shows later with what was set meanwhile.
    owned.Load();
    auto& timer = owned.AddTimer("tmrGo");
    int ticks = 0;
    timer.Tick = [&ticks] { ++ticks; };
    timer.SetInterval(10);
    timer.SetEnabled(true);
    EXPECT_NE(owned.Peer(), nullptr);
    EXPECT_EQ(button.Peer(), nullptr);
    this->driver.Wait(60);
    EXPECT_GT(ticks, 0);
    owner.Show();
    owned.Show();
    ASSERT_NE(button.Peer(), nullptr);
    EXPECT_EQ(this->driver.TextShown(button), "Go");

    // Shown, it goes with its owner too, leaving no window and no timer that ticks.
    owner.Unload();
    EXPECT_EQ(this->log.size(), 4u);
    EXPECT_FALSE(owned.Loaded());
    EXPECT_EQ(button.Peer(), nullptr) << "a control kept a window that is gone";
    const int ticked = ticks;
    this->driver.Wait(50);
    EXPECT_EQ(ticks, ticked);
    owner.Show();
    EXPECT_FALSE(owned.Loaded());
    // Unloading the owned form alone leaves its owner.
    owned.Show();
    owned.Unload();
    EXPECT_TRUE(owner.Loaded());
    EXPECT_EQ(owned.Peer(), nullptr);
    EXPECT_EQ(this->log.size(), 5u);
}

TYPED_TEST_P(FormsCases, ShowModalDisablesTheOwnerUntilTheFormHidesOrUnloads) {
    CountingForm owner(this->driver.backend, "frmOwner", this->log);
    CountingForm dialog(this->driver.backend, "frmDialog", this->log);
    forms::WindowSettings settings;
    settings.owner = &owner;
    settings.border = forms::BorderStyle::FixedDialog;
    dialog.SetSettings(settings);
    auto& ok = this->template Make<forms::Button>(dialog, "cmdOK", {10, 10, 80, 24});
    auto& cancel = this->template Make<forms::Button>(dialog, "cmdCancel", {100, 10, 80, 24});
    auto& name = this->template Make<forms::TextBox>(dialog, "txtName", {10, 50, 120, 22});
    ok.SetDefault(true);
    cancel.SetCancel(true);
    ok.Click = [&] { dialog.Hide(); };
    cancel.Click = [&] { dialog.Unload(); };
    owner.Show();

    std::vector<std::string> seen;
    const auto state = [&] {
        seen.push_back(
            std::string(this->driver.Enabled(owner) ? "owner enabled" : "owner disabled") +
            (dialog.Modal() ? ", modal" : ""));
    };
    this->driver.Modal(dialog, {state, [&] { this->driver.Key(dialog, name, 13); }});
    state();
    EXPECT_TRUE(dialog.Loaded());
    EXPECT_FALSE(dialog.Visible());
    this->driver.Modal(dialog, {state, [&] { this->driver.Key(dialog, name, 27); }});
    state();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(seen, (std::vector<std::string>{"owner disabled, modal", "owner enabled",
                                              "owner disabled, modal", "owner enabled"}));
    EXPECT_EQ(this->log, std::vector<std::string>{"unload frmDialog"});
}

TYPED_TEST_P(FormsCases, EnterAndEscClickTheDefaultAndCancelButtonsAndClosingAsksFirst) {
    CountingForm form(this->driver.backend, "frmKeys", this->log);
    auto& ok = this->template Make<forms::Button>(form, "cmdOK", {10, 10, 80, 24});
    auto& other = this->template Make<forms::Button>(form, "cmdOther", {100, 10, 80, 24});
    auto& cancel = this->template Make<forms::Button>(form, "cmdCancel", {190, 10, 80, 24});
    auto& text = this->template Make<forms::TextBox>(form, "txtName", {10, 50, 120, 22});
    std::vector<std::string> clicks;
    ok.Click = [&] { clicks.emplace_back("ok"); };
    other.Click = [&] { clicks.emplace_back("other"); };
    cancel.Click = [&] { clicks.emplace_back("cancel"); };
    ok.SetDefault(true);
    cancel.SetCancel(true);
    form.Show();

    this->driver.Key(form, text, 13);
    this->driver.Key(form, text, 27);
    other.SetDefault(true);  // one default per form
    EXPECT_FALSE(ok.IsDefault());
    this->driver.Key(form, text, 13);
    other.SetEnabled(false);
    cancel.SetVisible(false);
    this->driver.Key(form, text, 13);
    this->driver.Key(form, text, 27);
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "other"}));

    // Closing asks QueryUnload, which can keep the form open; the program's own unload does
    // not ask.
    int asked = 0;
    bool refuse = true;
    form.QueryUnload = [&](bool& refused) {
        ++asked;
        refused = refuse;
    };
    this->driver.Close(form);
    EXPECT_TRUE(form.Loaded() && form.Visible());
    EXPECT_TRUE(this->log.empty());
    refuse = false;
    this->driver.Close(form);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(asked, 2);
    form.Show();
    form.Unload();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(this->log.size(), 2u);
}

TYPED_TEST_P(FormsCases, MouseEventsCarryTheButtonTheShiftKeysAndThePointInTheControlsScale) {
    CountingForm form(this->driver.backend, "frmMouse", this->log);
    auto& picture = this->template Make<forms::Picture>(form, "picArea", {10, 10, 200, 100});
    picture.SetScale(400, 200);
    auto& image = this->template Make<forms::Image>(form, "imgLogo", {250, 10, 40, 40});
    std::vector<std::string> events;
    const auto record = [&](const char* what) {
        return [&events, what](const forms::MouseEvent& event) {
            events.push_back(FormsCases<TypeParam>::Describe(what, event));
        };
    };
    picture.MouseDown = record("down");
    picture.MouseMove = record("move");
    picture.MouseUp = record("up");
    picture.DblClick = [&] { events.emplace_back("double"); };
    image.MouseDown = record("image down");
    form.MouseDown = record("form down");
    form.MouseUp = record("form up");
    form.Show();

    using forms::MouseButton;
    this->driver.Mouse(form, &picture, MouseAction::Down,
                       {.button = MouseButton::Left, .ctrl = true, .x = 100, .y = 40});
    this->driver.Mouse(form, &picture, MouseAction::Move, {.x = 120, .y = 60});
    this->driver.Mouse(form, &picture, MouseAction::Up,
                       {.button = MouseButton::Left, .x = 120, .y = 60});
    this->driver.Mouse(form, &picture, MouseAction::Up,
                       {.button = MouseButton::Right, .shift = true, .x = 8, .y = 192});
    this->driver.Mouse(form, &picture, MouseAction::DblClick, {.x = 4, .y = 4});
    this->driver.Mouse(form, &image, MouseAction::Down,
                       {.button = MouseButton::Middle, .x = 20, .y = 30});
    this->driver.Mouse(form, nullptr, MouseAction::Down,
                       {.button = MouseButton::Right, .x = 300, .y = 250});
    this->driver.Mouse(form, nullptr, MouseAction::Up,
                       {.button = MouseButton::Right, .x = 300, .y = 250});
    EXPECT_EQ(events, (std::vector<std::string>{
                          "down left ctrl 100,40", "move left 120,60", "up left 120,60",
                          "up right shift 8,192", "double", "image down middle 20,30",
                          "form down right 300,250", "form up right 300,250"}));

    // While the picture cannot be reached it hears nothing.
    events.clear();
    picture.SetEnabled(false);
    this->driver.Mouse(form, &picture, MouseAction::Down, {.x = 10, .y = 10});
    EXPECT_TRUE(events.empty());
}

TYPED_TEST_P(FormsCases, ListsAnswerWhichRowIsUnderAPoint) {
    CountingForm form(this->driver.backend, "frmLists", this->log);
    auto& list = this->template Make<forms::ListBox>(form, "lstNames", {10, 10, 150, 120});
    auto& view = this->template Make<forms::ListView>(form, "lvwNames", {170, 10, 200, 120});
    auto& combo = this->template Make<forms::ComboBox>(form, "cboNames", {10, 150, 150, 24});
    view.SetColumns({{"Name", 150}});
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        list.AddItem(name);
        view.AddItem({{name}});
        combo.AddItem(name);
    }
    EXPECT_EQ(list.RowAt(5, 5), -1) << "no window yet";
    form.Show();

    const auto rowsOf = [](const auto& control) {
        std::vector<int> found;
        int lastTop = -1;
        for (int row = 0; row < 3; ++row) {
            const forms::Bounds bounds = control.RowBounds(row);
            EXPECT_GT(bounds.height, 0) << row;
            EXPECT_GT(bounds.top, lastTop) << "rows go down the list";
            lastTop = bounds.top;
            found.push_back(
                control.RowAt(bounds.left + bounds.width / 2, bounds.top + bounds.height / 2));
        }
        const forms::Bounds last = control.RowBounds(2);
        found.push_back(control.RowAt(last.left + 5, last.top + last.height + 4));  // below
        found.push_back(control.RowAt(-5, last.top));                               // beside
        return found;
    };
    EXPECT_EQ(rowsOf(list), (std::vector<int>{0, 1, 2, -1, -1}));
    EXPECT_EQ(rowsOf(view), (std::vector<int>{0, 1, 2, -1, -1}));
    EXPECT_EQ(combo.RowAt(5, 5), -1) << "a drop-down list has no rows to point at";
    EXPECT_EQ(list.RowBounds(3), forms::Bounds{});
}

TYPED_TEST_P(FormsCases, AnEditableComboTakesTypedTextAndShowsTheChosenRow) {
    CountingForm form(this->driver.backend, "frmCombo", this->log);
    auto& combo = this->template Make<forms::ComboBox>(form, "cboName", {10, 10, 150, 24});
    auto& link = this->template Make<forms::Label>(form, "lblLink", {10, 50, 150, 20});
    link.SetCaption("Link");
    combo.SetEditable(true);
    combo.SetItems({"Alpha", "Beta"});
    std::vector<std::string> seen;
    combo.Change = [&] { seen.push_back("change " + combo.Text()); };
    combo.Click = [&] { seen.push_back("click " + combo.Text()); };
    combo.SetText("Start");
    form.Show();
    EXPECT_EQ(this->driver.TextShown(combo), "Start");
    this->driver.Type(combo, "Gamma Ωmega 日本");
    combo.SetListIndex(1);
    EXPECT_EQ(this->driver.TextShown(combo), "Beta");
    combo.SetText("Delta");
    combo.SetText("Delta");
    EXPECT_EQ(this->driver.TextShown(combo), "Delta");
    EXPECT_EQ(seen, (std::vector<std::string>{"change Start", "change Gamma Ωmega 日本",
                                              "click Beta", "change Delta"}));

    // An underlined font shows underlined, and plain again after.
    EXPECT_FALSE(this->driver.Underlined(link));
    link.SetFont({.underline = true});
    EXPECT_TRUE(this->driver.Underlined(link));
    link.SetFont({});
    EXPECT_FALSE(this->driver.Underlined(link));
    EXPECT_TRUE(this->reported.empty());
}

TYPED_TEST_P(FormsCases, PaintHandlersDrawInTheControlsScaleAndRefreshAsksForMore) {
    CountingForm form(this->driver.backend, "frmPaint", this->log);
    auto& picture = this->template Make<forms::Picture>(form, "picArea", {10, 10, 200, 100});
    picture.SetScale(400, 200);
    std::vector<std::string> painted;
    picture.Paint = [&](forms::Canvas& canvas) {
        painted.push_back("picture " + std::to_string(canvas.Width()) + "x" +
                          std::to_string(canvas.Height()));
        canvas.Fill({0, 0, 200, 100}, 0x0000FF);
    };
    form.Paint = [&](forms::Canvas& canvas) {
        painted.push_back("form " + std::to_string(canvas.Width()) + "x" +
                          std::to_string(canvas.Height()));
    };
    form.Show();
    painted.clear();
    this->driver.Paint(picture);
    this->driver.Paint(form);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.front(), "picture 400x200");
    EXPECT_EQ(painted.back(), "form 400x300");

    EXPECT_FALSE(this->driver.PaintPending(picture));
    picture.Refresh();
    EXPECT_TRUE(this->driver.PaintPending(picture));
}

TYPED_TEST_P(FormsCases, AnErrorInFormCodeGoesToTheReporterAndTheFormGoesOn) {
    CountingForm form(this->driver.backend, "frmErrors", this->log);
    auto& button = this->template Make<forms::Button>(form, "cmdFail", {10, 10, 80, 24});
    auto& picture = this->template Make<forms::Picture>(form, "picFail", {10, 50, 100, 50});
    auto& timer = form.AddTimer("tmrFail");
    int clicks = 0;
    int ticks = 0;
    button.Click = [&] {
        if (++clicks == 1) {
            throw RunTimeError(11, "Division by zero");
        }
    };
    timer.Tick = [&] {
        if (++ticks == 1) {
            throw std::runtime_error("tick");
        }
        timer.SetEnabled(false);
    };
    form.Show();
    this->driver.Click(button);
    this->driver.Click(button);
    timer.SetInterval(10);
    timer.SetEnabled(true);
    this->driver.Wait(200);
    picture.Paint = [&](forms::Canvas&) { throw std::bad_alloc(); };
    this->driver.Paint(picture);
    ASSERT_GE(this->reported.size(), 3u);
    EXPECT_EQ(this->reported[0], "11 Division by zero");
    EXPECT_EQ(this->reported[1], "exception tick");
    EXPECT_EQ(this->reported[2], "exception std::bad_alloc");
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(ticks, 2) << "the timer went on after its error";
    EXPECT_TRUE(form.Loaded());

    // A failing unload still takes every window away.
    this->reported.clear();
    form.failUnload = true;
    this->driver.Close(form);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(button.Peer(), nullptr);
    EXPECT_EQ(this->reported, std::vector<std::string>{"5 Invalid procedure call or argument"});
    form.failUnload = false;
    form.Show();
    this->driver.Click(button);
    EXPECT_EQ(clicks, 3) << "loaded again, it works";
}

TYPED_TEST_P(FormsCases, ARegionShapesTheWindow) {
    CountingForm form(this->driver.backend, "frmShaped", this->log);
    forms::WindowSettings settings;
    settings.border = forms::BorderStyle::None;
    form.SetSettings(settings);
    form.SetRegion(std::vector<forms::Bounds>{{0, 0, 100, 10}, {0, 10, 50, 10}, {0, 0, 0, 5}});
    form.Show();
    const auto shows = [&] {
        std::string found;
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{
                 {5, 5}, {99, 9}, {75, 15}, {49, 19}, {5, 20}, {150, 50}}) {
            found += this->driver.ShowsAt(form, x, y) ? "1" : "0";
        }
        return found;
    };
    EXPECT_EQ(shows(), "110100");
    form.SetRegion(std::nullopt);
    EXPECT_EQ(shows(), "111111");
    form.SetRegion(std::vector<forms::Bounds>{});
    EXPECT_EQ(shows(), "000000");
    // Read again when the window is made anew.
    form.SetRegion(std::vector<forms::Bounds>{{0, 0, 10, 10}});
    form.Unload();
    form.Show();
    EXPECT_EQ(shows(), "100000");
}

TYPED_TEST_P(FormsCases, AMenuShowsItsTreeAndRunsOnlyAnItemTheUserCanReach) {
    CountingForm menus(this->driver.backend, "frmMenus", this->log);
    CountingForm main(this->driver.backend, "frmMain", this->log);
    main.Show();
    std::vector<std::string> ran;
    const auto item = [&](forms::MenuItem& parent, const char* name, int index,
                          const char* caption) -> forms::MenuItem& {
        forms::MenuItem& added = parent.Add(name, index, caption);
        added.Click = [&ran, caption] { ran.emplace_back(caption); };
        return added;
    };
    forms::MenuItem& tray = menus.AddMenu("mnuTray");
    item(tray, "mnuOpen", -1, "&Open").isDefault = true;
    item(tray, "mnuHidden", -1, "Hidden").visible = false;
    tray.Add("dsh1", -1, "-");
    forms::MenuItem& patterns = item(tray, "mnuPatterns", -1, "&Patterns");
    item(patterns, "mnuPattern", 0, "Home");
    item(patterns, "mnuPattern", 1, "Work").checked = true;
    forms::MenuItem& more = item(patterns, "mnuMore", -1, "More");
    forms::MenuItem& deep = item(more, "mnuDeep", -1, "Deep Ωmega 日本");
    forms::MenuItem& deepOff = item(more, "mnuDeepOff", -1, "Off");
    deepOff.enabled = false;
    forms::MenuItem& closed = item(tray, "mnuClosed", -1, "Closed");
    closed.visible = false;
    forms::MenuItem& inside = item(closed, "mnuInside", -1, "Inside");
    tray.Add("dsh2", -1, "-");
    item(tray, "mnuGrey", -1, "&Grey").enabled = false;
    tray.Add("dsh3", -1, "-");  // nothing shows after it, so neither does it
    item(tray, "mnuGone", -1, "Gone").visible = false;

    this->driver.Choose(&deep);
    menus.ShowPopup(tray, &main);
    EXPECT_EQ(this->driver.MenuShown(),
              (std::vector<std::string>{"&Open default", "-", "&Patterns >", "  Home",
                                        "  Work checked", "  More >", "    Deep Ωmega 日本",
                                        "    Off disabled", "-", "&Grey disabled"}));
    this->driver.Choose(tray.Find("mnuPattern", 1));
    menus.ShowPopup(tray, &main);
    EXPECT_EQ(ran, (std::vector<std::string>{"Deep Ωmega 日本", "Work"}));

    // Disabled, hidden, inside a hidden submenu, or dismissed: nothing runs.
    for (forms::MenuItem* unreachable : {tray.Find("mnuGrey"), &deepOff, tray.Find("mnuHidden"),
                                         &inside, static_cast<forms::MenuItem*>(nullptr)}) {
        this->driver.Choose(unreachable);
        menus.ShowPopup(tray, &main);
    }
    EXPECT_EQ(ran.size(), 2u);

    // The submenu rebuilt from its start shows only the new items; emptied, it opens none.
    patterns.RemoveFrom(0);
    for (int i = 0; i < 3; ++i) {
        static constexpr const char* kNames[] = {"Alpha", "Beta", "Gamma"};
        item(patterns, "mnuPattern", i, kNames[i]);
    }
    tray.Find("mnuOpen")->isDefault = false;
    tray.Find("mnuGrey")->enabled = true;
    this->driver.Choose(tray.Find("mnuPattern", 2));
    menus.ShowPopup(tray, &main);
    EXPECT_EQ(this->driver.MenuShown(),
              (std::vector<std::string>{"&Open", "-", "&Patterns >", "  Alpha", "  Beta", "  Gamma",
                                        "-", "&Grey"}));
    patterns.RemoveFrom(0);
    this->driver.Choose(&patterns);
    menus.ShowPopup(tray, &main);
    EXPECT_EQ(this->driver.MenuShown(),
              (std::vector<std::string>{"&Open", "-", "&Patterns", "-", "&Grey"}));
    EXPECT_EQ(ran, (std::vector<std::string>{"Deep Ωmega 日本", "Work", "Gamma", "&Patterns"}));
    EXPECT_TRUE(this->reported.empty());
}

TYPED_TEST_P(FormsCases, AListViewsHeaderClicksOnlyWhenItsColumnsAreClickable) {
    CountingForm form(this->driver.backend, "frmHeader", this->log);
    auto& view = this->template Make<forms::ListView>(form, "lvwIcons", {10, 10, 300, 150});
    view.SetColumns({{"Icon", 60}, {"Name", 200}});
    view.AddItem({{"", "Alpha"}});
    std::vector<int> clicked;
    view.ColumnClick = [&](int column) { clicked.push_back(column); };
    form.Show();
    this->driver.ClickColumn(view, 1);
    EXPECT_TRUE(clicked.empty()) << "headers that are not buttons";

    view.SetColumnsClickable(true);
    this->driver.ClickColumn(view, 1);
    this->driver.ClickColumn(view, 0);
    EXPECT_EQ(clicked, (std::vector<int>{1, 0}));
    view.SetEnabled(false);
    this->driver.ClickColumn(view, 1);
    EXPECT_EQ(clicked.size(), 2U) << "a disabled list";
    EXPECT_FALSE(view.Item(0).checked) << "a header click is no row's check";
}

TYPED_TEST_P(FormsCases, AFilesIconComesAtTheSizeAskedWithItsSurroundingsTransparent) {
    // A red square, 16 pixels wide, in the middle of a 32-pixel icon.
    std::vector<std::uint32_t> pixels(32 * 32, 0);
    for (int y = 8; y < 24; ++y) {
        for (int x = 8; x < 24; ++x) {
            pixels[static_cast<std::size_t>(y * 32 + x)] = 0xFF0000FF;
        }
    }
    const std::string file = this->driver.IconFile(forms::Bitmap(32, 32, pixels));
    struct Case {
        int size;
        int inside;   // a point of the square
        int outside;  // a point around it
    };
    for (const Case& c : {Case{32, 16, 3}, Case{16, 8, 1}, Case{48, 24, 4}}) {
        const forms::Bitmap icon = this->driver.backend.LoadFileIcon(file, 0, c.size);
        ASSERT_EQ(icon.Width(), c.size);
        ASSERT_EQ(icon.Height(), c.size);
        const std::uint32_t in =
            icon.Pixels()[static_cast<std::size_t>(c.inside * c.size + c.inside)];
        const std::uint32_t out =
            icon.Pixels()[static_cast<std::size_t>(c.outside * c.size + c.outside)];
        EXPECT_EQ(in, 0xFF0000FFu) << c.size << ": opaque red inside";
        EXPECT_EQ(out >> 24, 0u) << c.size << ": transparent around";
    }
    EXPECT_TRUE(this->driver.backend.LoadFileIcon(file, 1, 32).Empty()) << "no second icon";
    EXPECT_TRUE(this->driver.backend.LoadFileIcon(file + ".missing", 0, 32).Empty());
}

TYPED_TEST_P(FormsCases, AHiddenPageGetsItsWindowsWhenItFirstShowsWithTheStateSetMeanwhile) {
    CountingForm form(this->driver.backend, "frmPages", this->log);
    auto& page = this->template Make<forms::Picture>(form, "picPage", {0, 0, 200, 100});
    page.SetVisible(false);
    auto& inside = this->template Make<forms::Button>(form, "cmdInside", {10, 10, 80, 24}, &page);
    auto& hidden = this->template Make<forms::CheckBox>(form, "chkHidden", {10, 40, 80, 24}, &page);
    hidden.SetVisible(false);
    auto& outside = this->template Make<forms::Button>(form, "cmdOutside", {220, 10, 80, 24});
    int clicks = 0;
    inside.Click = [&clicks] { ++clicks; };
    form.Show();
    EXPECT_NE(outside.Peer(), nullptr);
    EXPECT_EQ(page.Peer(), nullptr) << "a page nobody opened made windows";
    EXPECT_EQ(inside.Peer(), nullptr);

    inside.SetCaption("Go");
    hidden.SetValue(1);
    page.SetVisible(true);
    ASSERT_NE(page.Peer(), nullptr);
    ASSERT_NE(inside.Peer(), nullptr);
    EXPECT_EQ(hidden.Peer(), nullptr) << "a hidden control inside made its window";
    this->driver.Click(inside);
    EXPECT_EQ(clicks, 1);
    hidden.SetVisible(true);
    EXPECT_NE(hidden.Peer(), nullptr);
    // Hidden again, the windows stay, and a control added to it gets its window at once.
    page.SetVisible(false);
    EXPECT_NE(inside.Peer(), nullptr);
    auto& later = this->template Make<forms::Button>(form, "cmdLater", {10, 70, 80, 24}, &page);
    EXPECT_NE(later.Peer(), nullptr);
    form.Unload();
    EXPECT_EQ(inside.Peer(), nullptr);
    EXPECT_EQ(later.Peer(), nullptr);
}

REGISTER_TYPED_TEST_SUITE_P(FormsCases,
                            AHiddenPageGetsItsWindowsWhenItFirstShowsWithTheStateSetMeanwhile,
                            AnOwnedFormGoesWithItsOwnerAndMakesItsWindowOnlyWhenItIsNeeded,
                            ShowModalDisablesTheOwnerUntilTheFormHidesOrUnloads,
                            EnterAndEscClickTheDefaultAndCancelButtonsAndClosingAsksFirst,
                            MouseEventsCarryTheButtonTheShiftKeysAndThePointInTheControlsScale,
                            ListsAnswerWhichRowIsUnderAPoint,
                            AnEditableComboTakesTypedTextAndShowsTheChosenRow,
                            PaintHandlersDrawInTheControlsScaleAndRefreshAsksForMore,
                            AnErrorInFormCodeGoesToTheReporterAndTheFormGoesOn,
                            ARegionShapesTheWindow,
                            AMenuShowsItsTreeAndRunsOnlyAnItemTheUserCanReach,
                            AListViewsHeaderClicksOnlyWhenItsColumnsAreClickable,
                            AFilesIconComesAtTheSizeAskedWithItsSurroundingsTransparent);

}  // namespace pellmark::testcases
