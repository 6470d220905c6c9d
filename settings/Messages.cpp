#include "settings/Messages.h"

#include <array>
#include <utility>

namespace pellmark {

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 20> kEnglish{{
    {"0900", "icons"},
    {"0910", "Icon Positions"},
    {"0911", "Show and Hide Icons"},
    {"0912", "Special Desktop Icons"},
    {"0913", "Icon Size and Cache"},
    {"0914", "Explorer and Wallpaper"},
    {"0915", "Captions and Auto-Hide"},
    {"0920",
     "Type a name and click Save to remember where the desktop icons stand now. Select a "
     "saved pattern to see it on the small screen, and click Load to put the icons back "
     "there. Delete removes the selected pattern; F5 reads the list again."},
    {"0921",
     "Every icon on the desktop is listed here. Clear an icon's check box to move it off "
     "the screen; tick it again to bring it back where it was."},
    {"0922",
     "The special icons that Windows puts on the desktop, such as the Recycle Bin. Remove "
     "an icon from the desktop or bring it back; the list remembers what you removed."},
    {"0923",
     "Choose how large Explorer draws the desktop icons and how many icon pictures it "
     "keeps in its cache. A larger cache helps when icons are slow to appear."},
    {"0924",
     "Switch Explorer's desktop settings on and off, and choose the wallpaper and how it "
     "is placed on the screen."},
    {"0925",
     "Choose the colour and font of the icon captions and whether their background is "
     "transparent. Auto-hide hides the desktop icons while the mouse is away from the "
     "desktop and shows them again after the delay you set."},
    {"0931", "A pattern name may not contain any of these characters:"},
    {"0932", "is no longer among the saved patterns, so it will not be restored at start-up."},
    {"0934",
     "This pattern file was not saved by this version of the program and cannot be "
     "read."},
    {"0935", "Do you want to delete the pattern"},
    {"0936", "The pattern to restore when the screen resolution changes could not be found:"},
    {"0937",
     "The desktop arranges its icons automatically, so their positions cannot be "
     "restored."},
    {"0938", "Turn off Auto Arrange (right-click the desktop, View) and try again."},
}};
}  // namespace

std::string MessageText(std::string_view key) {
    for (const auto& [k, text] : kEnglish) {
        if (k == key) {
            return std::string(text);
        }
    }
    return {};
}

}  // namespace pellmark
