#include "settings/Shortcuts.h"

#include <exception>
#include <new>
#include <utility>

#include "platform/RunTimeError.h"
#include "settings/AppInfo.h"

namespace pellmark {

namespace {

std::string ShortcutFileName() {
    std::string name(kAppTitle);
    name += kShortcutExtension;
    return name;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A name with a NUL in it is what a failed call leaves: there is no user.
bool UserPresent(const std::string& name) {
    return !name.empty() && name.find('\0') == std::string::npos;
}

bool Exists(platform::Files& files, const std::string& path) {
    OsStatus status;
    return files.OpenForReading(path, status) != nullptr;
}

}  // namespace

Shortcuts::Shortcuts(platform::Shell& shell, platform::Files& files, platform::Dialogs& dialogs,
                     std::string programFolder, std::string programName)
    : shell_(shell),
      files_(files),
      dialogs_(dialogs),
      programFolder_(std::move(programFolder)),
      programName_(std::move(programName)) {}

const std::string& Shortcuts::GetLogonUserName() {
    if (userName_.empty()) {
        userName_ = shell_.LogonUserName();
    }
    return userName_;
}

std::string Shortcuts::GetWindowsFolder() {
    std::string folder = shell_.WindowsFolder();
    folder += '\\';
    return folder;
}

std::string Shortcuts::UserFolder(platform::ShellFolder which, const char* profilePart) {
    if (auto folder = shell_.UserFolder(which)) {
        *folder += '\\';
        return std::move(*folder);
    }
    std::string folder = GetWindowsFolder();
    const std::string& user = GetLogonUserName();
    if (UserPresent(user)) {
        folder += "Profiles\\";
        folder += user;
        folder += '\\';
    }
    folder += profilePart;
    return folder;
}

std::string Shortcuts::GetDesktopFolder() {
    return UserFolder(platform::ShellFolder::Desktop, "Desktop\\");
}

std::string Shortcuts::GetProgramsFolder() {
    return UserFolder(platform::ShellFolder::Programs, "Start Menu\\Programs\\");
}

std::string ProgramPath(const std::string& programFolder, const std::string& programName) {
    std::string path = programFolder;
    path += '\\';
    path += programName;
    path += ".Exe";
    return path;
}

std::string Shortcuts::DesktopShortcutPath() {
    return GetDesktopFolder() + ShortcutFileName();
}

// The folder ends with a backslash and one more is put between, as always; Windows takes
// the doubled one as one.
std::string Shortcuts::StartMenuShortcutPath() {
    std::string path = GetProgramsFolder();
    path += '\\';
    path += ShortcutFileName();
    return path;
}

bool Shortcuts::DesktopShortcutExists() {
    return Exists(files_, DesktopShortcutPath());
}

bool Shortcuts::StartMenuShortcutExists() {
    return Exists(files_, StartMenuShortcutPath());
}

bool Shortcuts::CreateShortcut(const std::string& linkPath, const std::string& target) {
    const auto unexpected = [this](int number, const char* description) {
        std::string text("Err: ");
        text += std::to_string(number);
        text += '\n';
        text += description;
        text += "\n\nWhile trying to create a shortcut";
        dialogs_.ShowMessage({.text = text, .icon = platform::MessageIcon::Exclamation});
    };
    try {
        if (shell_.CreateShortcut(linkPath, target, FolderOf(target)).ok()) {
            return true;
        }
        std::string text("There was a problem creating a shortcut to the file:\n");
        text += target;
        dialogs_.ShowMessage({.text = text, .icon = platform::MessageIcon::Critical});
    } catch (const RunTimeError& error) {
        unexpected(error.Number(), error.what());
    } catch (const std::bad_alloc&) {
        unexpected(7, "Out of memory");
    }
    return false;
}

bool Shortcuts::CreateStartMenuShortcut() {
    return CreateShortcut(StartMenuShortcutPath(), ProgramPath());
}

// Made straight in the Desktop folder: the Start Menu keeps whatever it had.
bool Shortcuts::CreateDesktopShortcut() {
    return CreateShortcut(DesktopShortcutPath(), ProgramPath());
}

void Shortcuts::DeleteDesktopShortcut() {
    static_cast<void>(files_.RemoveFile(DesktopShortcutPath()));
}

void Shortcuts::DeleteStartMenuShortcut() {
    static_cast<void>(files_.RemoveFile(StartMenuShortcutPath()));
}

}  // namespace pellmark
