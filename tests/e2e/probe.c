/* Prints the game's windows and their controls, one line each, for the end-to-end tests to read:
 *   W <class, or "other"> <visible> <minimised> <x> <y> <width> <height> <title>   a top-level window, on screen
 *   C <id> <visible> <x> <y> <width> <height> <text>                               a control of the window above it
 * Windows of the classes "Marivane" and "Add_Puzzles" are listed with their controls, every other visible
 * top-level window (the help viewer, a message box) alone. A control's own visibility is its WS_VISIBLE style,
 * so the controls of the hidden console still read as visible.
 * `probe restore` instead restores the minimised main window, as a click on its task-bar button would. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* WM_GETTEXT rather than GetWindowTextA: only the message returns an edit's or a static's current text. */
static void readText(HWND window, char* text, int size) {
    DWORD_PTR length = 0;
    text[0] = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXT, size, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &length))
        text[length < (DWORD_PTR)size ? length : 0] = 0;
}

static BOOL CALLBACK printControl(HWND control, LPARAM parent) {
    char text[512];
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(NULL, (HWND)parent, (POINT*)&r, 2);
    readText(control, text, sizeof text);
    printf("C %d %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(control), (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0,
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
    printf("W %s %d %d %ld %ld %ld %ld %s\n", ours ? className : "other", IsWindowVisible(window) != 0, IsIconic(window) != 0, r.left,
           r.top, r.right - r.left, r.bottom - r.top, title);
    if (ours) EnumChildWindows(window, printControl, (LPARAM)window);
    return TRUE;
}

int main(int argc, char** argv) {
    if (argc > 1) return !PostMessageA(FindWindowA("Marivane", NULL), WM_SYSCOMMAND, SC_RESTORE, 0);
    EnumWindows(printWindow, 0);
    return fflush(stdout) != 0;
}
