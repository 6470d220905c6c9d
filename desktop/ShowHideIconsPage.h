// The Show/Hide page: every desktop icon with its own picture and caption. Ticking a row
// hides its icon by pushing it a screen's width in twips to the right, off the screen;
// clearing the row brings it back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chrome/PageBox.h"
#include "patterns/DesktopIcons.h"
#include "platform/Desktop.h"

namespace pellmark {

class ShowHideIconsPage final : public chrome::PageBox {
  public:
    ShowHideIconsPage(forms::Form& form, DesktopIcons& desktopIcons, platform::Desktop& desktop);

    // One row per icon of the last read (the load's), boxes clear. The pictures come when
    // the page is first shown.
    void FillShowHideList();
    // The page shows: the first time, the icons' pictures are fetched.
    void PageShown();

    // After a restore from the tray: every row's box and dimmed state from the icons'
    // off-screen flags.
    void MarkHiddenIcons(const DesktopIconTable& table);
    // After the Load button's restore: the same for the rows whose caption is still their
    // icon's.
    void MarkHiddenIconsWhereCaptionsMatch(const DesktopIconTable& table);

    void ListView1_ItemCheck(int row);
    // Either column: the first row decides; every row then takes the opposite of its
    // state, and only the icons whose row changed move.
    void ListView1_ColumnClick(int column);

    forms::ListView& ListView1;

  private:
    // The icon of the fresh read that `row` stands for: its own index while the caption
    // still matches, else the first icon with the row's caption; -1 when it is gone.
    [[nodiscard]] int IconOfRow(int row) const;
    // Where the icon of `row` goes for the row's box state, pushed by `twips`; none when
    // it is there already (an icon is never pushed twice, so it can always come back).
    [[nodiscard]] std::optional<platform::IconPlacement> Placement(int row,
                                                                   std::int32_t twips) const;
    void MarkRow(int row, bool hidden);

    DesktopIcons& desktopIcons_;
    platform::Desktop& desktop_;
    std::vector<platform::IconPictureRequest> rows_;  // what each row was filled from
    ImageListRef imageList_ = 0;
    bool picturesShown_ = false;
};

}  // namespace pellmark
