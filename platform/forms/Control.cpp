#include "platform/forms/Control.h"

#include "platform/forms/Form.h"

#include <utility>

namespace pellmark::forms {

std::string ElementName(std::string_view array, std::size_t index) {
    std::string name(array);
    name += '(';
    name += std::to_string(index);
    name += ')';
    return name;
}

Control::Control(Form& form, ControlKind kind, std::string name, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container) {}

Control::~Control() = default;

void Control::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Notify(Change::Enabled);
    }
}

void Control::SetVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        Notify(Change::Visible);
        if (visible_ && !peer_) {
            form_.ControlShown(*this);
        }
    }
}

void Control::SetCaption(std::string caption) {
    if (caption_ != caption) {
        caption_ = std::move(caption);
        Notify(Change::Caption);
    }
}

void Control::SetToolTip(std::string text) {
    if (toolTip_ != text) {
        toolTip_ = std::move(text);
        Notify(Change::ToolTip);
    }
}

void Control::SetFont(Font font) {
    if (!(font_ == font)) {
        font_ = std::move(font);
        Notify(Change::Font);
    }
}

void Control::Move(Bounds bounds) {
    if (!(bounds_ == bounds)) {
        bounds_ = bounds;
        Notify(Change::Bounds);
    }
}

void Control::SetBackColour(std::optional<std::uint32_t> colour) {
    if (back_ != colour) {
        back_ = colour;
        Notify(Change::Colours);
    }
}

void Control::SetForeColour(std::optional<std::uint32_t> colour) {
    if (fore_ != colour) {
        fore_ = colour;
        Notify(Change::Colours);
    }
}

bool Control::Usable() const noexcept {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->enabled_ || !c->visible_) {
            return false;
        }
    }
    return true;
}

void Control::UserKeyDown(int keyCode) {
    if (Usable() && KeyDown) {
        KeyDown(keyCode);
    }
}

void Control::UserKeyUp(int keyCode) {
    if (Usable() && KeyUp) {
        KeyUp(keyCode);
    }
}

void Control::Refresh() {
    Notify(Change::Redraw);
}

namespace {
void RunMouse(const Control& control, const std::function<void(const MouseEvent&)>& handler,
              const MouseEvent& event) {
    if (control.Usable() && handler) {
        handler(event);
    }
}
}  // namespace

void Control::UserMouseDown(const MouseEvent& event) {
    RunMouse(*this, MouseDown, event);
}

void Control::UserMouseMove(const MouseEvent& event) {
    RunMouse(*this, MouseMove, event);
}

void Control::UserMouseUp(const MouseEvent& event) {
    RunMouse(*this, MouseUp, event);
}

void Control::UserDblClick() {
    if (Usable() && DblClick) {
        DblClick();
    }
}

void Control::AttachPeer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
}

void Control::Notify(Change what) {
    if (peer_) {
        peer_->Update(what);
    }
}

void Control::NotifyItem(ItemChange change, int index) {
    if (peer_) {
        peer_->UpdateItem(change, index);
    }
}

}  // namespace pellmark::forms
