#include "app/start_windows.h"

#include "app/controls.h"
#include "app/state.h"
#include "resource.h"

namespace {

// The main window's top lies this far above the screen's centre; the console
// docks directly below it, so the pair forms one 900 x 726 block.
const int kMainAboveCentre = 378;

HANDLE loadBitmap(HINSTANCE instance, int id) {
    return LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// Registers a class whose background brush is the given window picture; the
// brush keeps its own copy, so the bitmap is deleted at once.
bool registerWindowClass(HINSTANCE instance, WNDPROC procedure, const char* name, HANDLE background, HICON smallIcon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreatePatternBrush(static_cast<HBITMAP>(background));
    wc.lpszClassName = name;
    DeleteObject(static_cast<HGDIOBJ>(background));
    return RegisterClassExA(&wc) != 0;
}

void createControls(HWND mainWindow, void (*loadScores)()) {
    HFONT displayFont = CreateDisplayFont();
    CreateControls(mainWindow, displayFont, 0, kControlsBeforeScores);
    loadScores();
    ShowScores(mainWindow);
    CreateControls(mainWindow, displayFont, kControlsBeforeScores, kControlCount);
    AttachPictures();
    HideClownPicturesButSeven();
}

}  // namespace

HWND CreateStartWindows(HINSTANCE instance, WNDPROC procedure, const char* mainTitle, void (*loadScores)()) {
    int halfWidth = GetSystemMetrics(SM_CXSCREEN) / 2;
    int halfHeight = GetSystemMetrics(SM_CYSCREEN) / 2;
    HANDLE mainPicture = loadBitmap(instance, IDB_MAIN_BACKGROUND);
    HANDLE consolePicture = loadBitmap(instance, IDB_CONSOLE_BACKGROUND);

    HICON smallIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MARIVANE_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (!registerWindowClass(instance, procedure, szClassName, mainPicture, smallIcon)) return nullptr;
    HWND mainWindow = CreateWindowExA(0, szClassName, mainTitle, WS_POPUP | WS_SYSMENU, halfWidth - 450,
                                      halfHeight - kMainAboveCentre, kMainWidth, kMainHeight, nullptr, nullptr,
                                      instance, nullptr);

    HICON consoleSmallIcon = LoadIconA(nullptr, IDI_APPLICATION);
    if (!registerWindowClass(instance, procedure, szClassName2, consolePicture, consoleSmallIcon)) return nullptr;
    hWnd = CreateWindowExA(0, szClassName2, "Add_Puzzle", WS_POPUP | WS_SYSMENU, halfWidth - 450,
                           halfHeight - kMainAboveCentre + kMainHeight, kConsoleWidth, kConsoleHeight, mainWindow,
                           nullptr, instance, nullptr);
    ShowWindow(hWnd, SW_HIDE);
    createControls(mainWindow, loadScores);
    return mainWindow;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
