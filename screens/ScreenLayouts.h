// The layouts learned for each screen arrangement: ordinary pattern files in
// "SavedPositions\Screens\", which the pattern list never shows, and an index from each
// arrangement's key to its file, with a description a person can read and the monitors
// the layout was learned on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "patterns/DesktopIconTable.h"
#include "patterns/PatternReader.h"
#include "platform/Files.h"
#include "screens/Arrangement.h"

namespace pellmark::screens {

inline constexpr std::string_view kIndexHeader = "Pellmark screens | version | 1";
inline constexpr std::string_view kIndexName = "Index.txt";

struct StoredLayout {
    std::string key;
    std::string file;  // name inside the folder
    std::string description;
    Arrangement arrangement;
};

enum class LayoutState { Read, Missing, Damaged };

// What went wrong with the store, for the user to read; the caller says it once.
struct StoreProblem {
    std::string key;  // language key of the message
    std::string path;
    std::string detail;
};

class ScreenLayouts {
  public:
    ScreenLayouts(platform::Files& files, std::string savedFolder);

    [[nodiscard]] std::string Folder() const { return folder_; }
    [[nodiscard]] std::string PathOf(const StoredLayout& layout) const {
        return folder_ + layout.file;
    }

    // Reads the index again. Lines it cannot read, and a file that is no index at all, are
    // reported and kept: the next write leaves them in the file as they were.
    void Load();
    [[nodiscard]] const StoredLayout* Find(const std::string& key) const;

    // The layout's records; Missing when its file is gone, Damaged when it is no pattern
    // of a version this program reads.
    [[nodiscard]] LayoutState Read(const StoredLayout& layout, PatternBody& body);

    // Writes `table` as the layout of `arrangement`, then the index. A file in the way that
    // is no pattern is moved aside, never overwritten. False (and a problem) on a failure.
    bool Learn(const Arrangement& arrangement, const DesktopIconTable& table,
               std::int32_t screenTwips);

    // Problems found since the last call.
    [[nodiscard]] std::vector<StoreProblem> TakeProblems();

  private:
    bool EnsureFolder();
    bool WriteIndex();
    void MoveAside(const std::string& path);

    platform::Files& files_;
    std::string folder_;
    std::vector<StoredLayout> layouts_;
    std::vector<std::string> keptLines_;  // lines of the index that could not be read
    bool indexUnreadable_ = false;        // a file in the index's place that is no index
    std::vector<StoreProblem> problems_;
};

// One index line, and back; nothing when the line cannot be read.
[[nodiscard]] std::string FormatIndexLine(const StoredLayout& layout);
[[nodiscard]] std::optional<StoredLayout> ParseIndexLine(std::string_view line);

}  // namespace pellmark::screens
