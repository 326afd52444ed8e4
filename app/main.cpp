// The program's entry point: start-up in one straight sequence, then the
// message loop.
#include "app/start_windows.h"
#include "app/state.h"
#include "data/config_file.h"
#include "data/startup_file.h"
#include "game/window_procedure.h"
#include "stats/stats_file.h"

#include <vector>

namespace {

// The program file's full name, however long it is.
std::string programFileName() {
    std::vector<char> buffer(260);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);  // truncated: try again with more room
    }
}

void formDataPaths() {
    getDrivePath = programFileName();
    std::size_t separator = getDrivePath.find_last_of("\\/");
    getDrivePath.erase(separator == std::string::npos ? 0 : separator + 1);
    HelpFiler = getDrivePath + "Quorrel-help.chm";
    ScoreFile = getDrivePath + "MVStats.dat";
    WordsFile = getDrivePath + "MVData.dat";
    TimerFile = getDrivePath + "MVC_CONFIG.INI";
    LoadsFile = getDrivePath + "OnLoad.dat";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    formDataPaths();
    OnLoads();

    HWND mainWindow = CreateStartWindows(instance, WindowProcedure, "Marivane", loadScores);
    if (!mainWindow) return 0;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    Userchoice();
    return RunMessageLoop();
}
