// The real message boxes, version, folders and files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// The system's text for a Win32 error code, without the trailing line break.
[[nodiscard]] std::string ErrorDescription(std::uint32_t code);
// The last error as a status (with a generic code when the call set none).
[[nodiscard]] OsStatus LastErrorStatus();

class Win32Dialogs final : public platform::Dialogs {
  public:
    // Boxes are owned by `owner` when it is set, so they stay in front of it.
    explicit Win32Dialogs(HWND owner = nullptr) noexcept : owner_(owner) {}
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override;

  private:
    HWND owner_;
};

class Win32System final : public platform::System {
  public:
    VersionInfo ReadVersion() override;
    std::string GetTempFolder() override;
    bool ClaimSingleInstance() override;

  private:
    UniqueKernelHandle instanceMutex_;
};

class Win32Files final : public platform::Files {
  public:
    OsStatus WriteWholeFile(const std::string& path, std::string_view bytes) override;
    std::unique_ptr<platform::ByteSource> OpenForReading(const std::string& path,
                                                         OsStatus& status) override;
    OsStatus ListFiles(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names) override;
    OsStatus RemoveFile(const std::string& path) override;
    OsStatus CreateFolder(const std::string& path) override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& path) override;
};

}  // namespace pellmark::win32
