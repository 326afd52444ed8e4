#include "app/controls.h"

#include "app/state.h"
#include "resource.h"

#include <iterator>

namespace {

const DWORD kButton = BS_OWNERDRAW;
const DWORD kPicture = SS_BITMAP;
const DWORD kText = SS_SIMPLE | SS_NOPREFIX;
const DWORD kPlainText = SS_SIMPLE;
const DWORD kCentred = SS_CENTER;
const DWORD kEdit = ES_LEFT;

}  // namespace

// Every child control of both windows, in creation order.
const ControlDefinition kControls[] = {
    // id                 class     style      parent          x    y    w    h  handle        font          limit text
    {IDC_PLAYER_ONE,     "BUTTON", kButton,   kMainWindow,   761, 359, 102, 25, &hPlayerOne,  kSystemFont,  0, nullptr},
    {IDC_PLAYER_TWO,     "BUTTON", kButton,   kMainWindow,   761, 391, 102, 25, &hPlayerTwo,  kSystemFont,  0, nullptr},
    {IDC_RESET_STATS,    "BUTTON", kButton,   kMainWindow,   761, 432, 102, 23, &hResetStats, kSystemFont,  0, nullptr},
    {IDC_SOUND,          "BUTTON", kButton,   kMainWindow,   761, 459, 102, 24, &hAudioCntl,  kSystemFont,  0, nullptr},
    {IDC_BALLOON_MODE,   "BUTTON", kButton,   kMainWindow,   761, 487,  80, 23, &hSkillCntl,  kSystemFont,  0, nullptr},
    {IDC_NEW_PUZZLE,     "BUTTON", kButton,   kMainWindow,   647, 432,  93, 23, &hNewGame,    kSystemFont,  0, nullptr},
    {IDC_SOLUTION,       "BUTTON", kButton,   kMainWindow,   647, 460,  93, 23, &hShowWord,   kSystemFont,  0, nullptr},
    {IDC_HINTS,          "BUTTON", kButton,   kMainWindow,   647, 487,  93, 23, &hWordHint,   kSystemFont,  0, nullptr},
    {IDC_MINIMISE,       "BUTTON", kButton,   kMainWindow,   818,   3,  24, 18, &hMinimize,   kSystemFont,  0, nullptr},
    {IDC_HELP_ME,           "BUTTON", kButton,   kMainWindow,   844,   3,  24, 19, &hHelpMe,     kSystemFont,  0, nullptr},
    {IDC_CLOSE,          "BUTTON", kButton,   kMainWindow,   870,   3,  24, 19, &hQuitGame,   kSystemFont,  0, nullptr},
    {IDC_SOLVE_PUZZLE,   "BUTTON", kButton,   kMainWindow,    27, 575, 116, 23, &hPuzzled,    kSystemFont,  0, nullptr},
    {IDC_QUIT,           "BUTTON", kButton,   kMainWindow,   560, 575,  49, 23, &hEndGame,    kSystemFont,  0, nullptr},
    {IDC_CONSOLE,        "BUTTON", kButton,   kMainWindow,   493, 575,  65, 23, &hConsole,    kSystemFont,  0, nullptr},
    {IDC_ADD_PUZZLE,     "BUTTON", kButton,   kConsoleWindow, 757, 62, 116, 23, &hAddPuzzle,  kSystemFont,  0, nullptr},
    {IDC_DELETE,         "BUTTON", kButton,   kConsoleWindow, 831, 20,  42, 23, &hDelSelect,  kSystemFont,  0, nullptr},
    {IDC_REVIEW,         "BUTTON", kButton,   kConsoleWindow, 757, 20,  72, 23, &hViewNext,   kSystemFont,  0, nullptr},
    {IDC_LETTER_A + 0 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow,  82, 483, 18, 20, &hLetters[0],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 1 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 120, 483, 16, 20, &hLetters[1],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 2 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 156, 483, 18, 20, &hLetters[2],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 3 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 195, 483, 17, 20, &hLetters[3],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 4 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 232, 483, 16, 20, &hLetters[4],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 5 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 269, 483, 15, 20, &hLetters[5],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 6 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 305, 483, 19, 20, &hLetters[6],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 7 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 346, 483, 16, 20, &hLetters[7],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 8 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 384, 483,  9, 20, &hLetters[8],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 9 * IDC_LETTER_STEP,  "STATIC", kPicture, kMainWindow, 411, 483, 12, 20, &hLetters[9],  kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 10 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 444, 483, 17, 20, &hLetters[10], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 11 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 481, 483, 13, 20, &hLetters[11], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 12 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 515, 483, 18, 20, &hLetters[12], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 13 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow,  83, 518, 16, 20, &hLetters[13], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 14 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 118, 518, 20, 20, &hLetters[14], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 15 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 158, 518, 16, 20, &hLetters[15], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 16 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 193, 518, 20, 21, &hLetters[16], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 17 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 233, 518, 17, 20, &hLetters[17], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 18 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 267, 518, 17, 20, &hLetters[18], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 19 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 306, 518, 17, 20, &hLetters[19], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 20 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 346, 518, 16, 20, &hLetters[20], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 21 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 375, 518, 18, 20, &hLetters[21], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 22 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 404, 518, 26, 20, &hLetters[22], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 23 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 444, 518, 18, 20, &hLetters[23], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 24 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 480, 518, 19, 20, &hLetters[24], kSystemFont, 0, nullptr},
    {IDC_LETTER_A + 25 * IDC_LETTER_STEP, "STATIC", kPicture, kMainWindow, 517, 518, 17, 20, &hLetters[25], kSystemFont, 0, nullptr},
    {IDC_P1_POINTS,      "STATIC", kText,     kMainWindow,   760, 112, 106, 18, &hPOneScore,  kSystemFont,  0, nullptr},
    {IDC_P2_POINTS,      "STATIC", kText,     kMainWindow,   760, 247, 106, 18, &hPTwoScore,  kSystemFont,  0, nullptr},
    {IDC_P1_WINS,        "STATIC", kText,     kMainWindow,   760, 141,  40, 18, &hPOneWins,   kSystemFont,  0, nullptr},
    {IDC_P2_WINS,        "STATIC", kText,     kMainWindow,   760, 276,  40, 18, &hPTwoWins,   kSystemFont,  0, nullptr},
    {IDC_P1_LOSSES,      "STATIC", kText,     kMainWindow,   826, 141,  40, 18, &hPOneLose,   kSystemFont,  0, nullptr},
    {IDC_P2_LOSSES,      "STATIC", kText,     kMainWindow,   826, 276,  40, 18, &hPTwoLose,   kSystemFont,  0, nullptr},
    {IDC_P1_SKILL,       "STATIC", kText,     kMainWindow,   760, 171, 106, 18, &hPOneSkill,  kSystemFont,  0, nullptr},
    {IDC_P2_SKILL,       "STATIC", kText,     kMainWindow,   760, 306, 106, 18, &hPTwoSkill,  kSystemFont,  0, nullptr},
    {IDC_HINT_LINE,      "STATIC", kCentred,  kMainWindow,   646, 525, 220, 17, &hGiveHint,   kGuiFont,     0, nullptr},
    // -- created after the statistics are loaded --
    {IDC_PUZZLE_LINE,    "STATIC", kText,     kMainWindow,    28,  38, 846, 25, &hPuzzler,    kDisplayFont, 0, nullptr},
    {IDC_START_LINE,     "STATIC", kPlainText, kMainWindow,   28,  38, 846, 25, &hDblDash,    kDisplayFont, 0, nullptr},
    {IDC_LETTER_BIN,     "STATIC", kCentred,  kMainWindow,   656, 385,  75, 32, &hUsedBin,    kSystemFont,  0, nullptr},
    {IDC_BALLOON_COUNT,  "STATIC", kText,     kMainWindow,   847, 490,  14, 18, &hPlySmarts,  kSystemFont,  0, "7"},
    {IDC_SAD_CLOWN,      "STATIC", kPicture,  kMainWindow,   279, 199,  90, 90, &PopZero,     kSystemFont,  0, nullptr},
    {IDC_BALLOONS_1 + 0 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopOne, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 1 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopTwo, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 2 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopTre, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 3 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopFor, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 4 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopFiv, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 5 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopSix, kSystemFont, 0, nullptr},
    {IDC_BALLOONS_1 + 6 * IDC_BALLOONS_STEP, "STATIC", kPicture, kMainWindow, 258, 99, 119, 182, &PopSev, kSystemFont, 0, nullptr},
    {IDC_SOLUTION_EDIT,  "EDIT",   kEdit,     kMainWindow,   150, 577, 338, 20, &hSolveMe,    kSystemFont,  0, nullptr},
    {IDC_PHRASE_EDIT,    "EDIT",   kEdit,     kConsoleWindow, 302, 22, 352, 20, &hEditWord,   kSystemFont, 38, nullptr},
    {IDC_HINT_EDIT,      "EDIT",   kEdit,     kConsoleWindow, 302, 64, 260, 20, &hEditHint,   kSystemFont, 34, nullptr},
};

const int kControlCount = static_cast<int>(std::size(kControls));
const int kControlsBeforeScores = 52;

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
