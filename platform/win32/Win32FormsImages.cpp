// Images drawn by the window that holds them (the form's, or a picture box's): each shows a
// picture and takes the mouse without a window of its own, which would cost start-up time.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/win32/ImagePlace.h"
#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

bool HoldsButton(WPARAM wParam) {
    return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
}

POINT PointOf(LPARAM lParam) {
    // Signed: left of or above the window, while the mouse is captured.
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

HANDLE Packed(LONG low, LONG high) {
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(MAKELONG(
        static_cast<WORD>(static_cast<short>(low)), static_cast<WORD>(static_cast<short>(high)))));
}

}  // namespace

class DrawnImage final : public forms::ControlPeer {
  public:
    DrawnImage(DrawnImages& holder, forms::Image& image)
        : holder_(&holder),
          image_(image),
          tipId_(static_cast<UINT_PTR>(holder.Form().NextControlId())),
          imageName_(image.Name()) {
        holder.Adopt(*this);
        area_ = holder.ToPixels(image.GetBounds());
        Invalidate();
        ShowTip();
        Publish();
    }
    ~DrawnImage() override {
        if (holder_ == nullptr) {
            return;
        }
        Invalidate();
        Withdraw();
        holder_->Forget(*this);
    }
    DrawnImage(const DrawnImage&) = delete;
    DrawnImage& operator=(const DrawnImage&) = delete;

    void Update(forms::Change what) override {
        if (holder_ == nullptr) {
            return;
        }
        switch (what) {
            case forms::Change::Visible:
                // Drawn or not, either way its place is painted again.
                if (HWND window = holder_->Window()) {
                    ::InvalidateRect(window, &area_, TRUE);
                }
                ShowTip();
                break;
            case forms::Change::Enabled:  // it looks the same; only its tip and mouse go
            case forms::Change::ToolTip:
                ShowTip();
                break;
            case forms::Change::Bounds:
                Place();
                break;
            case forms::Change::Picture:
            case forms::Change::Redraw:
                Invalidate();
                break;
            default:
                break;
        }
    }
    void UpdateItem(forms::ItemChange, int) override {}

    [[nodiscard]] forms::Image& Model() const noexcept { return image_; }
    [[nodiscard]] const RECT& Area() const noexcept { return area_; }
    [[nodiscard]] bool TakesMouse() const noexcept { return image_.Visible() && image_.Enabled(); }

    // Follows the model's bounds, or the holder's new DPI or scale.
    void Place() {
        const RECT area = holder_->ToPixels(image_.GetBounds());
        if (::EqualRect(&area, &area_) != FALSE) {
            return;
        }
        Invalidate();
        area_ = area;
        Invalidate();
        ShowTip();
        Publish();
    }
    // The holder's window is going before the image: it lets go of it, leaving nothing.
    void Detach() noexcept {
        Withdraw();
        holder_ = nullptr;
    }

    void Paint(HDC dc) const {
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, area_.left, area_.top, area_.right, area_.bottom);
        ::FillRect(dc, &area_, holder_->Background());
        const forms::Bitmap& picture = image_.GetPicture();
        if (!picture.Empty()) {
            const FormWindow& form = holder_->Form();
            DrawBitmap(dc, picture,
                       image_.Stretch()
                           ? area_
                           : RECT{area_.left, area_.top, area_.left + form.ScaleX(picture.Width()),
                                  area_.top + form.ScaleY(picture.Height())});
        }
        ::RestoreDC(dc, saved);
    }

  private:
    void Invalidate() const {
        HWND window = holder_->Window();
        if (window != nullptr && image_.Visible() && ::IsRectEmpty(&area_) == FALSE) {
            ::InvalidateRect(window, &area_, TRUE);
        }
    }

    // Its tip is an area of the holder's window, which relays its mouse to the tool tips.
    void ShowTip() {
        ToolTips& tips = holder_->Form().Tips();
        HWND window = holder_->Window();
        if (!TakesMouse() || image_.ToolTip().empty()) {
            tips.RemoveArea(window, tipId_);
            return;
        }
        tips.SetArea(window, tipId_, area_, image_.ToolTip());
        tips.MoveArea(window, tipId_, area_);
    }

    // Other processes (the end-to-end tests) find where it is from the form's window: the
    // window that draws it and its place there, as the window of any other control.
    void Publish() const {
        HWND form = holder_->Form().Handle();
        HWND window = holder_->Window();
        if (form == nullptr || window == nullptr) {
            return;
        }
        formtext::SetProperty(form, ImagePropertyName(imageName_, kImageHostPart), window);
        formtext::SetProperty(form, ImagePropertyName(imageName_, kImageAtPart),
                              Packed(area_.left, area_.top));
        formtext::SetProperty(form, ImagePropertyName(imageName_, kImageSizePart),
                              Packed(area_.right - area_.left, area_.bottom - area_.top));
    }

    // Its tool and its properties go.
    void Withdraw() noexcept {
        HWND window = holder_->Window();
        if (window == nullptr) {
            return;  // the form's window has gone, and its tool tips with it
        }
        holder_->Form().Tips().RemoveArea(window, tipId_);
        HWND form = holder_->Form().Handle();
        // Only its own: a later control of the same name takes them over.
        if (form != nullptr &&
            formtext::Property(form, ImagePropertyName(imageName_, kImageHostPart)) == window) {
            for (const char* part : {kImageHostPart, kImageAtPart, kImageSizePart}) {
                formtext::RemoveProperty(form, ImagePropertyName(imageName_, part));
            }
        }
    }

    DrawnImages* holder_;
    forms::Image& image_;
    RECT area_{};
    UINT_PTR tipId_;
    std::string imageName_;
};

std::unique_ptr<forms::ControlPeer> CreateDrawnImage(DrawnImages& holder, forms::Image& image) {
    return std::make_unique<DrawnImage>(holder, image);
}

// ---- The holder ----

DrawnImages::~DrawnImages() {
    for (DrawnImage* image : images_) {
        image->Detach();
    }
}

HWND DrawnImages::Window() const noexcept {
    return picture_ != nullptr ? picture_->Handle() : form_.Handle();
}

RECT DrawnImages::ToPixels(const forms::Bounds& bounds) const {
    if (picture_ == nullptr) {
        return form_.Scale(bounds);
    }
    // Both corners scaled, so that images that touch still touch.
    const POINT topLeft = picture_->ToPixels(bounds.left, bounds.top);
    const POINT bottomRight =
        picture_->ToPixels(bounds.left + bounds.width, bounds.top + bounds.height);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

POINT DrawnImages::ToScale(POINT pixels) const {
    if (picture_ == nullptr) {
        return {form_.Unscale(pixels.x), form_.Unscale(pixels.y)};
    }
    const forms::Bounds inScale = picture_->FromPixels({0, 0, pixels.x, pixels.y});
    return {inScale.width, inScale.height};
}

HBRUSH DrawnImages::Background() const {
    return picture_ != nullptr && picture_->BackBrush() != nullptr
               ? picture_->BackBrush()
               : ::GetSysColorBrush(COLOR_BTNFACE);
}

void DrawnImages::Adopt(DrawnImage& image) {
    // A late image (its peer made when it first shows) goes where the form's order puts it.
    std::vector<DrawnImage*> ordered;
    ordered.reserve(images_.size() + 1);
    for (const auto& control : image.Model().Owner().Controls()) {
        const auto mine = [&](const DrawnImage* held) { return &held->Model() == control.get(); };
        if (&image.Model() == control.get()) {
            ordered.push_back(&image);
        } else if (const auto found = std::find_if(images_.begin(), images_.end(), mine);
                   found != images_.end()) {
            ordered.push_back(*found);
        }
    }
    // One being added gets its peer before the form lists it: it is the newest.
    if (std::find(ordered.begin(), ordered.end(), &image) == ordered.end()) {
        ordered.push_back(&image);
    }
    images_ = std::move(ordered);
}

void DrawnImages::Forget(const DrawnImage& image) noexcept {
    std::erase(images_, &image);
    if (captured_ == &image) {
        captured_ = nullptr;
    }
    if (pressed_ == &image) {
        pressed_ = nullptr;
    }
}

void DrawnImages::Place() {
    for (DrawnImage* image : images_) {
        image->Place();
    }
}

void DrawnImages::Paint(HDC dc, const RECT& dirty) const {
    for (const DrawnImage* image : images_) {
        RECT common{};
        if (image->Model().Visible() && ::IntersectRect(&common, &image->Area(), &dirty) != FALSE) {
            image->Paint(dc);
        }
    }
}

DrawnImage* DrawnImages::At(LPARAM point) const {
    const POINT at = PointOf(point);
    for (auto it = images_.rbegin(); it != images_.rend(); ++it) {
        if ((*it)->TakesMouse() && ::PtInRect(&(*it)->Area(), at) != FALSE) {
            return *it;
        }
    }
    return nullptr;
}

forms::Image* DrawnImages::MouseTarget(UINT message, WPARAM wParam, LPARAM lParam,
                                       forms::MouseEvent& event) {
    const bool down =
        message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    const bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    // A press that ended where this window did not see it (a menu or a drag took the mouse)
    // leaves no image holding it.
    if (captured_ != nullptr && !up &&
        ((wParam & capturedButtons_) == 0 || ::GetCapture() != Window())) {
        captured_ = nullptr;
    }
    // A press on the window's own background keeps the mouse the window's until it is up.
    if (captured_ == nullptr && !down && (HoldsButton(wParam) || up) &&
        ::GetCapture() == Window()) {
        return nullptr;
    }
    DrawnImage* target = captured_ != nullptr ? captured_ : At(lParam);
    if (target == nullptr) {
        return nullptr;
    }
    if (down) {
        capturedButtons_ = captured_ == target ? capturedButtons_ | wParam : wParam;
        capturedButtons_ &= MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
        captured_ = target;
    } else if (up && !HoldsButton(wParam)) {
        captured_ = nullptr;
    }
    const POINT at = PointOf(lParam);
    const POINT inScale = ToScale({at.x - target->Area().left, at.y - target->Area().top});
    event.x = inScale.x;
    event.y = inScale.y;
    return &target->Model();
}

bool DrawnImages::Click(UINT message, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        pressed_ = At(lParam);
        return pressed_ != nullptr;
    }
    if (message != WM_LBUTTONUP) {
        return false;
    }
    DrawnImage* pressed = std::exchange(pressed_, nullptr);
    if (pressed == nullptr) {
        return false;
    }
    if (At(lParam) == pressed) {
        pressed->Model().UserClick();  // may take the image, its holder or the form away
    }
    return true;
}

bool DrawnImages::HasTips() const noexcept {
    return std::any_of(images_.begin(), images_.end(),
                       [](const DrawnImage* image) { return !image->Model().ToolTip().empty(); });
}

}  // namespace pellmark::win32::formwindows
