#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace pellmark {

namespace {
constexpr platform::RegistryKey kCurrentUser = platform::PredefinedKey(platform::kHkeyCurrentUser);
}  // namespace

SettingsStore::SettingsStore(platform::Registry& registry) noexcept
    : registry_(registry), keyPath_(kSettingsKeyPath) {}

SettingsStore::SettingsStore(platform::Registry& registry, std::string keyPath)
    : registry_(registry), keyPath_(std::move(keyPath)) {}

std::string SettingsStore::SectionPath(std::string_view section) const {
    std::string path = keyPath_;
    path += '\\';
    path += section;
    return path;
}

void SettingsStore::Save(std::string_view section, std::string_view key, std::string_view text) {
    platform::ScopedRegistryKey sectionKey(registry_);
    if (sectionKey.Create(kCurrentUser, SectionPath(section), platform::kKeySetValue) != 0) {
        return;
    }
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    static_cast<void>(
        registry_.SetValue(sectionKey.get(), std::string(key), platform::kRegSz, bytes));
}

std::string SettingsStore::Get(std::string_view section, std::string_view key,
                               std::string_view defaultText) const {
    return SectionReader(*this, section).Get(key, defaultText);
}

SettingsStore::SectionReader::SectionReader(const SettingsStore& store, std::string_view section)
    : store_(store), key_(store.registry_) {
    open_ = key_.Open(kCurrentUser, store.SectionPath(section), platform::kKeyQueryValue) == 0;
}

std::string SettingsStore::SectionReader::Get(std::string_view key,
                                              std::string_view defaultText) const {
    return open_ ? store_.Read(key_.get(), key, defaultText) : std::string(defaultText);
}

std::string SettingsStore::Read(platform::RegistryKey sectionKey, std::string_view key,
                                std::string_view defaultText) const {
    const std::string name(key);
    std::vector<std::uint8_t> data(256);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::uint32_t status = platform::kErrorMoreData;
    // The value may grow between the calls; a few rounds settle it.
    for (int round = 0; round < 4 && status == platform::kErrorMoreData; ++round) {
        status = registry_.QueryValue(sectionKey, name, type, data, size);
        if (status == platform::kErrorMoreData) {
            data.resize(size);
        }
    }
    if (status != 0) {
        return std::string(defaultText);
    }
    data.resize(std::min<std::size_t>(size, data.size()));
    switch (type) {
        case platform::kRegSz:
        case platform::kRegExpandSz: {
            // Written by others, the text may lack its terminating zero or carry several.
            const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
            return std::string(data.begin(), end);
        }
        case platform::kRegDword:
            if (data.size() == 4) {
                const std::uint32_t number = data[0] | (std::uint32_t{data[1]} << 8) |
                                             (std::uint32_t{data[2]} << 16) |
                                             (std::uint32_t{data[3]} << 24);
                return std::to_string(static_cast<std::int32_t>(number));
            }
            return std::string(defaultText);
        default:
            return std::string(defaultText);
    }
}

}  // namespace pellmark
