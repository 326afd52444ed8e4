// The program's entry point: start-up in one straight sequence, then the
// message loop.
#include "app/controls.h"
#include "app/state.h"
#include "data/config_file.h"
#include "data/startup_file.h"
#include "game/window_procedure.h"
#include "resource.h"
#include "stats/stats_file.h"

#include <vector>

namespace {

// The main window's top lies this far above the screen's centre; the console
// docks directly below it, so the pair forms one 900 x 726 block.
const int kMainAboveCentre = 378;

// The program file's full name, however long it is.
std::string programFileName() {
    std::vector<char> buffer(260);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);  // truncated: try again with more room
    }
}

void formDataPaths() {
    getDrivePath = programFileName();
    std::size_t separator = getDrivePath.find_last_of("\\/");
    getDrivePath.erase(separator == std::string::npos ? 0 : separator + 1);
    HelpFiler = getDrivePath + "Quorrel-help.chm";
    ScoreFile = getDrivePath + "MVStats.dat";
    WordsFile = getDrivePath + "MVData.dat";
    TimerFile = getDrivePath + "MVC_CONFIG.INI";
    LoadsFile = getDrivePath + "OnLoad.dat";
}

HANDLE loadBitmap(HINSTANCE instance, int id) {
    return LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// Registers a class whose background brush is the given window picture; the
// brush keeps its own copy, so the bitmap is deleted at once.
bool registerWindowClass(HINSTANCE instance, const char* name, HANDLE background, HICON smallIcon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreatePatternBrush(static_cast<HBITMAP>(background));
    wc.lpszClassName = name;
    DeleteObject(static_cast<HGDIOBJ>(background));
    return RegisterClassExA(&wc) != 0;
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    formDataPaths();
    OnLoads();

    int halfWidth = GetSystemMetrics(SM_CXSCREEN) / 2;
    int halfHeight = GetSystemMetrics(SM_CYSCREEN) / 2;
    HANDLE mainPicture = loadBitmap(instance, IDB_MAIN_BACKGROUND);
    HANDLE consolePicture = loadBitmap(instance, IDB_CONSOLE_BACKGROUND);

    HICON smallIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MARIVANE_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (!registerWindowClass(instance, szClassName, mainPicture, smallIcon)) return 0;
    HWND mainWindow = CreateWindowExA(0, szClassName, "Marivane", WS_POPUP | WS_SYSMENU, halfWidth - 450,
                                      halfHeight - kMainAboveCentre, kMainWidth, kMainHeight, nullptr, nullptr,
                                      instance, nullptr);

    HICON consoleSmallIcon = LoadIconA(nullptr, IDI_APPLICATION);
    if (!registerWindowClass(instance, szClassName2, consolePicture, consoleSmallIcon)) return 0;
    hWnd = CreateWindowExA(0, szClassName2, "Add_Puzzle", WS_POPUP | WS_SYSMENU, halfWidth - 450,
                           halfHeight - kMainAboveCentre + kMainHeight, kConsoleWidth, kConsoleHeight, mainWindow,
                           nullptr, instance, nullptr);
    ShowWindow(hWnd, SW_HIDE);

    HFONT displayFont = CreateDisplayFont();
    CreateControls(mainWindow, displayFont, 0, kControlsBeforeScores);
    loadScores();
    ShowScores(mainWindow);
    CreateControls(mainWindow, displayFont, kControlsBeforeScores, kControlCount);
    AttachPictures();
    HideClownPicturesButSeven();

    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    Userchoice();
    return runMessageLoop();
}
