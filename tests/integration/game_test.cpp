// Whole games through the window procedure: letter clicks, typed solutions,
// the balloon mode, winning and losing, and what the players see and hear.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

using Cues = std::vector<int>;
const std::string kHidden = " _ _ _   _ _ _", kShown = " B I G   T O P", kEmptyBin(28, ' ');

// The balloons of the one clown picture shown; -1 unless exactly one is shown.
int BalloonsShown() {
    const HWND clowns[] = {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    int shown = -1, count = 0;
    for (int balloons = 0; balloons < 8; ++balloons)
        if (Shown(clowns[balloons])) shown = balloons, ++count;
    return count == 1 ? shown : -1;
}

class GameTest : public ::testing::Test {
protected:
    void start(const std::string& puzzles = "big top;a place for clowns:", bool newPuzzle = true) {
        StartFreshProcess(folder);
        folder.write("MVData.dat", puzzles);
        ASSERT_NE(main = StartUpWithoutLoop(), nullptr);
        if (newPuzzle) Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    void click(const std::string& letters) {
        for (char letter : letters) ClickLetter(letter);
    }
    void solve(const std::string& text) {
        SetWindowTextA(hSolveMe, text.c_str());
        Press(IDC_SOLVE_PUZZLE);
    }
    Cues heard() {
        Cues cues = CuesHeard();
        headless_clear_logs();
        return cues;
    }
    std::string playerOne() { return TextOf(IDC_P1_POINTS) + " " + TextOf(IDC_P1_WINS) + " " + TextOf(IDC_P1_LOSSES); }
    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(GameTest, ALetterIsRevealedEverywhereAtOnceAndIgnoredWhenClickedAgain) {
    start("banana;a fruit:");
    click("AAXX");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_LETTER_BIN), " _ A _ A _ A|X ");
    EXPECT_EQ(heard(), (Cues{IDW_HIT, IDW_MISS}));
    std::string played;
    for (int i = 0; i < kLetterCount; ++i) played += KillLet[i] == 1 && !Shown(hLetters[i]) ? char('A' + i) : '-';
    EXPECT_EQ(played, "A----------------------X--");
    click("NB");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " B A N A N A");
    EXPECT_EQ(heard(), (Cues{IDW_HIT, IDW_HIT, IDW_WIN}));
    EXPECT_EQ(playerOne(), "50 1 0");  // six characters, one balloon lost
}

TEST_F(GameTest, NewPuzzleAbandonsTheGameAndStartsAFreshBoardKeepingOneLeftoverCharacter) {
    for (auto [typed, kept] : {std::pair{"x", "x"}, {"big", ""}}) {
        start();
        click("OXA");
        headless_type(hSolveMe, typed);
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_START_LINE) + "|" + TextOf(IDC_HINT_LINE) + "|" +
                      TextOf(IDC_LETTER_BIN) + "|" + TextOf(IDC_SOLUTION_EDIT) + "|" + playerOne(),
                  kHidden + "|" + kHidden + "|a place for clowns|" + kEmptyBin + "|" + kept + "|0 0 0");
        for (int i = 0; i < kLetterCount; ++i) EXPECT_TRUE(Shown(hLetters[i]) && KillLet[i] == 0) << i;
        EXPECT_EQ(BalloonsShown(), 7);
        Press(IDC_BALLOON_MODE);  // no wrong guess yet in the new game
        EXPECT_EQ(BalloonsShown(), 5);
    }
}

TEST_F(GameTest, TheSeventhWrongGuessLosesAndOnlyThenSolutionShowsThePhrase) {
    for (bool bySolution : {false, true}) {
        start();
        for (int lost = 1; lost <= 6; ++lost) {
            ClickLetter("ACDEFH"[lost - 1]);
            EXPECT_EQ(BalloonsShown(), 7 - lost);
        }
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), "A C D E F H ");
        Press(IDC_SOLUTION);
        heard();
        bySolution ? solve("clowns") : click("J");
        EXPECT_EQ(heard(), (bySolution ? Cues{IDW_CLICK, IDW_MISS, IDW_LOSS} : Cues{IDW_MISS, IDW_LOSS}));
        EXPECT_EQ(BalloonsShown(), 0);
        click("BIGTOP");  // the game is over
        solve("big top");
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + playerOne() + " " + TextOf(IDC_P1_SKILL), kHidden + "|0 0 1 Circus-Worker");
        Press(IDC_SOLUTION);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kShown);
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(GameTest, ATypedSolutionWinsWhenItIsThePhraseInAnyCaseAndCostsABalloonWhenNot) {
    const std::tuple<const char*, std::string, std::string, int> rows[] = {  // typed; line, bin, balloons after
        {"big top", kShown, kEmptyBin, 7}, {"Big tOP", kShown, kEmptyBin, 7}, {"bigtop", kHidden, "# ", 6},
        {"big  top", kHidden, "# ", 6},    {"big top ", kHidden, "# ", 6},    {"", kHidden, kEmptyBin, 7}};
    for (const auto& [typed, line, bin, balloons] : rows) {
        start();
        solve(typed);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_LETTER_BIN) + "|" + playerOne(),
                  line + "|" + bin + (line == kShown ? "|70 1 0" : "|0 0 0")) << typed;
        EXPECT_EQ(BalloonsShown(), balloons) << typed;
    }
}

TEST_F(GameTest, BalloonModeSwitchesBetweenGamesOrBeforeTheFirstWrongGuessAndTheHeadStartCountsAsLost) {
    start("big top;a place for clowns:", false);
    const auto press = [this] {
        Press(IDC_BALLOON_MODE);
        return TextOf(IDC_BALLOON_COUNT) + std::to_string(BalloonsShown()) + (GetFocus() == main ? "" : " focus");
    };
    EXPECT_EQ(press(), "77 focus");  // refused before the first game of the run
    Press(IDC_NEW_PUZZLE);
    for (const char* after : {"55", "77", "55"}) EXPECT_EQ(press(), after);
    click("X");
    EXPECT_EQ(press(), "54 focus");
    click("ACDE");  // the fifth wrong guess loses
    EXPECT_EQ(playerOne(), "0 0 1");
    for (const char* after : {"70", "50"}) EXPECT_EQ(press(), after);  // between games only the label changes
    Press(IDC_NEW_PUZZLE);
    solve("big top");
    EXPECT_EQ(std::to_string(BalloonsShown()) + " " + playerOne(), "5 50 1 1");
}

TEST_F(GameTest, TheGameCuesPlayOnlyWhileTheSoundButtonHasBeenPressedAnEvenNumberOfTimes) {
    for (int presses : {0, 1, 2}) {
        start("big top;a place for clowns:", false);
        for (int press = 0; press < presses; ++press) Press(IDC_SOUND);
        EXPECT_EQ(heard(), Cues(presses, IDW_CLICK));
        Press(IDC_NEW_PUZZLE);
        click("OX");
        solve("big top");
        EXPECT_EQ(heard(), (presses % 2 ? Cues{IDW_CLICK} : Cues{IDW_NEW_PUZZLE, IDW_HIT, IDW_MISS, IDW_CLICK, IDW_WIN}));
    }
}

TEST_F(GameTest, ALetterClickedThroughTheConsoleIsShownInTheMainWindow) {
    start();
    click("BIGTO");
    RECT p;  // the console, moved over the alphabet, passes a click on to the letter beneath
    GetWindowRect(hLetters['P' - 'A'], &p);
    MoveWindow(hWnd, p.left - 5, p.top - 5, 900, 106, TRUE);
    ClickAt(hWnd, 6, 6);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + playerOne(), kShown + "|70 1 0");
}

TEST_F(GameTest, WithoutAPuzzleFileNewPuzzleSaysSoAndNoGameRuns) {
    start("", false);
    std::remove(folder.file("MVData.dat").c_str());
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(heard(), (Cues{IDW_NEW_PUZZLE, -1}));
    click("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    solve("anything");
    ClickAt(main, 1, 1);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_HINT_LINE) + "|" + playerOne(),
              "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING|No data|0 0 0");
}

}  // namespace
