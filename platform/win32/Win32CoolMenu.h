// Owner-drawn menus: the window's procedure is taken over, and each pop-up's items become
// owner-drawn as it opens (pictures found by caption, titled separators, 3-D marks, embossed
// disabled items) and plain again, with their marked-up captions, when the menu loop ends.
// Everything runs on the thread of the windows it serves.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/MenuMarkup.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// Hears the help text of the menu item the user is on.
class HelpCallBack {
  public:
    std::function<void(std::string& menuText, std::string& menuHelp, bool& enabled)> HelpEvent;
    void RaiseHelpEvent(std::string menuText, std::string menuHelp, bool enabled);
};

// The engine's record of one window it serves.
class WndCoolMenu {
  public:
    HWND hWnd = nullptr;
    WNDPROC PrevProc = nullptr;
    std::shared_ptr<forms::MenuImages> ilHandle;
    std::shared_ptr<HelpCallBack> HelpObj;
    bool ComplexChecks = true;  // 3-D check and radio marks
    bool ColorEmbossed = true;  // disabled pictures embossed in highlight and shadow
    COLORREF SelectColor = 0;
    bool FullSelect = true;  // the selection covers the picture box too
    COLORREF ForeColor = 0;  // 0: the system's menu text colour
    int MainPopedIndex = -1;
    HMENU SCMainMenu = nullptr;

    [[nodiscard]] int FontSize() const noexcept { return fontSize_; }
    [[nodiscard]] const std::string& FontName() const noexcept { return fontName_; }
    // Either makes the fonts again; an empty name takes the system's menu font.
    void SetFontSize(int points);
    void SetFontName(std::string face);

    void AddMenuHead(HMENU menu);
    [[nodiscard]] HMENU GetMenuHead(std::size_t index) const noexcept;
    [[nodiscard]] std::size_t CountMenuHeads() const noexcept { return menuHeads_.size(); }
    void ClearMenuHeads() noexcept { menuHeads_.clear(); }

    // The fonts at the window's present DPI, made once per DPI.
    struct Fonts {
        int dpi = 0;
        UniqueGdiObject text;   // MenuFont
        UniqueGdiObject bold;   // the default item's
        UniqueGdiObject title;  // MenuFontSep: separator titles
        UniqueGdiObject marks;  // Marlett, for check and radio marks and the submenu arrow
        bool marlett = false;   // the system has it; else the marks are drawn in pixels
    };
    const Fonts& FontsAt(int dpi);

  private:
    int fontSize_ = 8;
    std::string fontName_;
    std::vector<HMENU> menuHeads_;
    Fonts fonts_;
};

// Takes over the window's procedure and draws its menus; the menu bar too when asked (its
// items stay converted). True when the window is served.
bool InstallCoolMenu(HWND window, std::shared_ptr<forms::MenuImages> images,
                     std::shared_ptr<HelpCallBack> help, bool convertMenuBar);
// Gives the window its procedure back and forgets it; the last window takes every record
// with it.
bool UninstallCoolMenu(HWND window);
// The record of a served window; null for any other.
[[nodiscard]] WndCoolMenu* CoolMenuWindow(HWND window) noexcept;
// The records of the items now converted; null while no window is served.
[[nodiscard]] const forms::CMyItemDatas* CoolMenuItems() noexcept;

// Makes the menu's items owner-drawn (with a record each), or plain again with their
// marked-up captions and records gone. Items of a system menu are left alone.
void ConvertMenu(HWND window, HMENU menu, int position, bool systemMenu, bool makeOwnerDraw,
                 bool menuBar);

}  // namespace pellmark::win32
