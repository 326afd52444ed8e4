// The program's entry point: start-up in one straight sequence, then the
// message loop.
#include "app/data_folder.h"
#include "app/start_windows.h"
#include "data/config_file.h"
#include "data/startup_file.h"
#include "game/window_procedure.h"
#include "stats/stats_file.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    FormDataPaths();
    OnLoads();

    HWND mainWindow = CreateStartWindows(instance, WindowProcedure, "Marivane", loadScores);
    if (!mainWindow) return 0;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    Userchoice();
    return RunMessageLoop();
}
