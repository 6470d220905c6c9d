// The wallpaper: its stored style, the picker's texts, the bitmap conversion, the folder
// rows, and the picker driven on the in-memory forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chrome/res/ChromePictures.h"
#include "desktop/FolderRows.h"
#include "desktop/Wallpaper.h"
#include "desktop/WallpaperButtons.h"
#include "desktop/frmSelectWallpaper.h"
#include "platform/RunTimeError.h"
#include "platform/forms/FileList.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWallpaper.h"
#include "settings/RegistryAccess.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

constexpr const char* kFolder = "C:\\Pellmark";
constexpr const char* kConverted = "C:\\Pellmark\\pellmark-Wallpaper.bmp";

// A stored text, or nothing when the value is absent.
using Stored = std::optional<std::string>;

// "D:n" stores a DWORD.
void Store(sim::SimRegistry& registry, const char* name, const Stored& value) {
    if (value && value->starts_with("D:")) {
        ASSERT_EQ(SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "D",
                                   std::int32_t{std::stoi(value->substr(2))}),
                  0u);
    } else if (value) {
        ASSERT_EQ(SetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S", *value), 0u);
    } else {
        static_cast<void>(DeleteRegistryValue(registry, "HKCU", kDesktopSettingsKey, name));
    }
}

// The value as stored: "S:text" or "D:number"; nothing when absent.
Stored Raw(sim::SimRegistry& registry, const char* name) {
    platform::ScopedRegistryKey key(registry);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::uint8_t bytes[64] = {};
    if (key.Open(platform::PredefinedKey(platform::kHkeyCurrentUser), kDesktopSettingsKey,
                 platform::kKeyQueryValue) != 0 ||
        registry.QueryValue(key.get(), name, type, bytes, size) != 0) {
        return std::nullopt;
    }
    if (type == platform::kRegDword) {
        return "D:" + std::to_string(bytes[0] | bytes[1] << 8);
    }
    return "S:" + std::string(reinterpret_cast<const char*>(bytes));
}

Stored Read(sim::SimRegistry& registry, const char* name) {
    RegistryValue value;
    if (GetRegistryValue(registry, "HKCU", kDesktopSettingsKey, name, "S", std::int32_t{-1},
                         value) != 0) {
        return std::nullopt;
    }
    return std::get<std::string>(value);
}

TEST(WallpaperStyle, ReadForEveryStoredCombination) {
    struct Case {
        Stored tile;
        Stored style;
        RegistryValue expected;
        std::optional<int> option;
    };
    const std::vector<Case> cases = {
        {"0", "0", std::string("0"), 0},
        {"0", "2", std::string("2"), 2},
        {"1", "0", std::int32_t{1}, 1},
        {"1", "2", std::int32_t{1}, 1},  // tiling wins over any style
        {" 0", "2", std::string("2"), 2},
        {"0", std::nullopt, std::int32_t{-1}, std::nullopt},
        {std::nullopt, "2", std::string("2"), 2},  // no tiling value: the style decides
        {std::nullopt, "10", std::string("10"), std::nullopt},  // fill
        {std::nullopt, std::nullopt, std::int32_t{1}, 1},
        {"yes", "0", std::int32_t{1}, 1},
        {"0", "abc", std::string("abc"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile.value_or("(absent)") + " / " + c.style.value_or("(absent)"));
        sim::SimRegistry registry;
        Store(registry, "TileWallpaper", c.tile);
        Store(registry, "WallpaperStyle", c.style);
        const RegistryValue style = GetWallpaperStyle(registry);
        EXPECT_EQ(style, c.expected);
        EXPECT_EQ(WallpaperStyleOption(style), c.option);
    }
}

TEST(WallpaperStyle, WrittenForEachOptionOverWhateverWasStored) {
    struct Case {
        int index;
        const char* tile;
        const char* style;
    };
    const Case cases[] = {{0, "0", "0"}, {1, "1", "0"}, {2, "0", "2"}};
    const Stored before[] = {std::nullopt, "1", "0", "22"};
    for (const Case& c : cases) {
        for (const Stored& old : before) {
            sim::SimRegistry registry;
            Store(registry, "TileWallpaper", old);
            Store(registry, "WallpaperStyle", old);
            SetWallpaperStyle(registry, c.index);
            EXPECT_EQ(Read(registry, "TileWallpaper"), Stored(c.tile)) << c.index;
            EXPECT_EQ(Read(registry, "WallpaperStyle"), Stored(c.style)) << c.index;
            // What was written reads back as the option that wrote it.
            EXPECT_EQ(WallpaperStyleOption(GetWallpaperStyle(registry)), c.index);
        }
    }
}

TEST(WallpaperTexts, FileSizeInRoundedKilobytes) {
    struct Case {
        std::uint64_t bytes;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {0, ",", "1 kb"},
        {1499, ",", "1 kb"},
        {1500, ",", "2 kb"},
        {999499, ",", "999 kb"},
        {999500, ",", "1,000 kb"},
        {1234567890, ".", "1.234.568 kb"},
        {123456789012, "\xC2\xA0",
         "123\xC2\xA0"
         "456\xC2\xA0"
         "789 kb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileSizeText(c.bytes, c.separator), c.text) << c.bytes;
    }
}

TEST(WallpaperTexts, PreviewSize) {
    struct Case {
        int width;
        int height;
        int previewWidth;
        int previewHeight;
    };
    const Case cases[] = {
        {1024, 768, 150, 113},  // three quarters of 150, rounded
        {100, 400, 100, 400},   // narrower: its own size, however tall
        {150, 150, 150, 150},  {149, 10, 149, 10}, {300, 1, 150, 1},
        {3000, 100, 150, 5},   {1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        const forms::Bounds size = PreviewSize(c.width, c.height);
        EXPECT_EQ(size.width, c.previewWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.previewHeight) << c.width << "x" << c.height;
    }
}

TEST(WallpaperConversion, OnlyNamesNotEndingInBmpAreConverted) {
    const std::pair<const char*, bool> cases[] = {{"C:\\a.bmp", false}, {"C:\\A.BMP", false},
                                                  {"C:\\a.Bmp", false}, {"bmp", false},
                                                  {"C:\\a.jpg", true},  {"C:\\a.dib", true},
                                                  {"C:\\a.png", true},  {"mp", true},
                                                  {"C:\\abmp", false},  {"", true}};
    for (const auto& [path, converted] : cases) {
        EXPECT_EQ(NeedsConversion(path), converted) << path;
    }
}

std::uint32_t Field(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

TEST(WallpaperConversion, BitmapFileRowsBottomUpPaddedAndOpaque) {
    constexpr std::uint32_t kOpaque = 0xFF000000;
    // Top row: red, green; bottom row: blue, half-transparent white (over black: grey).
    const forms::Bitmap picture(
        2, 2, {kOpaque | 0x0000FF, kOpaque | 0x00FF00, kOpaque | 0xFF0000, 0x80FFFFFF});
    const std::string bytes = BitmapFileBytes(picture);
    ASSERT_EQ(bytes.size(), 54u + 2 * 8);  // each row of 6 bytes padded to 8
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Field(bytes, 2, 4), 70u);   // file size
    EXPECT_EQ(Field(bytes, 10, 4), 54u);  // pixels start
    EXPECT_EQ(Field(bytes, 14, 4), 40u);
    EXPECT_EQ(Field(bytes, 18, 4), 2u);  // width
    EXPECT_EQ(Field(bytes, 22, 4), 2u);  // height, positive: bottom-up
    EXPECT_EQ(Field(bytes, 28, 2), 24u);
    EXPECT_EQ(Field(bytes, 30, 4), 0u);  // BI_RGB
    EXPECT_EQ(Field(bytes, 34, 4), 16u);
    const std::string bottom = bytes.substr(54, 8);
    const std::string top = bytes.substr(62, 8);
    EXPECT_EQ(bottom, std::string("\xFF\x00\x00\x80\x80\x80\x00\x00", 8));
    EXPECT_EQ(top, std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8));
}

TEST(FolderRowsTest, AncestorsThenSortedSubFolders) {
    const std::vector<FolderRow> rows = FolderRows("C:\\Program Files\\Pellmark\\", {"b", "A"});
    const std::vector<FolderRow> expected = {
        {"C:\\", "C:\\", 0},
        {"C:\\Program Files", "   Program Files", 1},
        {"C:\\Program Files\\Pellmark", "      Pellmark", 2},
        {"C:\\Program Files\\Pellmark\\A", "         A", 3},
        {"C:\\Program Files\\Pellmark\\b", "         b", 3},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(OpenFolderRow(rows, "C:\\Program Files\\Pellmark"), 2);

    const std::vector<FolderRow> root = FolderRows("d:\\", {"x"});
    const std::vector<FolderRow> rootExpected = {{"d:\\", "d:\\", 0}, {"d:\\x", "   x", 1}};
    EXPECT_EQ(root, rootExpected);
    EXPECT_EQ(OpenFolderRow(root, "d:\\"), 0);

    EXPECT_EQ(RootOf("\\\\server\\share\\pics"), "\\\\server\\share\\");
    EXPECT_EQ(RootOf("c:\\a"), "c:\\");
    EXPECT_EQ(RootOf("pics"), "");
    EXPECT_EQ(FolderPath("c:\\a\\\\"), "c:\\a");
    EXPECT_EQ(FolderPath("c:\\"), "c:\\");
    EXPECT_EQ(FolderPath("c:"), "c:\\");
    const std::vector<FolderRow> share = FolderRows("\\\\server\\share\\pics", {});
    ASSERT_EQ(share.size(), 2u);
    EXPECT_EQ(share[0].path, "\\\\server\\share\\");
    EXPECT_EQ(share[1].path, "\\\\server\\share\\pics");
    EXPECT_TRUE(FolderRows("", {}).empty());
}

TEST(FileList, SeveralPatternsListEachMatchOnceWithoutRegardToCase) {
    sim::SimFiles files;
    for (const char* name : {"b.jpg", "a.BMP", "c.txt", "d.png", "e.bmp.txt", "f.jpeg"}) {
        files.files[std::string("C:\\pics\\") + name] = "x";
    }
    forms::FileList list(files);
    list.SetPattern("*.bmp;*.jpg;;*.png;*.BMP");
    list.SetPath("C:\\pics\\");
    ASSERT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(0), "a.BMP");
    EXPECT_EQ(list.List(1), "b.jpg");
    EXPECT_EQ(list.List(2), "d.png");

    // A folder that is not there is an error, and the list stays as it was.
    EXPECT_THROW(list.SetPath("C:\\Missing\\"), RunTimeError);
    EXPECT_EQ(list.Path(), "C:\\pics\\");
    EXPECT_EQ(list.ListCount(), 3);
}

// The picker over in-memory files, registry, pictures and message boxes.
class PickerTest : public ::testing::Test {
  protected:
    PickerTest() {
        files.folders.insert("C:\\Pellmark\\");
        files.folders.insert("C:\\Pellmark\\Languages\\");
        files.folders.insert("C:\\pics\\");
        std::vector<std::uint32_t> skin(6 * 4, 0xFF808080);
        skin[0] = 0xFFFF00FF;  // the corner, cut away by its colour
        forms.resourcePictures[chrome::PictureName(PELLMARK_PICTURE_WALLPAPER_SKIN)] =
            forms::Bitmap(6, 4, skin);
        AddPicture("C:\\pics\\big.jpg", 1024, 768, 1234567);
        AddPicture("C:\\pics\\tall.png", 100, 400, 300);
        AddPicture("C:\\pics\\plain.bmp", 4, 2, 80);
        files.files["C:\\pics\\broken.gif"] = std::string(40, '\0');
        forms.pictureFiles["C:\\pics\\broken.gif"] = forms::Bitmap();  // no picture in it
    }

    void AddPicture(const std::string& path, int width, int height, std::uint64_t size) {
        files.files[path] = "picture";
        wallpaper.sizes[path] = size;
        forms.pictureFiles[path] = forms::Bitmap(
            width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0xFF336699));
    }

    // Opens the folder of pictures and clicks the file.
    void Pick(const std::string& name) {
        ASSERT_TRUE(picker.OpenFolder("C:\\pics"));
        for (int i = 0; i < picker.File1.ListCount(); ++i) {
            if (picker.File1.List(i) == name) {
                picker.File1.UserSelect(i);
                return;
            }
        }
        FAIL() << name << " is not listed";
    }

    [[nodiscard]] std::vector<std::string> Messages() const {
        return testcases::MessageTexts(dialogs);
    }

    sim::SimFiles files;
    sim::SimRegistry registry;
    sim::SimDialogs dialogs;
    sim::SimFormsBackend forms;
    sim::SimWallpaper wallpaper{files};
    frmSelectWallpaper picker{
        WallpaperPickerServices{forms, files, registry, wallpaper, dialogs, kFolder, {}}};
};

TEST_F(PickerTest, LoadOpensTheProgramFolderAndShowsTheStoredStyleWritingNothing) {
    struct Case {
        Stored tile;
        Stored style;
        int selected;  // -1: none
    };
    const Case cases[] = {
        {"1", "2", 1},
        {std::nullopt, "10", -1},  // fill, as Windows keeps it: no option for it
        {"D:0", "D:2", 2},
        {"D:1", "0", 1},
    };
    for (const Case& c : cases) {
        Store(registry, "TileWallpaper", c.tile);
        Store(registry, "WallpaperStyle", c.style);
        const Stored tile = Raw(registry, "TileWallpaper");
        const Stored style = Raw(registry, "WallpaperStyle");
        picker.Open();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(picker.optStyle[static_cast<std::size_t>(i)]->Value(), i == c.selected)
                << "option " << i << " for " << c.tile.value_or("-") << c.style.value_or("-");
        }
        picker.CancelButton.UserClick();
        EXPECT_EQ(Raw(registry, "TileWallpaper"), tile);
        EXPECT_EQ(Raw(registry, "WallpaperStyle"), style);
    }
    // A style the user picks is written in the type each value had.
    picker.Open();
    picker.optStyle[1]->UserClick();
    EXPECT_EQ(Raw(registry, "TileWallpaper"), Stored("D:1"));
    EXPECT_EQ(Raw(registry, "WallpaperStyle"), Stored("S:0"));
    picker.Unload();
    picker.Open();
    EXPECT_EQ(picker.FolderPath(), "C:\\Pellmark");
    const std::vector<std::string> folders = picker.Dir1.Items();
    EXPECT_EQ(folders, (std::vector<std::string>{"C:\\", "   Pellmark", "      Languages"}));
    EXPECT_EQ(picker.Dir1.ListIndex(), 1);
    EXPECT_EQ(picker.Drive1.Items(), (std::vector<std::string>{"a:", "c:"}));
    EXPECT_EQ(picker.Drive1.ListIndex(), 1);
    // Its shape is the skin without its top-left colour.
    ASSERT_TRUE(picker.Region().has_value());
    EXPECT_EQ(picker.ClientWidth(), 6);
    EXPECT_EQ(picker.Region()->front(), (forms::Bounds{1, 0, 5, 1}));
    // A style clicked is stored at once; the wallpaper is not set again.
    picker.optStyle[2]->UserClick();
    EXPECT_EQ(Raw(registry, "TileWallpaper"), Stored("D:0"));
    EXPECT_EQ(Raw(registry, "WallpaperStyle"), Stored("S:2"));
    EXPECT_TRUE(wallpaper.log.empty());
}

TEST_F(PickerTest, FoldersAndDrivesNavigateAndThePreviewShowsSizeAndProportions) {
    picker.Open();
    files.folders.insert("C:\\pics\\holiday\\");
    picker.Dir1.UserSelect(0);
    picker.Dir1.UserDblClick();
    EXPECT_EQ(picker.FolderPath(), "C:\\");
    EXPECT_EQ(picker.Dir1.Items(), (std::vector<std::string>{"C:\\", "   Pellmark", "   pics"}));
    picker.Dir1.UserSelect(2);
    picker.Dir1.UserDblClick();
    EXPECT_EQ(picker.FolderPath(), "C:\\pics");
    EXPECT_EQ(picker.File1.Items(),
              (std::vector<std::string>{"big.jpg", "broken.gif", "plain.bmp", "tall.png"}));
    EXPECT_EQ(picker.Dir1.Items(), (std::vector<std::string>{"C:\\", "   pics", "      holiday"}));
    EXPECT_EQ(picker.Dir1.ListIndex(), 1);
    // Drive a: holds nothing: not ready. The folder stays and the list says c: again.
    picker.Drive1.UserSelect(0);
    EXPECT_EQ(picker.FolderPath(), "C:\\pics");
    EXPECT_EQ(picker.Drive1.ListIndex(), 1);
    EXPECT_EQ(picker.File1.ListCount(), 4);
    // A drive that is there opens at its root.
    files.folders.insert("a:\\");
    picker.Drive1.UserSelect(0);
    EXPECT_EQ(picker.FolderPath(), "a:\\");
    EXPECT_EQ(picker.File1.ListCount(), 0);
    EXPECT_TRUE(dialogs.shown.empty());

    // The preview shows a picture's size and proportions.
    picker.Open();
    Pick("big.jpg");
    EXPECT_TRUE(picker.imgPreview.Visible());
    EXPECT_TRUE(picker.imgPreview.Stretch());
    EXPECT_EQ(picker.imgPreview.Tag, "C:\\pics\\big.jpg");
    EXPECT_EQ(picker.imgPreview.GetBounds().width, 150);
    EXPECT_EQ(picker.imgPreview.GetBounds().height, 113);
    EXPECT_EQ(picker.lblRes.Caption(), "1024 x 768");
    EXPECT_EQ(picker.lblFileSize.Caption(), "1,235 kb");

    wallpaper.separator = ".";
    Pick("tall.png");
    EXPECT_EQ(picker.imgPreview.GetBounds().width, 100);
    // Taller than the well: its top shows, and only that is decoded.
    EXPECT_EQ(picker.imgPreview.GetBounds().height, 166);
    EXPECT_EQ(picker.imgPreview.GetBounds().top, 0);
    EXPECT_EQ(forms.cuts.back(), (forms::PictureCut{{0, 0, 100, 166}, 100, 166}));
    EXPECT_EQ(picker.lblRes.Caption(), "100 x 400");
    EXPECT_EQ(picker.lblFileSize.Caption(), "1 kb");

    Pick("broken.gif");
    EXPECT_FALSE(picker.imgPreview.Visible());
    EXPECT_TRUE(picker.imgPreview.GetPicture().Empty());
    EXPECT_EQ(picker.imgPreview.Tag, "");
    EXPECT_EQ(picker.lblRes.Caption(), "");
    EXPECT_EQ(picker.lblFileSize.Caption(), "");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"This picture cannot be shown:\n"
                                                    "C:\\pics\\broken.gif\n\n"
                                                    "Error 481: Invalid picture"}));
    EXPECT_TRUE(wallpaper.log.empty());
}

TEST_F(PickerTest, ApplyConvertsAnyPictureButABitmap) {
    picker.Open();
    Pick("big.jpg");
    picker.cmdSetWallpaper.UserClick();
    EXPECT_EQ(wallpaper.log, (std::vector<std::string>{std::string("set ") + kConverted}));
    ASSERT_EQ(files.files.count(kConverted), 1u);
    const std::string& bytes = files.files[kConverted];
    EXPECT_EQ(bytes, BitmapFileBytes(forms.pictureFiles["C:\\pics\\big.jpg"]));
    EXPECT_EQ(Field(bytes, 18, 4), 1024u);
    EXPECT_TRUE(picker.Loaded());  // the window stays open

    // A bitmap is set as it is; the converted file stays from before.
    Pick("plain.bmp");
    picker.cmdSetWallpaper.UserClick();
    EXPECT_EQ(wallpaper.wallpaper, "C:\\pics\\plain.bmp");
    EXPECT_EQ(files.files[kConverted], bytes);

    // A picture the preview did not load is loaded for the conversion.
    Pick("tall.png");
    forms.pictureFiles["C:\\pics\\tall.png"] =
        forms::Bitmap(3, 1, std::vector<std::uint32_t>(3, 0xFF0000FF));
    picker.imgPreview.Tag.clear();
    picker.OKButton.UserClick();
    EXPECT_EQ(wallpaper.wallpaper, kConverted);
    EXPECT_EQ(Field(files.files[kConverted], 18, 4), 3u);
    EXPECT_FALSE(picker.Loaded());  // OK closes
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PickerTest, APictureOfManyPixelsIsDecodedOnlyAsLargeAsItShows) {
    const std::string huge = "C:\\pics\\huge.png";
    files.files[huge] = std::string(818 * 1024, 'x');
    forms.largePictures[huge] = {16384, 16384};
    wallpaper.screen = {1920, 1080};
    picker.Open();
    Pick("huge.png");
    EXPECT_EQ(picker.lblRes.Caption(), "16384 x 16384");
    EXPECT_EQ(picker.imgPreview.GetBounds(), (forms::Bounds{51, 8, 150, 150}));
    EXPECT_EQ(forms.cuts.back(), (forms::PictureCut{{0, 0, 16384, 16384}, 300, 300}));
    // Stretched: no larger than it takes to cover the screen; centred: the middle the
    // screen shows, at its own size.
    const std::pair<int, forms::PictureCut> styles[] = {
        {2, {{0, 0, 16384, 16384}, 1920, 1920}},
        {0, {{7232, 7652, 1920, 1080}, 1920, 1080}},
    };
    for (const auto& [style, cut] : styles) {
        picker.optStyle[static_cast<std::size_t>(style)]->UserClick();
        picker.cmdSetWallpaper.UserClick();
        EXPECT_EQ(forms.cuts.back(), cut);
        EXPECT_EQ(Field(files.files[kConverted], 18, 4), static_cast<std::uint32_t>(cut.width));
        EXPECT_EQ(Field(files.files[kConverted], 22, 4), static_cast<std::uint32_t>(cut.height));
    }
    // Closed, it holds no picture.
    picker.CancelButton.UserClick();
    EXPECT_TRUE(picker.imgPreview.GetPicture().Empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PickerTest, APictureThatFailsLeavesTheWallpaperAsItWas) {
    files.files[kConverted] = "the wallpaper of before";
    picker.Open();
    Pick("broken.gif");
    dialogs.shown.clear();
    picker.OKButton.UserClick();
    EXPECT_TRUE(wallpaper.log.empty());
    EXPECT_EQ(files.files[kConverted], "the wallpaper of before");
    EXPECT_TRUE(picker.Loaded());  // left open for another choice
    EXPECT_EQ(Messages(), (std::vector<std::string>{"This picture cannot be made the wallpaper:\n"
                                                    "C:\\pics\\broken.gif\n\n"
                                                    "Error 481: Invalid picture\n\n"
                                                    "The wallpaper stays as it was."}));

    // The converted file cannot be written: the old one stays whole, nothing is set.
    Pick("big.jpg");
    files.writeFailure = {112, "There is not enough space on the disk."};
    dialogs.shown.clear();
    picker.cmdSetWallpaper.UserClick();
    EXPECT_TRUE(wallpaper.log.empty());
    EXPECT_EQ(files.files[kConverted], "the wallpaper of before");
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{
                  "Exclamation [Choose wallpaper] This picture cannot be made the "
                  "wallpaper:\nC:\\pics\\big.jpg\n\n"
                  "Error 75: The converted picture could not be written to "
                  "C:\\Pellmark\\pellmark-Wallpaper.bmp: There is not enough space on the disk."
                  "\n\nThe wallpaper stays as it was."}));
    for (const auto& [path, content] : files.files) {
        EXPECT_EQ(path.find("~pellmark"), std::string::npos) << path << " left behind";
    }
}

TEST_F(PickerTest, WithNoFileSelectedTheButtonsOnlyClose) {
    for (forms::Button* button : {&picker.cmdSetWallpaper, &picker.OKButton}) {
        picker.Open();
        ASSERT_EQ(picker.File1.ListIndex(), -1);
        button->UserClick();
        EXPECT_FALSE(picker.Loaded()) << button->Name();
    }
    // The skin's close picture closes it too, with a file selected.
    picker.Open();
    Pick("big.jpg");
    picker.imgQuit.UserClick();
    EXPECT_FALSE(picker.Loaded());
    EXPECT_TRUE(wallpaper.log.empty());
    EXPECT_EQ(files.files.count(kConverted), 0u);
}

TEST(WallpaperProgram, ThePickerLoadsHiddenWithTheLanguageAndOpensWithoutHoldingTheWindow) {
    testcases::ProgramHarness h;
    sim::SimWallpaper wallpaper{h.files};
    h.services.wallpaper = &wallpaper;
    h.forms.resourcePictures[chrome::PictureName(PELLMARK_PICTURE_WALLPAPER_SKIN)] =
        forms::Bitmap(4, 4, std::vector<std::uint32_t>(16, 0xFF808080));
    testcases::PutShippedLanguage(h.files, testcases::kProgramFolder, "German");
    ASSERT_TRUE(h.Start());
    frmSelectWallpaper* picker = h.form->WallpaperPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->Loaded());
    EXPECT_FALSE(picker->Visible());
    // Hidden, its controls have no windows yet: they cost nothing at start-up.
    EXPECT_EQ(picker->File1.Peer(), nullptr);
    // Nor has it asked for a drive or a folder.
    EXPECT_TRUE(picker->Drive1.Items().empty());
    EXPECT_TRUE(picker->Dir1.Items().empty());
    EXPECT_EQ(picker->FolderPath(), "");
    EXPECT_EQ(picker->cmdSetWallpaper.Caption(), "Change Wallpaper");
    EXPECT_EQ(picker->Frame1.Caption(), "Display");
    EXPECT_EQ(picker->optStyle[2]->Caption(), "Stretch");

    h.form->UseLanguage("German");
    EXPECT_EQ(picker->optStyle[1]->Caption(), "Nebeneinander");
    EXPECT_EQ(picker->Label2.Caption(), "Dateigröße:");

    // The Misc page's buttons: the picker shows and the main window stays usable.
    h.form->Navigation().SideButtonClick(2);
    h.form->Navigation().TabClick(1);
    h.form->misc.wallpaper.cmdChangeCover.UserClick();
    EXPECT_TRUE(picker->Visible());
    EXPECT_NE(picker->File1.Peer(), nullptr);
    EXPECT_EQ(picker->FolderPath(), testcases::kProgramFolder);
    EXPECT_FALSE(picker->Drive1.Items().empty());
    EXPECT_FALSE(picker->Modal());
    EXPECT_FALSE(h.forms.Disabled(*h.form));
    EXPECT_EQ(picker->Settings().owner, h.form.get());
    h.form->misc.wallpaper.cmdRemoveCover.UserClick();
    EXPECT_EQ(wallpaper.log, (std::vector<std::string>{"remove"}));
    for (const auto& shown : h.dialogs.shown) {
        EXPECT_EQ(shown.text.find("picture"), std::string::npos) << shown.text;
    }

    // Its messages speak the language too.
    h.dialogs.shown.clear();
    h.files.files["C:\\Pellmark\\broken.gif"] = "GIF";
    h.forms.pictureFiles["C:\\Pellmark\\broken.gif"] = forms::Bitmap();
    ASSERT_TRUE(picker->OpenFolder(testcases::kProgramFolder));
    ASSERT_EQ(picker->File1.Items(), std::vector<std::string>{"broken.gif"});
    picker->File1.UserSelect(0);
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].text,
              "Dieses Bild kann nicht angezeigt werden:\nC:\\Pellmark\\broken.gif\n\n"
              "Error 481: Invalid picture");
}

}  // namespace
}  // namespace pellmark
