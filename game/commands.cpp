#include "game/commands.h"

#include "app/controls.h"
#include "app/counters.h"
#include "app/sounds.h"
#include "app/state.h"
#include "data/startup_file.h"
#include "resource.h"
#include "stats/stats.h"
#include "stats/stats_file.h"

namespace {

const int kArrowStep = 2;

void moveBy(HWND window, int dx, int dy, int width, int height) {
    RECT place;
    GetWindowRect(window, &place);
    MoveWindow(window, place.left + dx, place.top + dy, width, height, TRUE);
}

}  // namespace

void PlayerSwitch(HWND hwnd, int player) {
    bool noWrongGuessYet = numwrong == 0 || (numwrong == 2 && difficulty % 2 == 1);
    if (gameRunning != 0 && !noWrongGuessYet) return;
    playwav1();
    playertype = player;
    SetFocus(hwnd);
}

void ResetStatsCommand(HWND hwnd) {
    // Only a current player with points can be cleared.
    bool playerOne = playertype == 1 && pscoreone > 0;
    bool playerTwo = playertype == 2 && pscoretwo > 0;
    if (playerOne || playerTwo) {
        playwav1();
        resetStats();
        if (playerOne)
            SetControlTexts(hwnd, {{IDC_P1_SKILL, &pskillone}, {IDC_P1_LOSSES, &plosone},
                                   {IDC_P1_WINS, &pwinone}, {IDC_P1_POINTS, &pallone}});
        else
            SetControlTexts(hwnd, {{IDC_P2_SKILL, &pskilltwo}, {IDC_P2_LOSSES, &plostwo},
                                   {IDC_P2_WINS, &pwintwo}, {IDC_P2_POINTS, &palltwo}});
    }
    SetFocus(hwnd);
}

void SoundToggle(HWND hwnd) {
    playwav1();  // before the switch, so that it is heard either way
    CountPress(audioset);
    SetFocus(hwnd);
}

void HintToggle() {
    playwav1();
    CountPress(yeshint);
    ShowWindow(hGiveHint, yeshint % 2 == 1 ? SW_HIDE : SW_SHOW);
}

void MinimiseCommand(HWND hwnd) {
    playwav2();
    ShowWindow(hwnd, SW_MINIMIZE);
}

// Saves the run (puzzles, then statistics) and closes both windows. Serves
// the X and Quit buttons and every close from outside, so no way out loses
// the run. It runs once only: a request that arrives when the main window is
// already gone must not save again, because a second scramble would store the
// purged puzzle file over the real store.
void ExitCommand(HWND hwnd) {
    HWND mainWindow = MainWindowOf(hwnd);
    if (!IsWindow(mainWindow)) return;
    OnExits();
    saveScores();
    DestroyWindow(mainWindow);
}

// Each arrow key moves both windows two pixels; the window in front in the
// direction of travel moves first, and each keeps its own size.
void MoveWithArrowKey(HWND hwnd, WPARAM key) {
    HWND mainWindow = MainWindowOf(hwnd);
    int dx = key == VK_LEFT ? -kArrowStep : key == VK_RIGHT ? kArrowStep : 0;
    int dy = key == VK_UP ? -kArrowStep : key == VK_DOWN ? kArrowStep : 0;
    if (key == VK_DOWN) {
        moveBy(hWnd, dx, dy, kConsoleWidth, kConsoleHeight);
        moveBy(mainWindow, dx, dy, kMainWidth, kMainHeight);
    } else {
        moveBy(mainWindow, dx, dy, kMainWidth, kMainHeight);
        moveBy(hWnd, dx, dy, kConsoleWidth, kConsoleHeight);
    }
}
