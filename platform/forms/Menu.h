// Menus: a persistent tree of named items under each of a form's top-level menus, and the
// pictures the owner-drawn menus find by caption.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Canvas.h"

namespace pellmark::forms {

// A point in a form's client area, pixels at 96 DPI.
struct MenuPoint {
    int x = 0;
    int y = 0;
};

// One item of a menu tree. A form's top-level menu is a MenuItem too: its children are what
// pops up. Items live while their form lives; the backend keeps the real menu in step with
// the tree before every show.
class MenuItem {
  public:
    explicit MenuItem(std::string itemName, int itemIndex = -1, std::string itemCaption = {});
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string name;     // "mnuMinimize"; the elements of a control array share one name
    int index = -1;       // the element's index in its control array; -1: not in one
    std::string caption;  // may carry the owner-drawn markup: "-" a separator, "-Title" a
                          // titled one, a leading "#" or "*" a check or radio mark, "a|help|text"
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool isDefault = false;  // drawn bold
    std::function<void()> Click;

    // Appends a child (this item then opens a submenu) and returns it.
    MenuItem& Add(std::string itemName, int itemIndex = -1, std::string itemCaption = {});
    // Removes the children from `position` on (to rebuild the end of a submenu).
    void RemoveFrom(std::size_t position);
    [[nodiscard]] const std::vector<std::unique_ptr<MenuItem>>& Items() const noexcept {
        return items_;
    }
    [[nodiscard]] bool HasSubmenu() const noexcept { return !items_.empty(); }
    [[nodiscard]] MenuItem* Parent() const noexcept { return parent_; }
    // This item's subtree, depth first (this item included): the first item with the name
    // (and, when index >= 0, that index); null when none.
    [[nodiscard]] MenuItem* Find(std::string_view itemName, int itemIndex = -1);
    // "mnuPattern(2)" for an element of an array, else the name.
    [[nodiscard]] std::string ElementKey() const;
    // A plain separator: "-" alone (a titled one carries text after the dash).
    [[nodiscard]] bool IsSeparator() const noexcept { return caption == "-"; }

  private:
    MenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

// What one level of a menu shows, in order: its visible items, where a plain separator
// shows only between two shown items (hidden items take their separators' reason away).
[[nodiscard]] std::vector<MenuItem*> ShownItems(const MenuItem& menu);
// The item opens a submenu when it shows: some child of it is visible. One whose children
// are all hidden shows as a plain item.
[[nodiscard]] bool OpensSubmenu(const MenuItem& item) noexcept;

// The pictures of a form's owner-drawn menus, each with a tag that the menu engine
// compares with an item's text. The form keeps it and may change tags at any time; the
// engine reads them each time a menu opens.
struct MenuImages {
    int size = 16;  // pixels at 96 DPI
    std::vector<Bitmap> images;
    std::vector<std::string> tags;  // one per image, "" for an untagged image
    // The same pictures drawn at 1.5 times the size, for 120 DPI and up; where one is
    // missing the small one is drawn larger.
    std::vector<Bitmap> large;
};

}  // namespace pellmark::forms
