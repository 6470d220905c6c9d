// Explorer's switches, the icon cache and the icon size: the registry values read and
// written as the Misc and Icon Size pages show and change them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/ExplorerSwitches.h"
#include "settings/RegistryAccess.h"
#include "tests/common/ForwardingRegistry.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

using platform::MessageIcon;

class ExplorerSwitchesTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    ExplorerSwitchesTest() {
        desktop.icons = {{"Recycle Bin", 18, 2, 0}};
        services.repaintScreen = [this] { ++repaints; };
    }

    // The stored DWORD of a switch; nothing when it is absent.
    std::optional<std::int32_t> Switch(const char* name) {
        RegistryValue value;
        if (GetRegistryValue(registry, "HKCU", kExplorerPoliciesKey, name, "D", std::int32_t{-99},
                             value) != 0) {
            return std::nullopt;
        }
        return std::get<std::int32_t>(value);
    }
    void SetSwitch(const char* name, std::int32_t stored) {
        ASSERT_EQ(SetRegistryValue(registry, "HKCU", kExplorerPoliciesKey, name, "D", stored), 0u);
    }
    std::optional<std::string> Text(const char* root, const char* key, const char* name) {
        RegistryValue value;
        if (GetRegistryValue(registry, root, key, name, "S", std::string(), value) != 0) {
            return std::nullopt;
        }
        return std::get<std::string>(value);
    }
    std::optional<std::string> CacheSize() {
        return Text("HKLM", kExplorerKey, "Max Cached Icons");
    }
    std::optional<std::string> IconSize() {
        return Text("HKCU", kWindowMetricsKey, "Shell Icon Size");
    }
    void ShowPage(int tab) {
        form->Navigation().SideButtonClick(2);
        form->Navigation().TabClick(tab);
    }
    [[nodiscard]] std::vector<int> Boxes() const {
        std::vector<int> values;
        for (const forms::CheckBox* box : form->misc.chkMisc) {
            values.push_back(box->Value());
        }
        return values;
    }

    int repaints = 0;
};

TEST_F(ExplorerSwitchesTest, TheBoxesShowTheStoredSwitchesAndWriteThemBothWays) {
    struct Case {
        std::optional<std::int32_t> stored;  // the same value in all five; none: absent
        std::vector<int> boxes;
    };
    const Case cases[] = {
        {std::nullopt, {0, 1, 1, 1, 1}},
        {0, {0, 1, 1, 1, 1}},
        {1, {1, 0, 0, 0, 0}},
        {2, {0, 1, 1, 1, 1}},  // only a stored 1 counts
        {-1, {0, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        for (const ExplorerSwitch& entry : kExplorerSwitches) {
            static_cast<void>(
                DeleteRegistryValue(registry, "HKCU", kExplorerPoliciesKey, entry.valueName));
            if (c.stored) {
                SetSwitch(entry.valueName, *c.stored);
            }
        }
        static_cast<void>(DeleteRegistryValue(registry, "HKLM", kExplorerKey, "Max Cached Icons"));
        ASSERT_TRUE(Start());
        EXPECT_EQ(Boxes(), c.boxes) << (c.stored ? std::to_string(*c.stored) : "absent");
        for (const ExplorerSwitch& entry : kExplorerSwitches) {
            EXPECT_EQ(Switch(entry.valueName), c.stored) << entry.valueName;
        }
        // An absent cache size shows as 0 and stays absent.
        EXPECT_EQ(form->iconSize.txtIconCache.Text(), "0");
        EXPECT_EQ(CacheSize(), std::nullopt);
        EXPECT_EQ(IconSize(), std::nullopt) << "the slider's start writes no size";
    }
    EXPECT_EQ(Messages(), std::vector<std::string>{});

    // Each box writes its switch both ways.
    ASSERT_TRUE(Start());
    ShowPage(1);
    // The value each box writes when ticked (clearing writes the other).
    const std::pair<const char*, std::int32_t> switches[] = {{"NoDesktop", 1},
                                                             {"NoNetHood", 0},
                                                             {"NoInternetIcon", 0},
                                                             {"NoActiveDesktop", 0},
                                                             {"NoSaveSettings", 0}};
    for (std::size_t i = 0; i < kExplorerSwitches.size(); ++i) {
        forms::CheckBox& box = *form->misc.chkMisc[i];
        EXPECT_EQ(box.ToolTip(), "Requires log off or Windows to be restarted to take effect");
        const int before = box.Value();
        box.UserClick();
        ASSERT_NE(box.Value(), before);
        EXPECT_EQ(Switch(switches[i].first),
                  box.Value() == 1 ? switches[i].second : 1 - switches[i].second)
            << switches[i].first;
        box.UserClick();
        EXPECT_EQ(Switch(switches[i].first),
                  box.Value() == 1 ? switches[i].second : 1 - switches[i].second)
            << switches[i].first;
        EXPECT_EQ(GetExplorerSwitch(registry, i), box.Value() == 1);
    }
    // The network box of an absent value starts ticked; clearing it stores NoNetHood = 1.
    static_cast<void>(DeleteRegistryValue(registry, "HKCU", kExplorerPoliciesKey, "NoNetHood"));
    ASSERT_TRUE(Start());
    ShowPage(1);
    ASSERT_EQ(form->misc.chkMisc[1]->Value(), 1);
    form->misc.chkMisc[1]->UserClick();
    EXPECT_EQ(Switch("NoNetHood"), 1);
}

TEST_F(ExplorerSwitchesTest, TheCacheBoxStoresEveryNumberTypedAndNothingElse) {
    ASSERT_TRUE(SetRegistryValue(registry, "HKLM", kExplorerKey, "Max Cached Icons", "S",
                                 std::string("2000 icons")) == 0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->iconSize.txtIconCache.Text(), "2000");
    EXPECT_EQ(CacheSize(), "2000 icons") << "shown, not written back";
    EXPECT_EQ(form->iconSize.txtIconCache.ToolTip(), "Needs restart to take effect");
    ShowPage(0);

    forms::TextBox& box = form->iconSize.txtIconCache;
    std::vector<std::optional<std::string>> stored;
    for (const char* typed : {"", "1", "15", "150", "1500"}) {
        box.UserType(typed);
        stored.push_back(CacheSize());
    }
    EXPECT_EQ(stored,
              (std::vector<std::optional<std::string>>{"2000 icons", "1", "15", "150", "1500"}));
    // Typed, then what the value holds.
    const std::pair<const char*, const char*> cases[] = {{"2.5", "2"},
                                                         {"3.5", "4"},
                                                         {"-2.5", "-2"},
                                                         {" 7 ", "7"},
                                                         {"+8", "8"},
                                                         {"1e3", "1000"},
                                                         {".5", "0"},
                                                         {"1.5E+1", "15"},
                                                         {"2147483647", "2147483647"},
                                                         {"2147483648", "2147483647"},
                                                         {"-2147483648", "-2147483648"},
                                                         {"1e400", "-2147483648"}};
    for (const auto& [typed, holds] : cases) {
        box.UserType(typed);
        EXPECT_EQ(CacheSize(), holds) << typed;
    }

    // Stored texts read as their leading number.
    const std::pair<const char*, std::int32_t> texts[] = {
        {"500", 500},       {"  64", 64},  {"120 icons", 120}, {"2.5", 2}, {"3.5kb", 4},
        {"-12", -12},       {"1e2x", 100}, {"abc", 0},         {"", 0},    {"x12", 0},
        {"99999999999", 0}, {"+5", 5},     {"7.", 7},          {"1e", 1}};
    for (const auto& [text, number] : texts) {
        EXPECT_EQ(LeadingNumber(text), number) << text;
        ASSERT_EQ(SetRegistryValue(registry, "HKLM", kExplorerKey, "Max Cached Icons", "S",
                                   std::string(text)),
                  0u);
        EXPECT_EQ(GetMaxCachedIcons(registry), number) << text;
    }
    SetMaxCachedIcons(registry, 4096);
    EXPECT_EQ(CacheSize(), "4096");
}

TEST_F(ExplorerSwitchesTest, TheSliderStoresEachSizeItPassesAndShowsTheSample) {
    ASSERT_TRUE(Start());
    ShowPage(0);
    IconSizePage& page = form->iconSize;
    EXPECT_EQ(page.sldIconSize.Min(), 2);
    EXPECT_EQ(page.sldIconSize.Max(), 100);
    EXPECT_EQ(page.sldIconSize.Value(), 32);
    EXPECT_EQ(page.lblIconSize.Caption(), "32 x 32  pixels");
    EXPECT_EQ(page.imgIconPreview.GetBounds().width, 32);

    std::vector<std::optional<std::string>> stored;
    for (int size = 33; size <= 48; ++size) {
        page.sldIconSize.UserMove(size);
        stored.push_back(IconSize());
    }
    ASSERT_EQ(stored.size(), 16u);
    EXPECT_EQ(stored.front(), "33");
    EXPECT_EQ(stored.back(), "48");
    EXPECT_EQ(page.lblIconSize.Caption(), "48 x 48");
    EXPECT_EQ(page.imgIconPreview.GetBounds().width, 48);
    EXPECT_EQ(page.imgIconPreview.GetBounds().height, 48);
    EXPECT_EQ(repaints, 0);
    page.sldIconSize.UserMouseUp({});
    EXPECT_EQ(repaints, 1);

    // The slider never gives 0, but the routine guards against it.
    dialogs.shown.clear();
    EXPECT_FALSE(SetDesktopIconSize(registry, dialogs, 0));
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Critical [SetDesktopIconSize] Size can't be set to 0"}));
    EXPECT_EQ(IconSize(), "48");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// A registry that refuses every write: the icon size says so, the switches stay silent.
class ReadOnlyRegistry final : public testcases::ForwardingRegistry {
  public:
    ReadOnlyRegistry() : ForwardingRegistry(empty_) {}
    std::uint32_t CreateKey(platform::RegistryKey, const std::string&, std::uint32_t,
                            platform::RegistryKey&) override {
        return platform::kErrorAccessDenied;
    }

  private:
    sim::SimRegistry empty_;
};

TEST(ExplorerSwitchesFailures, AFailedSizeWriteIsReportedAndTheOthersAreNot) {
    ReadOnlyRegistry registry;
    sim::SimDialogs dialogs;
    EXPECT_FALSE(SetDesktopIconSize(registry, dialogs, 48));
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Critical Failed to change desktop icons' size"}));
    SetExplorerSwitch(registry, 0, true);
    SetMaxCachedIcons(registry, 10);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(GetHideDesktop(registry));
    EXPECT_TRUE(GetShowNetHood(registry));
    EXPECT_EQ(GetMaxCachedIcons(registry), 0);
}

}  // namespace
}  // namespace pellmark
