// Putting a language on the forms: every translatable control carries its language key in
// its tag, a list view the prefix of its columns' keys, and a menu item of a control array
// its index.
#pragma once

#include <functional>
#include <string>

#include "platform/Files.h"
#include "platform/forms/Form.h"
#include "settings/LanguageFile.h"

namespace pellmark {

// The pattern items of the tray menu show pattern names and are never translated.
inline constexpr const char* kUntranslatedMenu = "mnuPattern";

// Gives every control of the form, and every indexed item of its menus, its text in the
// file's language, by the control's kind:
//   Label (with a tag): caption; in any language but exactly "English" the tool tip too
//   Button, CheckBox, OptionButton, Frame (with a tag): caption
//   TextBox (with a tag): text
//   ListView: column n's caption from the key tag & n
//   menu item with an index (not a pattern item): caption from the index in decimal
// Other kinds keep their texts. A key the file lacks empties the text. A control whose
// change fails keeps its old text and the walk goes on.
void TranslateForm(forms::Form& form, const LanguageFile& file);

// The forms a language is applied to, in the order it is applied.
struct LanguageForms {
    forms::Form* mainWindow = nullptr;
    // Runs once the messages are read: the main window shows again what it took from them
    // (the page title).
    std::function<void()> messagesApplied;
    // The options dialog where it is loaded; none when it is not (it takes the language in
    // use as it loads).
    std::function<forms::Form*()> optionsDialog;
    // The menu form, loaded (hidden) here when it is not loaded yet; then its owner-drawn
    // menus are made again from the new captions.
    forms::Form* menuForm = nullptr;
    std::function<void()> iconiseMenus;
    // The wallpaper picker, loaded hidden to be translated; none until it exists.
    std::function<forms::Form*()> wallpaperPicker;
};

// Applies one language's texts, read once (ReadLanguage): the main window, the messages,
// the options dialog, the menu form and its menus, the wallpaper picker. The main window's
// load calls it with the setting "Language", and the options dialog's Apply with the
// language chosen there.
void ApplyLanguage(const LanguageFile& file, const LanguageForms& forms);

}  // namespace pellmark
