#include "tray/SysTrayIcon.h"

#include <utility>

#include "platform/Utf8.h"
#include "platform/forms/TrayIcon.h"

namespace pellmark {

namespace {
constexpr std::size_t kTipCharacters = 63;
}  // namespace

std::string TrayTip(std::string_view title) {
    return std::string(platform::Utf8PrefixOfUtf16Units(title, kTipCharacters));
}

void SysTrayIcon::AddTrayIcon(std::string_view title) {
    form_.Tray().Add(TrayTip(title));
}

void SysTrayIcon::RemoveTrayIcon() {
    form_.Tray().Remove();
}

void SysTrayIcon::OnMouse(std::function<void(forms::TrayMouse)> handler) {
    form_.Tray().Mouse = std::move(handler);
}

}  // namespace pellmark
