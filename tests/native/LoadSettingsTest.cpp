#include "settings/LoadSettings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimRegistry.h"

namespace pellmark {
namespace {

class RecordedStyle final : public IconStyleControls {
  public:
    std::vector<std::string> calls;

    void SetTextColour(std::uint32_t colour) override { Add("TextColour", colour); }
    void SetBackgroundColour(std::uint32_t colour) override { Add("BackgroundColour", colour); }
    void SetRefreshTime(std::int32_t value) override { Add("RefreshTime", value); }
    void SetTransparentTitle(int checkState) override { Add("TransparentTitle", checkState); }
    void SetEnableIconStyle(int checkState) override { Add("EnableIconStyle", checkState); }
    void SetSampleFontName(const std::string& name) override { Add("FontName", name); }
    void SetSampleFontBold(bool bold) override { Add("FontBold", bold); }
    void SetSampleFontItalic(bool italic) override { Add("FontItalic", italic); }
    void SetSampleFontSize(double points) override { Add("FontSize", points); }

  private:
    template <typename T>
    void Add(const char* what, const T& value) {
        std::ostringstream call;
        call << what << ' ' << value;
        calls.push_back(call.str());
    }
};

// Values the loader never produces from an empty store, to see what it left alone.
SettingsRecord Sentinels() {
    SettingsRecord r;
    r.LoadInSysTray = r.RestoreOnStartup = r.RestoreOnResChange = r.CloseWhenRestored = true;
    r.OnLoadHide = r.SavePatternOnStart = r.SavePatternOnClose = r.AutoHideDesktop = true;
    r.PatternToRestore = r.PatternToAutoSave = r.Language = r.LanguageFile = "old";
    r.ShowDelay = 99;
    r.FollowScreens = false;
    r.LockIcons = true;
    return r;
}

// The record's fields in the loader's order, FollowScreens and LockIcons last.
std::vector<std::string> Fields(const SettingsRecord& r) {
    const auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    return {flag(r.LoadInSysTray),
            flag(r.RestoreOnStartup),
            flag(r.RestoreOnResChange),
            r.PatternToRestore,
            flag(r.CloseWhenRestored),
            flag(r.OnLoadHide),
            flag(r.SavePatternOnStart),
            flag(r.SavePatternOnClose),
            r.PatternToAutoSave,
            flag(r.AutoHideDesktop),
            std::to_string(r.ShowDelay),
            r.Language,
            r.LanguageFile,
            flag(r.FollowScreens),
            flag(r.LockIcons)};
}

class LoadSettingsTest : public ::testing::Test {
  protected:
    sim::SimRegistry registry;
    SettingsStore store{registry};
    sim::SimDialogs dialogs;
    RecordedStyle style;
    SettingsRecord record = Sentinels();
    const std::string folder = "C:\\Program Files\\Pellmark";

    void Load() { LoadSettings(store, folder, record, style, dialogs); }
};

const std::vector<std::string> kDefaultStyleCalls = {
    "TextColour 0",       "BackgroundColour 0", "RefreshTime 0",
    "TransparentTitle 0", "EnableIconStyle 0",  "FontName Arial",
    "FontBold 0",         "FontItalic 0",       "FontSize 10",
};

TEST_F(LoadSettingsTest, AnEmptyStoreGivesTheDefaults) {
    Load();
    EXPECT_EQ(Fields(record),
              (std::vector<std::string>{
                  "0", "0", "0", "", "0", "0", "0", "0", "AutoSave", "0", "2", "English",
                  "C:\\Program Files\\Pellmark\\Languages\\English.txt", "1", "0"}));
    EXPECT_EQ(style.calls, kDefaultStyleCalls);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(registry.OpenKeyCount(), 0);

    // A folder given with its trailing backslash makes the same path.
    LoadSettings(store, folder + "\\", record, style, dialogs);
    EXPECT_EQ(record.LanguageFile, "C:\\Program Files\\Pellmark\\Languages\\English.txt");
}

TEST_F(LoadSettingsTest, StoredValuesAreAppliedInOrder) {
    store.Save(kSettingsSection, "LoadInSysTray", "1");
    store.Save(kSettingsSection, "RestoreOnStartup", "True");
    store.Save(kSettingsSection, "RestoreOnResChange", "tRUE");
    store.Save(kSettingsSection, "PatternToRestore", "Work desk");
    store.Save(kSettingsSection, "CloseWhenRestored", " -1 ");
    store.Save(kSettingsSection, "OnLoadHide", "0");
    store.Save(kSettingsSection, "SavePatternOnStart", "FALSE");
    store.Save(kSettingsSection, "SavePatternOnClose", "2.5");
    store.Save(kSettingsSection, "PatternToAutoSave", "Evening");
    store.Save(kSettingsSection, "AutoHideDesktop", "True");
    store.Save(kSettingsSection, "ShowDelay", "-7");
    store.Save(kSettingsSection, "Language", "Deutsch");
    store.Save(kIconStyleSection, "IconForeColour", "16777215");
    store.Save(kIconStyleSection, "BGColour", "-1");
    store.Save(kIconStyleSection, "IconRefreshTime", "3");
    store.Save(kIconStyleSection, "TransparentTitle", "1");
    store.Save(kIconStyleSection, "EnableIconStyle", " 2");
    store.Save(kIconStyleSection, "FontName", "Tahoma");
    store.Save(kIconStyleSection, "FontBold", "True");
    store.Save(kIconStyleSection, "FontItalic", "1");
    store.Save(kIconStyleSection, "FontSize", "8.5");
    Load();

    EXPECT_EQ(Fields(record),
              (std::vector<std::string>{
                  "1", "1", "1", "Work desk", "1", "0", "0", "1", "Evening", "1", "-7", "Deutsch",
                  "C:\\Program Files\\Pellmark\\Languages\\Deutsch.txt", "1", "0"}));
    EXPECT_EQ(style.calls, (std::vector<std::string>{"TextColour 16777215", "BackgroundColour 0",
                                                     "RefreshTime 3", "TransparentTitle 1",
                                                     "EnableIconStyle 2", "FontName Tahoma",
                                                     "FontBold 1", "FontItalic 1", "FontSize 8.5"}))
        << "a stored -1 background reaches the picker as 0";
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LoadSettingsTest, BooleansAreReadLeniently) {
    const std::pair<const char*, bool> cases[] = {
        {"1", true},      {"True", true},   {"tRUE", true}, {"  True  ", true},
        {"-1", true},     {"0.5", true},    {"+3", true},   {"0", false},
        {"False", false}, {"fAlSe", false}, {"0.0", false}, {" -0 ", false}};
    for (const auto& [text, expected] : cases) {
        store.Save(kSettingsSection, "AutoHideDesktop", text);
        record.AutoHideDesktop = !expected;
        Load();
        EXPECT_EQ(record.AutoHideDesktop, expected) << '"' << text << '"';
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LoadSettingsTest, ABadValueStopsTheLoaderAndNamesItsStep) {
    // The sixth step, "Languages", reads text only and so has nothing that can fail.
    struct Case {
        std::string_view section;
        const char* key;
        const char* value;
        const char* step;
        const char* error;
        std::size_t recordFieldsApplied;
        std::size_t styleCalls;
    } const cases[] = {
        {kSettingsSection, "LoadInSysTray", "yes", "SysTrayIcon", "13\nType mismatch", 0, 0},
        {kSettingsSection, "RestoreOnResChange", "maybe", "immediate pattern restorer",
         "13\nType mismatch", 2, 0},
        {kSettingsSection, "CloseWhenRestored", "", "immediate pattern restorer",
         "13\nType mismatch", 4, 0},
        {kSettingsSection, "SavePatternOnClose", "x", "Hide form on load", "13\nType mismatch", 7,
         0},
        {kIconStyleSection, "IconForeColour", "4294967295", "Icon style Settings", "6\nOverflow", 9,
         0},
        {kIconStyleSection, "BGColour", "red", "Icon style Settings", "13\nType mismatch", 9, 1},
        {kIconStyleSection, "IconRefreshTime", "1.5", "Icon style Settings", "13\nType mismatch", 9,
         2},
        {kIconStyleSection, "TransparentTitle", "3", "Icon style Settings",
         "380\nInvalid property value", 9, 3},
        {kIconStyleSection, "EnableIconStyle", "70000", "Icon style Settings", "6\nOverflow", 9, 4},
        {kIconStyleSection, "FontItalic", "maybe", "Icon style Settings", "13\nType mismatch", 9,
         7},
        {kIconStyleSection, "FontSize", "10pt", "Icon style Settings", "13\nType mismatch", 9, 8},
        {kSettingsSection, "AutoHideDesktop", "on", "Auto hide desktop", "13\nType mismatch", 9, 9},
        {kSettingsSection, "ShowDelay", "x", "Auto hide desktop", "13\nType mismatch", 10, 9},
        {kSettingsSection, "ShowDelay", "40000", "Auto hide desktop", "6\nOverflow", 10, 9},
    };
    for (const Case& c : cases) {
        sim::SimRegistry freshRegistry;
        SettingsStore freshStore(freshRegistry);
        freshStore.Save(c.section, c.key, c.value);
        sim::SimDialogs shown;
        RecordedStyle calls;
        SettingsRecord loaded = Sentinels();
        LoadSettings(freshStore, folder, loaded, calls, shown);

        EXPECT_EQ(shown.Said(), (std::vector<std::string>{
                                    std::string("Critical [Encountered a slight problem] Problem "
                                                "with GettingSettingsFromReigstry\nTrying to: '") +
                                    c.step + "'\n\nErr: " + c.error}))
            << c.key;

        // What was read before stays applied; the rest is as it was.
        const std::vector<std::string> before = Fields(Sentinels());
        const std::vector<std::string> after = Fields(loaded);
        for (std::size_t i = 0; i < 13; ++i) {
            EXPECT_EQ(after[i] != before[i], i < c.recordFieldsApplied) << c.key << " field " << i;
        }
        EXPECT_EQ(calls.calls, std::vector<std::string>(
                                   kDefaultStyleCalls.begin(),
                                   kDefaultStyleCalls.begin() + static_cast<long>(c.styleCalls)))
            << c.key;
        EXPECT_EQ(freshRegistry.OpenKeyCount(), 0);
    }
}

}  // namespace
}  // namespace pellmark
