#include "desktop/ShowHideIconsPage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "desktop/IconPictures.h"

namespace pellmark {

namespace {
constexpr forms::Bounds kListBounds{8, 8, chrome::kPageArea.width - 16,
                                    chrome::kPageArea.height - 16};
constexpr int kIconColumnWidth = 72;  // the check box and the 45-pixel picture
constexpr int kNameColumnWidth = kListBounds.width - kIconColumnWidth - 24;
}  // namespace

ShowHideIconsPage::ShowHideIconsPage(forms::Form& form, DesktopIcons& desktopIcons,
                                     platform::Desktop& desktop)
    : PageBox(form, "picContShowHideIcons"),
      ListView1(form.Add<forms::ListView>("ListView1", &Box())),
      desktopIcons_(desktopIcons),
      desktop_(desktop) {
    ListView1.Move(kListBounds);
    ListView1.Tag = "020";  // the columns' captions: 0201, 0202
    ListView1.SetColumns({{"Icon", kIconColumnWidth}, {"Name", kNameColumnWidth}});
    ListView1.SetColumnsClickable(true);
    ListView1.ItemCheck = [this](int row) { ListView1_ItemCheck(row); };
    ListView1.ColumnClick = [this](int column) { ListView1_ColumnClick(column); };
}

void ShowHideIconsPage::FillShowHideList() {
    const DesktopIconTable& table = desktopIcons_.Table();
    ListView1.SetImages(nullptr);
    rows_.clear();
    std::vector<forms::ListViewItem> items;
    items.reserve(table.Icons.size());
    for (std::size_t i = 0; i < table.Icons.size(); ++i) {
        const DesktopIcon& icon = table.Icons[i];
        rows_.push_back({icon.Caption, icon.ImageIndex});
        items.push_back({.texts = {"", icon.Caption}, .image = static_cast<int>(i)});
    }
    imageList_ = table.ImageListHandle;
    ListView1.SetItems(std::move(items));
    picturesShown_ = false;
    if (Box().Visible()) {
        PageShown();
    }
}

void ShowHideIconsPage::PageShown() {
    if (picturesShown_ || rows_.empty()) {
        return;
    }
    picturesShown_ = true;
    constexpr std::size_t kListed = std::size_t{kIconPictureHeight} * kIconPictureHeight;
    // At the size the desktop keeps them first: on a screen of more dots per inch that is
    // the size the list shows them at, and a picture shrunk and grown again would blur.
    const std::vector<platform::IconPixels> own = desktop_.ReadIconPictures(imageList_, rows_, 0);
    const bool otherSize = std::any_of(own.begin(), own.end(), [](const platform::IconPixels& p) {
        return !p.empty() && p.size() != kListed;
    });
    const std::vector<platform::IconPixels> found =
        otherSize ? desktop_.ReadIconPictures(imageList_, rows_, kIconPictureHeight) : own;
    std::vector<forms::Bitmap> pictures;
    pictures.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        forms::Bitmap icon;
        if (i < found.size() && found[i].size() == kListed) {
            icon = forms::Bitmap(kIconPictureHeight, kIconPictureHeight, found[i]);
            if (i < own.size() && own[i].size() > kListed) {
                const auto side = static_cast<int>(std::lround(std::sqrt(own[i].size())));
                if (static_cast<std::size_t>(side) * side == own[i].size()) {
                    icon.SetLarge(forms::Bitmap(side, side, own[i]));
                }
            }
        }
        pictures.push_back(IconPicture(icon));
    }
    // Attached only with its pictures: an empty image list is never shown.
    ListView1.SetImages(IconPictureList(std::move(pictures)));
}

void ShowHideIconsPage::MarkRow(int row, bool hidden) {
    ListView1.SetChecked(row, hidden);
    ListView1.SetGhosted(row, hidden);
}

void ShowHideIconsPage::MarkHiddenIcons(const DesktopIconTable& table) {
    const int rows = std::min(ListView1.ItemCount(), static_cast<int>(table.Icons.size()));
    for (int n = 0; n < rows; ++n) {
        MarkRow(n, table.Icons[static_cast<std::size_t>(n)].OffScreen);
    }
}

void ShowHideIconsPage::MarkHiddenIconsWhereCaptionsMatch(const DesktopIconTable& table) {
    const int rows = std::min(ListView1.ItemCount(), static_cast<int>(table.Icons.size()));
    for (int n = 0; n < rows; ++n) {
        const DesktopIcon& icon = table.Icons[static_cast<std::size_t>(n)];
        if (ListView1.Item(n).texts.size() > 1 && ListView1.Item(n).texts[1] == icon.Caption) {
            MarkRow(n, icon.OffScreen);
        }
    }
}

int ShowHideIconsPage::IconOfRow(int row) const {
    const auto& icons = desktopIcons_.Table().Icons;
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return -1;
    }
    const std::string& caption = rows_[static_cast<std::size_t>(row)].caption;
    if (row < static_cast<int>(icons.size()) &&
        icons[static_cast<std::size_t>(row)].Caption == caption) {
        return row;
    }
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (icons[i].Caption == caption) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<platform::IconPlacement> ShowHideIconsPage::Placement(int row,
                                                                    std::int32_t twips) const {
    const int i = IconOfRow(row);
    if (i < 0) {
        return std::nullopt;
    }
    const DesktopIcon& icon = desktopIcons_.Table().Icons[static_cast<std::size_t>(i)];
    const bool hide = ListView1.Item(row).checked;
    if (hide == icon.OffScreen) {
        return std::nullopt;
    }
    if (hide) {
        return platform::IconPlacement{i, icon.Position.x + twips, icon.Position.y};
    }
    // Only an icon that a push put where it stands comes back: one that stood off every
    // screen for another reason (below the bottom edge, say) would only go further away.
    const std::int64_t back = static_cast<std::int64_t>(icon.Position.x) - twips;
    if (back < INT32_MIN ||
        !desktopIcons_.IsOnAMonitor(static_cast<std::int32_t>(back), icon.Position.y)) {
        return std::nullopt;
    }
    return platform::IconPlacement{i, static_cast<std::int32_t>(back), icon.Position.y};
}

void ShowHideIconsPage::ListView1_ItemCheck(int row) {
    ListView1.SetGhosted(row, ListView1.Item(row).checked);
    desktopIcons_.ReadDesktopIcons();
    if (const auto placement = Placement(row, desktopIcons_.ScreenTwips())) {
        desktopIcons_.MoveDesktopIcon(placement->index, placement->x, placement->y);
    }
}

void ShowHideIconsPage::ListView1_ColumnClick(int /*column*/) {
    if (ListView1.ItemCount() == 0) {
        return;
    }
    const bool hide = !ListView1.Item(0).checked;
    desktopIcons_.ReadDesktopIcons();
    const std::int32_t twips = desktopIcons_.ScreenTwips();
    std::vector<platform::IconPlacement> moves;
    for (int row = 0; row < ListView1.ItemCount(); ++row) {
        if (ListView1.Item(row).checked == hide) {
            continue;  // already as asked: its icon stays where it is
        }
        MarkRow(row, hide);
        if (const auto placement = Placement(row, twips)) {
            moves.push_back(*placement);
        }
    }
    // One request for all, read once: a thousand rows would otherwise read the desktop a
    // thousand times.
    desktopIcons_.MoveDesktopIcons(moves);
}

}  // namespace pellmark
