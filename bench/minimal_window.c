/* The yardstick for Marivane.exe's start-up under Wine: the least a window program of the same shape does, one
 * 900 x 620 pop-up window titled "Minimal", shown at once, and a message loop until the window is closed.
 * Started with the argument "hidden" it never shows its window and runs until it is killed: it then keeps Wine's
 * desktop process alive between the measured runs. */
#include <windows.h>

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    WNDCLASSEXA windowClass = {sizeof windowClass};
    MSG message;
    HWND window;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "Minimal";
    if (!RegisterClassExA(&windowClass)) return 1;
    window = CreateWindowExA(0, "Minimal", "Minimal", WS_POPUP | WS_SYSMENU, 190, 134, 900, 620, NULL, NULL,
                             instance, NULL);
    if (!window) return 1;
    if (lstrcmpA(commandLine, "hidden") != 0) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
    }
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
