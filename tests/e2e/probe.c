/* Prints the game's windows and controls, one line each, for the end-to-end tests. In screen coordinates:
 *   W <"Marivane", "Add_Puzzles" or "other"> <on screen: visible, not minimised> <x> <y> <width> <height> <title>
 *   C <id> <visible (its own WS_VISIBLE)> <x> <y> <width> <height> <text>     a control of the window above
 * Other windows are listed only when visible, without controls. `probe restore` restores the minimised main window
 * as its task-bar button would. `probe keep` holds a hidden window until killed: Wine's desktop process ends when the
 * prefix's last window is gone, and a program started in that moment never maps its window. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* WM_GETTEXT, not GetWindowTextA: only the message returns another process's edit or static text. */
static void readText(HWND window, char* text, int size) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, size, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &length)) length = 0;
    text[length < (DWORD_PTR)size ? length : 0] = 0;
}

static BOOL CALLBACK printControl(HWND control, LPARAM unused) {
    char text[512];
    RECT r;
    GetWindowRect(control, &r);
    readText(control, text, sizeof text);
    printf("C %d %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(control), !!(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE),
           r.left, r.top, r.right - r.left, r.bottom - r.top, text);
    return TRUE;
}

static BOOL CALLBACK printWindow(HWND window, LPARAM unused) {
    char className[64], title[256];
    RECT r;
    GetClassNameA(window, className, sizeof className);
    const int ours = !strcmp(className, "Marivane") || !strcmp(className, "Add_Puzzles");
    if (!ours && !IsWindowVisible(window)) return TRUE;
    GetWindowRect(window, &r);
    readText(window, title, sizeof title);
    printf("W %s %d %ld %ld %ld %ld %s\n", ours ? className : "other", IsWindowVisible(window) && !IsIconic(window),
           r.left, r.top, r.right - r.left, r.bottom - r.top, title);
    if (ours) EnumChildWindows(window, printControl, 0);
    return TRUE;
}

int main(int argc, char** argv) {
    if (argc > 1 && !strcmp(argv[1], "restore"))
        return !PostMessageA(FindWindowA("Marivane", NULL), WM_SYSCOMMAND, SC_RESTORE, 0);
    if (argc > 1 && CreateWindowA("STATIC", "Marivane e2e keeper", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, 0, 0, 0, 0))
        for (MSG message; GetMessageA(&message, NULL, 0, 0) > 0;) DispatchMessageA(&message);
    EnumWindows(printWindow, 0);
    return fflush(stdout) != 0;
}
