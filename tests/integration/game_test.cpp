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
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
        if (newPuzzle) Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    void click(const std::string& letters) {
        for (char letter : letters) ClickLetter(letter);
    }
    void solve(const std::string& text) {
        SetWindowTextA(hSolveMe, "");
        headless_type(hSolveMe, text);
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

TEST_F(GameTest, OneClickRevealsEveryOccurrenceOfItsLetter) {
    start("banana;a fruit:");
    click("A");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ A _ A _ A");
    EXPECT_EQ(heard(), Cues{IDW_HIT});
    click("NB");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " B A N A N A");
    EXPECT_EQ(heard(), (Cues{IDW_HIT, IDW_HIT, IDW_WIN}));
    EXPECT_EQ(playerOne(), "60 1 0");  // six characters, no balloon lost
}

TEST_F(GameTest, APlayedLetterIsIgnoredWhenItsPlaceIsClickedAgain) {
    start();
    click("XXOO");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_LETTER_BIN), " _ _ _   _ O _|X ");
    EXPECT_EQ(heard(), (Cues{IDW_MISS, IDW_HIT}));
    EXPECT_EQ(BalloonsShown(), 6);
    std::string played;
    for (int i = 0; i < kLetterCount; ++i) played += KillLet[i] == 1 && !Shown(hLetters[i]) ? char('A' + i) : '-';
    EXPECT_EQ(played, "--------------O--------X--");
}

TEST_F(GameTest, AClickHitsALetterOnlyInsideItsPicture) {
    // The right and bottom edges lie outside, as PtInRect has it.
    for (auto [right, bottom, hit] : {std::tuple{1, 0, false}, {0, 1, false}, {0, 0, true}}) {
        start();
        HWND a = hLetters[0];
        ClickAt(main, a->x + (right ? a->width : a->width - 1), a->y + (bottom ? a->height : a->height - 1));
        EXPECT_EQ(KillLet[0], hit ? 1 : 0) << right << bottom;
    }
}

TEST_F(GameTest, NewPuzzleAbandonsTheGameAndStartsAFreshBoard) {
    // A single character left in the solution box stays; more are cleared.
    for (auto [typed, kept] : {std::pair{"x", "x"}, {"big", ""}}) {
        start();
        click("OXA");
        headless_type(hSolveMe, typed);
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_START_LINE) + "|" + TextOf(IDC_HINT_LINE),
                  kHidden + "|" + kHidden + "|a place for clowns");
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), kEmptyBin);
        EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), kept);
        EXPECT_EQ(BalloonsShown(), 7);
        for (int i = 0; i < kLetterCount; ++i) EXPECT_TRUE(Shown(hLetters[i]) && KillLet[i] == 0) << i;
        EXPECT_EQ(playerOne(), "0 0 0");
        Press(IDC_BALLOON_MODE);  // no wrong guess yet in the new game
        EXPECT_EQ(BalloonsShown(), 5);
    }
}

TEST_F(GameTest, TheSeventhWrongGuessLosesAndSolutionThenShowsThePhrase) {
    for (bool bySolution : {false, true}) {
        start();
        for (int lost = 1; lost <= 6; ++lost) {
            ClickLetter("ACDEFH"[lost - 1]);
            EXPECT_EQ(BalloonsShown(), 7 - lost);
        }
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), "A C D E F H ");
        Press(IDC_SOLUTION);  // refused while the game runs
        heard();
        bySolution ? solve("clowns") : click("J");
        EXPECT_EQ(heard(), (bySolution ? Cues{IDW_CLICK, IDW_MISS, IDW_LOSS} : Cues{IDW_MISS, IDW_LOSS}));
        EXPECT_EQ(BalloonsShown(), 0);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
        click("BIGTOP");
        solve("big top");
        EXPECT_EQ(playerOne() + " " + TextOf(IDC_P1_SKILL), "0 0 1 Circus-Worker");
        Press(IDC_SOLUTION);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kShown);
        EXPECT_EQ(GetFocus(), main);
    }
}

TEST_F(GameTest, ATypedSolutionWinsWhenItIsThePhraseInAnyCase) {
    const std::tuple<const char*, std::string, std::string, int> rows[] = {
        // typed, puzzle line, letter bin and balloons after it
        {"big top", kShown, kEmptyBin, 7}, {"Big tOP", kShown, kEmptyBin, 7}, {"bigtop", kHidden, "# ", 6},
        {"big  top", kHidden, "# ", 6},    {"big top ", kHidden, "# ", 6},    {"", kHidden, kEmptyBin, 7}};
    for (const auto& [typed, line, bin, balloons] : rows) {
        start();
        solve(typed);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_LETTER_BIN), line + "|" + bin) << typed;
        EXPECT_EQ(BalloonsShown(), balloons) << typed;
        EXPECT_EQ(playerOne(), line == kShown ? "70 1 0" : "0 0 0") << typed;
    }
}

TEST_F(GameTest, BalloonModeSwitchesOnlyBetweenGamesOrBeforeTheFirstWrongGuess) {
    start("big top;a place for clowns:", false);
    const auto press = [this] {
        Press(IDC_BALLOON_MODE);
        return TextOf(IDC_BALLOON_COUNT) + " " + std::to_string(BalloonsShown());
    };
    EXPECT_EQ(press(), "7 7");  // before the first game of the run
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(press(), "5 5");
    EXPECT_EQ(GetFocus(), main);
    EXPECT_EQ(press(), "7 7");
    EXPECT_EQ(press(), "5 5");
    click("X");
    EXPECT_EQ(press(), "5 4");
    click("ACDE");  // the fifth wrong guess loses
    EXPECT_EQ(playerOne(), "0 0 1");
    EXPECT_EQ(press(), "7 0");  // between games only the label and the next game change
    EXPECT_EQ(press(), "5 0");
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(BalloonsShown(), 5);
    solve("big top");
    EXPECT_EQ(playerOne(), "50 1 1");  // the two balloons of the head start count as lost
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

TEST_F(GameTest, AFinishedGameIsBookedToThePlayerChosenBeforeIt) {
    start("big top;a place for clowns:", false);
    Press(IDC_PLAYER_TWO);
    Press(IDC_NEW_PUZZLE);
    solve("big top");
    EXPECT_EQ(playerOne() + "|" + TextOf(IDC_P2_POINTS) + " " + TextOf(IDC_P2_WINS), "0 0 0|70 1");
}

TEST_F(GameTest, ALetterClickedThroughTheConsoleIsShownInTheMainWindow) {
    start();
    click("BIGTO");
    // The console, moved over the alphabet, passes a click on to the letter beneath.
    RECT p;
    GetWindowRect(hLetters['P' - 'A'], &p);
    ShowWindow(hWnd, SW_SHOW);
    MoveWindow(hWnd, p.left - 5, p.top - 5, 900, 106, TRUE);
    ClickAt(hWnd, 6, 6);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kShown);
    EXPECT_EQ(playerOne(), "70 1 0");
}

TEST_F(GameTest, NoGameRunsWhenNothingCanBeDrawn) {
    const std::string missing = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";
    // The puzzle file's content (null: none) at the first game, or after a won game.
    for (auto [content, afterAWonGame] : {std::pair{(const char*)nullptr, false}, {"big top;a place", false},
                                          {"Data purged...", true}}) {
        start("big top;a place for clowns:", afterAWonGame);
        if (afterAWonGame) solve("big top");
        std::remove(folder.file("MVData.dat").c_str());
        if (content) folder.write("MVData.dat", content);
        const std::string before = playerOne();
        heard();
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(heard(), (Cues{IDW_NEW_PUZZLE, -1}));
        click("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        solve("anything");
        ClickAt(main, 1, 1);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_HINT_LINE) + "|" + playerOne(),
                  missing + "|No data|" + before);
    }
}

}  // namespace
