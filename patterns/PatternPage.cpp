#include "patterns/PatternPage.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "chrome/PageBox.h"
#include "patterns/PatternFile.h"
#include "patterns/PatternReader.h"
#include "patterns/SavedFolder.h"
#include "platform/DesktopStyle.h"
#include "platform/RunTimeError.h"
#include "settings/Messages.h"
#include "settings/WindowsVersion.h"

namespace pellmark {

namespace {

constexpr std::uint32_t kPreviewBackground = 0xA56E3A;  // a desktop blue

// The records of a pattern file as the preview reads them (positions within 16 bits);
// nothing when the file cannot be read or its major version is not this program's. The
// file is closed on return.
std::optional<std::vector<PatternRecord>> ReadPreviewRecords(platform::Files& files,
                                                             const std::string& path) {
    PatternBody body;
    if (ReadPatternFile(files, path, PreviewableMajor, kPreviewPositions, body) !=
        PatternFileState::Read) {
        return std::nullopt;
    }
    return std::move(body.records);
}

}  // namespace

void RunTrapped(platform::Dialogs& dialogs, const std::function<void()>& handling) {
    try {
        handling();
    } catch (const RunTimeError& error) {
        dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(error.Number()) + "\n" + error.what(),
             .icon = platform::MessageIcon::Critical});
    } catch (const std::exception& error) {
        dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(kInvalidProcedureCall) + "\n" + error.what(),
             .icon = platform::MessageIcon::Critical});
    }
}

PatternPage::PatternPage(forms::Form& form, platform::Files& files, platform::Dialogs& dialogs,
                         platform::System& system, DesktopIcons& desktopIcons,
                         PatternRestore& restore, frmMenus& menus)
    : picContSavePos(form.Add<forms::Picture>("picContSavePos")),
      File1(files),
      List1(form.Add<forms::ListBox>("List1", &picContSavePos)),
      txtFile(form.Add<forms::TextBox>("txtFile", &picContSavePos)),
      cmdSave(form.Add<forms::Button>("cmdSave", &picContSavePos)),
      cmdLoad(form.Add<forms::Button>("cmdLoad", &picContSavePos)),
      picPreview(form.Add<forms::Picture>("picPreview", &picContSavePos)),
      lblNoIcons(form.Add<forms::Label>("lblNoIcons")),
      lblPatterns(form.Add<forms::Label>("lblPatterns")),
      lblName(form.Add<forms::Label>("lblName")),
      form_(form),
      files_(files),
      dialogs_(dialogs),
      system_(system),
      desktopIcons_(desktopIcons),
      restore_(restore),
      menus_(menus) {
    picContSavePos.SetVisible(false);
    ShowLabels(false);
    // The English texts, each with its language key.
    txtFile.Tag = "0101";
    cmdSave.SetCaption("Save");
    cmdSave.Tag = "0102";
    cmdLoad.SetCaption("Load");
    cmdLoad.Tag = "0103";
    lblPatterns.SetCaption("Saved patterns:");
    lblPatterns.Tag = "0104";
    lblName.SetCaption("Name:");
    lblName.Tag = "0105";
    lblPrevIcon.push_back(&form.Add<forms::Label>("lblPrevIcon(0)", &picPreview));
    List1.Click = [this] { Trapped([this] { ShowPatternPreview(); }); };
    List1.KeyDown = [this](int key) {
        if (key == kKeyDelete && List1.ListIndex() >= 0) {
            Trapped([this] { RemoveCurrentSaveItem(); });
        }
    };
    List1.MouseUp = [this](const forms::MouseEvent& event) {
        Trapped([this, event] { List1_MouseUp(event); });
    };
    cmdSave.Click = [this] { Trapped([this] { cmdSave_Click(); }); };
    cmdLoad.Click = [this] { Trapped([this] { cmdLoad_Click(); }); };
    menus_.mnuSaveList_Delete().Click = [this] { Trapped([this] { RemoveCurrentSaveItem(); }); };
    desktopIcons_.OnIconCountText([this](const std::string& text) {
        SetIconCountText(text);
        shownCount_ = desktopIcons_.Table().Icons.size();
    });
}

PatternPage::~PatternPage() {
    menus_.mnuSaveList_Delete().Click = nullptr;
    desktopIcons_.OnIconCountText(nullptr);
}

void PatternPage::Open(const std::string& savedFolder) {
    savedFolder_ = savedFolder;
    File1.SetPattern("*.ips");
    File1.SetPath(savedFolder_);
    picPreview.SetScale(desktopIcons_.Table().ScreenWidth, desktopIcons_.Table().ScreenHeight);
    forms::Label& marker = *lblPrevIcon[0];
    marker.SetVisible(false);
    marker.Move({0, 0, 60, 60});
}

void PatternPage::ShowLabels(bool shown) {
    labelsShown_ = shown;
    lblPatterns.SetVisible(shown);
    lblName.SetVisible(shown);
    // Empty until the desktop is read, after the first paint: its window waits until then,
    // one window less to make before the main window shows.
    lblNoIcons.SetVisible(shown && !lblNoIcons.Caption().empty());
}

void PatternPage::SetIconCountText(const std::string& text) {
    lblNoIcons.SetCaption(text);
    ShowLabels(labelsShown_);
}

void PatternPage::SetMarkerColour(std::uint32_t colour) {
    // Captions drawn in no colour at all give the markers none either: white shows best on
    // the preview's dark blue.
    constexpr std::uint32_t kWhite = 0xFFFFFF;
    lblPrevIcon[0]->SetBackColour(colour == platform::kNoColour ? kWhite : colour);
}

// In the page box's pixels: the page area is 377 by 225. The labels are the form's, placed
// over the page.
void PatternPage::PositionControls() {
    const auto onPage = [](forms::Bounds bounds) {
        bounds.left += chrome::kPageArea.left;
        bounds.top += chrome::kPageArea.top;
        return bounds;
    };
    picContSavePos.SetBackColour(chrome::kPageBack);
    for (forms::Label* label : {&lblPatterns, &lblName, &lblNoIcons}) {
        label->SetBackColour(chrome::kPageBack);
        label->SetForeColour(chrome::kPageText);
    }
    lblPatterns.Move(onPage({8, 6, 150, 16}));
    List1.Move({8, 24, 150, 158});
    lblName.Move(onPage({8, 191, 38, 16}));
    txtFile.Move({48, 188, 110, 22});
    picPreview.Move({168, 24, 200, 150});
    picPreview.SetBackColour(kPreviewBackground);
    lblNoIcons.Move(onPage({168, 176, 200, 16}));
    cmdSave.Move({168, 194, 96, 26});
    cmdLoad.Move({272, 194, 96, 26});
}

void PatternPage::RefreshPatternList() {
    try {
        File1.Refresh();
    } catch (const RunTimeError&) {
        // The folder went away while the program ran: make it again, as at start-up.
        static_cast<void>(files_.CreateFolder(savedFolder_));
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

void PatternPage::UnloadMarkers() {
    // All in one go: the form then looks through its controls once, not once a marker.
    const std::vector<forms::Control*> markers(lblPrevIcon.begin() + 1, lblPrevIcon.end());
    lblPrevIcon.resize(1);
    form_.Remove(markers);
}

forms::Label& PatternPage::AddMarker(std::int32_t x, std::int32_t y, const std::string& caption,
                                     bool hidden) {
    const forms::Label& model = *lblPrevIcon[0];
    auto& marker =
        form_.Add<forms::Label>(forms::ElementName("lblPrevIcon", lblPrevIcon.size()), &picPreview);
    marker.SetVisible(false);
    marker.SetBackColour(model.BackColour());
    marker.Move({x, y, model.GetBounds().width, model.GetBounds().height});
    marker.SetToolTip(caption);
    marker.SetVisible(!hidden);
    lblPrevIcon.push_back(&marker);
    return marker;
}

void PatternPage::ShowPatternPreview() {
    const int index = List1.ListIndex();
    if (index < 0 || index >= File1.ListCount()) {
        return;
    }
    if (BeforePatternShown) {
        BeforePatternShown();
    }
    const std::string path = savedFolder_ + File1.List(index);
    txtFile.SetText(List1.List(index));
    UnloadMarkers();
    const auto records = ReadPreviewRecords(files_, path);
    if (!records) {
        dialogs_.ShowMessage(
            {.text = MessageText("0934"), .icon = platform::MessageIcon::Question});
        SetIconCountText("Bad file");
        shownCount_.reset();
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
    shownCount_ = records->size();
    ShowTextsAgain();
}

void PatternPage::ShowTextsAgain() {
    if (shownCount_) {
        SetIconCountText(std::to_string(*shownCount_) + " " + MessageText("0900"));
    }
}

void PatternPage::ShowDesktopPreview() {
    UnloadMarkers();
    for (const DesktopIcon& icon : desktopIcons_.Table().Icons) {
        AddMarker(icon.Position.x, icon.Position.y, icon.Caption, icon.OffScreen);
    }
}

bool PatternPage::RefusedWhereDesktopUnreachable() {
    if (DesktopReachable(GetVersionInfo(system_))) {
        return false;
    }
    dialogs_.ShowMessage({.text = "This function is disbaled in WindowsNT and Widows2000",
                          .icon = platform::MessageIcon::Information});
    return true;
}

void PatternPage::cmdSave_Click() {
    if (RefusedWhereDesktopUnreachable()) {
        return;
    }
    const std::string name = txtFile.Text();
    if (!ValidatePatternName(name, dialogs_)) {
        return;
    }
    if (!SavePattern(PatternPath(savedFolder_, name), desktopIcons_, files_, dialogs_)) {
        txtFile.SetText("");
    }
    RefreshPatternList();
}

void PatternPage::cmdLoad_Click() {
    if (RefusedWhereDesktopUnreachable()) {
        return;
    }
    const int index = List1.ListIndex();
    if (index < 0 || index >= File1.ListCount()) {
        return;
    }
    restore_.RestorePatternFile(savedFolder_ + File1.List(index), false);
    if (PatternRestored) {
        PatternRestored(desktopIcons_.Table());
    }
}

void PatternPage::RemoveCurrentSaveItem() {
    const int index = List1.ListIndex();
    if (index < 0) {
        return;
    }
    const std::string name = List1.List(index);
    const auto answer = dialogs_.ShowMessage({.text = MessageText("0935") + " \"" + name + "\"",
                                              .icon = platform::MessageIcon::Question,
                                              .buttons = platform::MessageButtons::YesNo});
    if (answer != platform::MessageAnswer::No) {
        DeletePattern(name);
    }
}

void PatternPage::DeletePattern(const std::string& name) {
    const std::string path = PatternPath(savedFolder_, name);
    const OsStatus removed = files_.RemoveFile(path);
    if (removed.ok()) {
        static_cast<void>(files_.RemoveFile(ParsingNamesPath(path)));
    }
    if (!removed.ok()) {
        dialogs_.ShowMessage({.text = "Error: " + std::to_string(removed.code) + "\n" +
                                      removed.description + "\n\nProblem deleting: " + path,
                              .icon = platform::MessageIcon::Critical});
    }
    RefreshPatternList();
}

void PatternPage::List1_MouseUp(const forms::MouseEvent& event) {
    if (event.button != forms::MouseButton::Right || List1.ListIndex() < 0) {
        return;
    }
    // The entry under the cursor becomes the selection, as a left click would make it.
    const int under = List1.RowAt(event.x, event.y);
    if (under >= 0) {
        List1.SetListIndex(under);
    }
    // The main window asks, so it keeps its activation while the menu form owns the menu.
    menus_.ShowPopup(menus_.mnuSaveList, &List1.Owner());
}

}  // namespace pellmark
