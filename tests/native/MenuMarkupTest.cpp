#include "platform/forms/MenuMarkup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace pellmark::forms {
namespace {

TEST(MenuMarkupTest, CaptionsDecodeAndReadBackTheSame) {
    struct Case {
        const char* caption;
        const char* text;
        const char* help;
        bool separator;
        bool mark;
        bool check;
        const char* encoded;  // the caption rebuilt from the record
    } const cases[] = {
        {"E&xit", "E&xit", "", false, false, false, "E&xit"},
        {"", "", "", false, false, false, ""},
        {"-", "", "", true, false, false, "-"},
        {"-Screen saver", "Screen saver", "", true, false, false, "-Screen saver"},
        {"#Show Desktop", "Show Desktop", "", false, true, true, "#Show Desktop"},
        {"*Large icons", "Large icons", "", false, true, false, "*Large icons"},
        {"#", "", "", false, true, true, "#"},
        // Only the first character before the bar counts, and only as a marker.
        {"a|Saves the desktop|&Save", "&Save", "Saves the desktop", false, false, false,
         "|Saves the desktop|&Save"},
        {"#x|Hides the icons|Show Desktop", "Show Desktop", "Hides the icons", false, true, true,
         "#|Hides the icons|Show Desktop"},
        {"-|The internet|Internet", "Internet", "The internet", true, false, false,
         "-|The internet|Internet"},
        {"||Plain", "Plain", "", false, false, false, "Plain"},
        // The text runs to the end, bars and all.
        {"*|help|a|b", "a|b", "help", false, true, false, "*|help|a|b"},
        // A bar that opens no help part: the rest is the text.
        {"x|Open", "Open", "", false, false, false, "Open"},
        // A text that would read as markup on its own keeps an empty help part.
        {"||#1 hit", "#1 hit", "", false, false, false, "||#1 hit"},
        {"||-5 dB", "-5 dB", "", false, false, false, "||-5 dB"},
        {"#||a|b", "a|b", "", false, true, true, "#||a|b"},
        {"##1", "#1", "", false, true, true, "##1"},
        {"Copy\tCtrl+C", "Copy\tCtrl+C", "", false, false, false, "Copy\tCtrl+C"},
        {"\xC3\x9C&bersicht", "\xC3\x9C&bersicht", "", false, false, false, "\xC3\x9C&bersicht"},
    };
    // What a caption says: its text, help, separator, mark and check.
    const auto says = [](const CMyItemData& item) {
        return std::tuple(item.sMenuText, item.sMenuHelp, item.separator, item.bAsMark,
                          item.bAsCheck);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const CMyItemData item = DecodeCaption(c.caption);
        EXPECT_EQ(says(item), std::tuple(std::string(c.text), std::string(c.help), c.separator,
                                         c.mark, c.check));
        const std::string encoded = EncodeCaption(item);
        EXPECT_EQ(encoded, c.encoded);
        EXPECT_EQ(says(DecodeCaption(encoded)), says(item)) << "the rebuilt caption differs";
    }
}

TEST(MenuMarkupTest, NewKeysNeverMeetAKeyInUse) {
    CMyItemDatas items;
    EXPECT_EQ(items.NewKey(), 1u);
    std::set<CMyItemDatas::Key> used;
    for (int i = 0; i < 5; ++i) {
        const CMyItemDatas::Key key = items.NewKey();
        EXPECT_TRUE(used.insert(key).second) << key;
        items.Add(key).sMenuText = "item " + std::to_string(key);
    }
    // Removing one in the middle makes Count + 1 a key still in use; a new key is not.
    items.Remove(2);
    ASSERT_EQ(items.Count(), 4u);
    const CMyItemDatas::Key fresh = items.NewKey();
    EXPECT_EQ(items.Item(fresh), nullptr);
    EXPECT_NE(fresh, 0u);
    ASSERT_NE(items.Item(5), nullptr);
    EXPECT_EQ(items.Item(5)->sMenuText, "item 5");
    EXPECT_EQ(items.Item(2), nullptr);
    // At the top of the range the first free key from the bottom serves.
    items.Add(UINT32_MAX);
    EXPECT_EQ(items.NewKey(), 2u);
    // Adding under a key in use starts its record afresh.
    items.Item(5)->iButton = 3;
    EXPECT_EQ(items.Add(5).iButton, -1);
}

TEST(MenuMarkupTest, FindMenuImageComparesTagPrefixesIgnoringCase) {
    MenuImages images;
    images.images.resize(5);
    images.tags = {"", "&Restore pattern", "E&xit", "Minimize all windows", "\xC3\x9C&bersicht"};
    // A text finds the tag it starts with or that starts with it; an empty text finds the
    // first tagged picture, not the untagged one.
    const std::pair<const char*, int> cases[] = {{"E&xit", 2},
                                                 {"e&XIT", 2},
                                                 {"E&xit now", 2},
                                                 {"E&x", 2},
                                                 {"Exit", -1},
                                                 {"&Restore pattern", 1},
                                                 {"Minimize all", 3},
                                                 {"Restore all windows", -1},
                                                 {"", 1},
                                                 {"\xC3\xBC&BERSICHT", 4},
                                                 {"Nothing like it", -1}};
    for (const auto& [text, image] : cases) {
        EXPECT_EQ(FindMenuImage(&images, text), image) << text;
    }
    EXPECT_EQ(FindMenuImage(nullptr, "E&xit"), -1);
    // A tag without a picture finds nothing.
    images.images.resize(2);
    EXPECT_EQ(FindMenuImage(&images, "E&xit"), -1);
    MenuImages untagged;
    untagged.images.resize(2);
    untagged.tags = {"", ""};
    EXPECT_EQ(FindMenuImage(&untagged, ""), -1);
}

TEST(MenuMarkupTest, AccessKeysFollowTheFirstSingleAmpersand) {
    struct Case {
        const char* text;
        char16_t typed;
        bool marked;
    } const cases[] = {
        {"E&xit", u'x', true},         {"E&xit", u'X', true},
        {"E&xit", u'e', false},        {"Save && E&xit", u'x', true},
        {"Save && Exit", u' ', false}, {"Trailing&", u'&', false},
        {"&&x", u'x', false},          {"\xC3\x9C&\xC3\xBC", u'\u00DC', true},
        {"&Help", u'h', true},         {"&Help", u'e', false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasAccessKey(c.text, c.typed), c.marked)
            << c.text << " " << static_cast<int>(c.typed);
    }
}

TEST(MenuMarkupTest, MeasuresAndPlacesItems) {
    const auto size = [](ItemSize s) { return std::pair(s.width, s.height); };
    const auto across = [](const Edges& e) { return std::pair(e.left, e.right); };
    const MenuMetrics small{16, 19, 13};
    EXPECT_EQ(size(MeasureSeparator(small)), std::pair(0, 9));
    EXPECT_EQ(MeasureSeparator({24, 29, 20}).height, 14);
    // A pop-up item: 4 + 1 + 18 * 2 - 12 = 29 pixels beyond its text, at least a line high.
    EXPECT_EQ(size(MeasureItem(small, 100, 13, false)), std::pair(129, 19));
    EXPECT_EQ(size(MeasureItem(small, 100, 13, true)), std::pair(100, 19));
    EXPECT_EQ(MeasureItem(small, 10, 25, false).height, 25);
    // A 24-pixel picture in a line only 20 high still gets its whole box.
    EXPECT_EQ(MeasureItem({24, 20, 13}, 10, 13, false).height, 26);

    const Edges item{0, 40, 150, 59};
    const Edges box = IconBox(item, 16);
    EXPECT_EQ(std::tuple(box.left, box.top, box.right, box.bottom), std::tuple(0, 40, 18, 59));
    EXPECT_EQ(across(TextArea(item, 16, false)), std::pair(21, 132));
    EXPECT_EQ(across(TextArea(item, 16, true)), std::pair(0, 150));

    const auto [left, right] = SplitAtTab("Copy\tCtrl+C\tmore");
    EXPECT_EQ(left, "Copy");
    EXPECT_EQ(right, "Ctrl+C\tmore");
    EXPECT_EQ(SplitAtTab("Copy").second, "");
}

}  // namespace
}  // namespace pellmark::forms
