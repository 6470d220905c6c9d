#include "platform/forms/Form.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

namespace pellmark::forms {

namespace {
// A control has a window once it shows: its form shows, and it is visible in a container
// that has one.
bool DueForPeer(const Control& control) {
    return control.Peer() == nullptr && control.Owner().Visible() && control.Visible() &&
           (control.Container() == nullptr || control.Container()->Peer() != nullptr);
}

bool HoldsControls(const Control& control) {
    return control.Kind() == ControlKind::Picture || control.Kind() == ControlKind::Frame;
}
}  // namespace

Form::Form(Backend& backend, std::string name) : backend_(backend), name_(std::move(name)) {}

// Children go before their containers, so every window is destroyed before its parent.
Form::~Form() {
    if (settings_.owner != nullptr) {
        std::erase(settings_.owner->owned_, this);
    }
    for (Form* owned : owned_) {
        owned->settings_.owner = nullptr;
    }
    timers_.clear();
    while (!controls_.empty()) {
        controls_.pop_back();
    }
}

void Form::SetSettings(const WindowSettings& settings) {
    if (settings.owner != settings_.owner) {
        if (settings_.owner != nullptr) {
            std::erase(settings_.owner->owned_, this);
        }
        if (settings.owner != nullptr) {
            settings.owner->owned_.push_back(this);
        }
    }
    settings_ = settings;
}

void Form::SetCaption(std::string caption) {
    if (caption_ != caption) {
        caption_ = std::move(caption);
        if (peer_) {
            peer_->Update(FormChange::Caption);
        }
    }
}

void Form::SetClientSize(int width, int height) {
    width_ = width;
    height_ = height;
    if (peer_) {
        peer_->Update(FormChange::Size);
    }
}

void Form::Show() {
    Load();
    MakeWindow();
    if (!visible_ && peer_) {
        visible_ = true;
        MakePeers(0);
        peer_->Update(FormChange::Visible);
        OnShown();
    }
}

void Form::Hide() {
    if (visible_) {
        visible_ = false;
        if (peer_) {
            peer_->Update(FormChange::Visible);
        }
        OnHidden();
    }
}

void Form::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    // Timers enabled before the load run from it on, as always.
    if (std::any_of(timers_.begin(), timers_.end(), [](const auto& t) { return t->Enabled(); })) {
        MakeWindow();
    }
    OnLoad();
}

void Form::MakeWindow() {
    if (!loaded_ || peer_ || unloading_) {
        return;
    }
    OnMakingWindow();
    peer_ = backend_.CreateFormPeer(*this);
    for (const auto& timer : timers_) {
        timer->AttachPeer(backend_.CreateTimerPeer(*timer));
    }
    if (menuImages_) {
        backend_.InstallOwnerDrawnMenus(*this, menuImages_);
    }
}

void Form::Unload() {
    if (!loaded_ || unloading_) {
        return;
    }
    unloading_ = true;
    // The windows go even when the form's own unloading fails: none may be left behind
    // for a model that thinks it unloaded, or whose window the system is destroying.
    std::exception_ptr failure;
    try {
        OnUnload();
    } catch (...) {
        failure = std::current_exception();
    }
    if (tray_) {
        tray_->FormUnloading();
    }
    // An owned form goes with its owner, as Windows takes an owned window with its owner's,
    // whether or not it has made its window yet.
    for (Form* owned : std::vector<Form*>(owned_)) {
        try {
            owned->Unload();
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }
    for (const auto& timer : timers_) {
        timer->AttachPeer(nullptr);
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        (*it)->AttachPeer(nullptr);
    }
    if (menuImages_) {
        menuImages_.reset();
        if (peer_) {
            backend_.UninstallOwnerDrawnMenus(*this);
        }
    }
    visible_ = false;
    peer_.reset();
    loaded_ = false;
    unloading_ = false;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

bool Form::Close() {
    if (!loaded_) {
        return true;
    }
    if (QueryUnload) {
        bool cancel = false;
        QueryUnload(cancel);
        if (cancel) {
            return false;
        }
    }
    Unload();
    return true;
}

void Form::UserClose() {
    static_cast<void>(Close());
}

void Form::UserKeyUp(int keyCode) {
    if (KeyUp) {
        KeyUp(keyCode);
    }
}

bool Form::UserDialogKey(int keyCode) {
    constexpr int kEnter = 13;
    constexpr int kEscape = 27;
    if (keyCode != kEnter && keyCode != kEscape) {
        return false;
    }
    for (const auto& control : controls_) {
        if (control->Kind() != ControlKind::Button || !control->Usable()) {
            continue;
        }
        auto& button = static_cast<Button&>(*control);
        if (keyCode == kEnter ? button.IsDefault() : button.IsCancel()) {
            button.UserClick();
            return true;
        }
    }
    return false;
}

namespace {
void RunMouse(const std::function<void(const MouseEvent&)>& handler, const MouseEvent& event) {
    if (handler) {
        handler(event);
    }
}
}  // namespace

void Form::UserMouseDown(const MouseEvent& event) {
    RunMouse(MouseDown, event);
}

void Form::UserMouseMove(const MouseEvent& event) {
    RunMouse(MouseMove, event);
}

void Form::UserMouseUp(const MouseEvent& event) {
    RunMouse(MouseUp, event);
}

void Form::UserDblClick() {
    if (DblClick) {
        DblClick();
    }
}

void Form::Refresh() {
    if (peer_) {
        peer_->Update(FormChange::Redraw);
    }
}

void Form::SetRegion(std::optional<std::vector<Bounds>> region) {
    region_ = std::move(region);
    if (peer_) {
        peer_->Update(FormChange::Region);
    }
}

void Form::ShowModal() {
    if (modal_) {
        return;
    }
    Load();
    MakeWindow();
    if (!peer_) {
        return;  // its load unloaded it
    }
    modal_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{modal_};
    backend_.RunModal(*this);
}

void Backend::Deliver(const std::function<void()>& call) noexcept {
    try {
        call();
    } catch (...) {
        Report(std::current_exception());
    }
}

void Backend::Report(std::exception_ptr error) noexcept {
    if (!reporter_) {
        return;
    }
    try {
        reporter_(std::move(error));
    } catch (...) {
        // A reporter that fails has nowhere to report to.
    }
}

void Form::Adopt(std::unique_ptr<Control> control) {
    if (peer_ && DueForPeer(*control)) {
        control->AttachPeer(backend_.CreateControlPeer(*control));
    }
    controls_.push_back(std::move(control));
}

void Form::MakePeers(std::size_t from) {
    // Containers come before what they hold, so one pass reaches every depth.
    for (std::size_t i = from; i < controls_.size(); ++i) {
        if (DueForPeer(*controls_[i])) {
            controls_[i]->AttachPeer(backend_.CreateControlPeer(*controls_[i]));
        }
    }
}

void Form::ControlShown(Control& control) {
    if (!peer_ || !DueForPeer(control)) {
        return;
    }
    if (!HoldsControls(control)) {
        control.AttachPeer(backend_.CreateControlPeer(control));
        return;
    }
    const auto at = std::find_if(controls_.begin(), controls_.end(),
                                 [&](const auto& c) { return c.get() == &control; });
    if (at != controls_.end()) {
        MakePeers(static_cast<std::size_t>(at - controls_.begin()));
    }
}

void Form::Remove(Control& control) {
    Control* const one[] = {&control};
    Remove(one);
}

void Form::Remove(std::span<Control* const> controls) {
    // One pass however many go: a control at a time scanned the whole form each time,
    // which made taking away thousands of preview markers quadratic.
    std::unordered_set<const Control*> going(controls.begin(), controls.end());
    // A container is always added before what it holds, so one pass finds all inside.
    for (const auto& c : controls_) {
        if (c->Container() != nullptr && going.count(c->Container()) != 0) {
            going.insert(c.get());
        }
    }
    const auto gone = std::stable_partition(controls_.begin(), controls_.end(), [&](const auto& c) {
        return going.count(c.get()) == 0;
    });
    std::vector<std::unique_ptr<Control>> removed(std::make_move_iterator(gone),
                                                  std::make_move_iterator(controls_.end()));
    controls_.erase(gone, controls_.end());
    // Newest first, as the form's own destructor goes: what is inside a container goes
    // before it, and a backend that keeps its controls in order finds each at its end.
    while (!removed.empty()) {
        removed.pop_back();
    }
}

TrayIcon& Form::Tray() {
    if (!tray_) {
        tray_ = std::make_unique<TrayIcon>(*this);
    }
    return *tray_;
}

Timer& Form::AddTimer(std::string name) {
    timers_.push_back(std::make_unique<Timer>(*this, std::move(name)));
    Timer& timer = *timers_.back();
    if (peer_) {
        timer.AttachPeer(backend_.CreateTimerPeer(timer));
    }
    return timer;
}

MenuItem& Form::AddMenu(std::string name) {
    menus_.push_back(std::make_unique<MenuItem>(std::move(name)));
    return *menus_.back();
}

namespace {
// A user reaches an item only through visible, enabled items that open its submenus.
bool Reachable(const MenuItem& item, const MenuItem& menu) {
    for (const MenuItem* at = &item; at != &menu; at = at->Parent()) {
        if (at == nullptr || !at->enabled || !at->visible) {
            return false;
        }
    }
    return true;
}
}  // namespace

void Form::ShowPopup(MenuItem& menu, Form* asker, std::optional<MenuPoint> at) {
    Load();
    MakeWindow();
    if (!peer_) {
        return;  // its load unloaded it
    }
    MenuItem* chosen = backend_.TrackPopupMenu(menu, *this, asker ? *asker : *this, at);
    if (chosen == nullptr || chosen == &menu || OpensSubmenu(*chosen) ||
        !Reachable(*chosen, menu)) {
        return;
    }
    // A copy: the handler may rebuild the menu and take its own item away.
    const std::function<void()> click = chosen->Click;
    if (click) {
        click();
    }
}

void Form::InstallOwnerDrawnMenus(std::shared_ptr<MenuImages> images) {
    Load();
    if (!loaded_ || !images) {
        return;  // its load unloaded it
    }
    if (peer_ && menuImages_) {
        backend_.UninstallOwnerDrawnMenus(*this);
    }
    menuImages_ = images;
    // A form without a window yet gets them with its window.
    if (peer_) {
        backend_.InstallOwnerDrawnMenus(*this, std::move(images));
    }
}

void Form::UninstallOwnerDrawnMenus() {
    if (menuImages_) {
        menuImages_.reset();
        if (peer_) {
            backend_.UninstallOwnerDrawnMenus(*this);
        }
    }
}

PictureCut WithinPicture(PictureCut cut, int width, int height) noexcept {
    Bounds& source = cut.source;
    source.left = std::clamp(source.left, 0, std::max(width - 1, 0));
    source.top = std::clamp(source.top, 0, std::max(height - 1, 0));
    source.width = std::clamp(source.width, 1, std::max(width - source.left, 1));
    source.height = std::clamp(source.height, 1, std::max(height - source.top, 1));
    cut.width = std::max(cut.width, 1);
    cut.height = std::max(cut.height, 1);
    return cut;
}

}  // namespace pellmark::forms
