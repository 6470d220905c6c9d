#include "settings/LoadSettings.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"

namespace pellmark {

namespace {

// The run-time errors a stored text can raise when it is turned into a number.
struct RunError {
    int number = 0;
    std::string_view description;
};
constexpr RunError kOverflow{6, "Overflow"};
constexpr RunError kTypeMismatch{13, "Type mismatch"};
constexpr RunError kInvalidPropertyValue{380, "Invalid property value"};

std::string_view TrimSpaces(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool AllDigits(std::string_view text) noexcept {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

// An optional sign, digits, and an optional fraction; spaces around are allowed.
std::optional<double> ParseDecimal(std::string_view text, bool& overflow) {
    overflow = false;
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((!whole.empty() && !AllDigits(whole)) || (!fraction.empty() && !AllDigits(fraction)) ||
        (whole.empty() && fraction.empty())) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        overflow = true;
        return std::nullopt;
    }
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// Reads the store one key at a time. A read that fails keeps the error and leaves its
// output alone, so the caller can stop with everything before it applied.
class SettingReader {
  public:
    explicit SettingReader(const SettingsStore& store) noexcept : store_(store) {}

    // Each section's key is opened once for all its values.
    [[nodiscard]] std::string Text(std::string_view section, std::string_view key,
                                   std::string_view defaultText) {
        for (const auto& [name, reader] : sections_) {
            if (name == section) {
                return reader->Get(key, defaultText);
            }
        }
        sections_.emplace_back(std::string(section),
                               std::make_unique<SettingsStore::SectionReader>(store_, section));
        return sections_.back().second->Get(key, defaultText);
    }

    // "True" or "False" in any case, or a number: 0 is false, anything else true.
    [[nodiscard]] bool Boolean(std::string_view section, std::string_view key, bool& out,
                               std::string_view defaultText = "False") {
        const std::string text = Text(section, key, defaultText);
        const std::string_view trimmed = TrimSpaces(text);
        if (platform::EqualIgnoringCase(trimmed, "True")) {
            out = true;
            return true;
        }
        if (platform::EqualIgnoringCase(trimmed, "False")) {
            out = false;
            return true;
        }
        bool overflow = false;
        const std::optional<double> number = ParseDecimal(trimmed, overflow);
        if (!number) {
            return Fail(overflow ? kOverflow : kTypeMismatch);
        }
        out = *number != 0;
        return true;
    }

    // A whole number that must fit in T.
    template <typename T>
    [[nodiscard]] bool WholeNumber(std::string_view section, std::string_view key,
                                   std::string_view defaultText, T& out) {
        const std::string text = Text(section, key, defaultText);
        std::string_view digits = TrimSpaces(text);
        bool negative = false;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            negative = digits.front() == '-';
            digits.remove_prefix(1);
        }
        if (!AllDigits(digits)) {
            return Fail(kTypeMismatch);
        }
        unsigned long long magnitude = 0;
        const std::errc error =
            std::from_chars(digits.data(), digits.data() + digits.size(), magnitude).ec;
        const long long lowest = std::numeric_limits<T>::min();
        const long long highest = std::numeric_limits<T>::max();
        const auto limit = static_cast<unsigned long long>(negative ? -lowest : highest);
        if (error == std::errc::result_out_of_range || magnitude > limit) {
            return Fail(kOverflow);
        }
        const auto value = static_cast<long long>(magnitude);
        out = static_cast<T>(negative ? -value : value);
        return true;
    }

    // A check box's state: a whole number from 0 (clear) to 2 (greyed).
    [[nodiscard]] bool CheckState(std::string_view section, std::string_view key, int& out) {
        std::int16_t state = 0;
        if (!WholeNumber(section, key, "0", state)) {
            return false;
        }
        if (state < 0 || state > 2) {
            return Fail(kInvalidPropertyValue);
        }
        out = state;
        return true;
    }

    // A font size in points, which may have a fraction.
    [[nodiscard]] bool FontSize(std::string_view section, std::string_view key, double& out) {
        const std::string text = Text(section, key, "10");
        bool overflow = false;
        const std::optional<double> size = ParseDecimal(text, overflow);
        if (!size) {
            return Fail(overflow ? kOverflow : kTypeMismatch);
        }
        if (*size > FLT_MAX || *size < -FLT_MAX) {
            return Fail(kOverflow);
        }
        out = *size;
        return true;
    }

    [[nodiscard]] const RunError& Error() const noexcept { return error_; }

  private:
    bool Fail(const RunError& error) noexcept {
        error_ = error;
        return false;
    }

    const SettingsStore& store_;
    std::vector<std::pair<std::string, std::unique_ptr<SettingsStore::SectionReader>>> sections_;
    RunError error_;
};

// The six steps in order; `step` names the one in progress. False when a value failed.
bool ReadSettings(SettingReader& read, std::string_view& step, const std::string& programFolder,
                  SettingsRecord& s, IconStyleControls& style) {
    step = "SysTrayIcon";
    if (!read.Boolean(kSettingsSection, "LoadInSysTray", s.LoadInSysTray)) {
        return false;
    }

    step = "immediate pattern restorer";
    if (!read.Boolean(kSettingsSection, "RestoreOnStartup", s.RestoreOnStartup) ||
        !read.Boolean(kSettingsSection, "RestoreOnResChange", s.RestoreOnResChange)) {
        return false;
    }
    s.PatternToRestore = read.Text(kSettingsSection, "PatternToRestore", "");
    if (!read.Boolean(kSettingsSection, "CloseWhenRestored", s.CloseWhenRestored) ||
        !read.Boolean(kSettingsSection, "FollowScreens", s.FollowScreens, "1") ||
        !read.Boolean(kSettingsSection, "LockIcons", s.LockIcons, "0")) {
        return false;
    }

    step = "Hide form on load";
    if (!read.Boolean(kSettingsSection, "OnLoadHide", s.OnLoadHide) ||
        !read.Boolean(kSettingsSection, "SavePatternOnStart", s.SavePatternOnStart) ||
        !read.Boolean(kSettingsSection, "SavePatternOnClose", s.SavePatternOnClose)) {
        return false;
    }
    s.PatternToAutoSave = read.Text(kSettingsSection, "PatternToAutoSave", "AutoSave");

    step = "Icon style Settings";
    std::int32_t number = 0;
    int state = 0;
    bool flag = false;
    double size = 0;
    if (!read.WholeNumber(kIconStyleSection, "IconForeColour", "0", number)) {
        return false;
    }
    style.SetTextColour(static_cast<std::uint32_t>(number));
    if (!read.WholeNumber(kIconStyleSection, "BGColour", "0", number)) {
        return false;
    }
    // -1 is the transparent background, which the colour picker shows as black.
    style.SetBackgroundColour(number == -1 ? 0u : static_cast<std::uint32_t>(number));
    if (!read.WholeNumber(kIconStyleSection, "IconRefreshTime", "0", number)) {
        return false;
    }
    style.SetRefreshTime(number);
    if (!read.CheckState(kIconStyleSection, "TransparentTitle", state)) {
        return false;
    }
    style.SetTransparentTitle(state);
    if (!read.CheckState(kIconStyleSection, "EnableIconStyle", state)) {
        return false;
    }
    style.SetEnableIconStyle(state);
    style.SetSampleFontName(read.Text(kIconStyleSection, "FontName", "Arial"));
    if (!read.Boolean(kIconStyleSection, "FontBold", flag)) {
        return false;
    }
    style.SetSampleFontBold(flag);
    if (!read.Boolean(kIconStyleSection, "FontItalic", flag)) {
        return false;
    }
    style.SetSampleFontItalic(flag);
    if (!read.FontSize(kIconStyleSection, "FontSize", size)) {
        return false;
    }
    style.SetSampleFontSize(size);

    step = "Auto hide desktop";
    if (!read.Boolean(kSettingsSection, "AutoHideDesktop", s.AutoHideDesktop) ||
        !read.WholeNumber(kSettingsSection, "ShowDelay", "2", s.ShowDelay)) {
        return false;
    }

    step = "Languages";
    s.Language = read.Text(kSettingsSection, "Language", "English");
    std::string folder = programFolder;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    s.LanguageFile = folder + "\\Languages\\" + s.Language + ".txt";
    return true;
}

}  // namespace

void LoadSettings(const SettingsStore& store, const std::string& programFolder,
                  SettingsRecord& settings, IconStyleControls& iconStyle,
                  platform::Dialogs& dialogs) {
    SettingReader read(store);
    std::string_view step;
    if (ReadSettings(read, step, programFolder, settings, iconStyle)) {
        return;
    }
    const RunError& error = read.Error();
    dialogs.ShowMessage({.text = "Problem with GettingSettingsFromReigstry\nTrying to: '" +
                                 std::string(step) + "'\n\nErr: " + std::to_string(error.number) +
                                 "\n" + std::string(error.description),
                         .caption = "Encountered a slight problem",
                         .icon = platform::MessageIcon::Critical});
}

}  // namespace pellmark
