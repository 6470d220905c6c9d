#include "platform/SafeFileWrite.h"

#include <memory>

namespace pellmark::platform {

namespace {
constexpr std::uint32_t kFileExists = 80;
constexpr std::uint32_t kAlreadyExists = 183;
// Names left by an earlier run that was killed are stepped over; this many is plenty.
constexpr int kNamesToTry = 100;
}  // namespace

OsStatus SafeFileWrite(Files& files, const std::string& path, std::string_view bytes) {
    const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    OsStatus status;
    for (int attempt = 1; attempt <= kNamesToTry; ++attempt) {
        const std::string temporary = folder + "~pellmark" + std::to_string(attempt) + ".tmp";
        std::unique_ptr<ByteSink> sink = files.CreateNewFile(temporary, status);
        if (!sink) {
            if (status.code == kFileExists || status.code == kAlreadyExists) {
                continue;  // someone else's file: never touched
            }
            return status;
        }
        status = sink->Write(bytes);
        if (status.ok()) {
            status = sink->Flush();
        }
        sink.reset();  // an open file can be neither moved nor removed
        if (status.ok()) {
            status = files.MoveReplacing(temporary, path);
        }
        if (!status.ok()) {
            static_cast<void>(files.RemoveFile(temporary));
        }
        return status;
    }
    return status;
}

}  // namespace pellmark::platform
