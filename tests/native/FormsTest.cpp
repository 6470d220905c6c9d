// The behaviour every form relies on, on the in-memory backend.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/sim/SimForms.h"
#include "tests/common/FormsCases.h"

namespace pellmark::testcases {
namespace {

// The user and the system, on the in-memory forms: each act goes through the backend as a
// window procedure would, so that errors reach the reporter.
struct SimFormsDriver {
    sim::SimFormsBackend backend;

    void Click(forms::Control& control) {
        backend.Deliver([&] {
            switch (control.Kind()) {
                case forms::ControlKind::Button:
                    static_cast<forms::Button&>(control).UserClick();
                    break;
                case forms::ControlKind::Image:
                    static_cast<forms::Image&>(control).UserClick();
                    break;
                case forms::ControlKind::Picture:
                    static_cast<forms::Picture&>(control).UserClick();
                    break;
                default:
                    FAIL() << "no click for " << control.Name();
            }
        });
    }
    void Key(forms::Form& form, forms::Control& focus, int key) {
        backend.Deliver([&] {
            focus.UserKeyDown(key);
            form.UserDialogKey(key);
        });
    }
    void Type(forms::Control& control, const std::string& text) {
        backend.Deliver([&] {
            if (auto* combo = dynamic_cast<forms::ComboBox*>(&control)) {
                combo->UserType(text);
            } else if (auto* box = dynamic_cast<forms::TextBox*>(&control)) {
                box->UserType(text);
            }
        });
    }
    // In memory, what shows is what the control holds.
    static std::string TextShown(const forms::Control& control) {
        if (const auto* combo = dynamic_cast<const forms::ComboBox*>(&control)) {
            return combo->Text();
        }
        return control.Caption();
    }
    static bool Underlined(const forms::Control& control) { return control.GetFont().underline; }
    void Close(forms::Form& form) {
        backend.Deliver([&] { form.UserClose(); });
    }
    void Mouse(forms::Form& form, forms::Control* control, MouseAction action,
               const forms::MouseEvent& event) {
        backend.Deliver([&] {
            switch (action) {
                case MouseAction::Down:
                    control ? control->UserMouseDown(event) : form.UserMouseDown(event);
                    break;
                case MouseAction::Move:
                    control ? control->UserMouseMove(event) : form.UserMouseMove(event);
                    break;
                case MouseAction::Up:
                    control ? control->UserMouseUp(event) : form.UserMouseUp(event);
                    break;
                case MouseAction::DblClick:
                    control ? control->UserDblClick() : form.UserDblClick();
                    break;
            }
        });
    }
    void Modal(forms::Form& form, std::vector<std::function<void()>> steps) {
        for (auto& step : steps) {
            backend.modalSteps.push_back([step](forms::Form&) { step(); });
        }
        form.ShowModal();
        EXPECT_EQ(backend.stuckModals, 0) << "the steps ran out with the form still modal";
    }
    bool Enabled(const forms::Form& form) const { return !backend.Disabled(form); }
    void Wait(int milliseconds) { backend.AdvanceClock(milliseconds); }
    void Paint(forms::Form& form) { static_cast<void>(backend.PaintOf(form)); }
    void Paint(forms::Control& control) {
        static_cast<void>(backend.PaintOf(control));
        std::erase(backend.redrawn, control.Name());
    }
    bool PaintPending(const forms::Control& control) {
        return std::erase(backend.redrawn, control.Name()) > 0;
    }
    void Choose(const forms::MenuItem* item) {
        backend.menuChoices.push_back(item != nullptr ? item->ElementKey() : std::string());
    }
    // The log's lines without their element keys.
    std::vector<std::string> MenuShown() const {
        std::vector<std::string> lines;
        if (backend.menuLog.empty()) {
            return lines;
        }
        for (const std::string& line : backend.menuLog.back().lines) {
            const std::size_t indent = line.find_first_not_of(' ');
            const std::size_t afterKey = line.find(' ', indent);
            lines.push_back(line.substr(0, indent) + line.substr(afterKey + 1));
        }
        return lines;
    }
    void ClickColumn(forms::ListView& view, int column) {
        backend.Deliver([&] { view.UserClickColumn(column); });
    }
    std::string IconFile(const forms::Bitmap& picture) {
        const std::string path = "C:\\Icons\\square.ico";
        backend.fileIcons[{path, 0}] = picture;
        return path;
    }
    bool ShowsAt(const forms::Form& form, int x, int y) const {
        if (x < 0 || y < 0 || x >= form.ClientWidth() || y >= form.ClientHeight()) {
            return false;
        }
        if (!form.Region()) {
            return true;
        }
        for (const forms::Bounds& run : *form.Region()) {
            if (x >= run.left && x < run.left + run.width && y >= run.top &&
                y < run.top + run.height) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Sim, FormsCases, SimFormsDriver);

}  // namespace pellmark::testcases

namespace pellmark::forms {
namespace {

class FormsTest : public ::testing::Test {
  protected:
    sim::SimFormsBackend backend;
    Form form{backend, "frmTest"};
    std::vector<std::string> events;
    std::function<void()> Record(std::string name) {
        return [this, name] { events.push_back(name); };
    }
};

TEST_F(FormsTest, CodeAndUserChangesRunTheHandlingOnlyWhenTheValueChanges) {
    auto& check = form.Add<CheckBox>("chk");
    auto& slider = form.Add<Slider>("sld");
    auto& text = form.Add<TextBox>("txt");
    auto& list = form.Add<ListBox>("lst");
    check.Click = Record("chk");
    slider.Change = Record("sld");
    text.Change = Record("txt");
    list.Click = Record("lst");
    slider.SetRange(1, 10);
    list.AddItem("a");
    list.AddItem("b");
    events.clear();

    check.SetValue(1);
    check.SetValue(1);
    check.UserClick();  // back to 0
    slider.SetValue(5);
    slider.SetValue(50);  // kept at 10
    slider.SetValue(10);
    text.SetText("x");
    text.UserType("x");
    list.SetListIndex(1);
    list.UserSelect(1);
    list.SetListIndex(7);  // no such row
    EXPECT_EQ(events, (std::vector<std::string>{"chk", "chk", "sld", "sld", "txt", "lst"}));
    EXPECT_EQ(check.Value(), 0);
    EXPECT_EQ(slider.Value(), 10);

    // Emptying a list drops the selection without a click; a greyed box ticks on a click.
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    check.SetValue(2);
    check.UserClick();
    EXPECT_EQ(check.Value(), 1);
    EXPECT_EQ(events.size(), 8u);
}

TEST_F(FormsTest, UnreachableControlsIgnoreTheUserAndOptionsGroupByContainer) {
    auto& frame = form.Add<Frame>("fra");
    auto& button = form.Add<Button>("cmd", &frame);
    button.Click = Record("cmd");
    button.SetEnabled(false);
    button.UserClick();
    button.SetEnabled(true);
    frame.SetVisible(false);
    button.UserClick();
    frame.SetVisible(true);
    button.UserClick();
    EXPECT_EQ(events, std::vector<std::string>{"cmd"});

    // Option buttons of one container are one group.
    events.clear();
    auto& group = form.Add<Frame>("group");
    auto& a = form.Add<OptionButton>("optA");
    auto& b = form.Add<OptionButton>("optB");
    auto& c = form.Add<OptionButton>("optC", &group);
    a.Click = Record("a");
    b.Click = Record("b");
    c.Click = Record("c");
    a.SetValue(true);
    c.SetValue(true);
    b.UserClick();
    b.UserClick();
    EXPECT_EQ(events, (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(c.Value());  // another group

    // A list view row checked from code runs no ItemCheck.
    auto& view = form.Add<ListView>("ListView1");
    std::vector<int> checked;
    view.ItemCheck = [&](int index) { checked.push_back(index); };
    view.AddItem({.texts = {"", "Notes"}});
    view.AddItem({.texts = {"", "Tools"}});
    view.SetChecked(1, true);
    view.UserToggleCheck(0);
    view.UserToggleCheck(1);
    EXPECT_EQ(checked, (std::vector<int>{0, 1}));
    EXPECT_TRUE(view.Item(0).checked);
    EXPECT_FALSE(view.Item(1).checked);
}

TEST_F(FormsTest, TimersTickOnTheClockWhileTheFormIsLoaded) {
    auto& timer = form.AddTimer("tmr");
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    timer.SetInterval(100);
    timer.SetEnabled(true);
    backend.AdvanceClock(1000);
    EXPECT_EQ(ticks, 0);  // no window yet

    form.Load();
    backend.AdvanceClock(250);
    EXPECT_EQ(ticks, 2);
    timer.SetInterval(0);
    backend.AdvanceClock(1000);
    EXPECT_EQ(ticks, 2);
    timer.SetInterval(300);  // starts its interval again from now
    backend.AdvanceClock(299);
    EXPECT_EQ(ticks, 2);
    backend.AdvanceClock(1);
    EXPECT_EQ(ticks, 3);

    // A tick that unloads the form stops every timer with it.
    timer.Tick = [&] {
        ++ticks;
        form.Unload();
    };
    backend.AdvanceClock(3000);
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(form.Loaded());
}

TEST_F(FormsTest, RemovingAContainerTakesItsControls) {
    auto& picture = form.Add<Picture>("pic");
    form.Add<Label>("lbl(1)", &picture);
    form.Add<Label>("lbl(2)", &picture);
    form.Add<Label>("other");
    form.Remove(picture);
    ASSERT_EQ(form.Controls().size(), 1u);
    EXPECT_EQ(form.Controls()[0]->Name(), "other");
}

TEST_F(FormsTest, MenuItemsAreFoundByNameAndIndexAndEachShowIsLoggedWithItsForms) {
    Form asker(backend, "frmMain");
    MenuItem& menu = form.AddMenu("mnuTray");
    MenuItem& open = menu.Add("mnuOpen", -1, "&Open");
    MenuItem& patterns = menu.Add("mnuPattern", -1, "&Patterns");
    MenuItem& second = patterns.Add("mnuPattern", 1, "Work");
    patterns.Add("mnuPattern", 2, "Home").checked = true;
    ASSERT_EQ(form.Menus().size(), 1u);
    EXPECT_EQ(form.Menus()[0].get(), &menu);
    EXPECT_EQ(menu.Find("mnuPattern"), &patterns) << "depth first, the parent before its children";
    EXPECT_EQ(menu.Find("mnuPattern", 1), &second);
    EXPECT_EQ(menu.Find("mnuPattern", 3), nullptr);
    EXPECT_EQ(menu.Find("mnuTray"), &menu);
    EXPECT_EQ(second.Parent(), &patterns);
    EXPECT_EQ(patterns.Parent(), &menu);
    EXPECT_EQ(second.ElementKey(), "mnuPattern(1)");
    EXPECT_EQ(open.ElementKey(), "mnuOpen");

    backend.menuChoices = {"mnuPattern(2)", "nothing such"};
    form.ShowPopup(menu, &asker, MenuPoint{12, 34});
    form.ShowPopup(menu);
    ASSERT_EQ(backend.menuLog.size(), 2u);
    const auto& first = backend.menuLog[0];
    EXPECT_EQ((std::vector<std::string>{first.menu, first.owner, first.asker}),
              (std::vector<std::string>{"mnuTray", "frmTest", "frmMain"}));
    ASSERT_TRUE(first.at.has_value());
    EXPECT_EQ(std::make_pair(first.at->x, first.at->y), std::make_pair(12, 34));
    EXPECT_EQ(first.lines,
              (std::vector<std::string>{"mnuOpen &Open", "mnuPattern &Patterns >",
                                        "  mnuPattern(1) Work", "  mnuPattern(2) Home checked"}));
    EXPECT_EQ(backend.menuLog[1].asker, "frmTest");
    EXPECT_FALSE(backend.menuLog[1].at.has_value());
    EXPECT_TRUE(form.Loaded()) << "the owner's window owns the menu";

    patterns.RemoveFrom(1);
    EXPECT_EQ(patterns.Items().size(), 1u);
    patterns.RemoveFrom(5);
    EXPECT_EQ(menu.Find("mnuPattern", 2), nullptr);

    // Owner-drawn menus: on until taken off or the form unloads, and never twice off.
    auto images = std::make_shared<MenuImages>();
    images->images.resize(2);
    form.InstallOwnerDrawnMenus(images);
    EXPECT_EQ(form.OwnerDrawnImages(), images);
    form.UninstallOwnerDrawnMenus();
    form.UninstallOwnerDrawnMenus();
    form.InstallOwnerDrawnMenus(images);
    form.Unload();
    form.Unload();
    EXPECT_EQ(backend.ownerDrawnLog,
              (std::vector<std::string>{"install frmTest 2 images", "uninstall frmTest",
                                        "install frmTest 2 images", "uninstall frmTest"}));
    EXPECT_EQ(form.OwnerDrawnImages(), nullptr);
}

TEST_F(FormsTest, PaintIsRecordedInTheScaleOfThePaintedControl) {
    auto& picture = form.Add<Picture>("picArea");
    picture.Move({0, 0, 200, 100});
    picture.SetScale(400, 200);
    const Bitmap tiny(2, 1, {0xFF0000FF, 0xFFFF0000}, "tiny.bmp");
    picture.Paint = [&](Canvas& canvas) {
        canvas.Clip({10, 10, 100, 50});
        canvas.Fill({0, 0, canvas.Width(), canvas.Height()}, 0x0000FF);
        canvas.Frame({1, 2, 3, 4}, 0xFF0000);
        canvas.Line(0, 5, 50, 5, 0x00FF00);
        canvas.Text("Ωmega", {5, 6, 70, 20}, {.colour = 0x102030, .align = TextAlign::Centre});
        canvas.Draw(tiny, {20, 20, 8, 4});
    };
    form.Show();
    EXPECT_EQ(backend.PaintOf(picture),
              (std::vector<std::string>{"clip 10 10 100 50", "fill 0 0 400 200 #ff0000",
                                        "frame 1 2 3 4 #0000ff", "line 0 5 50 5 #00ff00",
                                        "text 5 6 70 20 #302010 centre Ωmega",
                                        "picture 20 20 8 4 tiny.bmp"}));
    // A repaint is asked for when the picture changes, or on Refresh.
    picture.SetPicture(tiny);
    backend.redrawn.clear();
    picture.SetPicture(tiny);  // the same: nothing to do
    picture.Refresh();
    form.Refresh();
    EXPECT_EQ(backend.redrawn, (std::vector<std::string>{"picArea", "frmTest"}));
}

TEST(BitmapTest, PixelsMatchTheSizeAndKeepTheirOpacityApart) {
    EXPECT_THROW(Bitmap(2, 2, {1, 2, 3}), std::invalid_argument);
    EXPECT_THROW(Bitmap(0, 1, {}), std::invalid_argument);
    const Bitmap opaque(2, 1, {0xFF123456, 0xFF654321});
    const Bitmap seeThrough(1, 2, {0xFF000000, 0x80ABCDEF});
    EXPECT_FALSE(opaque.HasTransparency());
    EXPECT_TRUE(seeThrough.HasTransparency());
    EXPECT_EQ(opaque.ColourAt(1, 0), 0x654321u);
    EXPECT_EQ(seeThrough.ColourAt(0, 1), 0xABCDEFu);
    EXPECT_EQ(opaque.ColourAt(2, 0) + opaque.ColourAt(0, -1), 0u) << "outside";
    // Copies share their pixels; another picture with the same pixels is another picture.
    const Bitmap copy = opaque;
    EXPECT_EQ(copy, opaque);
    EXPECT_FALSE(Bitmap(2, 1, {0xFF123456, 0xFF654321}) == opaque);
    EXPECT_TRUE(Bitmap().Empty());
    EXPECT_EQ(Bitmap().Width() + Bitmap().Height(), 0);
}

}  // namespace
}  // namespace pellmark::forms
