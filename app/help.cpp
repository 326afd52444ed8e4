#include "app/help.h"

#include "app/sounds.h"
#include "app/state.h"
#include "data/file_names.h"

namespace {

const char kHelpViewerTitle[] = "Quorrel-help";

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
        ShellExecuteW(nullptr, L"open", WideName(HelpFiler).c_str(), nullptr, nullptr, SW_SHOW));
    if (result > 32) return;
    MessageBoxA(nullptr, "Help files could not be opened...", "Error - Marivane", MB_OK);
}
