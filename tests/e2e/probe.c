/* Prints the game's windows and their controls, one line each, for the end-to-end tests:
 *   <id> <shown> <x> <y> <width> <height> <text or title>
 * in screen coordinates, shown meaning visible and not minimised. The main window's id is -1, the console's -2; the
 * controls of each follow it with their dialog ids. `probe restore|close <title>` restores or closes the window so
 * titled, as its task-bar button would. `probe keep` holds a hidden window until killed: Wine's desktop process ends
 * when the prefix's last window is gone, and a program started in that moment never maps its window. `probe hold
 * <file> <ms>` holds the file (made when missing) as a scan or a cloud sync does, sharing reading and writing but
 * not deleting, so that it cannot be replaced: it prints "held", and lets go after <ms> milliseconds. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

/* WM_GETTEXT, not GetWindowTextA: only the message returns another process's edit or static text. */
static BOOL CALLBACK printWindow(HWND window, LPARAM isControl) {
    char className[64], text[512];
    DWORD_PTR length = 0;
    RECT r;
    GetClassNameA(window, className, sizeof className);
    const int id = isControl ? GetDlgCtrlID(window)
                   : !strcmp(className, "Marivane") ? -1 : !strcmp(className, "Add_Puzzles") ? -2 : 0;
    if (!id) return TRUE;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &length))
        length = 0;
    text[length < sizeof text ? length : 0] = 0;
    GetWindowRect(window, &r);
    printf("%d %d %ld %ld %ld %ld %s\n", id, IsWindowVisible(window) && !IsIconic(window), r.left, r.top,
           r.right - r.left, r.bottom - r.top, text);
    if (!isControl) EnumChildWindows(window, printWindow, TRUE);
    return TRUE;
}

int main(int argc, char** argv) {
    if (argc > 3) {
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, 0);
        if (file == INVALID_HANDLE_VALUE || puts("held") < 0 || fflush(stdout)) return 1;
        Sleep(atoi(argv[3]));
        return !CloseHandle(file);
    }
    if (argc > 2)
        return !PostMessageA(FindWindowA(NULL, argv[2]), WM_SYSCOMMAND,
                             strcmp(argv[1], "close") ? SC_RESTORE : SC_CLOSE, 0);
    if (argc > 1 && CreateWindowA("STATIC", "Marivane e2e keeper", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, 0, 0, 0, 0))
        for (MSG message; GetMessageA(&message, NULL, 0, 0) > 0;) DispatchMessageA(&message);
    EnumWindows(printWindow, FALSE);
    return fflush(stdout) != 0;
}
