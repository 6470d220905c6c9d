// The program's own per-user settings: HKEY_CURRENT_USER\Software\Pellmark, one sub-key
// per section, every value text (REG_SZ).
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace pellmark {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kIconStyleSection = "DesktopIconStyle";
inline constexpr std::string_view kWarnSection = "Warn";

inline constexpr std::string_view kSettingsKeyPath = "Software\\Pellmark";

class SettingsStore {
  public:
    explicit SettingsStore(platform::Registry& registry) noexcept;
    // The same store under another key of HKEY_CURRENT_USER (tests use a scratch key).
    SettingsStore(platform::Registry& registry, std::string keyPath);

    // Writes the text, creating the section's key when it is missing. A failing write
    // leaves the store as it was.
    void Save(std::string_view section, std::string_view key, std::string_view text);
    // The stored text; `defaultText` when the section, key or value is missing or cannot
    // be read. A number stored as REG_DWORD reads as its decimal text; other kinds of data
    // give the default.
    [[nodiscard]] std::string Get(std::string_view section, std::string_view key,
                                  std::string_view defaultText) const;

    // Reads one section as Get does, through its key opened once for as long as this lives:
    // a run of reads (the settings at start-up) opens it once, not once a value.
    class SectionReader {
      public:
        SectionReader(const SettingsStore& store, std::string_view section);
        [[nodiscard]] std::string Get(std::string_view key, std::string_view defaultText) const;

      private:
        const SettingsStore& store_;
        platform::ScopedRegistryKey key_;
        bool open_ = false;
    };

  private:
    [[nodiscard]] std::string SectionPath(std::string_view section) const;
    [[nodiscard]] std::string Read(platform::RegistryKey sectionKey, std::string_view key,
                                   std::string_view defaultText) const;

    platform::Registry& registry_;
    std::string keyPath_;
};

}  // namespace pellmark
