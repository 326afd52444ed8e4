/* Keeps a Wine session alive between the game's runs.
 *
 * Wine's desktop process ends about a second after the last window of the
 * prefix is gone, and a program started in that moment never maps its
 * window. This program owns one window that is never shown and runs its
 * message loop until it is killed, so the desktop stays up for the whole
 * test session. */
#include <windows.h>

static LRESULT CALLBACK KeeperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    (void)previous;
    (void)commandLine;
    (void)showCommand;
    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = KeeperProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MarivaneE2eKeeper";
    if (!RegisterClassA(&windowClass)) return 1;
    if (!CreateWindowA("MarivaneE2eKeeper", "Marivane e2e keeper", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL, NULL,
                       instance, NULL))
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
