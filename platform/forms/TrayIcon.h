// A form's icon in the taskbar's notification area: added with a tool tip and the form's
// own window icon, removed again, and the mouse on it reported to the form's code.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pellmark::forms {

class Form;

// What the mouse did on the icon.
enum class TrayMouse {
    Move,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightUp,
    RightDoubleClick,
    MiddleDown,
    MiddleUp,
    MiddleDoubleClick,
};

// The shell reports the mouse on an icon as the window message that happened there
// (0x200 to 0x209); nothing for any other number.
[[nodiscard]] std::optional<TrayMouse> TrayMouseFromMessage(std::uint32_t message) noexcept;
// "left button up" and so on, for logs and test failures.
[[nodiscard]] const char* TrayMouseName(TrayMouse mouse) noexcept;

// The backend's side of a shown icon: made when the icon is added (the shell is told),
// destroyed when it is removed (the shell is told again).
class TrayIconPeer {
  public:
    virtual ~TrayIconPeer() = default;
};

class TrayIcon {
  public:
    explicit TrayIcon(Form& form);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    [[nodiscard]] Form& Owner() const noexcept { return form_; }
    // The form's own window icon, with `tip` as its tool tip (the backend cuts it to what
    // the shell holds). The form is loaded first when it is not. Adding the icon again with
    // the same tip changes nothing; another tip takes the old icon away first.
    void Add(std::string tip);
    // Nothing when the icon is not shown.
    void Remove();
    [[nodiscard]] bool Shown() const noexcept { return peer_ != nullptr; }
    [[nodiscard]] const std::string& Tip() const noexcept { return tip_; }

    // The mouse on the icon.
    std::function<void(TrayMouse)> Mouse;
    // From the backend: the user did this on the icon.
    void UserMouse(TrayMouse mouse);

    // From the form: its window goes, and the icon with it.
    void FormUnloading() noexcept;

  private:
    Form& form_;
    std::string tip_;
    std::unique_ptr<TrayIconPeer> peer_;
};

}  // namespace pellmark::forms
