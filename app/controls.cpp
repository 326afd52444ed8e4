#include "app/controls.h"

#include "app/state.h"
#include "resource.h"

#include <iterator>

// The words of app/layout.def: each kind of control as its class and style,
// each window and font as its value here.
#define KIND_BUTTON "BUTTON", BS_OWNERDRAW
#define KIND_PICTURE "STATIC", SS_BITMAP
#define KIND_TEXT "STATIC", SS_SIMPLE
#define KIND_NOPREFIX_TEXT "STATIC", SS_SIMPLE | SS_NOPREFIX
#define KIND_CENTRED "STATIC", SS_CENTER
#define KIND_EDIT "EDIT", ES_LEFT
#define WINDOW_MAIN kMainWindow
#define WINDOW_CONSOLE kConsoleWindow
#define FONT_SYSTEM kSystemFont
#define FONT_GUI kGuiFont
#define FONT_DISPLAY kDisplayFont

const ControlDefinition kControls[] = {
#define CONTROL(id, window, x, y, width, height, kind, handle, font, limit, text, face) \
    {id, KIND_##kind, WINDOW_##window, x, y, width, height, &handle, FONT_##font, limit, text},
#include "app/layout.def"
#undef CONTROL
};

const int kControlCount = static_cast<int>(std::size(kControls));

namespace {

// The controls up to the hint line are created before the statistics are
// loaded; the puzzle line opens the rest.
int indexOfControl(int id) {
    int i = 0;
    while (i < kControlCount && kControls[i].id != id) ++i;
    return i;
}

}  // namespace

const int kControlsBeforeScores = indexOfControl(IDC_PUZZLE_LINE);

HFONT CreateDisplayFont() {
    return CreateFontA(22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
}

void CreateControls(HWND mainWindow, HFONT displayFont, int first, int last) {
    for (int i = first; i < last; ++i) {
        const ControlDefinition& c = kControls[i];
        HWND parent = c.parent == kMainWindow ? mainWindow : hWnd;
        *c.handle = CreateWindowExA(0, c.className, "", WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                    GetModuleHandleA(nullptr), nullptr);
        if (c.font == kDisplayFont)
            SendMessageA(*c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(displayFont), TRUE);
        if (c.font == kGuiFont)
            SendMessageA(*c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        if (c.textLimit > 0) SendMessageA(*c.handle, EM_LIMITTEXT, static_cast<WPARAM>(c.textLimit), 0);
        if (c.initialText) SetDlgItemTextA(parent, c.id, c.initialText);
    }
}

void ShowScores(HWND mainWindow) {
    SetControlTexts(mainWindow, {{IDC_P1_SKILL, &pskillone},
                                 {IDC_P2_SKILL, &pskilltwo},
                                 {IDC_P1_LOSSES, &plosone},
                                 {IDC_P2_LOSSES, &plostwo},
                                 {IDC_P1_WINS, &pwinone},
                                 {IDC_P2_WINS, &pwintwo},
                                 {IDC_P1_POINTS, &pallone},
                                 {IDC_P2_POINTS, &palltwo}});
}

namespace {

void attachPicture(HWND picture, int bitmapId) {
    HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

}  // namespace

void AttachPictures() {
    attachPicture(PopZero, IDB_SAD_CLOWN);
    HWND balloons[] = {PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    for (int i = 0; i < 7; ++i) attachPicture(balloons[i], IDB_BALLOONS_1 + i * IDB_BALLOONS_STEP);
    for (int i = 0; i < kLetterCount; ++i) attachPicture(hLetters[i], IDB_LETTER_A + i * IDB_LETTER_STEP);
}

void HideClownPicturesButSeven() {
    for (HWND picture : {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix}) ShowWindow(picture, SW_HIDE);
}

HWND MainWindowOf(HWND window) { return window == hWnd ? GetWindow(hWnd, GW_OWNER) : window; }

void SetControlTexts(HWND parent, std::initializer_list<std::pair<int, const std::string*>> texts) {
    for (auto& text : texts) SetDlgItemTextA(parent, text.first, text.second->c_str());
}

std::string ReadControlText(HWND parent, int id) {
    int length = GetWindowTextLengthA(GetDlgItem(parent, id));
    if (length <= 0) return std::string();
    char* buffer = static_cast<char*>(GlobalAlloc(GPTR, static_cast<std::size_t>(length) + 1));
    if (!buffer) return std::string();
    GetDlgItemTextA(parent, id, buffer, length + 1);
    std::string text(buffer);
    GlobalFree(buffer);
    return text;
}
