// A file list: the names of the files of one folder that match a pattern such as "*.ips"
// (or several, "*.bmp;*.jpg"), sorted by name without regard to case. It has no window of
// its own.
#pragma once

#include <string>
#include <vector>

#include "platform/Files.h"

namespace pellmark::forms {

class FileList {
  public:
    explicit FileList(platform::Files& files) : files_(files) {}

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }
    // Points the list at a folder and reads it; a folder that cannot be read is a
    // run-time error (76, "Path not found") and leaves the list as it was.
    void SetPath(std::string folder);
    void SetPattern(std::string pattern);
    // Reads the folder again.
    void Refresh();

    [[nodiscard]] int ListCount() const noexcept { return static_cast<int>(names_.size()); }
    [[nodiscard]] const std::string& List(int index) const { return names_.at(index); }

  private:
    platform::Files& files_;
    std::string path_;
    std::string pattern_ = "*.*";
    std::vector<std::string> names_;
};

}  // namespace pellmark::forms
