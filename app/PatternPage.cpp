// The main window's pattern page: the list of saved patterns, their preview, and the
// Save, Load and Delete commands.
#include <memory>
#include <optional>

#include "app/Form1.h"
#include "patterns/PatternFile.h"
#include "patterns/PatternReader.h"
#include "patterns/SavedFolder.h"
#include "platform/RunTimeError.h"
#include "settings/AppInfo.h"
#include "settings/Messages.h"
#include "settings/WindowsVersion.h"

namespace pellmark {

namespace {

constexpr std::uint32_t kPreviewBackground = 0xA56E3A;  // a desktop blue
constexpr std::uint32_t kMarkerColour = 0xFFFFFF;

// The records of a pattern file as the preview reads them (positions within 16 bits);
// nothing when the file cannot be read or its major version is not this program's. The
// file is closed on return.
std::optional<std::vector<PatternRecord>> ReadPreviewRecords(platform::Files& files,
                                                             const std::string& path) {
    PatternBody body;
    const auto thisVersion = [](int major) { return major == kVersionMajor; };
    if (ReadPatternFile(files, path, thisVersion, kPreviewPositions, body) !=
        PatternFileState::Read) {
        return std::nullopt;
    }
    return std::move(body.records);
}

}  // namespace

void Form1::PositionControls() {
    SetClientSize(488, 300);
    lblPatterns.SetCaption("Saved patterns:");
    lblPatterns.Move({8, 8, 180, 16});
    List1.Move({8, 26, 180, 230});
    lblName.SetCaption("Name:");
    lblName.Move({8, 266, 40, 16});
    txtFile.Move({48, 264, 140, 22});
    picPreview.Move({200, 26, 280, 210});
    picPreview.SetBackColour(kPreviewBackground);
    lblPrevIcon[0]->SetBackColour(kMarkerColour);
    lblNoIcons.Move({200, 240, 280, 16});
    cmdSave.SetCaption("Save");
    cmdSave.Move({200, 262, 86, 26});
    cmdLoad.SetCaption("Load");
    cmdLoad.Move({294, 262, 86, 26});
}

void Form1::RefreshPatternList() {
    try {
        File1.Refresh();
    } catch (const RunTimeError&) {
        // The folder went away while the program ran: make it again, as at start-up.
        static_cast<void>(services_.files.CreateFolder(savedFolder_));
        File1.SetPath(savedFolder_);
    }
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(File1.ListCount()));
    for (int i = 0; i < File1.ListCount(); ++i) {
        const std::string& file = File1.List(i);
        names.push_back(file.substr(0, file.size() - std::min<std::size_t>(4, file.size())));
    }
    List1.SetItems(std::move(names));
}

void Form1::UnloadMarkers() {
    // All in one go: the form then looks through its controls once, not once a marker.
    const std::vector<forms::Control*> markers(lblPrevIcon.begin() + 1, lblPrevIcon.end());
    lblPrevIcon.resize(1);
    Remove(markers);
}

forms::Label& Form1::AddMarker(std::int32_t x, std::int32_t y, const std::string& caption,
                               bool hidden) {
    const forms::Label& model = *lblPrevIcon[0];
    auto& marker =
        Add<forms::Label>("lblPrevIcon(" + std::to_string(lblPrevIcon.size()) + ")", &picPreview);
    marker.SetVisible(false);
    marker.SetBackColour(model.BackColour());
    marker.Move({x, y, model.GetBounds().width, model.GetBounds().height});
    marker.SetToolTip(caption);
    marker.SetVisible(!hidden);
    lblPrevIcon.push_back(&marker);
    return marker;
}

void Form1::ShowPatternPreview() {
    const int index = List1.ListIndex();
    if (index < 0 || index >= File1.ListCount()) {
        return;
    }
    const std::string path = savedFolder_ + File1.List(index);
    txtFile.SetText(List1.List(index));
    UnloadMarkers();
    const auto records = ReadPreviewRecords(services_.files, path);
    if (!records) {
        services_.dialogs.ShowMessage(
            {.text = MessageText("0934"), .icon = platform::MessageIcon::Question});
        lblNoIcons.SetCaption("Bad file");
        return;
    }
    // A coordinate that could not be read stays where the previous marker's was.
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (const PatternRecord& record : *records) {
        x = record.hasX ? record.x : x;
        y = record.hasY ? record.y : y;
        AddMarker(x, y, record.caption, record.offScreen);
    }
    lblNoIcons.SetCaption(std::to_string(records->size()) + " " + MessageText("0900"));
}

void Form1::ShowDesktopPreview() {
    UnloadMarkers();
    for (const DesktopIcon& icon : desktopIcons_.Table().Icons) {
        AddMarker(icon.Position.x, icon.Position.y, icon.Caption, icon.OffScreen);
    }
}

bool Form1::RefusedOnWindowsNT() {
    const VersionInfo version = GetVersionInfo(services_.system);
    if (!IsWindowsNT4(version) && !IsWindows2000(version)) {
        return false;
    }
    services_.dialogs.ShowMessage({.text = "This function is disbaled in WindowsNT and Widows2000",
                                   .icon = platform::MessageIcon::Information});
    return true;
}

void Form1::cmdSave_Click() {
    if (RefusedOnWindowsNT()) {
        return;
    }
    const std::string name = txtFile.Text();
    if (!ValidatePatternName(name, services_.dialogs)) {
        return;
    }
    if (!SavePattern(PatternPath(savedFolder_, name), desktopIcons_, services_.files,
                     services_.dialogs)) {
        txtFile.SetText("");
    }
    RefreshPatternList();
}

void Form1::cmdLoad_Click() {
    if (RefusedOnWindowsNT()) {
        return;
    }
    const int index = List1.ListIndex();
    if (index < 0 || index >= File1.ListCount()) {
        return;
    }
    restore_.RestorePatternFile(savedFolder_ + File1.List(index), false);
    // The Show/Hide list takes its check marks from the new read once it exists.
}

void Form1::RemoveCurrentSaveItem() {
    const int index = List1.ListIndex();
    if (index < 0) {
        return;
    }
    const std::string name = List1.List(index);
    const auto answer =
        services_.dialogs.ShowMessage({.text = MessageText("0935") + " \"" + name + "\"",
                                       .icon = platform::MessageIcon::Question,
                                       .buttons = platform::MessageButtons::YesNo});
    if (answer != platform::MessageAnswer::No) {
        DeletePattern(name);
    }
}

void Form1::DeletePattern(const std::string& name) {
    const std::string path = PatternPath(SavedFolderFor(services_.programFolder), name);
    const OsStatus removed = services_.files.RemoveFile(path);
    if (!removed.ok()) {
        services_.dialogs.ShowMessage({.text = "Error: " + std::to_string(removed.code) + "\n" +
                                               removed.description +
                                               "\n\nProblem deleting: " + path,
                                       .icon = platform::MessageIcon::Critical});
    }
    RefreshPatternList();
}

void Form1::List1_MouseUp(const forms::MouseEvent& event) {
    if (event.button != forms::MouseButton::Right || List1.ListIndex() < 0) {
        return;
    }
    // The entry under the cursor becomes the selection, as a left click would make it.
    const int under = List1.RowAt(event.x, event.y);
    if (under >= 0) {
        List1.SetListIndex(under);
    }
    menus_.Load();
    menus_.ShowPopup(menus_.mnuSaveList);
}

}  // namespace pellmark
