#include "platform/sim/SimForms.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/RunTimeError.h"

namespace pellmark::sim {

namespace {

std::string Colour(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

std::string Place(const forms::Bounds& area) {
    return std::to_string(area.left) + " " + std::to_string(area.top) + " " +
           std::to_string(area.width) + " " + std::to_string(area.height);
}

class RecordingCanvas final : public forms::Canvas {
  public:
    RecordingCanvas(int width, int height) : width_(width), height_(height) {}
    std::vector<std::string> drawn;

    void Fill(const forms::Bounds& area, std::uint32_t colour) override {
        drawn.push_back("fill " + Place(area) + " " + Colour(colour));
    }
    void Frame(const forms::Bounds& area, std::uint32_t colour) override {
        drawn.push_back("frame " + Place(area) + " " + Colour(colour));
    }
    void Line(int x1, int y1, int x2, int y2, std::uint32_t colour) override {
        drawn.push_back("line " + std::to_string(x1) + " " + std::to_string(y1) + " " +
                        std::to_string(x2) + " " + std::to_string(y2) + " " + Colour(colour));
    }
    void Text(const std::string& text, const forms::Bounds& area,
              const forms::TextStyle& style) override {
        static constexpr const char* kAlign[] = {"left", "centre", "right"};
        drawn.push_back("text " + Place(area) + " " + Colour(style.colour) + " " +
                        kAlign[static_cast<int>(style.align)] + " " + text);
    }
    void Draw(const forms::Bitmap& picture, const forms::Bounds& area) override {
        drawn.push_back("picture " + Place(area) + " " + picture.Source());
    }
    void Clip(const forms::Bounds& area) override { drawn.push_back("clip " + Place(area)); }
    [[nodiscard]] int Width() const override { return width_; }
    [[nodiscard]] int Height() const override { return height_; }

  private:
    int width_;
    int height_;
};

// Lists answer where their rows are from a fixed row height; every peer notes a repaint.
class ControlPeer final : public forms::ControlPeer {
  public:
    ControlPeer(SimFormsBackend& backend, forms::Control& control)
        : backend_(backend), control_(control) {}
    void Update(forms::Change what) override {
        if (what == forms::Change::Redraw) {
            backend_.redrawn.push_back(control_.Name());
        }
    }
    void UpdateItem(forms::ItemChange, int) override {}

    [[nodiscard]] int RowAt(int x, int y) const override {
        const forms::Bounds& bounds = control_.GetBounds();
        const int row = y / SimFormsBackend::kRowHeight;
        if (x < 0 || y < 0 || x >= bounds.width || y >= bounds.height || row >= Rows()) {
            return -1;
        }
        return row;
    }
    [[nodiscard]] forms::Bounds RowBounds(int index) const override {
        if (index < 0 || index >= Rows()) {
            return {};
        }
        return {0, index * SimFormsBackend::kRowHeight, control_.GetBounds().width,
                SimFormsBackend::kRowHeight};
    }

  private:
    [[nodiscard]] int Rows() const {
        switch (control_.Kind()) {
            case forms::ControlKind::ListBox:
                return static_cast<const forms::ListControl&>(control_).ListCount();
            case forms::ControlKind::ListView:
                return static_cast<const forms::ListView&>(control_).ItemCount();
            default:
                return 0;
        }
    }

    SimFormsBackend& backend_;
    forms::Control& control_;
};

}  // namespace

// A form's windows go with it, and the forms it owns before it, as on Windows.
class SimFormsBackend::FormPeer final : public forms::FormPeer {
  public:
    FormPeer(SimFormsBackend& backend, forms::Form& form) : backend_(backend), form_(form) {
        backend_.loaded_.push_back(&form);
    }
    ~FormPeer() override {
        std::erase(backend_.loaded_, &form_);
        backend_.disabled_.erase(&form_);
        const std::vector<forms::Form*> loaded = backend_.loaded_;
        for (forms::Form* other : loaded) {
            if (other->Settings().owner == &form_) {
                other->Unload();
            }
        }
    }
    FormPeer(const FormPeer&) = delete;
    FormPeer& operator=(const FormPeer&) = delete;

    void Update(forms::FormChange what) override {
        if (what == forms::FormChange::Redraw) {
            backend_.redrawn.push_back(form_.Name());
        }
    }

  private:
    SimFormsBackend& backend_;
    forms::Form& form_;
};

class SimFormsBackend::TimerPeer final : public forms::TimerPeer {
  public:
    TimerPeer(SimFormsBackend& backend, forms::Timer& timer) : backend_(backend), timer_(timer) {
        backend_.timers_.insert(this);
        Update();
    }
    ~TimerPeer() override { backend_.timers_.erase(this); }
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;

    // Starting or changing a timer starts its interval again, as SetTimer does.
    void Update() override { due_ = backend_.now_ + timer_.Interval(); }

    [[nodiscard]] bool Running() const noexcept { return timer_.Running(); }
    [[nodiscard]] std::int64_t Due() const noexcept { return due_; }
    void Fire() {
        due_ += timer_.Interval();
        forms::Timer& timer = timer_;
        backend_.Deliver([&timer] { timer.Elapse(); });  // may unload the form and this peer
    }

  private:
    SimFormsBackend& backend_;
    forms::Timer& timer_;
    std::int64_t due_ = 0;
};

std::unique_ptr<forms::FormPeer> SimFormsBackend::CreateFormPeer(forms::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<forms::ControlPeer> SimFormsBackend::CreateControlPeer(forms::Control& control) {
    return std::make_unique<ControlPeer>(*this, control);
}

std::unique_ptr<forms::TimerPeer> SimFormsBackend::CreateTimerPeer(forms::Timer& timer) {
    return std::make_unique<TimerPeer>(*this, timer);
}

class SimFormsBackend::TrayIconPeer final : public forms::TrayIconPeer {
  public:
    TrayIconPeer(SimFormsBackend& backend, forms::TrayIcon& icon) : backend_(backend), icon_(icon) {
        backend_.trayLog.push_back("add " + icon_.Owner().Name() + " " + icon_.Tip());
    }
    ~TrayIconPeer() override { backend_.trayLog.push_back("remove " + icon_.Owner().Name()); }
    TrayIconPeer(const TrayIconPeer&) = delete;
    TrayIconPeer& operator=(const TrayIconPeer&) = delete;

  private:
    SimFormsBackend& backend_;
    forms::TrayIcon& icon_;
};

std::unique_ptr<forms::TrayIconPeer> SimFormsBackend::CreateTrayIconPeer(forms::TrayIcon& icon) {
    return std::make_unique<TrayIconPeer>(*this, icon);
}

namespace {

void LogMenuItems(const forms::MenuItem& menu, const std::string& indent,
                  std::vector<std::string>& lines) {
    for (const forms::MenuItem* item : forms::ShownItems(menu)) {
        std::string line = indent;
        line += item->ElementKey();
        line += ' ';
        line += item->caption;
        if (item->checked) {
            line += " checked";
        }
        if (!item->enabled) {
            line += " disabled";
        }
        if (item->isDefault) {
            line += " default";
        }
        const bool submenu = forms::OpensSubmenu(*item);
        if (submenu) {
            line += " >";
        }
        lines.push_back(std::move(line));
        if (submenu) {
            LogMenuItems(*item, indent + "  ", lines);
        }
    }
}

forms::MenuItem* FindKey(forms::MenuItem& menu, const std::string& key) {
    for (const auto& item : menu.Items()) {
        if (item->ElementKey() == key) {
            return item.get();
        }
        if (forms::MenuItem* found = FindKey(*item, key)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

forms::MenuItem* SimFormsBackend::TrackPopupMenu(forms::MenuItem& menu, forms::Form& owner,
                                                 forms::Form& asker,
                                                 std::optional<forms::MenuPoint> at) {
    menusShown.push_back(menu.name);
    MenuShow shown{menu.name, owner.Name(), asker.Name(), at, {}};
    LogMenuItems(menu, "", shown.lines);
    menuLog.push_back(std::move(shown));
    if (menuChoices.empty()) {
        return nullptr;
    }
    const std::string choice = std::move(menuChoices.front());
    menuChoices.pop_front();
    return choice.empty() ? nullptr : FindKey(menu, choice);
}

void SimFormsBackend::InstallOwnerDrawnMenus(forms::Form& owner,
                                             std::shared_ptr<forms::MenuImages> images) {
    std::string entry = "install ";
    entry += owner.Name();
    entry += ' ';
    entry += std::to_string(images ? images->images.size() : 0);
    entry += " images";
    ownerDrawnLog.push_back(std::move(entry));
}

void SimFormsBackend::UninstallOwnerDrawnMenus(forms::Form& owner) {
    std::string entry = "uninstall ";
    entry += owner.Name();
    ownerDrawnLog.push_back(std::move(entry));
}

void SimFormsBackend::RunModal(forms::Form& form) {
    const forms::Form* owner = form.Settings().owner;
    const bool disabling = owner != nullptr && disabled_.insert(owner).second;
    form.Show();
    while (form.Loaded() && form.Visible() && !modalSteps.empty()) {
        auto step = std::move(modalSteps.front());
        modalSteps.pop_front();
        Deliver([&] { step(form); });
    }
    if (form.Loaded() && form.Visible()) {
        ++stuckModals;
    }
    if (disabling) {
        disabled_.erase(owner);
    }
}

forms::Bitmap SimFormsBackend::LoadPicture(const std::string& path) {
    const auto found = pictureFiles.find(path);
    if (found == pictureFiles.end()) {
        throw RunTimeError(53, "File not found");
    }
    if (found->second.Empty()) {
        throw RunTimeError(481, "Invalid picture");
    }
    return found->second;
}

forms::Bitmap SimFormsBackend::LoadPicturePart(const std::string& path,
                                               const forms::PictureCutter& cut) {
    if (const auto large = largePictures.find(path); large != largePictures.end()) {
        const auto [width, height] = large->second;
        const forms::PictureCut part = forms::WithinPicture(cut(width, height), width, height);
        cuts.push_back(part);
        return {part.width, part.height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(part.width) * part.height,
                                           0xFF336699),
                path};
    }
    const forms::Bitmap whole = LoadPicture(path);
    const forms::PictureCut part =
        forms::WithinPicture(cut(whole.Width(), whole.Height()), whole.Width(), whole.Height());
    cuts.push_back(part);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(part.width) * part.height);
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            pixels[static_cast<std::size_t>(y) * part.width + x] =
                whole.Pixels()[static_cast<std::size_t>(part.source.top +
                                                        y * part.source.height / part.height) *
                                   whole.Width() +
                               part.source.left + x * part.source.width / part.width];
        }
    }
    return {part.width, part.height, std::move(pixels), path};
}

forms::Bitmap SimFormsBackend::LoadResourcePicture(const std::string& name) {
    const auto found = resourcePictures.find(name);
    if (found == resourcePictures.end()) {
        throw RunTimeError(481, "Invalid picture");
    }
    return found->second;
}

namespace {

forms::Bitmap Resized(const forms::Bitmap& icon, int size, const std::string& file) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            pixels[static_cast<std::size_t>(y) * size + x] =
                icon.Pixels()[static_cast<std::size_t>(y * icon.Height() / size) * icon.Width() +
                              x * icon.Width() / size];
        }
    }
    return {size, size, std::move(pixels), file};
}

}  // namespace

forms::Bitmap SimFormsBackend::LoadFileIcon(const std::string& file, int index, int size) {
    const auto found = fileIcons.find({file, index});
    if (found == fileIcons.end() || found->second.Empty() || size <= 0) {
        return {};
    }
    forms::Bitmap icon = Resized(found->second, size, file);
    if (const int screen = (size * dpi + 48) / 96; screen > size) {
        icon.SetLarge(Resized(found->second, screen, file));
    }
    return icon;
}

forms::TextSize SimFormsBackend::MeasureText(const std::string& text, const forms::Font& font,
                                             int wrapWidth) {
    const int scale = font.points >= 12 ? 2 : 1;
    const int charWidth = kCharWidth * scale;
    const std::size_t perLine = wrapWidth > 0
                                    ? static_cast<std::size_t>(std::max(wrapWidth / charWidth, 1))
                                    : std::string::npos;
    int lines = 0;
    std::size_t widest = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t lineEnd = std::min(text.find('\n', from), text.size());
        const std::string_view line(text.data() + from, lineEnd - from);
        std::size_t start = 0;
        do {
            ++lines;
            if (perLine == std::string::npos || line.size() - start <= perLine) {
                widest = std::max(widest, line.size() - start);
                break;
            }
            const std::size_t space = line.rfind(' ', start + perLine);
            const bool atSpace = space != std::string_view::npos && space > start;
            const std::size_t end = atSpace ? space : start + perLine;
            widest = std::max(widest, end - start);
            start = atSpace ? space + 1 : end;
        } while (start < line.size());
        from = lineEnd + 1;
    }
    return {static_cast<int>(widest) * charWidth, lines * kLineHeight * scale};
}

void SimFormsBackend::DoEvents() {
    if (pendingEvents) {
        auto events = std::exchange(pendingEvents, nullptr);
        Deliver(events);
    }
}

std::vector<std::string> SimFormsBackend::PaintOf(forms::Form& form) {
    RecordingCanvas canvas(form.ClientWidth(), form.ClientHeight());
    if (form.Paint) {
        Deliver([&] { form.Paint(canvas); });
    }
    return canvas.drawn;
}

std::vector<std::string> SimFormsBackend::PaintOf(forms::Control& control) {
    if (control.Kind() != forms::ControlKind::Picture) {
        return {};
    }
    auto& box = static_cast<forms::Picture&>(control);
    const forms::Bounds& bounds = control.GetBounds();
    RecordingCanvas canvas(box.ScaleWidth() > 0 ? box.ScaleWidth() : bounds.width,
                           box.ScaleHeight() > 0 ? box.ScaleHeight() : bounds.height);
    if (box.Paint) {
        Deliver([&] { box.Paint(canvas); });
    }
    return canvas.drawn;
}

void SimFormsBackend::AdvanceClock(std::int64_t milliseconds) {
    const std::int64_t end = now_ + milliseconds;
    for (;;) {
        TimerPeer* next = nullptr;
        for (TimerPeer* timer : timers_) {
            if (timer->Running() && timer->Due() <= end &&
                (next == nullptr || timer->Due() < next->Due())) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = next->Due();
        next->Fire();
    }
    now_ = end;
}

}  // namespace pellmark::sim
