#include "desktop/frmSelectWallpaper.h"

#include <algorithm>
#include <new>
#include <utility>

#include "chrome/SkinOutline.h"
#include "chrome/res/ChromePictures.h"
#include "platform/RunTimeError.h"
#include "platform/TextCompare.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {

// Where everything sits on the skin, in its 96-DPI pixels (tools/skins/make_skins.py draws
// the skin around these).
constexpr int kSkinWidth = 500;
constexpr int kSkinHeight = 366;
constexpr forms::Bounds kTitleArea{46, 10, 300, 22};
constexpr forms::Bounds kQuit{466, 10, 22, 22};
constexpr forms::Bounds kDrives{22, 64, 190, 22};
constexpr forms::Bounds kFolders{22, 92, 190, 120};
constexpr forms::Bounds kFiles{22, 218, 190, 128};
constexpr forms::Bounds kPreview{226, 64, 252, 166};
constexpr forms::Bounds kResolutionCaption{228, 238, 76, 16};
constexpr forms::Bounds kResolution{304, 238, 172, 16};
constexpr forms::Bounds kSizeCaption{228, 256, 76, 16};
constexpr forms::Bounds kSize{304, 256, 172, 16};
constexpr forms::Bounds kDisplay{226, 274, 252, 42};
constexpr std::array<forms::Bounds, 3> kStyles{
    {{6, 16, 66, 20}, {74, 16, 104, 20}, {178, 16, 72, 20}}};  // room for the German texts
constexpr forms::Bounds kSetButton{226, 322, 140, 24};
constexpr forms::Bounds kOkButton{370, 322, 42, 24};
constexpr forms::Bounds kCancelButton{416, 322, 62, 24};

constexpr std::uint32_t kPanelColour = 0xFFFFFF;    // the skin's white panel
constexpr std::uint32_t kPreviewColour = 0xF5F0EC;  // RGB(236, 240, 245), the preview's well
constexpr std::uint32_t kTitleColour = 0xFFFFFF;

constexpr std::array<const char*, 3> kStyleCaptions{"Center", "Tile", "Stretch"};

// The part of the skin under an area, so a control there shows the skin's drawing.
forms::Bitmap Crop(const forms::Bitmap& picture, const forms::Bounds& area) {
    if (area.left + area.width > picture.Width() || area.top + area.height > picture.Height()) {
        return {};
    }
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(area.width) * area.height);
    for (int y = area.top; y < area.top + area.height; ++y) {
        const auto row =
            picture.Pixels().begin() + static_cast<std::ptrdiff_t>(y) * picture.Width();
        pixels.insert(pixels.end(), row + area.left, row + area.left + area.width);
    }
    return {area.width, area.height, std::move(pixels)};
}

std::string Reason(const std::exception& error) {
    if (const auto* large = dynamic_cast<const PictureTooLarge*>(&error)) {
        return MessageText("0975") + " " + std::to_string(large->MostPixels() / 1'000'000);
    }
    if (const auto* runTime = dynamic_cast<const RunTimeError*>(&error)) {
        std::string reason = "Error ";
        reason += std::to_string(runTime->Number());
        reason += ": ";
        reason += runTime->what();
        return reason;
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "Error 7: Out of memory";
    }
    return error.what();
}

}  // namespace

frmSelectWallpaper::frmSelectWallpaper(WallpaperPickerServices services)
    : Form(services.forms, "frmSelectWallpaper"),
      picBGPic(Add<forms::Picture>("picBGPic")),
      Drive1(Add<forms::ComboBox>("Drive1", &picBGPic)),
      Dir1(Add<forms::ListBox>("Dir1", &picBGPic)),
      File1(Add<forms::ListBox>("File1", &picBGPic)),
      picPreview(Add<forms::Picture>("picPreview", &picBGPic)),
      imgPreview(Add<forms::Image>("imgPreview", &picPreview)),
      Label1(Add<forms::Label>("Label1", &picBGPic)),
      lblRes(Add<forms::Label>("lblRes", &picBGPic)),
      Label2(Add<forms::Label>("Label2", &picBGPic)),
      lblFileSize(Add<forms::Label>("lblFileSize", &picBGPic)),
      Frame1(Add<forms::Frame>("Frame1", &picBGPic)),
      cmdSetWallpaper(Add<forms::Button>("cmdSetWallpaper", &picBGPic)),
      OKButton(Add<forms::Button>("OKButton", &picBGPic)),
      CancelButton(Add<forms::Button>("CancelButton", &picBGPic)),
      imgQuit(Add<forms::Image>("imgQuit", &picBGPic)),
      services_(std::move(services)),
      fileList_(services_.files) {
    SetCaption("Choose wallpaper");
    // The skin is the whole window, as the main window's is.
    forms::WindowSettings window;
    window.border = forms::BorderStyle::None;
    SetSettings(window);
    fileList_.SetPattern(kWallpaperPattern);

    Label1.SetCaption("Resolution:");
    Label1.Tag = "4020";
    Label2.SetCaption("File Size:");
    Label2.Tag = "4021";
    Frame1.SetCaption("Display");
    Frame1.Tag = "4010";
    for (std::size_t i = 0; i < optStyle.size(); ++i) {
        forms::OptionButton& option =
            Add<forms::OptionButton>(forms::ElementName("optStyle", i), &Frame1);
        option.SetCaption(kStyleCaptions[i]);
        option.Tag = std::to_string(4011 + i);
        const int index = static_cast<int>(i);
        option.Click = [this, index] {
            // Kept for the next wallpaper set; the one showing stays as it is. Only the
            // user's choice is written: showing the stored style writes nothing.
            if (!showingStyle_) {
                SetWallpaperStyle(services_.registry, index);
            }
        };
        optStyle[i] = &option;
    }
    cmdSetWallpaper.SetCaption("Change Wallpaper");
    cmdSetWallpaper.Tag = "4002";
    OKButton.SetCaption("OK");
    OKButton.Tag = "4000";
    OKButton.SetDefault(true);
    CancelButton.SetCaption("Cancel");
    CancelButton.Tag = "4001";
    CancelButton.SetCancel(true);
    imgQuit.SetToolTip("Quit");
    PlaceControls();

    Drive1.Click = [this] { Drive1_Change(); };
    Dir1.DblClick = [this] {
        const int row = Dir1.ListIndex();
        if (row >= 0 && row < static_cast<int>(rows_.size())) {
            OpenFolder(rows_[static_cast<std::size_t>(row)].path);
        }
    };
    File1.Click = [this] { File1_Click(); };
    cmdSetWallpaper.Click = [this] {
        if (File1.ListIndex() < 0) {
            Unload();
            return;
        }
        static_cast<void>(ApplySelected());
    };
    OKButton.Click = [this] {
        // A picture that failed keeps the window open for another choice.
        if (File1.ListIndex() < 0 || ApplySelected()) {
            Unload();
        }
    };
    CancelButton.Click = [this] { Unload(); };
    imgQuit.Click = [this] { Unload(); };
    picBGPic.Paint = [this](forms::Canvas& canvas) { PaintSkin(canvas); };
    picBGPic.MouseDown = [this](const forms::MouseEvent&) {
        if (services_.dragWindow) {
            services_.dragWindow(*this);
        }
    };
}

void frmSelectWallpaper::OnUnload() {
    // The next load, hidden with a language, makes no windows again; the picture shown and
    // the skin give their memory back.
    picBGPic.SetVisible(false);
    prepared_ = false;
    ClearPreview();
    skin_ = forms::Bitmap();
}

void frmSelectWallpaper::Open() {
    Load();
    if (!prepared_) {
        prepared_ = true;
        PrepareFirstShowing();
    }
    picBGPic.SetVisible(true);
    Show();
}

void frmSelectWallpaper::PlaceControls() {
    picBGPic.Move({0, 0, kSkinWidth, kSkinHeight});
    picBGPic.SetVisible(false);  // until Open shows the picker
    Drive1.Move(kDrives);
    Dir1.Move(kFolders);
    File1.Move(kFiles);
    picPreview.Move(kPreview);
    picPreview.SetBackColour(kPreviewColour);
    imgPreview.SetVisible(false);
    Label1.Move(kResolutionCaption);
    lblRes.Move(kResolution);
    Label2.Move(kSizeCaption);
    lblFileSize.Move(kSize);
    for (forms::Label* label : {&Label1, &lblRes, &Label2, &lblFileSize}) {
        label->SetBackColour(kPanelColour);
    }
    Frame1.Move(kDisplay);
    Frame1.SetBackColour(kPanelColour);
    for (std::size_t i = 0; i < optStyle.size(); ++i) {
        optStyle[i]->Move(kStyles[i]);
        optStyle[i]->SetBackColour(kPanelColour);
    }
    cmdSetWallpaper.Move(kSetButton);
    OKButton.Move(kOkButton);
    CancelButton.Move(kCancelButton);
    imgQuit.Move(kQuit);
}

void frmSelectWallpaper::PrepareFirstShowing() {
    ShowDrives();
    if (!OpenFolder(services_.programFolder)) {
        // The program's folder cannot be read: the drive's root at least.
        static_cast<void>(OpenFolder(RootOf(services_.programFolder)));
    }
    // A style the picker has no option for (Fill, Fit) shows none selected.
    showingStyle_ = true;
    for (forms::OptionButton* option : optStyle) {
        option->SetValue(false);
    }
    if (const auto style = WallpaperStyleOption(GetWallpaperStyle(services_.registry))) {
        optStyle[static_cast<std::size_t>(*style)]->SetValue(true);
    }
    showingStyle_ = false;
    ClearPreview();
    try {
        skin_ = services_.forms.LoadResourcePicture(
            chrome::PictureName(PELLMARK_PICTURE_WALLPAPER_SKIN));
    } catch (const RunTimeError&) {
        // Without its skin the window stays a plain rectangle, and usable.
        SetClientSize(kSkinWidth, kSkinHeight);
        return;
    }
    SetClientSize(skin_.Width(), skin_.Height());
    picBGPic.Move({0, 0, skin_.Width(), skin_.Height()});
    imgQuit.SetPicture(Crop(skin_, kQuit));
    std::int32_t transparent = 0;  // the top-left pixel's colour
    SetRegion(chrome::SkinOutline(skin_, transparent));
    picBGPic.Refresh();
}

void frmSelectWallpaper::ShowDrives() {
    std::vector<std::string> drives = services_.system.Drives();
    for (std::string& drive : drives) {
        drive = pellmark::FolderPath(drive).substr(0, 2);  // "c:"
    }
    showingDrive_ = true;
    Drive1.SetItems(std::move(drives));
    showingDrive_ = false;
}

bool frmSelectWallpaper::OpenFolder(const std::string& path) {
    const std::string folder = pellmark::FolderPath(path);
    if (folder.empty()) {
        return false;
    }
    std::string withSlash = folder;
    if (withSlash.back() != '\\') {
        withSlash.push_back('\\');
    }
    std::vector<std::string> subFolders;
    if (!services_.system.ListFolders(withSlash, subFolders).ok()) {
        return false;
    }
    try {
        fileList_.SetPath(withSlash);
    } catch (const RunTimeError&) {
        return false;
    }
    folder_ = folder;
    rows_ = FolderRows(folder_, std::move(subFolders));
    std::vector<std::string> texts;
    texts.reserve(rows_.size());
    for (const FolderRow& row : rows_) {
        texts.push_back(row.text);
    }
    Dir1.SetItems(std::move(texts));
    Dir1.SetListIndex(OpenFolderRow(rows_, folder_));
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(fileList_.ListCount()));
    for (int i = 0; i < fileList_.ListCount(); ++i) {
        names.push_back(fileList_.List(i));
    }
    File1.SetItems(std::move(names));
    // The drive list shows the open folder's drive.
    const std::string drive = RootOf(folder_).substr(0, 2);
    for (int i = 0; i < Drive1.ListCount(); ++i) {
        if (platform::EqualIgnoringCase(Drive1.List(i), drive)) {
            showingDrive_ = true;
            Drive1.SetListIndex(i);
            showingDrive_ = false;
        }
    }
    return true;
}

void frmSelectWallpaper::Drive1_Change() {
    if (showingDrive_ || Drive1.ListIndex() < 0) {
        return;
    }
    std::string root = Drive1.List(Drive1.ListIndex());
    root += '\\';
    if (!OpenFolder(root)) {
        // A drive that is not ready: the folder stays, and the list says its drive again.
        const std::string drive = RootOf(folder_).substr(0, 2);
        showingDrive_ = true;
        for (int i = 0; i < Drive1.ListCount(); ++i) {
            if (platform::EqualIgnoringCase(Drive1.List(i), drive)) {
                Drive1.SetListIndex(i);
            }
        }
        showingDrive_ = false;
    }
}

std::string frmSelectWallpaper::SelectedPath() const {
    const int index = File1.ListIndex();
    if (index < 0 || index >= File1.ListCount()) {
        return {};
    }
    return JoinPath(folder_, File1.List(index));
}

void frmSelectWallpaper::ClearPreview() {
    imgPreview.SetVisible(false);
    imgPreview.SetPicture({});
    imgPreview.Tag.clear();
    lblRes.SetCaption({});
    lblFileSize.SetCaption({});
}

void frmSelectWallpaper::File1_Click() {
    const std::string path = SelectedPath();
    if (path.empty()) {
        return;
    }
    imgPreview.SetVisible(false);
    imgPreview.SetStretch(false);
    imgPreview.SetPicture({});  // its memory goes before the next picture's is taken
    int width = 0;
    int height = 0;
    forms::Bitmap picture;
    try {
        picture = services_.forms.LoadPicturePart(path, [&](int w, int h) {
            width = w;
            height = h;
            return PreviewCut(w, h, kPreview.height);
        });
    } catch (const std::exception& error) {
        ClearPreview();
        ReportPicture(MessageText("0955"), path, Reason(error), false);
        return;
    }
    imgPreview.SetPicture(std::move(picture));
    imgPreview.Tag = path;
    imgPreview.SetStretch(true);
    forms::Bounds size = PreviewSize(width, height);
    // Centred in the well; a picture taller than the well shows its top, all that was read.
    size.height = std::min(size.height, kPreview.height);
    size.left = (kPreview.width - size.width) / 2;
    size.top = (kPreview.height - size.height) / 2;
    imgPreview.Move(size);
    imgPreview.SetVisible(true);
    lblRes.SetCaption(ResolutionText(width, height));
    const auto bytes = services_.system.FileSize(path);
    lblFileSize.SetCaption(bytes ? FileSizeText(*bytes, services_.system.GroupSeparator())
                                 : std::string());
}

bool frmSelectWallpaper::ApplySelected() {
    const std::string path = SelectedPath();
    WallpaperServices wallpaper{services_.forms, services_.files, services_.system,
                                services_.programFolder};
    try {
        static_cast<void>(
            ApplyWallpaperPicture(wallpaper, path, GetWallpaperStyle(services_.registry)));
    } catch (const std::exception& error) {
        ReportPicture(MessageText("0956"), path, Reason(error), true);
        return false;
    }
    return true;
}

void frmSelectWallpaper::ReportPicture(const std::string& what, const std::string& path,
                                       const std::string& reason, bool applying) {
    std::string text = what;
    text += '\n';
    text += path;
    text += "\n\n";
    text += reason;
    if (applying) {
        text += "\n\n";
        text += MessageText("0957");
    }
    services_.dialogs.ShowMessage({.text = std::move(text),
                                   .caption = Caption(),
                                   .icon = platform::MessageIcon::Exclamation});
}

void frmSelectWallpaper::PaintSkin(forms::Canvas& canvas) {
    if (!skin_.Empty()) {
        canvas.Draw(skin_, {0, 0, skin_.Width(), skin_.Height()});
    }
    canvas.Text(Caption(), kTitleArea,
                {.font = {.points = 11, .bold = true}, .colour = kTitleColour});
}

}  // namespace pellmark
