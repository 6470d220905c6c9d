// The special desktop icons: the location and list-file readers, and the Remove page driven
// as a user drives it, against the in-memory registry, files and forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "desktop/RemoveIconsPage.h"
#include "desktop/SpecialIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystem.h"
#include "settings/RegistryAccess.h"
#include "tests/common/ForwardingRegistry.h"
#include "tests/common/ShippedLanguages.h"

namespace pellmark {
namespace {

using platform::MessageAnswer;
using platform::MessageIcon;

TEST(SpecialIconsTest, LocationsSplitIntoFileAndIndex) {
    const std::pair<const char*, IconLocation> cases[] = {
        {"C:\\Windows\\System\\shell32.dll,3", {"C:\\Windows\\System\\shell32.dll", 3}},
        {"shell32.dll,1234", {"shell32.dll", 1234}},
        {"imageres.dll,-109", {"imageres.dll", -109}},
        {"x,1,37", {"x,1", 37}},
        {"shell32.dll, 5", {"shell32.dll", 5}},
        {"\"C:\\Program Files\\Tool\\tool.exe\",2", {"C:\\Program Files\\Tool\\tool.exe", 2}},
        // No index: the file's first icon, as the shell reads such a location.
        {"C:\\Icons\\bin.ico", {"C:\\Icons\\bin.ico", 0}},
        {"C:\\Icons\\bin.ico,", {"C:\\Icons\\bin.ico,", 0}},
        {"C:\\Icons\\bin.ico,-", {"C:\\Icons\\bin.ico,-", 0}},
        {"C:\\My,Icons\\bin.ico", {"C:\\My,Icons\\bin.ico", 0}},
        {"C:\\Icons\\bin.ico,99999999999", {"C:\\Icons\\bin.ico,99999999999", 0}}};
    for (const auto& [location, expected] : cases) {
        EXPECT_EQ(ParseIconLocation(location), expected) << location;
    }
}

TEST(SpecialIconsTest, ListFileFieldsAreSplitAtCommasAndLineEnds) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"{A}\r\n{B}\r\n", {"{A}", "{B}"}},
        {"{A}\r\n{B}", {"{A}", "{B}"}},
        {"{A}\n{B}\r{C}", {"{A}", "{B}", "{C}"}},
        {"  {A} ,\t{B}\t,{C}", {"{A}", "{B}", "{C}"}},
        {"\"{A},{B}\",{C}\r\n", {"{A},{B}", "{C}"}},
        {"\" {A} \"\r\n", {" {A} "}},
        {"\"{A}\" tail,{B}", {"{A}", "{B}"}},
        {"\"{A}", {"{A}"}},
        {"\"say \"\"hi\"\"\",{B}", {"say \"hi\"", "{B}"}},
        // Empty fields would name the NameSpace key itself: they are not identifiers.
        {"\r\n\r\n{A}\r\n,,\r\n\"\"\r\n  \r\n", {"{A}"}},
        {"", {}}};
    for (const auto& [text, fields] : cases) {
        EXPECT_EQ(ParseSpecialIconFields(text), fields) << text;
    }
}

TEST(SpecialIconsTest, TheListFileReadsBackWhatWasWritten) {
    sim::SimFiles files;
    const std::string path = "C:\\Pellmark\\SpecialDesktopIcons.cfg";
    const std::vector<std::string> ids = {"{645FF040-5081-101B-9F08-00AA002F954E}", "a,b",
                                          " padded ", "\"quoted", "Ünïcode ☂"};
    ASSERT_TRUE(WriteSpecialIconFile(files, path, {ids[0], ids[1], ids[2]}).ok());
    // Plain ANSI lines when the code page holds them, quoted only where needed.
    EXPECT_EQ(files.files[path],
              "{645FF040-5081-101B-9F08-00AA002F954E}\r\n\"a,b\"\r\n\" padded \"\r\n");
    ASSERT_TRUE(WriteSpecialIconFile(files, path, ids).ok());
    EXPECT_EQ(ReadSpecialIconFile(files, path), ids);
    EXPECT_EQ(ReadSpecialIconFile(files, "C:\\Elsewhere\\SpecialDesktopIcons.cfg"), std::nullopt);
    // A list far longer than any desktop's is cut to its first thousand.
    files.files[path] = "";
    for (int i = 0; i < 30000; ++i) {
        files.files[path] += "{" + std::to_string(i) + "}\r\n";
    }
    const auto many = ReadSpecialIconFile(files, path);
    ASSERT_TRUE(many.has_value());
    EXPECT_EQ(many->size(), kMostSpecialIcons);
    EXPECT_EQ(many->back(), "{999}");
    ASSERT_TRUE(WriteSpecialIconFile(files, path, ids).ok());

    // A failed write leaves the old list whole.
    files.writeFailure = {112, "There is not enough space on the disk."};
    EXPECT_FALSE(WriteSpecialIconFile(files, path, {"{B}"}).ok());
    EXPECT_EQ(ReadSpecialIconFile(files, path), ids);
}

// Refuses what a user without administrator rights may not do: opening a key of the
// machine for writing.
class UserRegistry final : public testcases::ForwardingRegistry {
  public:
    using ForwardingRegistry::ForwardingRegistry;
    bool administrator = false;

    std::uint32_t OpenKey(platform::RegistryKey parent, const std::string& path,
                          std::uint32_t access, platform::RegistryKey& opened) override {
        return Denied(parent, access) ? platform::kErrorAccessDenied
                                      : inner_.OpenKey(parent, path, access, opened);
    }
    std::uint32_t CreateKey(platform::RegistryKey parent, const std::string& path,
                            std::uint32_t access, platform::RegistryKey& opened) override {
        return Denied(parent, access) ? platform::kErrorAccessDenied
                                      : inner_.CreateKey(parent, path, access, opened);
    }

  private:
    [[nodiscard]] bool Denied(platform::RegistryKey parent, std::uint32_t access) const {
        constexpr std::uint32_t kWrite = platform::kKeySetValue | platform::kKeyCreateSubKey;
        return !administrator && parent == platform::PredefinedKey(platform::kHkeyLocalMachine) &&
               (access & kWrite) != 0;
    }
};

constexpr const char* kBin = "{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kNet = "{208D2C60-3AEA-1069-A2D7-08002B30309D}";
constexpr const char* kBare = "{00000000-0000-0000-0000-0000000000AB}";
constexpr const char* kListFile = "C:\\Pellmark\\SpecialDesktopIcons.cfg";

class RemoveIconsPageTest : public ::testing::Test {
  protected:
    RemoveIconsPageTest() {
        testcases::LoadShippedMessages("English");
        Class(kBin, "Recycle Bin", "Holds what you deleted", "%SystemRoot%\\shell32.dll,31");
        Class(kNet, "Network", "", "C:\\Windows\\System\\shell32.dll,-17");
        Class(kBare, "", "", "");  // no name, no description, no picture of its own
        for (const char* id : {kBin, kNet, kBare}) {
            OnDesktop(id, GetSpecialIconName(registry, id));
        }
        forms.fileIcons[{"C:\\Windows\\shell32.dll", 31}] = Square(0xFF0000FF);
        forms.fileIcons[{"C:\\Windows\\System\\shell32.dll", -17}] = Square(0xFF00FF00);
        forms.fileIcons[{"C:\\Windows\\system\\cool.dll", 37}] = Square(0xFFFF0000);
    }

    void Class(const std::string& id, const std::string& name, const std::string& tip,
               const std::string& icon) {
        const std::string key = "CLSID\\" + id;
        if (!name.empty()) {
            Set("HKCR", key, "", name);
        }
        if (!tip.empty()) {
            Set("HKCR", key, "InfoTip", tip);
        }
        if (!icon.empty()) {
            Set("HKCR", key + "\\DefaultIcon", "", icon);
        }
    }
    void OnDesktop(const std::string& id, const std::string& text) {
        Set("HKLM", std::string(kNameSpaceKey) + "\\" + id, "", text);
    }
    void Set(const char* root, const std::string& key, const std::string& name,
             const std::string& text) {
        ASSERT_EQ(SetRegistryValue(registry, root, key, name, "S", text), 0u);
    }
    [[nodiscard]] bool KeyThere(const std::string& id) {
        RegistryValue value;
        return GetRegistryValue(registry, "HKLM", std::string(kNameSpaceKey) + "\\" + id, "", "S",
                                std::string("absent"), value) == 0;
    }
    [[nodiscard]] std::string DefaultOf(const std::string& id) {
        RegistryValue value;
        static_cast<void>(GetRegistryValue(registry, "HKLM", std::string(kNameSpaceKey) + "\\" + id,
                                           "", "S", std::string("absent"), value));
        return std::get<std::string>(value);
    }
    static forms::Bitmap Square(std::uint32_t colour) {
        return forms::Bitmap(32, 32, std::vector<std::uint32_t>(32 * 32, colour));
    }

    // The program starting again: a new page over the same registry and files, on show
    // from the start or hidden as another page is shown first.
    RemoveIconsPage& Start(bool shown = true) {
        page.reset();
        form.reset();
        form = std::make_unique<forms::Form>(forms, "Form1");
        page = std::make_unique<RemoveIconsPage>(*form, user, files, dialogs, system);
        page->Box().SetVisible(shown);
        Load();
        return *page;
    }
    void Load() {
        page->LoadSpecialIcons("C:\\Pellmark", [](const std::string& text) {
            std::string out = text;
            for (const char* name : {"%SystemRoot%", "%windir%"}) {
                if (const auto at = out.find(name); at != std::string::npos) {
                    out.replace(at, std::string(name).size(), "C:\\Windows");
                }
            }
            return out;
        });
    }
    [[nodiscard]] std::vector<bool> Ticks() const {
        std::vector<bool> ticks;
        for (int i = 0; i < page->lstvwSpecDeskIco.ItemCount(); ++i) {
            ticks.push_back(page->lstvwSpecDeskIco.Item(i).checked);
        }
        return ticks;
    }
    [[nodiscard]] std::uint32_t PictureColour(int row) const {
        const auto& images = page->lstvwSpecDeskIco.Images();
        const int image = page->lstvwSpecDeskIco.Item(row).image;
        return images->images.at(static_cast<std::size_t>(image)).ColourAt(10 + 16, 16);
    }

    sim::SimRegistry registry;
    UserRegistry user{registry};
    sim::SimFiles files;
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    sim::SimFormsBackend forms;
    std::unique_ptr<forms::Form> form;
    std::unique_ptr<RemoveIconsPage> page;
};

TEST_F(RemoveIconsPageTest, TheFirstRunListsTheIconsAndARemovedOneStaysListedAndComesBack) {
    user.administrator = true;
    RemoveIconsPage& shown = Start();
    const std::vector<std::string> ids = ListNameSpaceKeys(registry);
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(files.files[kListFile], ids[0] + "\r\n" + ids[1] + "\r\n" + ids[2] + "\r\n");
    EXPECT_EQ(shown.lstSpecialDesktopIcons.Items(), ids);
    ASSERT_EQ(shown.lstvwSpecDeskIco.ItemCount(), 3);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false}));
    // The colours: %SystemRoot% expanded, a negative index naming a resource, the fallback.
    const std::map<std::string, std::pair<std::vector<std::string>, std::uint32_t>> expected = {
        {kBin, {{"", "Recycle Bin", "Holds what you deleted"}, 0x0000FFu}},
        {kNet, {{"", "Network", ""}, 0x00FF00u}},
        {kBare, {{"", "", ""}, 0xFF0000u}}};
    for (int row = 0; row < 3; ++row) {
        const auto& [texts, colour] = expected.at(ids[static_cast<std::size_t>(row)]);
        EXPECT_EQ(shown.lstvwSpecDeskIco.Item(row).texts, texts);
        EXPECT_EQ(PictureColour(row), colour) << row;
    }
    EXPECT_TRUE(dialogs.shown.empty());

    // A removed icon stays listed and comes back with its name.
    const int bin = static_cast<int>(std::find(ids.begin(), ids.end(), kBin) - ids.begin());

    page->lstvwSpecDeskIco.UserToggleCheck(bin);
    EXPECT_FALSE(KeyThere(kBin));
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(bin).checked);

    // The next start takes the list from the file: the removed icon is there, ticked.
    Start();
    EXPECT_EQ(page->lstSpecialDesktopIcons.Items(), ids);
    std::vector<bool> ticks(3, false);
    ticks[static_cast<std::size_t>(bin)] = true;
    EXPECT_EQ(Ticks(), ticks);

    page->lstvwSpecDeskIco.UserToggleCheck(bin);
    EXPECT_EQ(DefaultOf(kBin), "Recycle Bin");
    EXPECT_FALSE(page->lstvwSpecDeskIco.Item(bin).checked);

    // A key without a default value counts as removed, and clearing it gives it one; a
    // class without a name gets an empty default value, which still counts as shown.
    ASSERT_EQ(DeleteRegistryKey(registry, "HKLM", kNameSpaceKey, kNet), 0u);
    ASSERT_EQ(SetRegistryValue(registry, "HKLM", std::string(kNameSpaceKey) + "\\" + kNet, "Other",
                               "S", std::string("x")),
              0u);
    ASSERT_EQ(DeleteRegistryKey(registry, "HKLM", kNameSpaceKey, kBare), 0u);
    Start();
    const int net = static_cast<int>(std::find(ids.begin(), ids.end(), kNet) - ids.begin());
    const int bare = static_cast<int>(std::find(ids.begin(), ids.end(), kBare) - ids.begin());
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(net).checked);
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(bare).checked);
    page->lstvwSpecDeskIco.UserToggleCheck(net);
    page->lstvwSpecDeskIco.UserToggleCheck(bare);
    EXPECT_EQ(DefaultOf(kNet), "Network");
    EXPECT_EQ(DefaultOf(kBare), "");
    Start();
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RemoveIconsPageTest, PicturesAreDrawnWhenThePageFirstShowsAndForRowsListedLater) {
    user.administrator = true;
    Start(false);
    EXPECT_EQ(page->lstvwSpecDeskIco.ItemCount(), 0) << "the rows wait for the page";

    page->Box().SetVisible(true);
    page->PageShown();
    ASSERT_EQ(page->lstvwSpecDeskIco.ItemCount(), 3);
    const auto images = page->lstvwSpecDeskIco.Images();
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(images->images.size(), 3u);
    const std::vector<std::string> ids = page->lstSpecialDesktopIcons.Items();
    const int bin = static_cast<int>(std::find(ids.begin(), ids.end(), kBin) - ids.begin());
    EXPECT_EQ(PictureColour(bin), 0x0000FFu);

    // Shown again: the pictures it has are kept, not drawn again.
    page->Box().SetVisible(false);
    page->Box().SetVisible(true);
    page->PageShown();
    EXPECT_EQ(page->lstvwSpecDeskIco.Images(), images);

    // The list read again while another page shows: a row that came with it has its
    // picture at once, since the page has been seen.
    page->Box().SetVisible(false);
    const std::string added = "{00000000-0000-0000-0000-0000000000CD}";
    Class(added, "Tools", "", "C:\\Windows\\system\\cool.dll,37");
    OnDesktop(added, "Tools");
    files.files[kListFile] += added + "\r\n";
    Load();
    ASSERT_EQ(page->lstvwSpecDeskIco.ItemCount(), 4);
    ASSERT_NE(page->lstvwSpecDeskIco.Images(), nullptr);
    ASSERT_EQ(page->lstvwSpecDeskIco.Images()->images.size(), 4u);
    EXPECT_EQ(PictureColour(3), 0xFF0000u);
    EXPECT_EQ(PictureColour(bin), 0x0000FFu);

    // A page never shown reads nothing, however often it is loaded: a list file of a
    // thousand lines or one that cannot be read costs the start nothing.
    files.files[kListFile] += std::string(100000, '\n');
    const int opened = files.opensForReading;
    Start(false);
    Load();
    EXPECT_EQ(files.opensForReading, opened);
    EXPECT_EQ(page->lstvwSpecDeskIco.ItemCount(), 0);
    EXPECT_TRUE(dialogs.shown.empty());
    page->Box().SetVisible(true);
    page->PageShown();
    EXPECT_EQ(page->lstvwSpecDeskIco.ItemCount(), 4);
}

TEST_F(RemoveIconsPageTest, WithoutAdministratorRightsTheBoxGoesBackOrThePerUserWayIsOffered) {
    // Windows XP: no per-user way. The removal says why and the row shows the icon again.
    system.version = {148, 5, 1, 2600, 2, "Service Pack 3"};
    Start();
    page->lstvwSpecDeskIco.UserToggleCheck(0);
    const std::string first = page->lstSpecialDesktopIcons.List(0);
    EXPECT_TRUE(KeyThere(first));
    EXPECT_FALSE(page->lstvwSpecDeskIco.Item(0).checked);
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Exclamation Windows did not let Pellmark take this icon "
                                        "off the desktop of every user of the "
                                        "computer: that needs administrator rights. (Error: 5)"}));

    // Windows 10: the per-user way is offered. Declined, nothing changes.
    system.version = {148, 10, 0, 19045, 2, ""};
    dialogs.shown.clear();
    dialogs.answers = {MessageAnswer::No};
    page->lstvwSpecDeskIco.UserToggleCheck(0);
    EXPECT_EQ(
        dialogs.Said(),
        (std::vector<std::string>{
            "Question YesNo Windows did not let Pellmark take this icon off the desktop of every "
            "user of the "
            "computer: that needs administrator rights.\n\nHide it from your own desktop "
            "only? Other users keep it."}));
    EXPECT_FALSE(page->lstvwSpecDeskIco.Item(0).checked);
    EXPECT_FALSE(IsHiddenForUser(registry, first));

    // Accepted: hidden for this user only, and shown so at the next start.
    dialogs.answers = {MessageAnswer::Yes};
    page->lstvwSpecDeskIco.UserToggleCheck(0);
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(0).checked);
    EXPECT_TRUE(IsHiddenForUser(registry, first));
    EXPECT_TRUE(KeyThere(first));
    Start();
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(0).checked);

    // Clearing it takes the per-user value away; the machine's key was never gone.
    dialogs.shown.clear();
    page->lstvwSpecDeskIco.UserToggleCheck(0);
    EXPECT_FALSE(page->lstvwSpecDeskIco.Item(0).checked);
    EXPECT_FALSE(IsHiddenForUser(registry, first));
    EXPECT_TRUE(dialogs.shown.empty());

    // An icon removed for everyone cannot be brought back without the rights.
    ASSERT_EQ(DeleteRegistryKey(registry, "HKLM", kNameSpaceKey, first), 0u);
    Start();
    ASSERT_TRUE(page->lstvwSpecDeskIco.Item(0).checked);
    page->lstvwSpecDeskIco.UserToggleCheck(0);
    EXPECT_TRUE(page->lstvwSpecDeskIco.Item(0).checked);
    EXPECT_FALSE(KeyThere(first));
    EXPECT_EQ(
        dialogs.Said(),
        (std::vector<std::string>{
            "Exclamation Windows did not let Pellmark bring this icon back for every user of the "
            "computer: that needs administrator rights. (Error: 5)"}));
}

TEST_F(RemoveIconsPageTest, NoIconIsRemovedUntilItsListIsOnDisk) {
    user.administrator = true;
    files.createFailure = {5, "Access is denied."};
    Start();  // a folder the user cannot write to does not stop the start
    EXPECT_EQ(files.files.count(kListFile), 0u);
    EXPECT_EQ(page->lstvwSpecDeskIco.ItemCount(), 3);
    EXPECT_TRUE(dialogs.shown.empty());

    page->lstvwSpecDeskIco.UserToggleCheck(1);
    const std::string id = page->lstSpecialDesktopIcons.List(1);
    EXPECT_TRUE(KeyThere(id));
    EXPECT_FALSE(page->lstvwSpecDeskIco.Item(1).checked);
    EXPECT_EQ(
        dialogs.Said(),
        (std::vector<std::string>{
            "Exclamation Pellmark keeps the list of special icons in this file, so that a removed "
            "icon can "
            "always be brought back, but could not write it. The icon stays on the desktop.\n"
            "C:\\Pellmark\\SpecialDesktopIcons.cfg\n\nAccess is denied."}));

    // Once the folder takes it, the list is written first and the icon goes.
    files.createFailure = {};
    page->lstvwSpecDeskIco.UserToggleCheck(1);
    EXPECT_FALSE(KeyThere(id));
    EXPECT_EQ(ReadSpecialIconFile(files, kListFile), page->lstSpecialDesktopIcons.Items());
}

}  // namespace
}  // namespace pellmark
