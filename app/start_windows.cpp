#include "app/start_windows.h"

#include "app/controls.h"
#include "app/state.h"
#include "resource.h"

#include <algorithm>

namespace {

// The main window's top lies this far above the screen's centre; the console
// docks directly below it, so the pair forms one 900 x 726 block.
const int kMainAboveCentre = 378;

// Where the block's top-left corner goes: centred on the screen, but moved
// just enough to lie inside the work area, so that on a screen lower than the
// block (1280 x 720, or 1920 x 1080 at 150 %) the painted title bar stays in
// reach. On a work area narrower than the block (800 x 600, or 1024 x 768 at
// 125 %) its right edge goes onto the screen instead of its left, because the
// minimise, help and close buttons lie at the right; the arrow keys bring the
// rest into view.
POINT blockCorner() {
    POINT corner{GetSystemMetrics(SM_CXSCREEN) / 2 - 450, GetSystemMetrics(SM_CYSCREEN) / 2 - kMainAboveCentre};
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        const bool narrow = work.right - work.left < kMainWidth;
        corner.x = narrow ? work.right - kMainWidth : std::max(work.left, std::min<LONG>(corner.x, work.right - 1));
        corner.y = std::max(work.top, std::min<LONG>(corner.y, work.bottom - 1));
    }
    return corner;
}

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
    const POINT corner = blockCorner();
    HANDLE mainPicture = loadBitmap(instance, IDB_MAIN_BACKGROUND);
    HANDLE consolePicture = loadBitmap(instance, IDB_CONSOLE_BACKGROUND);

    HICON smallIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MARIVANE_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (!registerWindowClass(instance, procedure, szClassName, mainPicture, smallIcon)) return nullptr;
    HWND mainWindow = CreateWindowExA(0, szClassName, mainTitle, WS_POPUP | WS_SYSMENU, corner.x, corner.y,
                                      kMainWidth, kMainHeight, nullptr, nullptr, instance, nullptr);

    HICON consoleSmallIcon = LoadIconA(nullptr, IDI_APPLICATION);
    if (!registerWindowClass(instance, procedure, szClassName2, consolePicture, consoleSmallIcon)) return nullptr;
    hWnd = CreateWindowExA(0, szClassName2, "Add_Puzzle", WS_POPUP | WS_SYSMENU, corner.x, corner.y + kMainHeight,
                           kConsoleWidth, kConsoleHeight, mainWindow, nullptr, instance, nullptr);
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
