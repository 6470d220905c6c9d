// The special desktop icons against the real registry: a class of the test's own is listed
// with its picture, taken off the desktop by ticking its row in the real list view, listed
// again from SpecialDesktopIcons.cfg at the next start, and brought back by clearing it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "desktop/RemoveIconsPage.h"
#include "desktop/SpecialIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "tests/win/RegistryText.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark {
namespace {

constexpr const char* kTestClass = "{6E2D8E5A-1C3B-4F7A-9B0D-5E11A7C0FFEE}";

std::string ClassKey() {
    return std::string("Software\\Classes\\CLSID\\") + kTestClass;
}
std::string NameSpaceEntry() {
    return std::string(kNameSpaceKey) + "\\" + kTestClass;
}

void SetText(HKEY root, const std::string& key, const char* name, const std::string& text) {
    ASSERT_TRUE(testcases::SetRegistryText(root, key, name == nullptr ? "" : name, text)) << key;
}

// The default value of the test class's NameSpace key; "(no key)" when it is gone.
std::string NameSpaceDefault() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, NameSpaceEntry().c_str(), 0, KEY_QUERY_VALUE,
                        &opened) != ERROR_SUCCESS) {
        return "(no key)";
    }
    char text[128] = {};
    DWORD size = sizeof text - 1;
    const LONG status =
        ::RegQueryValueExA(opened, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(opened);
    return status == ERROR_SUCCESS ? std::string(text) : "(no value)";
}

std::string ReadWholeFile(const std::string& path) {
    return testcases::ReadFileBytes(path).value_or("(missing)");
}

class SpecialIconsTest : public ::testing::Test {
  protected:
    SpecialIconsTest() {
        SetText(HKEY_LOCAL_MACHINE, ClassKey(), nullptr, "Pellmark Test Bin");
        SetText(HKEY_LOCAL_MACHINE, ClassKey(), "InfoTip", "Where the tests put things");
        SetText(HKEY_LOCAL_MACHINE, ClassKey() + "\\DefaultIcon", nullptr,
                "%SystemRoot%\\system32\\shell32.dll,3");
        SetText(HKEY_LOCAL_MACHINE, NameSpaceEntry(), nullptr, "Pellmark Test Bin");
    }
    ~SpecialIconsTest() override {
        page.reset();
        form.reset();
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey().c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, ClassKey().c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, NameSpaceEntry().c_str());
    }

    // The program starting: the page loads, then it is shown as the user shows it.
    void Start() {
        page.reset();
        form.reset();
        form = std::make_unique<forms::Form>(backend, "Form1");
        form->SetClientSize(400, 260);
        page = std::make_unique<RemoveIconsPage>(*form, registry, files, dialogs, system);
        page->PositionControls();
        page->LoadSpecialIcons(
            folder, [](const std::string& text) { return win32::ExpandEnvironment(text); });
        page->Box().Move({0, 0, 377, 225});
        page->Box().SetVisible(true);
        page->PageShown();
        form->Show();
        view = win32::Win32FormsBackend::WindowOf(page->lstvwSpecDeskIco);
        const auto& ids = page->lstSpecialDesktopIcons.Items();
        row = static_cast<int>(std::find(ids.begin(), ids.end(), kTestClass) - ids.begin());
    }

    win32::Win32Registry registry;
    win32::Win32Files files;
    win32::Win32System system;
    sim::SimDialogs dialogs;
    win32::Win32FormsBackend backend{96};
    std::unique_ptr<forms::Form> form;
    std::unique_ptr<RemoveIconsPage> page;
    const testcases::ScratchFolder scratch{"PellmarkSpecial"};
    const std::string& folder = scratch.Path();
    const std::string listFile = scratch.File("SpecialDesktopIcons.cfg");
    HWND view = nullptr;
    int row = -1;
};

TEST_F(SpecialIconsTest, RemovedAndRestoredThroughTheListWithTheListFileKept) {
    Start();
    ASSERT_NE(view, nullptr);
    const std::vector<std::string> ids = page->lstSpecialDesktopIcons.Items();
    ASSERT_LT(row, static_cast<int>(ids.size())) << "the test's class is listed";
    // The file lists every NameSpace key, one a line, in the registry's order.
    std::string expected;
    for (const std::string& id : ListNameSpaceKeys(registry)) {
        expected += id + "\r\n";
    }
    EXPECT_EQ(ReadWholeFile(listFile), expected);
    EXPECT_EQ(ListView_GetItemCount(view), static_cast<int>(ids.size()));
    const forms::ListViewItem& item = page->lstvwSpecDeskIco.Item(row);
    ASSERT_EQ(item.texts.size(), 3u);
    EXPECT_EQ(item.texts[1], "Pellmark Test Bin");
    EXPECT_EQ(item.texts[2], "Where the tests put things");
    EXPECT_EQ(ListView_GetCheckState(view, row), 0u) << "on the desktop: not ticked";
    // The picture: shell32's icon found through %SystemRoot%, drawn 10 pixels in.
    const auto& images = page->lstvwSpecDeskIco.Images();
    ASSERT_NE(images, nullptr);
    const forms::Bitmap& picture = images->images.at(static_cast<std::size_t>(item.image));
    EXPECT_EQ(picture.Width(), 45);
    EXPECT_EQ(picture.Height(), 32);
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 45; ++x) {
            const std::uint32_t pixel = picture.Pixels()[static_cast<std::size_t>(y) * 45 + x];
            if ((pixel >> 24) != 0) {
                ++opaque;
                EXPECT_GE(x, 10) << "nothing left of the icon's place";
            }
        }
    }
    EXPECT_GT(opaque, 100) << "an icon was drawn";

    // Ticked by the user: the key goes, the file stays as it was.
    ListView_SetCheckState(view, row, TRUE);
    EXPECT_EQ(NameSpaceDefault(), "(no key)");
    EXPECT_EQ(ReadWholeFile(listFile), expected);
    EXPECT_TRUE(dialogs.shown.empty());

    // The next start lists it from the file, ticked.
    Start();
    EXPECT_EQ(page->lstSpecialDesktopIcons.Items(), ids);
    EXPECT_EQ(ListView_GetCheckState(view, row), 1u);

    // Cleared: the key is back, with the class's name as its default value.
    ListView_SetCheckState(view, row, FALSE);
    EXPECT_EQ(NameSpaceDefault(), "Pellmark Test Bin");
    EXPECT_EQ(page->lstvwSpecDeskIco.Item(row).checked, false);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ExpandEnvironmentTest, VariablesAreReplacedAndTheRestKept) {
    char windows[MAX_PATH] = {};
    ::GetEnvironmentVariableA("SystemRoot", windows, MAX_PATH);
    ASSERT_NE(windows[0], '\0');
    EXPECT_EQ(win32::ExpandEnvironment("%SystemRoot%\\system32\\shell32.dll,3"),
              std::string(windows) + "\\system32\\shell32.dll,3");
    EXPECT_EQ(win32::ExpandEnvironment("C:\\no variables"), "C:\\no variables");
    EXPECT_EQ(win32::ExpandEnvironment("%PellmarkNoSuchVariable%\\x"),
              "%PellmarkNoSuchVariable%\\x");
    const std::string longText(5000, 'a');
    EXPECT_EQ(win32::ExpandEnvironment("%SystemRoot%" + longText), std::string(windows) + longText);
}

}  // namespace
}  // namespace pellmark
