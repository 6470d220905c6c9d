// Forms in memory: controls keep their state without windows, timers tick on a clock the
// test advances, pop-up menus are answered from a queue, modal forms are driven by steps
// the test gives, and painting is recorded as lines of text.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Form.h"

namespace pellmark::sim {

class SimFormsBackend final : public forms::Backend {
  public:
    // Every row of a list is this high, from the top of the list.
    static constexpr int kRowHeight = 16;

    SimFormsBackend() = default;
    SimFormsBackend(const SimFormsBackend&) = delete;
    SimFormsBackend& operator=(const SimFormsBackend&) = delete;

    std::unique_ptr<forms::FormPeer> CreateFormPeer(forms::Form& form) override;
    std::unique_ptr<forms::ControlPeer> CreateControlPeer(forms::Control& control) override;
    std::unique_ptr<forms::TimerPeer> CreateTimerPeer(forms::Timer& timer) override;
    // The notification area is recorded in trayLog.
    std::unique_ptr<forms::TrayIconPeer> CreateTrayIconPeer(forms::TrayIcon& icon) override;
    // Answers from menuChoices and records the show in menusShown and menuLog.
    forms::MenuItem* TrackPopupMenu(forms::MenuItem& menu, forms::Form& owner, forms::Form& asker,
                                    std::optional<forms::MenuPoint> at) override;
    void InstallOwnerDrawnMenus(forms::Form& owner,
                                std::shared_ptr<forms::MenuImages> images) override;
    void UninstallOwnerDrawnMenus(forms::Form& owner) override;
    // Runs the modal steps while the form shows; one that stays shown with no step left
    // is counted in stuckModals and returns.
    void RunModal(forms::Form& form) override;
    forms::Bitmap LoadPicture(const std::string& path) override;
    // From pictureFiles or largePictures, cut and scaled to the nearest pixel; each cut is
    // noted in `cuts`.
    forms::Bitmap LoadPicturePart(const std::string& path,
                                  const forms::PictureCutter& cut) override;
    forms::Bitmap LoadResourcePicture(const std::string& name) override;
    // From fileIcons, drawn to the size asked for (nearest pixel); where `dpi` makes it
    // show larger, it carries a drawing at that size too.
    forms::Bitmap LoadFileIcon(const std::string& file, int index, int size) override;
    // Every character is kCharWidth wide (twice that in a font of 12 points or more) and a
    // line kLineHeight high (twice too); lines break at the last space that fits, or where a
    // word alone is too wide.
    static constexpr int kCharWidth = 6;
    static constexpr int kLineHeight = 15;
    forms::TextSize MeasureText(const std::string& text, const forms::Font& font,
                                int wrapWidth) override;
    void DoEvents() override;
    void EndProgram() override { programEnded = true; }

    // Moves the clock on; every running timer ticks once per interval that ends on the
    // way, in time order.
    void AdvanceClock(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t Now() const noexcept { return now_; }

    // What the form's or the picture box's Paint handler draws, one line per call, in the
    // box's scale ("fill 0 0 10 10 #0000ff", "text 0 0 50 20 #000000 left Hello" ...).
    [[nodiscard]] std::vector<std::string> PaintOf(forms::Form& form);
    [[nodiscard]] std::vector<std::string> PaintOf(forms::Control& control);
    // True while a modal form has the form disabled.
    [[nodiscard]] bool Disabled(const forms::Form& form) const {
        return disabled_.count(&form) != 0;
    }
    // The forms that have windows (loaded, and shown or needing one), in the order their
    // windows were made.
    [[nodiscard]] const std::vector<forms::Form*>& LoadedForms() const noexcept { return loaded_; }

    // One pop-up as the user saw it.
    struct MenuShow {
        std::string menu;
        std::string owner;  // the form whose window owns the menu
        std::string asker;  // the form that keeps its activation
        std::optional<forms::MenuPoint> at;
        // The items shown (forms::ShownItems), depth first, two spaces deeper per submenu:
        // the element key, the caption, then " checked", " disabled", " default" as they
        // apply and " >" for an item that opens a submenu ("mnuPattern(1) Home >").
        std::vector<std::string> lines;
    };
    // The element keys of the items to choose, at any depth ("mnuPattern(1)", "mnuExit");
    // "" or an unknown key: dismissed; none left: dismissed.
    std::deque<std::string> menuChoices;
    std::vector<std::string> menusShown;  // names of the menus popped up
    std::vector<MenuShow> menuLog;
    // "install frmMenus 3 images", "uninstall frmMenus", in order.
    std::vector<std::string> ownerDrawnLog;
    std::function<void()> pendingEvents;  // what the next DoEvents lets happen, once
    bool programEnded = false;
    // Run in turn while a modal form shows, each with the form.
    std::deque<std::function<void(forms::Form&)>> modalSteps;
    int stuckModals = 0;
    std::map<std::string, forms::Bitmap> pictureFiles;  // by path
    // Pictures of one colour (0xFF336699) and of any size, by path: their pixels are made
    // only as they are decoded.
    std::map<std::string, std::pair<int, int>> largePictures;
    std::vector<forms::PictureCut> cuts;  // what LoadPicturePart decoded, in order
    std::map<std::string, forms::Bitmap> resourcePictures;           // by name
    std::map<std::pair<std::string, int>, forms::Bitmap> fileIcons;  // by path and index
    int dpi = 96;                      // the screen's, for the pictures that are drawn larger on it
    std::vector<std::string> redrawn;  // the names of the forms and controls asked to paint again
    // What the notification area was told, in order: "add Form1 Pellmark" (the form and the
    // tip) and "remove Form1".
    std::vector<std::string> trayLog;

  private:
    class FormPeer;
    class TimerPeer;
    std::int64_t now_ = 0;
    std::set<TimerPeer*> timers_;
    class TrayIconPeer;
    std::set<const forms::Form*> disabled_;
    std::vector<forms::Form*> loaded_;
};

}  // namespace pellmark::sim
