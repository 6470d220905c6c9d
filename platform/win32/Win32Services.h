// The real message boxes, version, folders and files.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {

// The system's text for a Win32 error code, without the trailing line break.
[[nodiscard]] std::string ErrorDescription(std::uint32_t code);
// The last error as a status (with a generic code when the call set none).
[[nodiscard]] OsStatus LastErrorStatus();

// The full path of the running program file, however long.
[[nodiscard]] std::string ProgramFilePath();

// Calls `wide` with the UTF-16 text on the NT family and `ansi` with the ANSI text on
// 95/98/Me, whose wide calls are stubs (or as `wideCalls` says, so tests can take the ANSI
// way on any system). When the ANSI code page cannot hold the text,
// `ansi` is not called (no other name is ever used in its place): the last error becomes
// ERROR_NO_UNICODE_TRANSLATION and `failed` is returned.
template <typename Result, typename WideCall, typename AnsiCall>
Result CallWithText(bool wideCalls, const std::string& text, Result failed, WideCall wide,
                    AnsiCall ansi) {
    if (wideCalls) {
        return wide(Widen(text).c_str());
    }
    const std::optional<std::string> inAnsi = ToAnsi(text);
    if (!inAnsi) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return failed;
    }
    return ansi(inAnsi->c_str());
}
template <typename Result, typename WideCall, typename AnsiCall>
Result CallWithText(const std::string& text, Result failed, WideCall wide, AnsiCall ansi) {
    return CallWithText(UsesWideApi(), text, failed, wide, ansi);
}

class Win32Dialogs final : public platform::Dialogs {
  public:
    // Boxes are owned by `owner` when it is set, so they stay in front of it. A request
    // without a caption takes `defaultCaption` (the program's title).
    explicit Win32Dialogs(std::string defaultCaption, HWND owner = nullptr)
        : defaultCaption_(std::move(defaultCaption)), owner_(owner) {}
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override;
    // In Win32ChooseDialogs.cpp: the common dialogs' library is loaded on first use.
    std::optional<std::uint32_t> PickColour(std::uint32_t initial) override;
    std::optional<platform::FontChoice> PickFont(const platform::FontChoice& initial) override;

  private:
    std::string defaultCaption_;
    HWND owner_;
    // The colour dialog's sixteen custom colours, kept from one opening to the next.
    std::array<COLORREF, 16> customColours_{};
};

class Win32System final : public platform::System {
  public:
    VersionInfo ReadVersion() override;
    std::string GetTempFolder() override;
    bool ClaimSingleInstance() override;
    void OpenAddress(const std::string& address) override;
    void SendKeys(std::span<const platform::KeyStroke> keys) override;
    bool SetScreenSaverActive(bool active) override;
    void StartScreenSaver(WindowHandle window) override;
    void WriteToConsole(const std::string& text) override;

  private:
    UniqueKernelHandle instanceMutex_;
    bool outputLookedFor_ = false;
    HANDLE output_ = nullptr;  // the redirected output, not ours to close
    UniqueFile console_;       // the starting program's console, opened for writing
};

// How 95/98/Me, which have neither MoveFileEx nor ReplaceFile, put a finished file in the
// place of another: the old one is renamed aside and comes back when the new one cannot
// take its name.
[[nodiscard]] OsStatus MoveReplacingByRenaming(const std::string& from, const std::string& to);

class Win32Files final : public platform::Files {
  public:
    std::unique_ptr<platform::ByteSource> OpenForReading(const std::string& path,
                                                         OsStatus& status) override;
    OsStatus ListFiles(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names) override;
    OsStatus RemoveFile(const std::string& path) override;
    OsStatus CreateFolder(const std::string& path) override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& path) override;
    // In Win32FileWriting.cpp.
    std::unique_ptr<platform::ByteSink> CreateNewFile(const std::string& path,
                                                      OsStatus& status) override;
    OsStatus MoveReplacing(const std::string& from, const std::string& to) override;
    std::optional<std::string> ToAnsiCodePage(std::string_view utf8) override;
    std::string FromAnsiCodePage(std::string_view bytes) override;
};

}  // namespace pellmark::win32
