#include "game/guessing.h"

#include "app/controls.h"
#include "app/counters.h"
#include "app/sounds.h"
#include "app/state.h"
#include "data/puzzle_console.h"
#include "data/puzzle_file.h"
#include "resource.h"
#include "stats/stats.h"

namespace {

const char kMissingPuzzles[] = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";
const char kEmptyLetterBin[] = "                            ";  // 28 blanks

// The clown pictures by balloons left: index 0 is the clown without balloons.
HWND balloonPicture(int balloonsLeft) {
    HWND* const pictures[] = {&PopZero, &PopOne, &PopTwo, &PopTre, &PopFor, &PopFiv, &PopSix, &PopSev};
    return *pictures[balloonsLeft];
}

void showSkills(HWND hwnd) {
    SetControlTexts(hwnd, {{IDC_P1_SKILL, &pskillone}, {IDC_P2_SKILL, &pskilltwo}});
}

// The picture for the balloons now left replaces the one for a balloon more.
void balloonStep() {
    if (numwrong < 1 || numwrong > 7) return;
    int left = 7 - numwrong;
    ShowWindow(balloonPicture(left + 1), SW_HIDE);
    ShowWindow(balloonPicture(left), SW_SHOW);
}

void loseGame(HWND hwnd) {
    if (SoundsOn()) playwav8();
    gameRunning = 0;
    doLoses();
    SetControlTexts(hwnd, {{IDC_P1_LOSSES, &plosone}, {IDC_P2_LOSSES, &plostwo}});
    doSkills();
    showSkills(hwnd);
}

void winGame(HWND hwnd) {
    SetDlgItemTextA(hwnd, IDC_PUZZLE_LINE, displayword.c_str());
    if (SoundsOn()) playwav7();
    gameRunning = 0;
    doScores();
    SetControlTexts(hwnd, {{IDC_P1_WINS, &pwinone},
                              {IDC_P2_WINS, &pwintwo},
                              {IDC_P1_POINTS, &pallone},
                              {IDC_P2_POINTS, &palltwo}});
    doSkills();
    showSkills(hwnd);
}

// A wrong letter or a wrong typed solution: its mark goes into the letter bin.
void wrongGuess(HWND hwnd, const std::string& binEntry) {
    usedletters += binEntry;
    SetDlgItemTextA(hwnd, IDC_LETTER_BIN, usedletters.c_str());
    AddSaturated(numwrong, 1);
    AddSaturated(nowrongs, 1);
}

// Reveals every occurrence of the letter, or books a wrong guess.
void playLetter(HWND hwnd, int index) {
    const std::string guess(1, static_cast<char>('A' + index));
    ShowWindow(hLetters[index], SW_HIDE);
    KillLet[index] = 1;
    int hits = 0;
    do {
        FindChar(answer, guess);
        std::size_t position = answer.find(guess);
        if (found == 1) {
            showdashes[position] = guess[0];
            answer[position] = '*';
            ++hits;
        }
        SetDlgItemTextA(hwnd, IDC_PUZZLE_LINE, showdashes.c_str());
        SetDlgItemTextA(hwnd, IDC_START_LINE, doubledash.c_str());
    } while (found == 1);
    if (hits == 0) {
        wrongGuess(hwnd, guess + " ");
        if (SoundsOn()) playwav4();
    } else if (SoundsOn()) {
        playwav3();
    }
}

void endOfGuessChecks(HWND hwnd) {
    balloonStep();
    if (numwrong == 7) loseGame(hwnd);
    if (gameRunning == 1 && answer == buildword) winGame(hwnd);
}

void applyBalloonModeAtStart() {
    if (firstrun <= 1) return;  // the first game of a run starts from the start-up pictures
    if (difficulty % 2 == 0) {
        ShowWindow(PopSev, SW_SHOW);
    } else {
        ShowWindow(PopFiv, SW_SHOW);
        ShowWindow(PopSev, SW_HIDE);
        numwrong = 2;
    }
}

void abortPuzzleViewing() {
    if (test2.size() <= 2) return;
    SetDlgItemTextA(hWnd, IDC_PHRASE_EDIT, "Puzzle viewing aborted...");
    SetDlgItemTextA(hWnd, IDC_HINT_EDIT, "");
    test1.clear();
    test2.clear();
    storepuzzles.clear();
}

void clearSolutionEdit() {
    if (GetWindowTextLengthA(hSolveMe) + 1 > 2) {
        SendMessageA(hSolveMe, WM_CLEAR, 0, 0);
        SendMessageA(hSolveMe, WM_SETTEXT, 0, 0);
    }
}

}  // namespace

void NewPuzzle(HWND hwnd) {
    PuzClicked();
    abortPuzzleViewing();
    gameRunning = 1;
    ResetAlpha();
    numwrong = 0;
    nowrongs = 0;
    AddSaturated(firstrun, 1);
    if (SoundsOn()) playwav5();
    applyBalloonModeAtStart();
    SetFocus(hwnd);
    ChooseWord();
    SetDlgItemTextA(hwnd, IDC_PUZZLE_LINE, showdashes.c_str());
    SetDlgItemTextA(hwnd, IDC_START_LINE, doubledash.c_str());
    SetDlgItemTextA(hwnd, IDC_LETTER_BIN, kEmptyLetterBin);
    SetDlgItemTextA(hwnd, IDC_HINT_LINE, grabhint.c_str());
    clearSolutionEdit();
    if (solveword.empty()) {
        // Nothing to guess: no game runs, so no click can book one.
        SetDlgItemTextA(hwnd, IDC_PUZZLE_LINE, kMissingPuzzles);
        SetDlgItemTextA(hwnd, IDC_HINT_LINE, "No data");
        gameRunning = 0;
    }
}

void BalloonMode(HWND hwnd) {
    bool toFiveBalloons = difficulty % 2 == 0;
    if (gameRunning == 0 && firstrun > 0) {
        playwav1();
        SetDlgItemTextA(hwnd, IDC_BALLOON_COUNT, toFiveBalloons ? "5" : "7");
    } else if (gameRunning == 1 && nowrongs == 0) {
        playwav1();
        SetDlgItemTextA(hwnd, IDC_BALLOON_COUNT, toFiveBalloons ? "5" : "7");
        ShowWindow(PopSev, toFiveBalloons ? SW_HIDE : SW_SHOW);
        ShowWindow(PopFiv, toFiveBalloons ? SW_SHOW : SW_HIDE);
        numwrong = toFiveBalloons ? 2 : 0;
    } else {
        return;
    }
    CountPress(difficulty);
    SetFocus(hwnd);
}

void LetterClick(HWND hwnd, LPARAM lParam) {
    if (gameRunning != 1) return;
    POINT point{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    ClientToScreen(hwnd, &point);
    RECT places[kLetterCount];
    for (int i = 0; i < kLetterCount; ++i) GetWindowRect(hLetters[i], &places[i]);
    // A click on the console ends in the same tests; their texts belong to
    // the main window.
    HWND game = MainWindowOf(hwnd);
    for (int i = 0; i < kLetterCount; ++i)
        if (PtInRect(&places[i], point) && gameRunning == 1 && KillLet[i] == 0) playLetter(game, i);
    endOfGuessChecks(game);
}

void SolvePuzzle(HWND hwnd) {
    if (gameRunning != 1) return;
    playwav1();
    if (GetWindowTextLengthA(hSolveMe) == 0) return;
    std::string typed = UpperCase(ReadControlText(hwnd, IDC_SOLUTION_EDIT));
    if (typed == solveword) {
        winGame(hwnd);
        return;
    }
    if (SoundsOn()) playwav4();
    wrongGuess(hwnd, "# ");
    balloonStep();
    if (numwrong == 7) loseGame(hwnd);
}

void ShowSolution(HWND hwnd) {
    if (numwrong != 7) return;
    playwav1();
    SetFocus(hwnd);
    SetDlgItemTextA(hwnd, IDC_PUZZLE_LINE, displayword.c_str());
}

void ResetAlpha() {
    for (HWND picture : hLetters) ShowWindow(picture, SW_SHOW);
    HideClownPicturesButSeven();  // New Puzzle shows the seven-balloon picture when it is wanted
    for (int& flag : KillLet) flag = 0;
}

void FindChar(std::string& text, const std::string& sought) {
    found = text.find(sought) != std::string::npos ? 1 : 0;
}

std::string& replaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
    if (pattern.empty()) return text;  // it matches everywhere; with an empty replacement the scan never ends
    std::size_t start = 0;
    for (;;) {
        std::size_t position = text.find(pattern, start);
        if (position == std::string::npos) return text;
        text.replace(position, pattern.size(), replacement);
        start = position + replacement.size();
    }
}
