// The main window's desktop pages: how the desktop shows its icons. Their features come
// later; until then each shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class ShowHideIconsPage final : public chrome::PageBox {
  public:
    explicit ShowHideIconsPage(forms::Form& form)
        : PageBox(form, "picContShowHideIcons", chrome::Page::ShowHideIcons) {}
};

class RemoveIconsPage final : public chrome::PageBox {
  public:
    explicit RemoveIconsPage(forms::Form& form)
        : PageBox(form, "picContRemoveIcons", chrome::Page::RemoveIcons) {}
};

class IconSizePage final : public chrome::PageBox {
  public:
    explicit IconSizePage(forms::Form& form)
        : PageBox(form, "picContIconSize", chrome::Page::IconSize) {}
};

class MiscPage final : public chrome::PageBox {
  public:
    explicit MiscPage(forms::Form& form)
        : PageBox(form, "picContMisc", chrome::Page::Miscellaneous) {}
};

class IconUtilsPage final : public chrome::PageBox {
  public:
    explicit IconUtilsPage(forms::Form& form)
        : PageBox(form, "picContIconUtils", chrome::Page::IconUtilities) {}
};

}  // namespace pellmark
