// Pop-up menus: named items with a caption and a handler, shown at the cursor.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pellmark::forms {

struct MenuItem {
    std::string name;
    std::string caption;  // "-" alone: a separator
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    std::function<void()> Click;
};

class PopupMenu {
  public:
    explicit PopupMenu(std::string name) : name_(std::move(name)) {}
    [[nodiscard]] const std::string& Name() const noexcept { return name_; }
    std::vector<MenuItem> items;
    // The item called `name`; null when there is none.
    [[nodiscard]] MenuItem* Find(const std::string& name);

  private:
    std::string name_;
};

}  // namespace pellmark::forms
