// The list controls: list boxes, drop-down lists and the report list view with a check
// box on every row.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

// List boxes and drop-down combo boxes differ only in their messages.
struct ListMessages {
    UINT insert;
    UINT remove;
    UINT reset;
    UINT count;
    UINT setSelection;
    UINT getSelection;
    int selectionChanged;
};
constexpr ListMessages kListBoxMessages{LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                        LB_GETCOUNT,     LB_SETCURSEL,    LB_GETCURSEL,
                                        LBN_SELCHANGE};
constexpr ListMessages kComboBoxMessages{CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                         CB_GETCOUNT,     CB_SETCURSEL,    CB_GETCURSEL,
                                         CBN_SELCHANGE};

class ListWindow final : public ControlWindow {
  public:
    ListWindow(Win32FormsBackend& backend, FormWindow& form, forms::ListControl& list)
        : ControlWindow(backend, form, list),
          list_(list),
          combo_(list.Kind() == forms::ControlKind::ComboBox),
          messages_(combo_ ? kComboBoxMessages : kListBoxMessages) {
        if (combo_) {
            const bool editable = static_cast<forms::ComboBox&>(list).Editable();
            Create(0, "COMBOBOX",
                   (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST) | WS_VSCROLL |
                       WS_TABSTOP);
        } else {
            Create(WS_EX_CLIENTEDGE, "LISTBOX",
                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP);
        }
        ShowAll();
    }

    void UpdateItem(forms::ItemChange change, int index) override {
        switch (change) {
            case forms::ItemChange::Added:
                Insert(index);
                break;
            case forms::ItemChange::Removed:
                Send(messages_.remove, static_cast<WPARAM>(index));
                break;
            case forms::ItemChange::Changed:
                Send(messages_.remove, static_cast<WPARAM>(index));
                Insert(index);
                ShowSelection();
                break;
            case forms::ItemChange::All:
                ShowAll();
                break;
        }
    }
    bool OnCommand(int code) override {
        if (combo_ && code == CBN_EDITCHANGE) {
            static_cast<forms::ComboBox&>(list_).UserType(formtext::Text(Handle()));
            return true;
        }
        if (code != messages_.selectionChanged) {
            return false;
        }
        list_.UserSelect(static_cast<int>(Send(messages_.getSelection)));
        return true;
    }
    void Resync() override {
        if (static_cast<int>(Send(messages_.getSelection)) != list_.ListIndex()) {
            ShowSelection();
        }
    }

    [[nodiscard]] int RowAt(int x, int y) const override {
        if (combo_) {
            return -1;
        }
        const POINT at = ToPixels(x, y);
        RECT client{};
        ::GetClientRect(Handle(), &client);
        if (::PtInRect(&client, at) == FALSE) {
            return -1;
        }
        const auto found = static_cast<DWORD>(Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y)));
        return HIWORD(found) != 0 ? -1 : static_cast<int>(LOWORD(found));
    }
    [[nodiscard]] forms::Bounds RowBounds(int index) const override {
        RECT row{};
        if (combo_ || index < 0 || index >= list_.ListCount() ||
            Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) ==
                LB_ERR) {
            return {};
        }
        return FromPixels(row);
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Selection) {
            ShowSelection();
        } else if (what == forms::Change::Value) {
            ShowText();
        }
    }
    // Room for the dropped-down list below the box.
    [[nodiscard]] int ExtraHeight() const override { return combo_ ? form_.ScaleY(160) : 0; }

  private:
    void Insert(int index) {
        if (index < 0 || index >= list_.ListCount()) {
            return;
        }
        const bool last = index >= static_cast<int>(Send(messages_.count));
        formtext::SendString(Handle(), messages_.insert,
                             last ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index),
                             list_.List(index));
    }
    void ShowAll() {
        // Drawn once when full: a list box that redraws and resizes its scroll bar for each
        // added row took seconds for a few thousand.
        Send(WM_SETREDRAW, FALSE);
        Send(messages_.reset);
        for (int i = 0; i < list_.ListCount(); ++i) {
            Insert(i);
        }
        ShowSelection();
        Send(WM_SETREDRAW, TRUE);
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }
    // Emptying the rows or choosing none empties an editable box too: its text comes back.
    void ShowSelection() {
        Send(messages_.setSelection, static_cast<WPARAM>(list_.ListIndex()));
        ShowText();
    }
    // An editable box's own text; setting it moves the caret, so not while it holds it.
    void ShowText() {
        if (!combo_) {
            return;
        }
        const auto& combo = static_cast<const forms::ComboBox&>(list_);
        if (combo.Editable() && formtext::Text(Handle()) != combo.Text()) {
            formtext::SetText(Handle(), combo.Text());
        }
    }

    forms::ListControl& list_;
    bool combo_;
    const ListMessages& messages_;
};

class ListViewWindow final : public ControlWindow {
  public:
    ListViewWindow(Win32FormsBackend& backend, FormWindow& form, forms::ListView& view)
        : ControlWindow(backend, form, view), view_(view) {
        Create(WS_EX_CLIENTEDGE, "SysListView32",
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP);
        Pushing pushing(pushing_);
        constexpr DWORD kExtended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
        Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtended, kExtended);
        ShowImages();
        ShowColumns();
        ShowAll();
    }
    // LVS_SHAREIMAGELISTS is not set, yet the list is let go first: this peer owns it.
    ~ListViewWindow() override { Send(LVM_SETIMAGELIST, LVSIL_SMALL, 0); }
    ListViewWindow(const ListViewWindow&) = delete;
    ListViewWindow& operator=(const ListViewWindow&) = delete;

    void UpdateItem(forms::ItemChange change, int index) override {
        Pushing pushing(pushing_);
        switch (change) {
            case forms::ItemChange::Added:
                InsertRow(index);
                break;
            case forms::ItemChange::Removed:
                Send(LVM_DELETEITEM, static_cast<WPARAM>(index));
                break;
            case forms::ItemChange::Changed:
                ShowRow(index);
                break;
            case forms::ItemChange::All:
                ShowAll();
                break;
        }
    }

    bool OnNotify(const NMHDR& header) override {
        if (pushing_) {
            return false;
        }
        if (header.code == LVN_ITEMCHANGED) {
            return ItemChanged(*reinterpret_cast<const NMLISTVIEW*>(&header));
        }
        if (header.code == NM_CLICK || header.code == NM_RCLICK) {
            return Clicked(*reinterpret_cast<const NMITEMACTIVATE*>(&header));
        }
        if (header.code == LVN_COLUMNCLICK) {
            view_.UserClickColumn(reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem);
            return true;
        }
        return false;
    }
    [[nodiscard]] int RowAt(int x, int y) const override {
        LVHITTESTINFO hit{};
        hit.pt = ToPixels(x, y);
        const auto row = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        return (hit.flags & LVHT_ONITEM) != 0 ? row : -1;
    }
    [[nodiscard]] forms::Bounds RowBounds(int index) const override {
        RECT row{};
        row.left = LVIR_BOUNDS;
        if (index < 0 || index >= view_.ItemCount() ||
            Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) ==
                FALSE) {
            return {};
        }
        return FromPixels(row);
    }
    void DpiChanged() override {
        ControlWindow::DpiChanged();
        Pushing pushing(pushing_);
        ShowImages();
        ShowColumns();
    }

    // A check toggle the model refused goes back to the model's state.
    void Resync() override {
        const int row = std::exchange(userRow_, -1);
        if (row >= 0 && row < view_.ItemCount() && Checked(row) != view_.Item(row).checked) {
            Pushing pushing(pushing_);
            ShowRow(row);
        }
    }

  protected:
    void UpdateState(forms::Change what) override {
        Pushing pushing(pushing_);
        if (what == forms::Change::Columns) {
            ShowColumns();
            ShowAll();  // rows lose the texts of columns that were not there
        } else if (what == forms::Change::Selection) {
            ShowSelection();
        } else if (what == forms::Change::Picture) {
            ShowImages();
        }
    }
    void ApplyColours() override {
        const COLORREF back = view_.BackColour().value_or(::GetSysColor(COLOR_WINDOW));
        const COLORREF fore = view_.ForeColour().value_or(::GetSysColor(COLOR_WINDOWTEXT));
        Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        Send(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
        Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(fore));
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }

  private:
    bool ItemChanged(const NMLISTVIEW& change) {
        const int row = change.iItem;
        if (row < 0 || row >= view_.ItemCount() || (change.uChanged & LVIF_STATE) == 0) {
            return false;
        }
        const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
        const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
        // A state image of 0 is a row being set up, not a toggle.
        if (oldImage != 0 && newImage != 0 && oldImage != newImage) {
            const bool checked = newImage == INDEXTOSTATEIMAGEMASK(2);
            if (checked == view_.Item(row).checked) {
                return false;
            }
            userRow_ = row;
            view_.UserToggleCheck(row);
            return true;
        }
        if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
            // A click selects on the button's press; its NM_CLICK then is the same event.
            const bool byMouse = ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0;
            clickSelected_ = byMouse ? row : -1;
            view_.UserSelect(row);
            return true;
        }
        return false;
    }

    bool Clicked(const NMITEMACTIVATE& click) {
        const int selectedByThisClick = std::exchange(clickSelected_, -1);
        if (click.iItem < 0 || click.iItem >= view_.ItemCount() ||
            click.iItem == selectedByThisClick) {
            return false;
        }
        LVHITTESTINFO hit{};
        hit.pt = click.ptAction;
        Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if ((hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            return false;  // the check box: its toggle is the event
        }
        view_.UserSelect(click.iItem);
        return true;
    }

    [[nodiscard]] bool Checked(int row) const {
        return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
                LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }

    // Column 0 cannot be deleted: it is rewritten, the others made anew.
    void ShowColumns() {
        auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
        ShowHeaderButtons(header);
        const int shown =
            header == nullptr ? 0 : static_cast<int>(formtext::Send(header, HDM_GETITEMCOUNT));
        for (int i = shown - 1; i >= 1; --i) {
            Send(LVM_DELETECOLUMN, static_cast<WPARAM>(i));
        }
        const auto& columns = view_.Columns();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            formtext::SystemText caption(columns[i].caption);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.pszText = caption.get();
            column.cx = columns[i].width > 0 ? form_.ScaleX(columns[i].width) : 0;
            column.iSubItem = static_cast<int>(i);
            Send(i == 0 && shown > 0 ? formtext::Pick(LVM_SETCOLUMNA, LVM_SETCOLUMNW)
                                     : formtext::Pick(LVM_INSERTCOLUMNA, LVM_INSERTCOLUMNW),
                 i, reinterpret_cast<LPARAM>(&column));
            if (columns[i].width <= 0) {
                Send(LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
            }
        }
    }

    // The headers are buttons only where a click on them does something.
    void ShowHeaderButtons(HWND header) {
        const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
        const LONG_PTR wanted = view_.ColumnsClickable() ? style & ~LONG_PTR{LVS_NOSORTHEADER}
                                                         : style | LVS_NOSORTHEADER;
        if (wanted != style) {
            ::SetWindowLongPtrW(Handle(), GWL_STYLE, wanted);
        }
        if (header != nullptr) {
            const LONG_PTR headerStyle = ::GetWindowLongPtrW(header, GWL_STYLE);
            const LONG_PTR buttons = view_.ColumnsClickable() ? headerStyle | HDS_BUTTONS
                                                              : headerStyle & ~LONG_PTR{HDS_BUTTONS};
            if (buttons != headerStyle) {
                ::SetWindowLongPtrW(header, GWL_STYLE, buttons);
            }
        }
    }

    void InsertRow(int index) {
        if (index < 0 || index >= view_.ItemCount()) {
            return;
        }
        formtext::SystemText empty("");
        LVITEMW row{};
        row.mask = LVIF_TEXT;
        row.iItem = index;
        row.pszText = empty.get();
        Send(formtext::Pick(LVM_INSERTITEMA, LVM_INSERTITEMW), 0, reinterpret_cast<LPARAM>(&row));
        ShowRow(index);
    }

    void ShowRow(int index) {
        if (index < 0 || index >= view_.ItemCount()) {
            return;
        }
        const forms::ListViewItem& item = view_.Item(index);
        LVITEMW row{};
        row.mask = LVIF_IMAGE;
        row.iItem = index;
        row.iImage = item.image >= 0 ? item.image : I_IMAGENONE;
        Send(formtext::Pick(LVM_SETITEMA, LVM_SETITEMW), 0, reinterpret_cast<LPARAM>(&row));
        const std::size_t columns = view_.Columns().empty() ? 1 : view_.Columns().size();
        for (std::size_t sub = 0; sub < columns; ++sub) {
            formtext::SystemText shown(sub < item.texts.size() ? item.texts[sub] : std::string());
            LVITEMW text{};
            text.iSubItem = static_cast<int>(sub);
            text.pszText = shown.get();
            Send(formtext::Pick(LVM_SETITEMTEXTA, LVM_SETITEMTEXTW), static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&text));
        }
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
        state.state = INDEXTOSTATEIMAGEMASK(item.checked ? 2 : 1) | (item.ghosted ? LVIS_CUT : 0);
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }

    void ShowAll() {
        Send(WM_SETREDRAW, FALSE);
        Send(LVM_DELETEALLITEMS);
        for (int i = 0; i < view_.ItemCount(); ++i) {
            InsertRow(i);
        }
        ShowSelection();
        Send(WM_SETREDRAW, TRUE);
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }

    void ShowSelection() {
        const int selected = view_.SelectedIndex();
        if (static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) ==
            selected) {
            return;  // single selection: nothing else can be selected
        }
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        if (selected >= 0) {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            Send(LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
            Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
        }
    }

    // The model's image list as one of the system's, at the form's DPI; the old one goes
    // once the view has let it go.
    void ShowImages() {
        UniqueImageList made;
        if (const auto& images = view_.Images()) {
            made = MakeImageList(*images,
                                 form_.ScaleX(images->width > 0 ? images->width : images->size),
                                 form_.ScaleY(images->size));
        }
        Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(made.get()));
        images_ = std::move(made);
    }

    forms::ListView& view_;
    UniqueImageList images_;
    bool pushing_ = false;
    int userRow_ = -1;        // the row whose check the user last toggled
    int clickSelected_ = -1;  // the row the mouse button being pressed selected
};

}  // namespace

std::unique_ptr<ControlWindow> CreateListWindow(Win32FormsBackend& backend, FormWindow& form,
                                                forms::ListControl& list) {
    return std::make_unique<ListWindow>(backend, form, list);
}

std::unique_ptr<ControlWindow> CreateListViewWindow(Win32FormsBackend& backend, FormWindow& form,
                                                    forms::ListView& view) {
    return std::make_unique<ListViewWindow>(backend, form, view);
}

}  // namespace pellmark::win32::formwindows
