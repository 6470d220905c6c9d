// The kinds of control the forms are made of. Each value setter runs the control's
// handler when, and only when, the value changes, whether code or the user changed it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Canvas.h"
#include "platform/forms/Control.h"

namespace pellmark::forms {

class Button final : public Control {
  public:
    Button(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Button, std::move(name), container) {}
    std::function<void()> Click;
    // The user pressed it (ignored while it cannot be reached).
    void UserClick();
    // Enter anywhere in the form clicks the default button, Esc the cancel button; one of
    // each per form, so setting one clears the form's other.
    [[nodiscard]] bool IsDefault() const noexcept { return default_; }
    void SetDefault(bool isDefault);
    [[nodiscard]] bool IsCancel() const noexcept { return cancel_; }
    void SetCancel(bool isCancel);

  private:
    bool default_ = false;
    bool cancel_ = false;
};

// 0 unchecked, 1 checked, 2 greyed.
class CheckBox final : public Control {
  public:
    CheckBox(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::CheckBox, std::move(name), container) {}
    [[nodiscard]] int Value() const noexcept { return value_; }
    void SetValue(int value);
    std::function<void()> Click;
    // A click ticks an unticked or greyed box and clears a ticked one.
    void UserClick();

  private:
    int value_ = 0;
};

// Option buttons in the same container form one group: choosing one clears the others.
class OptionButton final : public Control {
  public:
    OptionButton(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::OptionButton, std::move(name), container) {}
    [[nodiscard]] bool Value() const noexcept { return value_; }
    void SetValue(bool value);
    std::function<void()> Click;
    void UserClick();

  private:
    bool value_ = false;
};

class Slider final : public Control {
  public:
    Slider(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Slider, std::move(name), container) {}
    [[nodiscard]] int Min() const noexcept { return min_; }
    [[nodiscard]] int Max() const noexcept { return max_; }
    void SetRange(int min, int max);
    // A tick mark every `tickEvery` (0: none), and how far an arrow key and a page key move
    // the slider.
    void SetSteps(int tickEvery, int smallChange, int largeChange);
    [[nodiscard]] int TickEvery() const noexcept { return tickEvery_; }
    [[nodiscard]] int SmallChange() const noexcept { return smallChange_; }
    [[nodiscard]] int LargeChange() const noexcept { return largeChange_; }
    [[nodiscard]] int Value() const noexcept { return value_; }
    // Kept within the range.
    void SetValue(int value);
    std::function<void()> Change;
    void UserMove(int value);

  private:
    int min_ = 0;
    int max_ = 10;
    int value_ = 0;
    int tickEvery_ = 1;
    int smallChange_ = 1;
    int largeChange_ = 2;
};

class TextBox final : public Control {
  public:
    TextBox(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::TextBox, std::move(name), container) {}
    [[nodiscard]] const std::string& Text() const noexcept { return text_; }
    void SetText(std::string text);
    std::function<void()> Change;
    // The user typed: the box now holds `text`.
    void UserType(std::string text);

  private:
    std::string text_;
};

// The list part shared by list boxes and combo boxes: rows of text and one selection.
class ListControl : public Control {
  public:
    using Control::Control;
    [[nodiscard]] int ListCount() const noexcept { return static_cast<int>(items_.size()); }
    [[nodiscard]] const std::string& List(int index) const { return items_.at(index); }
    [[nodiscard]] const std::vector<std::string>& Items() const noexcept { return items_; }
    void AddItem(std::string text);
    void RemoveItem(int index);
    // Empties the list; the selection goes without a click.
    void Clear();
    // Clear, then every item in one change: a backend fills thousands at once.
    void SetItems(std::vector<std::string> items);
    // -1: nothing selected.
    [[nodiscard]] int ListIndex() const noexcept { return listIndex_; }
    void SetListIndex(int index);
    std::function<void()> Click;
    void UserSelect(int index);
    // The row under a point in the control's scale, -1 for none; where a row is. Asked of
    // the window that shows the rows: -1 and nothing while the form is not loaded.
    [[nodiscard]] int RowAt(int x, int y) const;
    [[nodiscard]] Bounds RowBounds(int index) const;

  protected:
    // A row was chosen (from code or by the user), before the Click handler runs.
    virtual void RowChosen() {}

  private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

class ListBox final : public ListControl {
  public:
    ListBox(Form& form, std::string name, Control* container = nullptr)
        : ListControl(form, ControlKind::ListBox, std::move(name), container) {}
};

// A drop-down list; the caption is the text shown in its box. An editable one also takes
// typed text, which need not be one of its rows.
class ComboBox final : public ListControl {
  public:
    ComboBox(Form& form, std::string name, Control* container = nullptr)
        : ListControl(form, ControlKind::ComboBox, std::move(name), container) {}
    // Read when its window is made.
    [[nodiscard]] bool Editable() const noexcept { return editable_; }
    void SetEditable(bool editable) { editable_ = editable; }
    // An editable box's text: what was typed, or the row chosen last. A list's: the chosen
    // row, empty for none.
    [[nodiscard]] std::string Text() const;
    // Runs Change when the text changes (an editable box only).
    void SetText(std::string text);
    std::function<void()> Change;
    void UserType(std::string text);

  protected:
    void RowChosen() override;

  private:
    bool editable_ = false;
    std::string text_;
};

struct ListViewColumn {
    std::string caption;
    int width = 0;  // pixels at 96 DPI
};

// The small pictures of a list view's rows, each drawn `size` pixels high and `width`
// wide (0: square) at 96 DPI.
struct ImageList {
    int size = 16;
    std::vector<Bitmap> images;
    int width = 0;
};

struct ListViewItem {
    std::vector<std::string> texts;  // one per column
    int image = -1;                  // index into the list view's image list; -1 none
    bool checked = false;
    bool ghosted = false;
};

// A report-style list view with a check box on every row.
class ListView final : public Control {
  public:
    ListView(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::ListView, std::move(name), container) {}
    [[nodiscard]] const std::vector<ListViewColumn>& Columns() const noexcept { return columns_; }
    void SetColumns(std::vector<ListViewColumn> columns);
    [[nodiscard]] int ItemCount() const noexcept { return static_cast<int>(items_.size()); }
    [[nodiscard]] const ListViewItem& Item(int index) const { return items_.at(index); }
    void AddItem(ListViewItem item);
    // Every row in one change: a backend fills thousands at once.
    void SetItems(std::vector<ListViewItem> items);
    void Clear();
    // From code: no ItemCheck.
    void SetChecked(int index, bool checked);
    void SetGhosted(int index, bool ghosted);
    [[nodiscard]] int SelectedIndex() const noexcept { return selected_; }
    void SetSelectedIndex(int index);
    std::function<void(int index)> ItemCheck;
    std::function<void(int index)> ItemClick;
    void UserToggleCheck(int index);
    void UserSelect(int index);
    // Column headers that act as buttons: a click on one runs ColumnClick.
    [[nodiscard]] bool ColumnsClickable() const noexcept { return columnsClickable_; }
    void SetColumnsClickable(bool clickable);
    std::function<void(int column)> ColumnClick;
    void UserClickColumn(int column);
    // Its own image list, shared with whoever made it; may be set or changed at any time.
    [[nodiscard]] const std::shared_ptr<const ImageList>& Images() const noexcept {
        return images_;
    }
    void SetImages(std::shared_ptr<const ImageList> images);
    [[nodiscard]] int RowAt(int x, int y) const;
    [[nodiscard]] Bounds RowBounds(int index) const;

  private:
    std::shared_ptr<const ImageList> images_;
    std::vector<ListViewColumn> columns_;
    std::vector<ListViewItem> items_;
    int selected_ = -1;
    bool columnsClickable_ = false;
};

class Label final : public Control {
  public:
    Label(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Label, std::move(name), container) {}
    std::function<void()> Click;
    void UserClick();
};

// A picture box: a container with its own scale, so that the controls inside it are
// placed in the picture's units (a screen drawn small, for instance).
class Picture final : public Control {
  public:
    Picture(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Picture, std::move(name), container) {}
    [[nodiscard]] int ScaleWidth() const noexcept { return scaleWidth_; }
    [[nodiscard]] int ScaleHeight() const noexcept { return scaleHeight_; }
    // 0 by 0: the picture's own size in pixels at 96 DPI.
    void SetScale(int width, int height);
    // Drawn at its size from the top left, beneath the Paint handler's drawing.
    [[nodiscard]] const Bitmap& GetPicture() const noexcept { return picture_; }
    void SetPicture(Bitmap picture);
    std::function<void(Canvas&)> Paint;
    std::function<void()> Click;
    void UserClick();

  private:
    int scaleWidth_ = 0;
    int scaleHeight_ = 0;
    Bitmap picture_;
};

// A picture with no other content, shown at its size or stretched over the control.
class Image final : public Control {
  public:
    Image(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Image, std::move(name), container) {}
    [[nodiscard]] const Bitmap& GetPicture() const noexcept { return picture_; }
    void SetPicture(Bitmap picture);
    [[nodiscard]] bool Stretch() const noexcept { return stretch_; }
    void SetStretch(bool stretch);
    std::function<void()> Click;
    void UserClick();

  private:
    Bitmap picture_;
    bool stretch_ = false;
};

// A titled frame around a group of controls.
class Frame final : public Control {
  public:
    Frame(Form& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Frame, std::move(name), container) {}
};

}  // namespace pellmark::forms
