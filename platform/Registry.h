// The registry as the program uses it: keys opened under a root, values of a type and a
// size. Every call answers with the Win32 error code of the operation (0 on success).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pellmark::platform {

// An open key or one of the predefined roots, as the system numbers its handles.
using RegistryKey = std::uintptr_t;

// The predefined roots as 32-bit numbers.
inline constexpr std::uint32_t kHkeyClassesRoot = 0x80000000;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kHkeyUsers = 0x80000003;
inline constexpr std::uint32_t kHkeyCurrentConfig = 0x80000005;
inline constexpr std::uint32_t kHkeyDynData = 0x80000006;

// A root as a key: the 32-bit number sign-extended, which is how 64-bit Windows defines
// the predefined handles.
[[nodiscard]] constexpr RegistryKey PredefinedKey(std::uint32_t root) noexcept {
    return static_cast<RegistryKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}

// Access rights asked for when a key is opened.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// The error codes the program and its tests tell apart.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorBadPathname = 161;
inline constexpr std::uint32_t kErrorMoreData = 234;
inline constexpr std::uint32_t kErrorNoMoreItems = 259;
inline constexpr std::uint32_t kErrorKeyDeleted = 1018;

struct RegistryKeyInfo {
    std::uint32_t subKeyCount = 0;
    std::uint32_t longestSubKeyName = 0;  // in characters, without the terminating zero
};

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyExA. A path is relative to `parent`, its parts separated by backslashes.
    // An empty path under a root gives the root itself back.
    [[nodiscard]] virtual std::uint32_t OpenKey(RegistryKey parent, const std::string& path,
                                                std::uint32_t access, RegistryKey& opened) = 0;
    // RegCreateKeyExA, non-volatile and without a class: opens the key, creating every
    // missing key along the path.
    [[nodiscard]] virtual std::uint32_t CreateKey(RegistryKey parent, const std::string& path,
                                                  std::uint32_t access, RegistryKey& opened) = 0;
    // RegCloseKey. Closing a root does nothing and succeeds.
    virtual std::uint32_t CloseKey(RegistryKey key) = 0;
    // RegDeleteKeyA: the key must have no sub-keys.
    [[nodiscard]] virtual std::uint32_t DeleteKey(RegistryKey parent,
                                                  const std::string& subKey) = 0;
    // RegDeleteValueA.
    [[nodiscard]] virtual std::uint32_t DeleteValue(RegistryKey key, const std::string& name) = 0;
    // RegQueryInfoKeyA: the number of sub-keys and the length of the longest name.
    [[nodiscard]] virtual std::uint32_t QueryKeyInfo(RegistryKey key, RegistryKeyInfo& info) = 0;
    // RegEnumKeyExA with a name buffer of `capacity` characters, terminating zero included.
    [[nodiscard]] virtual std::uint32_t EnumKey(RegistryKey key, std::uint32_t index,
                                                std::uint32_t capacity, std::string& name) = 0;
    // RegQueryValueExA into `buffer`. The data are always asked for, so a buffer too small
    // (even an empty one) reports ERROR_MORE_DATA; `size` receives the value's size then.
    [[nodiscard]] virtual std::uint32_t QueryValue(RegistryKey key, const std::string& name,
                                                   std::uint32_t& type,
                                                   std::span<std::uint8_t> buffer,
                                                   std::uint32_t& size) = 0;
    // RegSetValueExA with exactly these bytes.
    [[nodiscard]] virtual std::uint32_t SetValue(RegistryKey key, const std::string& name,
                                                 std::uint32_t type,
                                                 std::span<const std::uint8_t> data) = 0;
};

// Owns one opened key and closes it when it goes out of scope.
class ScopedRegistryKey {
  public:
    explicit ScopedRegistryKey(Registry& registry) noexcept : registry_(registry) {}
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;
    ~ScopedRegistryKey() { static_cast<void>(Close()); }

    [[nodiscard]] std::uint32_t Open(RegistryKey parent, const std::string& path,
                                     std::uint32_t access) {
        return Hold(registry_.OpenKey(parent, path, access, Release()));
    }
    [[nodiscard]] std::uint32_t Create(RegistryKey parent, const std::string& path,
                                       std::uint32_t access) {
        return Hold(registry_.CreateKey(parent, path, access, Release()));
    }
    [[nodiscard]] RegistryKey get() const noexcept { return key_; }
    // Closes the key now and gives RegCloseKey's answer; 0 when nothing is held.
    std::uint32_t Close() {
        if (key_ == 0) {
            return 0;
        }
        const RegistryKey key = key_;
        key_ = 0;
        return registry_.CloseKey(key);
    }

  private:
    // Closes what is held and lends the slot to an open or create call.
    RegistryKey& Release() {
        static_cast<void>(Close());
        return key_;
    }
    // Keeps the key only when the call succeeded.
    std::uint32_t Hold(std::uint32_t status) noexcept {
        if (status != 0) {
            key_ = 0;
        }
        return status;
    }

    Registry& registry_;
    RegistryKey key_ = 0;
};

}  // namespace pellmark::platform
