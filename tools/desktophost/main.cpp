// desktophost LAYOUTFILE: shows a stand-in desktop with the icons of a layout file until its
// Progman window is closed. Exit code 2 when the file cannot be read or parsed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tools/desktophost/Layout.h"
#include "tools/desktophost/StandInDesktop.h"

namespace {

constexpr int kBadFile = 2;
constexpr int kNoWindows = 1;

}  // namespace

int main(int argc, char** argv) {
    using namespace pellmark::standin;
    if (argc != 2) {
        std::fprintf(stderr, "usage: desktophost LAYOUTFILE\n");
        return kBadFile;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "desktophost: cannot read %s\n", argv[1]);
        return kBadFile;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string error;
    const std::optional<Layout> layout = ParseLayout(text, error);
    if (!layout) {
        std::fprintf(stderr, "desktophost: %s: %s\n", argv[1], error.c_str());
        return kBadFile;
    }
    std::optional<StandInDesktop> desktop = StandInDesktop::Create(*layout);
    if (!desktop) {
        std::fprintf(stderr, "desktophost: cannot create the desktop windows (error %lu)\n",
                     ::GetLastError());
        return kNoWindows;
    }
    desktop->OnClose([] { ::PostQuitMessage(0); });
    // Scripts wait for this line before they start Pellmark.
    std::printf("desktophost: ready with %zu icons\n", layout->icons.size());
    std::fflush(stdout);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
