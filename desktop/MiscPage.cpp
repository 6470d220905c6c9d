#include "desktop/MiscPage.h"

#include "desktop/ExplorerSwitches.h"
#include "patterns/PatternPage.h"

namespace pellmark {

namespace {

struct SwitchText {
    const char* caption;
    const char* key;
};
constexpr std::array<SwitchText, 5> kSwitchTexts{{
    {"Hide &Desktop", "0501"},
    {"Show &Network Neighbourhood Icon", "0502"},
    {"Show &Internet Explorer Icon", "0503"},
    {"Allow &Active Desktop", "0504"},
    {"&Save settings", "0505"},
}};

}  // namespace

MiscPage::MiscPage(forms::Form& form, platform::Registry& registry, platform::Dialogs& dialogs)
    : PageBox(form, "picContMisc"),
      lblRestartNote(form.Add<forms::Label>("lblRestartNote", &Box())),
      wallpaper(form, Box()),
      registry_(registry),
      dialogs_(dialogs) {
    for (std::size_t i = 0; i < chkMisc.size(); ++i) {
        forms::CheckBox& box = form.Add<forms::CheckBox>(forms::ElementName("chkMisc", i), &Box());
        box.SetCaption(kSwitchTexts[i].caption);
        box.Tag = kSwitchTexts[i].key;
        box.SetToolTip("Requires log off or Windows to be restarted to take effect");
        box.Click = [this, i] { RunTrapped(dialogs_, [this, i] { chkMisc_Click(i); }); };
        chkMisc[i] = &box;
    }
    lblRestartNote.Tag = "0509";
    lblRestartNote.SetCaption("Explorer takes these switches when you next log on.");
}

void MiscPage::PositionControls() {
    for (std::size_t i = 0; i < chkMisc.size(); ++i) {
        chkMisc[i]->SetBackColour(chrome::kPageBack);
        chkMisc[i]->Move({16, 12 + 26 * static_cast<int>(i), 300, 22});
    }
    lblRestartNote.SetBackColour(chrome::kPageBack);
    lblRestartNote.SetForeColour(chrome::kPageText);
    lblRestartNote.Move({16, 144, 345, 32});  // two lines for longer languages
    wallpaper.Place({16, 184, 168, 28}, {193, 184, 168, 28});
}

void MiscPage::chkMisc_Click(std::size_t index) {
    if (loading_ || index >= chkMisc.size()) {
        return;
    }
    SetExplorerSwitch(registry_, index, chkMisc[index]->Value() != 0);
}

void MiscPage::LoadSwitches() {
    loading_ = true;
    for (std::size_t i = 0; i < chkMisc.size(); ++i) {
        chkMisc[i]->SetValue(GetExplorerSwitch(registry_, i) ? 1 : 0);
    }
    loading_ = false;
}

}  // namespace pellmark
