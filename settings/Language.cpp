#include "settings/Language.h"

#include <exception>
#include <utility>
#include <vector>

namespace pellmark {

namespace {

// Text boxes, check boxes and the rest run their change handling when their text changes;
// a failure there must not stop the other controls from being translated.
template <typename Change>
void Guarded(Change&& change) noexcept {
    try {
        std::forward<Change>(change)();
    } catch (const std::exception&) {
    }
}

void TranslateControl(forms::Control& control, const LanguageFile& file) {
    switch (control.Kind()) {
        case forms::ControlKind::Label:
            if (!control.Tag.empty()) {
                control.SetCaption(file.Text(control.Tag));
                // Translated captions may not fit their labels: the tool tip shows them whole.
                if (file.Language() != "English") {
                    control.SetToolTip(control.Caption());
                }
            }
            break;
        case forms::ControlKind::Button:
        case forms::ControlKind::CheckBox:
        case forms::ControlKind::OptionButton:
        case forms::ControlKind::Frame:
            if (!control.Tag.empty()) {
                control.SetCaption(file.Text(control.Tag));
            }
            break;
        case forms::ControlKind::TextBox:
            if (!control.Tag.empty()) {
                static_cast<forms::TextBox&>(control).SetText(file.Text(control.Tag));
            }
            break;
        case forms::ControlKind::ListView: {
            auto& list = static_cast<forms::ListView&>(control);
            std::vector<forms::ListViewColumn> columns = list.Columns();
            for (std::size_t n = 0; n < columns.size(); ++n) {
                columns[n].caption = file.Text(control.Tag + std::to_string(n + 1));
            }
            list.SetColumns(std::move(columns));
            break;
        }
        default:
            break;
    }
}

void TranslateMenu(forms::MenuItem& item, const LanguageFile& file) {
    for (const auto& child : item.Items()) {
        if (child->name == kUntranslatedMenu) {
            continue;
        }
        if (child->index >= 0) {
            child->caption = file.Text(std::to_string(child->index));
        }
        TranslateMenu(*child, file);
    }
}

}  // namespace

void TranslateForm(forms::Form& form, const LanguageFile& file) {
    // By index: a change handler may add or take away controls while the walk goes on.
    const auto& controls = form.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        forms::Control& control = *controls[i];
        Guarded([&] { TranslateControl(control, file); });
    }
    for (const auto& menu : form.Menus()) {
        TranslateMenu(*menu, file);
    }
}

void ApplyLanguage(const LanguageFile& file, const LanguageForms& forms) {
    if (forms.mainWindow != nullptr) {
        TranslateForm(*forms.mainWindow, file);
    }
    LoadLanguageMessages(file);
    if (forms.messagesApplied) {
        forms.messagesApplied();
    }
    if (forms.optionsDialog) {
        if (forms::Form* options = forms.optionsDialog()) {
            TranslateForm(*options, file);
        }
    }
    if (forms.menuForm != nullptr) {
        forms.menuForm->Load();
        TranslateForm(*forms.menuForm, file);
        if (forms.iconiseMenus) {
            forms.iconiseMenus();
        }
    }
    if (forms.wallpaperPicker) {
        if (forms::Form* picker = forms.wallpaperPicker()) {
            TranslateForm(*picker, file);
        }
    }
}

}  // namespace pellmark
