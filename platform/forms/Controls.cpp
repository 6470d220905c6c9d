#include "platform/forms/Controls.h"

#include <algorithm>
#include <utility>

#include "platform/forms/Form.h"

namespace pellmark::forms {

namespace {
void Run(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}
}  // namespace

void Button::UserClick() {
    if (Usable()) {
        Run(Click);
    }
}

void Button::SetDefault(bool isDefault) {
    if (default_ == isDefault) {
        return;
    }
    if (isDefault) {
        for (const auto& other : Owner().Controls()) {
            if (other.get() != this && other->Kind() == ControlKind::Button) {
                static_cast<Button&>(*other).SetDefault(false);
            }
        }
    }
    default_ = isDefault;
    Notify(Change::Value);
}

void Button::SetCancel(bool isCancel) {
    if (cancel_ == isCancel) {
        return;
    }
    if (isCancel) {
        for (const auto& other : Owner().Controls()) {
            if (other.get() != this && other->Kind() == ControlKind::Button) {
                static_cast<Button&>(*other).cancel_ = false;
            }
        }
    }
    cancel_ = isCancel;
}

void CheckBox::SetValue(int value) {
    if (value_ == value) {
        return;
    }
    value_ = value;
    Notify(Change::Value);
    Run(Click);
}

void CheckBox::UserClick() {
    if (Usable()) {
        SetValue(value_ == 1 ? 0 : 1);
    }
}

void OptionButton::SetValue(bool value) {
    if (value_ == value) {
        return;
    }
    if (value) {
        // The rest of the group lets go first, without a click of their own.
        for (const auto& other : Owner().Controls()) {
            if (other.get() != this && other->Kind() == ControlKind::OptionButton &&
                other->Container() == Container()) {
                auto& option = static_cast<OptionButton&>(*other);
                if (option.value_) {
                    option.value_ = false;
                    option.Notify(Change::Value);
                }
            }
        }
    }
    value_ = value;
    Notify(Change::Value);
    if (value) {
        Run(Click);
    }
}

void OptionButton::UserClick() {
    if (Usable()) {
        SetValue(true);
    }
}

void Slider::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    Notify(Change::Range);
    SetValue(value_);
}

void Slider::SetSteps(int tickEvery, int smallChange, int largeChange) {
    tickEvery_ = std::max(tickEvery, 0);
    smallChange_ = std::max(smallChange, 1);
    largeChange_ = std::max(largeChange, 1);
    Notify(Change::Range);
}

void Slider::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value_ == value) {
        return;
    }
    value_ = value;
    Notify(Change::Value);
    Run(Change);
}

void Slider::UserMove(int value) {
    if (Usable()) {
        SetValue(value);
    }
}

void TextBox::SetText(std::string text) {
    if (text_ == text) {
        return;
    }
    text_ = std::move(text);
    Notify(Change::Value);
    Run(Change);
}

void TextBox::UserType(std::string text) {
    if (Usable()) {
        SetText(std::move(text));
    }
}

void ListControl::AddItem(std::string text) {
    items_.push_back(std::move(text));
    NotifyItem(ItemChange::Added, ListCount() - 1);
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) {
        return;
    }
    items_.erase(items_.begin() + index);
    NotifyItem(ItemChange::Removed, index);
    if (listIndex_ == index) {
        listIndex_ = -1;
        Notify(Change::Selection);
    } else if (listIndex_ > index) {
        --listIndex_;
    }
}

void ListControl::Clear() {
    items_.clear();
    listIndex_ = -1;
    NotifyItem(ItemChange::All, -1);
}

void ListControl::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    listIndex_ = -1;
    NotifyItem(ItemChange::All, -1);
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount() || index == listIndex_) {
        return;
    }
    listIndex_ = index;
    Notify(Change::Selection);
    RowChosen();
    Run(Click);
}

void ListControl::UserSelect(int index) {
    if (Usable()) {
        SetListIndex(index);
    }
}

std::string ComboBox::Text() const {
    if (editable_) {
        return text_;
    }
    return ListIndex() >= 0 ? List(ListIndex()) : std::string();
}

void ComboBox::SetText(std::string text) {
    if (!editable_ || text == text_) {
        return;
    }
    text_ = std::move(text);
    Notify(Change::Value);
    Run(Change);
}

void ComboBox::UserType(std::string text) {
    if (Usable()) {
        SetText(std::move(text));
    }
}

// Choosing a row puts it in the box, as the box shows it, without a Change.
void ComboBox::RowChosen() {
    if (editable_ && ListIndex() >= 0 && text_ != List(ListIndex())) {
        text_ = List(ListIndex());
        Notify(Change::Value);
    }
}

int ListControl::RowAt(int x, int y) const {
    return Peer() != nullptr ? Peer()->RowAt(x, y) : -1;
}

Bounds ListControl::RowBounds(int index) const {
    return Peer() != nullptr ? Peer()->RowBounds(index) : Bounds{};
}

int ListView::RowAt(int x, int y) const {
    return Peer() != nullptr ? Peer()->RowAt(x, y) : -1;
}

Bounds ListView::RowBounds(int index) const {
    return Peer() != nullptr ? Peer()->RowBounds(index) : Bounds{};
}

void ListView::SetImages(std::shared_ptr<const ImageList> images) {
    images_ = std::move(images);
    Notify(Change::Picture);
}

void ListView::SetColumns(std::vector<ListViewColumn> columns) {
    columns_ = std::move(columns);
    Notify(Change::Columns);
}

void ListView::AddItem(ListViewItem item) {
    items_.push_back(std::move(item));
    NotifyItem(ItemChange::Added, ItemCount() - 1);
}

void ListView::SetItems(std::vector<ListViewItem> items) {
    items_ = std::move(items);
    selected_ = -1;
    NotifyItem(ItemChange::All, -1);
}

void ListView::SetColumnsClickable(bool clickable) {
    if (clickable != columnsClickable_) {
        columnsClickable_ = clickable;
        Notify(Change::Columns);
    }
}

void ListView::UserClickColumn(int column) {
    if (Usable() && columnsClickable_ && column >= 0 &&
        column < static_cast<int>(columns_.size()) && ColumnClick) {
        ColumnClick(column);
    }
}

void ListView::Clear() {
    items_.clear();
    selected_ = -1;
    NotifyItem(ItemChange::All, -1);
}

void ListView::SetChecked(int index, bool checked) {
    if (index >= 0 && index < ItemCount() && items_[index].checked != checked) {
        items_[index].checked = checked;
        NotifyItem(ItemChange::Changed, index);
    }
}

void ListView::SetGhosted(int index, bool ghosted) {
    if (index >= 0 && index < ItemCount() && items_[index].ghosted != ghosted) {
        items_[index].ghosted = ghosted;
        NotifyItem(ItemChange::Changed, index);
    }
}

void ListView::SetSelectedIndex(int index) {
    if (index < -1 || index >= ItemCount() || index == selected_) {
        return;
    }
    selected_ = index;
    Notify(Change::Selection);
}

void ListView::UserToggleCheck(int index) {
    if (!Usable() || index < 0 || index >= ItemCount()) {
        return;
    }
    items_[index].checked = !items_[index].checked;
    NotifyItem(ItemChange::Changed, index);
    if (ItemCheck) {
        ItemCheck(index);
    }
}

void ListView::UserSelect(int index) {
    if (!Usable() || index < 0 || index >= ItemCount()) {
        return;
    }
    SetSelectedIndex(index);
    if (ItemClick) {
        ItemClick(index);
    }
}

void Label::UserClick() {
    if (Usable()) {
        Run(Click);
    }
}

void Picture::SetScale(int width, int height) {
    scaleWidth_ = width;
    scaleHeight_ = height;
    Notify(Change::Range);
}

void Picture::SetPicture(Bitmap picture) {
    if (!(picture_ == picture)) {
        picture_ = std::move(picture);
        Notify(Change::Picture);
    }
}

void Picture::UserClick() {
    if (Usable()) {
        Run(Click);
    }
}

void Image::SetPicture(Bitmap picture) {
    if (!(picture_ == picture)) {
        picture_ = std::move(picture);
        Notify(Change::Picture);
    }
}

void Image::SetStretch(bool stretch) {
    if (stretch_ != stretch) {
        stretch_ = stretch;
        Notify(Change::Picture);
    }
}

void Image::UserClick() {
    if (Usable()) {
        Run(Click);
    }
}

}  // namespace pellmark::forms
