// The floor for Marivane.exe's start-up: the game's own windows, built by the
// game's own code from its layout table and resources (two classes with
// picture brushes, both windows, every control, picture, font and brush),
// painted as the game paints them, and nothing else: no puzzle store, no
// statistics or configuration file, no game commands. Its first frame is the
// game's first frame; bench/startup_wine.py times the two against each other.
// The main window is titled "Floor" so that the benchmark tells it apart.
#include "app/start_windows.h"
#include "game/drawing.h"
#include "stats/stats_file.h"

namespace {

LRESULT CALLBACK floorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintWindow(window);
        return 0;
    case WM_DRAWITEM:
        DrawButton(wParam, lParam);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(ControlColours(reinterpret_cast<HDC>(wParam)));
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The scores the game shows with no statistics file, without looking for one.
    HWND mainWindow = CreateStartWindows(instance, floorProcedure, "Floor", SetStartingScores);
    if (!mainWindow) return 1;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return RunMessageLoop();
}
