// A form's timer: ticks every Interval milliseconds while enabled.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace pellmark::forms {

class Form;

class TimerPeer {
  public:
    virtual ~TimerPeer() = default;
    // Interval or Enabled changed: stop, and start again when the timer runs.
    virtual void Update() = 0;
};

class Timer {
  public:
    Timer(Form& form, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    [[nodiscard]] const std::string& Name() const noexcept { return name_; }
    [[nodiscard]] Form& Owner() const noexcept { return form_; }
    [[nodiscard]] int Interval() const noexcept { return interval_; }
    void SetInterval(int milliseconds);
    [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    // An interval of 0 keeps an enabled timer from ticking.
    [[nodiscard]] bool Running() const noexcept { return enabled_ && interval_ > 0; }

    std::function<void()> Tick;
    // The interval elapsed (from the backend).
    void Elapse();

    void AttachPeer(std::unique_ptr<TimerPeer> peer);

  private:
    Form& form_;
    std::string name_;
    int interval_ = 0;
    bool enabled_ = false;
    std::unique_ptr<TimerPeer> peer_;
};

}  // namespace pellmark::forms
