/* Keeps Wine's desktop process alive between the game's runs: it ends about a second after the prefix's last
 * window is gone, and a program started in that moment never maps its window. The window is never shown; the
 * program runs until it is killed. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    MSG message;
    if (!CreateWindowA("STATIC", "Marivane e2e keeper", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL, NULL, instance, NULL))
        return 1;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
