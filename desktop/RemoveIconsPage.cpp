#include "desktop/RemoveIconsPage.h"

#include <optional>
#include <vector>

#include "desktop/IconPictures.h"
#include "desktop/SpecialIcons.h"
#include "patterns/PatternPage.h"
#include "platform/RunTimeError.h"
#include "settings/Messages.h"
#include "settings/WindowsVersion.h"

namespace pellmark {

namespace {

constexpr int kSpecialIconSize = 32;

}  // namespace

RemoveIconsPage::RemoveIconsPage(forms::Form& form, platform::Registry& registry,
                                 platform::Files& files, platform::Dialogs& dialogs,
                                 platform::System& system)
    : PageBox(form, "picContRemoveIcons"),
      lstvwSpecDeskIco(form.Add<forms::ListView>("lstvwSpecDeskIco", &Box())),
      lstSpecialDesktopIcons(form.Add<forms::ListBox>("lstSpecialDesktopIcons", &Box())),
      lblRemoveHint(form.Add<forms::Label>("lblRemoveHint", &Box())),
      form_(form),
      registry_(registry),
      files_(files),
      dialogs_(dialogs),
      system_(system) {
    // The columns' captions come from the language file under this prefix (0301 to 0303).
    lstvwSpecDeskIco.Tag = "030";
    lstvwSpecDeskIco.SetColumns({{"Icon", 74}, {"Name", 116}, {"Description", 167}});
    lstSpecialDesktopIcons.SetVisible(false);
    lblRemoveHint.Tag = "0304";
    lblRemoveHint.SetCaption(
        "A ticked icon is taken off the desktop. Press F5 on the desktop to see the change.");
    lstvwSpecDeskIco.ItemCheck = [this](int row) {
        RunTrapped(dialogs_, [this, row] { lstvwSpecDeskIco_ItemCheck(row); });
    };
    lstSpecialDesktopIcons.Click = [this] {
        RunTrapped(dialogs_, [this] {
            const int index = lstSpecialDesktopIcons.ListIndex();
            if (index >= 0) {
                dialogs_.ShowMessage(
                    {.text = GetSpecialIconName(registry_, lstSpecialDesktopIcons.List(index))});
            }
        });
    };
}

void RemoveIconsPage::PositionControls() {
    lstvwSpecDeskIco.Move({8, 8, 361, 174});
    lblRemoveHint.Move({8, 188, 361, 32});
    lblRemoveHint.SetBackColour(chrome::kPageBack);
    lblRemoveHint.SetForeColour(chrome::kPageText);
}

void RemoveIconsPage::LoadSpecialIcons(const std::string& programFolder, ExpandEnvironment expand) {
    expand_ = std::move(expand);
    listPath_ = programFolder;
    if (!listPath_.empty() && listPath_.back() != '\\') {
        listPath_ += '\\';
    }
    listPath_ += kSpecialIconsFileName;
    listRead_ = false;
    // Reading the list costs the start a file and four registry reads a row, for a page
    // few visits: it waits for the page.
    if (pageShown_ || Box().Visible()) {
        PageShown();
    }
}

bool RemoveIconsPage::ReadSpecialIcons() {
    std::optional<std::vector<std::string>> ids;
    try {
        ids = ReadSpecialIconFile(files_, listPath_);
    } catch (const std::exception& error) {
        // Not rewritten from the registry: the file may hold icons removed long ago.
        ReportListFailure(error);
        return false;
    }
    listOnDisk_ = ids.has_value();
    if (!ids) {
        ids = ListNameSpaceKeys(registry_);
        if (ids->size() > kMostSpecialIcons) {
            ids->resize(kMostSpecialIcons);
        }
        // A folder the user cannot write to must not stop the program: the list is written
        // again before the first icon is removed, and that removal waits for it.
        listOnDisk_ = WriteSpecialIconFile(files_, listPath_, *ids).ok();
    }
    lstSpecialDesktopIcons.SetItems(std::move(*ids));
    FillSpecialIconList();
    return true;
}

void RemoveIconsPage::ReportListFailure(const std::exception& error) {
    const RunTimeError* runTime = dynamic_cast<const RunTimeError*>(&error);
    dialogs_.ShowMessage(
        {.text = "Error: " +
                 std::to_string(runTime != nullptr ? runTime->Number() : kInvalidProcedureCall) +
                 "\n" + error.what() + "\n\nProblem Loading Special Icons into List",
         .icon = platform::MessageIcon::Critical});
}

void RemoveIconsPage::FillSpecialIconList() {
    lstvwSpecDeskIco.SetImages(nullptr);
    lstvwSpecDeskIco.Clear();
    rowIcons_.clear();
    pictures_.clear();
    const auto expanded = [this](const std::string& text) {
        return expand_ ? expand_(text) : text;
    };
    const bool perUser = PerUserWayExists();
    std::vector<forms::ListViewItem> rows;
    try {
        for (const std::string& id : lstSpecialDesktopIcons.Items()) {
            const std::string location = GetSpecialIconLocation(registry_, id);
            IconLocation icon{expanded(std::string("%windir%\\") + kFallbackIconFile),
                              kFallbackIconIndex};
            if (!location.empty()) {
                icon = ParseIconLocation(expanded(location));
            }
            const bool shown =
                IsOnDesktopForAll(registry_, id) && !(perUser && IsHiddenForUser(registry_, id));
            rows.push_back({.texts = {"", GetSpecialIconName(registry_, id),
                                      GetSpecialIconInfoTip(registry_, id)},
                            .image = static_cast<int>(rows.size()),
                            .checked = !shown});
            rowIcons_.push_back(std::move(icon));
        }
    } catch (const std::exception& error) {
        ReportListFailure(error);
    }
    // The rows read so far stay; each gets its picture once the page has been seen.
    rowIcons_.resize(rows.size());
    for (forms::ListViewItem& row : rows) {
        lstvwSpecDeskIco.AddItem(std::move(row));
    }
}

void RemoveIconsPage::PageShown() {
    pageShown_ = true;
    if (!listRead_) {
        listRead_ = ReadSpecialIcons();
    }
    DrawMissingPictures();
}

void RemoveIconsPage::DrawMissingPictures() {
    if (pictures_.size() >= rowIcons_.size()) {
        return;  // every row has its picture: the list keeps the one it has
    }
    while (pictures_.size() < rowIcons_.size()) {
        const IconLocation& icon = rowIcons_[pictures_.size()];
        forms::Bitmap picture;
        try {
            picture = DrawIconFromFile(form_.GetBackend(), kSpecialIconSize, icon.file, icon.index);
        } catch (const std::exception&) {
            // A file that cannot be read as icons leaves its row without a picture.
        }
        pictures_.push_back(std::move(picture));
    }
    // An empty list gets no image list.
    lstvwSpecDeskIco.SetImages(IconPictureList(pictures_));
}

void RemoveIconsPage::lstvwSpecDeskIco_ItemCheck(int row) {
    if (row < 0 || row >= lstSpecialDesktopIcons.ListCount() ||
        row >= lstvwSpecDeskIco.ItemCount()) {
        return;
    }
    const std::string& id = lstSpecialDesktopIcons.List(row);
    const bool ticked = lstvwSpecDeskIco.Item(row).checked;
    if (!(ticked ? TakeOffDesktop(id) : BringBack(id))) {
        // The box shows what the desktop shows.
        lstvwSpecDeskIco.SetChecked(row, !ticked);
    }
}

bool RemoveIconsPage::TakeOffDesktop(const std::string& id) {
    if (!KeepListOnDisk()) {
        return false;
    }
    const RegistryStatus status = RemoveSpecialIcon(registry_, id);
    if (status == 0) {
        return true;
    }
    if (!PerUserWayExists()) {
        Refused("0950", status);
        return false;
    }
    std::string question = MessageText("0950");
    question += "\n\n";
    question += MessageText("0951");
    if (dialogs_.ShowMessage({.text = question,
                              .icon = platform::MessageIcon::Question,
                              .buttons = platform::MessageButtons::YesNo}) !=
        platform::MessageAnswer::Yes) {
        return false;
    }
    if (const RegistryStatus hidden = HideSpecialIconForUser(registry_, id); hidden != 0) {
        Refused("0953", hidden);
        return false;
    }
    return true;
}

bool RemoveIconsPage::BringBack(const std::string& id) {
    if (IsHiddenForUser(registry_, id)) {
        if (const RegistryStatus status = ShowSpecialIconForUser(registry_, id); status != 0) {
            Refused("0953", status);
            return false;
        }
    }
    if (!IsOnDesktopForAll(registry_, id)) {
        if (const RegistryStatus status = RestoreSpecialIcon(registry_, id); status != 0) {
            Refused("0952", status);
            return false;
        }
    }
    return true;
}

bool RemoveIconsPage::KeepListOnDisk() {
    if (listOnDisk_) {
        return true;
    }
    const OsStatus status = WriteSpecialIconFile(files_, listPath_, lstSpecialDesktopIcons.Items());
    listOnDisk_ = status.ok();
    if (!listOnDisk_) {
        std::string text = MessageText("0954");
        text += "\n";
        text += listPath_;
        text += "\n\n";
        text += status.description;
        dialogs_.ShowMessage({.text = text, .icon = platform::MessageIcon::Exclamation});
    }
    return listOnDisk_;
}

// Windows Vista and later keep a per-user list of desktop icons to hide.
bool RemoveIconsPage::PerUserWayExists() {
    const VersionInfo version = GetVersionInfo(system_);
    return version.platformId == 2 && version.majorVersion >= 6;
}

void RemoveIconsPage::Refused(const std::string& key, std::uint32_t status) {
    std::string text = MessageText(key);
    text += " (Error: ";
    text += std::to_string(status);
    text += ")";
    dialogs_.ShowMessage({.text = text, .icon = platform::MessageIcon::Exclamation});
}

}  // namespace pellmark
