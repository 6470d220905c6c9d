// The owner-drawn menus' item model, written once: what a caption's markup says, the record
// each converted item carries, the picture an item's text finds, and the measures of an
// item. The win32 engine (platform/win32/Win32CoolMenu) draws with it.
//
// Caption markup: "A|help|text" carries a help text, and only the first character of A
// counts as a marker; without "|" the whole caption is the text. A leading "-" makes a
// separator (its text a title: "-Internet"), "#" a check mark and "*" a radio mark shown
// while the item is checked.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/forms/Menu.h"

namespace pellmark::forms {

// One converted item: what its caption said, and how it is drawn.
struct CMyItemData {
    bool bTrueSub = false;  // opens a submenu and is not on a menu bar
    std::string sMenuHelp;
    bool bAsMark = false;   // shows a check or radio mark while checked
    bool bAsCheck = false;  // the mark is a check mark rather than a radio mark
    bool bMainMenu = false;
    int iButton = -1;         // its picture in the menu images; -1: none
    std::uint32_t fType = 0;  // the item's type flags as converted
    std::string sMenuText;
    bool separator = false;
    std::uint32_t originalType = 0;  // the type it had before, given back when unconverted
};

// Reads a caption's markup into text, help, separator and mark.
[[nodiscard]] CMyItemData DecodeCaption(std::string_view caption);
// The caption that says what the record says. A text that would read as markup by itself
// (a leading marker, or a "|") is written behind an empty help part, so that it means the
// same when it is read again.
[[nodiscard]] std::string EncodeCaption(const CMyItemData& item);

// The records of the converted items, under keys that the menu items carry as their data.
class CMyItemDatas {
  public:
    using Key = std::uint32_t;
    // A key no record holds; never 0, which means "no record" in a menu item.
    [[nodiscard]] Key NewKey() const noexcept;
    // A new record under `key`, replacing one held there.
    CMyItemData& Add(Key key);
    [[nodiscard]] CMyItemData* Item(Key key) noexcept;
    [[nodiscard]] std::size_t Count() const noexcept { return items_.size(); }
    void Remove(Key key) noexcept { items_.erase(key); }
    [[nodiscard]] auto begin() const noexcept { return items_.begin(); }
    [[nodiscard]] auto end() const noexcept { return items_.end(); }

  private:
    std::map<Key, CMyItemData> items_;
};

// The first picture whose tag and `text` agree, ignoring case, over the length of the shorter
// of the two; untagged pictures are skipped, so an empty text finds the first tagged one.
// -1 when none agrees or there are no pictures.
[[nodiscard]] int FindMenuImage(const MenuImages* images, std::string_view text);

// True when `text` marks `typed` (one UTF-16 unit) as its access key with "&", ignoring
// case; "&&" is a plain ampersand.
[[nodiscard]] bool HasAccessKey(std::string_view text, char16_t typed);

// The text before the first tab, drawn on the left, and the text after it, on the right.
[[nodiscard]] std::pair<std::string_view, std::string_view> SplitAtTab(std::string_view text);

// Measures, in the pixels of the device drawn on. `iconSize` is the picture's size there,
// `menuHeight` the height of a menu-bar line, `checkWidth` the system's check-mark width.
struct MenuMetrics {
    int iconSize = 16;
    int menuHeight = 19;
    int checkWidth = 13;
};
struct ItemSize {
    int width = 0;
    int height = 0;
};
// A separator, titled or not, is half a menu line high and takes no width of its own.
[[nodiscard]] ItemSize MeasureSeparator(const MenuMetrics& metrics) noexcept;
// An item whose text measures `textWidth` by `textHeight`; a pop-up item also makes room
// for the picture box on the left and the submenu arrow on the right (the system already
// adds a check mark's width, less one pixel).
[[nodiscard]] ItemSize MeasureItem(const MenuMetrics& metrics, int textWidth, int textHeight,
                                   bool onMenuBar) noexcept;
// The picture box on the item's left, and where a pop-up item's text goes; left, top,
// right, bottom.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
[[nodiscard]] Edges IconBox(const Edges& item, int iconSize) noexcept;
[[nodiscard]] Edges TextArea(const Edges& item, int iconSize, bool onMenuBar) noexcept;

}  // namespace pellmark::forms
