#include "app/help.h"

#include "app/sounds.h"
#include "app/state.h"
#include "data/file_names.h"

#include <string>

namespace {

// The title the viewer shows for the help file, set by the build with the file's name.
const char kHelpViewerTitle[] = MARIVANE_HELP_TITLE;

// The help viewer reads its file's name in the ANSI code page, so a folder
// named outside it reaches the viewer by its short name, which is plain ASCII
// where the volume keeps short names. Otherwise the name as it is.
std::wstring helpFileName() {
    const std::wstring name = WideName(HelpFiler);
    // A short name may be the longer one: "游戏" becomes eight characters.
    std::wstring shortName(GetShortPathNameW(name.c_str(), nullptr, 0), L'\0');
    DWORD length = GetShortPathNameW(name.c_str(), &shortName[0], static_cast<DWORD>(shortName.size()));
    return length > 0 && length < shortName.size() ? shortName.substr(0, length) : name;
}

}  // namespace

bool HelpRequest() {
    playwav1();
    if (FindWindowA(nullptr, kHelpViewerTitle)) {
        // No owner window: the game stays usable while the box is open.
        MessageBoxA(nullptr, "terminating request... help program is currently in use.",
                    "System - Permission Denied", MB_OK | MB_TOPMOST);
        return true;
    }
    loadHelp();
    return false;
}

void loadHelp() {
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", helpFileName().c_str(), nullptr, nullptr, SW_SHOW));
    if (result > 32) return;
    MessageBoxA(nullptr, "Help files could not be opened...", "Error - Marivane", MB_OK);
}
