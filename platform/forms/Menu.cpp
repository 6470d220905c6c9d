#include "platform/forms/Menu.h"

#include <utility>

#include "platform/forms/Control.h"

namespace pellmark::forms {

MenuItem::MenuItem(std::string itemName, int itemIndex, std::string itemCaption)
    : name(std::move(itemName)), index(itemIndex), caption(std::move(itemCaption)) {}

MenuItem& MenuItem::Add(std::string itemName, int itemIndex, std::string itemCaption) {
    items_.push_back(
        std::make_unique<MenuItem>(std::move(itemName), itemIndex, std::move(itemCaption)));
    items_.back()->parent_ = this;
    return *items_.back();
}

void MenuItem::RemoveFrom(std::size_t position) {
    // Newest first, as a form's controls go.
    while (items_.size() > position) {
        items_.pop_back();
    }
}

MenuItem* MenuItem::Find(std::string_view itemName, int itemIndex) {
    if (name == itemName && (itemIndex < 0 || index == itemIndex)) {
        return this;
    }
    for (const auto& item : items_) {
        if (MenuItem* found = item->Find(itemName, itemIndex)) {
            return found;
        }
    }
    return nullptr;
}

std::string MenuItem::ElementKey() const {
    return index < 0 ? name : ElementName(name, static_cast<std::size_t>(index));
}

std::vector<MenuItem*> ShownItems(const MenuItem& menu) {
    std::vector<MenuItem*> shown;
    MenuItem* separatorDue = nullptr;
    for (const auto& item : menu.Items()) {
        if (!item->visible) {
            continue;
        }
        if (item->IsSeparator()) {
            separatorDue = shown.empty() ? nullptr : item.get();
            continue;
        }
        if (separatorDue != nullptr) {
            shown.push_back(separatorDue);
            separatorDue = nullptr;
        }
        shown.push_back(item.get());
    }
    return shown;
}

bool OpensSubmenu(const MenuItem& item) noexcept {
    for (const auto& child : item.Items()) {
        if (child->visible) {
            return true;
        }
    }
    return false;
}

}  // namespace pellmark::forms
