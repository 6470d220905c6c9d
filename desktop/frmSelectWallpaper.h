// The wallpaper picker: a skinned window with a drive, a folder and a file list, a preview
// with the picture's size, the three styles, and the buttons that make the picture the
// wallpaper. It is not modal; closing it unloads it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "desktop/FolderRows.h"
#include "desktop/Wallpaper.h"
#include "platform/Dialogs.h"
#include "platform/forms/FileList.h"
#include "platform/forms/Form.h"

namespace pellmark {

struct WallpaperPickerServices {
    forms::Backend& forms;
    platform::Files& files;
    platform::Registry& registry;
    platform::WallpaperSystem& system;
    platform::Dialogs& dialogs;
    std::string programFolder;
    // Starts the system's move loop for the window; none: it stays.
    std::function<void(forms::Form&)> dragWindow;
};

class frmSelectWallpaper final : public forms::Form {
  public:
    explicit frmSelectWallpaper(WallpaperPickerServices services);

    // The folder the folder list has open ("c:\" or "c:\pictures").
    [[nodiscard]] const std::string& FolderPath() const noexcept { return folder_; }
    // Opens a folder in the folder list; the file list follows. A folder that cannot be
    // read leaves both where they were and returns false.
    bool OpenFolder(const std::string& path);
    [[nodiscard]] const std::vector<FolderRow>& FolderRowsShown() const noexcept { return rows_; }
    // The selected file's full path; empty with no selection.
    [[nodiscard]] std::string SelectedPath() const;

    // Shows the picker, loading it first when it is not loaded. The drives, the program's
    // folder, the stored style and the skin are read at its first showing after a load: the
    // hidden load at start-up touches no drive (a floppy or a network drive can take
    // seconds to answer).
    void Open();

    // The skin, holding every other control; its windows are made when the picker first
    // opens, so the hidden load at start-up costs none.
    forms::Picture& picBGPic;
    forms::ComboBox& Drive1;
    forms::ListBox& Dir1;
    forms::ListBox& File1;
    forms::Picture& picPreview;
    forms::Image& imgPreview;  // inside picPreview, which clips a tall picture
    forms::Label& Label1;
    forms::Label& lblRes;
    forms::Label& Label2;
    forms::Label& lblFileSize;
    forms::Frame& Frame1;
    std::array<forms::OptionButton*, 3> optStyle{};
    forms::Button& cmdSetWallpaper;
    forms::Button& OKButton;
    forms::Button& CancelButton;
    forms::Image& imgQuit;

  protected:
    void OnUnload() override;

  private:
    void PlaceControls();
    void PrepareFirstShowing();
    void ShowDrives();
    void Drive1_Change();
    void File1_Click();
    // Sets the wallpaper from the selected file; false when nothing changed because of an
    // error (already reported).
    bool ApplySelected();
    void ClearPreview();
    void ReportPicture(const std::string& what, const std::string& path, const std::string& reason,
                       bool applying);
    void PaintSkin(forms::Canvas& canvas);

    WallpaperPickerServices services_;
    forms::FileList fileList_;
    std::string folder_;
    std::vector<FolderRow> rows_;
    forms::Bitmap skin_;
    bool showingDrive_ = false;  // the drive list is being set from code
    bool showingStyle_ = false;  // the style options are being set from code
    bool prepared_ = false;      // shown since its load
};

}  // namespace pellmark
