// Whole games played through the window procedure: letter clicks, typed
// solutions, the balloon mode, winning and losing, and what the players see
// and hear on the way.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kBigTop[] = "big top;a place for clowns:";
const char kHidden[] = " _ _ _   _ _ _";
const char kRevealed[] = " B I G   T O P";
const std::string kEmptyBin(28, ' ');
const char kMissing[] = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";
const char kMisses[] = "ACDEFHJ";  // none of them is in BIG TOP

const std::vector<int> kNothing;
const std::vector<int> kClick{IDW_CLICK};
const std::vector<int> kHit{IDW_HIT};
const std::vector<int> kMiss{IDW_MISS};

// The number of balloons in the one clown picture shown; -1 when not exactly
// one is shown.
int BalloonsShown() {
    HWND pictures[] = {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    int shown = -1;
    for (int balloons = 0; balloons <= 7; ++balloons) {
        if (!Shown(pictures[balloons])) continue;
        if (shown != -1) return -1;
        shown = balloons;
    }
    return shown;
}

std::string LettersShown() {
    std::string shown;
    for (int i = 0; i < kLetterCount; ++i)
        if (Shown(hLetters[i])) shown += static_cast<char>('A' + i);
    return shown;
}

std::string AllLettersBut(const std::string& played) {
    std::string rest;
    for (char c = 'A'; c <= 'Z'; ++c)
        if (played.find(c) == std::string::npos) rest += c;
    return rest;
}

// The eight score fields, player one's first.
std::vector<std::string> ScoreTexts() {
    std::vector<std::string> texts;
    for (int id : {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL, IDC_P2_POINTS, IDC_P2_WINS,
                   IDC_P2_LOSSES, IDC_P2_SKILL})
        texts.push_back(TextOf(id));
    return texts;
}

std::vector<std::string> Scores(const std::vector<std::string>& one, const std::vector<std::string>& two) {
    std::vector<std::string> texts = one;
    texts.insert(texts.end(), two.begin(), two.end());
    return texts;
}

const std::vector<std::string> kFresh{"0", "0", "0", "Circus-Worker"};

// Everything a click could change, in one comparable text.
std::string Snapshot() {
    std::string flags;
    for (int flag : KillLet) flags += static_cast<char>('0' + flag);
    std::string snapshot = TextOf(IDC_PUZZLE_LINE) + "|" + TextOf(IDC_START_LINE) + "|" + TextOf(IDC_LETTER_BIN) +
                           "|" + LettersShown() + "|" + flags + "|" + std::to_string(BalloonsShown()) + "|" +
                           std::to_string(numwrong) + "|" + std::to_string(gameRunning);
    for (const std::string& text : ScoreTexts()) snapshot += "|" + text;
    return snapshot;
}

class GameTest : public ::testing::Test {
protected:
    void start(const std::string& puzzles) {
        StartFreshProcess(folder);
        folder.write("MVData.dat", puzzles);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
        headless_clear_logs();
    }
    void startGame(const std::string& puzzles = kBigTop) {
        start(puzzles);
        newPuzzle();
    }
    void newPuzzle() {
        Press(IDC_NEW_PUZZLE);
        headless_clear_logs();
    }
    // Cues heard since the last call.
    std::vector<int> heard() {
        std::vector<int> cues = CuesHeard();
        headless_clear_logs();
        return cues;
    }
    void click(const std::string& letters) {
        for (char letter : letters) ClickLetter(letter);
    }
    void solve(const std::string& typed) {
        SetWindowTextA(hSolveMe, "");
        TypeSolution(typed);
        Press(IDC_SOLVE_PUZZLE);
    }
    void loseByLetters() {
        click(kMisses);
        headless_clear_logs();
    }
    void expectFlagsFollowPictures() {
        for (int i = 0; i < kLetterCount; ++i)
            EXPECT_EQ(KillLet[i] == 1, !Shown(hLetters[i])) << static_cast<char>('A' + i);
    }

    TempFolder folder;
};

struct Step {
    char letter;
    const char* line;
    const char* bin;
    int balloons;
    std::vector<int> cues;
};

TEST_F(GameTest, NewPuzzleShowsTheMaskedPhrase) {
    start(kBigTop);
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(heard(), std::vector<int>{IDW_NEW_PUZZLE});
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
    EXPECT_EQ(TextOf(IDC_START_LINE), kHidden);
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), kEmptyBin);
    EXPECT_EQ(TextOf(IDC_HINT_LINE), "a place for clowns");
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "7");
    EXPECT_EQ(BalloonsShown(), 7);
    EXPECT_EQ(LettersShown(), AllLettersBut(""));
}

TEST_F(GameTest, WinByLetters) {
    startGame();
    const std::vector<std::string> before = ScoreTexts();
    const Step steps[] = {
        {'O', " _ _ _   _ O _", "", 7, kHit},
        {'X', " _ _ _   _ O _", "X ", 6, kMiss},
        {'B', " B _ _   _ O _", "X ", 6, kHit},
        {'Q', " B _ _   _ O _", "X Q ", 5, kMiss},
        {'I', " B I _   _ O _", "X Q ", 5, kHit},
        {'G', " B I G   _ O _", "X Q ", 5, kHit},
        {'T', " B I G   T O _", "X Q ", 5, kHit},
        {'P', kRevealed, "X Q ", 5, {IDW_HIT, IDW_WIN}},
    };
    std::string played;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("clicked ") + step.letter);
        ClickLetter(step.letter);
        played += step.letter;
        EXPECT_EQ(heard(), step.cues);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), step.line);
        EXPECT_EQ(TextOf(IDC_START_LINE), kHidden);
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), *step.bin ? std::string(step.bin) : kEmptyBin);
        EXPECT_EQ(BalloonsShown(), step.balloons);
        EXPECT_EQ(LettersShown(), AllLettersBut(played));
        expectFlagsFollowPictures();
    }
    EXPECT_EQ(gameRunning, 0);
    // 7 characters, 2 balloons lost: 50 points, for player one only.
    EXPECT_EQ(ScoreTexts(), Scores({"50", "1", "0", "Circus-Worker"}, {before.begin() + 4, before.end()}));

    const std::string after = Snapshot();
    click("AZ");
    Press(IDC_SOLVE_PUZZLE);
    Press(IDC_SOLUTION);
    EXPECT_EQ(Snapshot(), after) << "the won game still took guesses";
    EXPECT_EQ(heard(), kNothing);
}

TEST_F(GameTest, RepeatedLetterIsRevealedEverywhereWithOneCue) {
    startGame("banana;fruit:");
    ClickLetter('A');
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ A _ A _ A");
    EXPECT_EQ(heard(), kHit);
    ClickLetter('N');
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ A N A N A");
    ClickLetter('B');
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " B A N A N A");
    EXPECT_EQ(heard(), (std::vector<int>{IDW_HIT, IDW_HIT, IDW_WIN}));
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "60");
}

TEST_F(GameTest, WinByTypedSolution) {
    startGame();
    struct Attempt {
        const char* typed;
        const char* bin;
        int balloons;
    } wrong[] = {
        {"bigtop", "# ", 6},
        {"big  top", "# # ", 5},
        {"big top ", "# # # ", 4},
        {"big tap", "# # # # ", 3},
    };
    for (const Attempt& attempt : wrong) {
        SCOPED_TRACE(attempt.typed);
        solve(attempt.typed);
        EXPECT_EQ(heard(), (std::vector<int>{IDW_CLICK, IDW_MISS}));
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), attempt.bin);
        EXPECT_EQ(BalloonsShown(), attempt.balloons);
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
    }
    solve("");
    EXPECT_EQ(heard(), kClick) << "an empty solution only clicks";
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), "# # # # ");

    solve("Big tOP");
    EXPECT_EQ(heard(), (std::vector<int>{IDW_CLICK, IDW_WIN}));
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kRevealed);
    EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), "Big tOP");
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(ScoreTexts(), Scores({"30", "1", "0", "Circus-Worker"}, kFresh));

    Press(IDC_SOLVE_PUZZLE);
    EXPECT_EQ(heard(), kNothing);
    EXPECT_EQ(TextOf(IDC_P1_WINS), "1");
}

TEST_F(GameTest, LossByLetters) {
    startGame();
    ClickLetter('O');
    heard();
    Press(IDC_SOLUTION);
    EXPECT_EQ(heard(), kNothing) << "Solution works only after a loss";
    std::string bin;
    for (int miss = 1; miss <= 7; ++miss) {
        char letter = kMisses[miss - 1];
        SCOPED_TRACE(std::string("miss ") + letter);
        ClickLetter(letter);
        bin += std::string(1, letter) + " ";
        EXPECT_EQ(heard(), (miss < 7 ? kMiss : std::vector<int>{IDW_MISS, IDW_LOSS}));
        EXPECT_EQ(BalloonsShown(), 7 - miss);
        EXPECT_EQ(TextOf(IDC_LETTER_BIN), bin);
        if (miss == 6) {
            Press(IDC_SOLUTION);
            EXPECT_EQ(heard(), kNothing) << "Solution with one balloon left";
        }
    }
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ _ _   _ O _") << "a loss does not reveal the phrase";
    EXPECT_EQ(ScoreTexts(), Scores({"0", "0", "1", "Circus-Worker"}, kFresh));

    const std::string lost = Snapshot();
    click("BIGTP");
    solve("big top");
    EXPECT_EQ(Snapshot(), lost) << "the lost game still took guesses";
    EXPECT_EQ(heard(), kNothing);

    Press(IDC_SOLUTION);
    EXPECT_EQ(heard(), kClick);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kRevealed);
    EXPECT_EQ(ScoreTexts(), Scores({"0", "0", "1", "Circus-Worker"}, kFresh));

    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(BalloonsShown(), 7);
    heard();
    Press(IDC_SOLUTION);
    EXPECT_EQ(heard(), kNothing) << "Solution after a new game began";
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
}

TEST_F(GameTest, WrongSolutionAtSixLostLosesTheGame) {
    startGame();
    click(std::string(kMisses, 6));
    EXPECT_EQ(BalloonsShown(), 1);
    heard();
    solve("clowns");
    EXPECT_EQ(heard(), (std::vector<int>{IDW_CLICK, IDW_MISS, IDW_LOSS}));
    EXPECT_EQ(BalloonsShown(), 0);
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), "A C D E F H # ");
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(ScoreTexts(), Scores({"0", "0", "1", "Circus-Worker"}, kFresh));
}

TEST_F(GameTest, FiveBalloonsChosenBetweenGames) {
    start(kBigTop);
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(heard(), kNothing) << "Balloon # before the first game";
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "7");

    newPuzzle();
    solve("big top");
    heard();
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(heard(), kClick);
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "5");

    newPuzzle();
    EXPECT_EQ(BalloonsShown(), 5);
    for (int miss = 1; miss <= 5; ++miss) {
        ClickLetter(kMisses[miss - 1]);
        EXPECT_EQ(BalloonsShown(), 5 - miss) << "miss " << miss;
        EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "5") << "the label shows the mode, not the balloons left";
    }
    EXPECT_EQ(heard(), (std::vector<int>{IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_LOSS}));
    EXPECT_EQ(TextOf(IDC_P1_LOSSES), "1");

    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "7");
    newPuzzle();
    EXPECT_EQ(BalloonsShown(), 7);
}

TEST_F(GameTest, FiveBalloonsSwitchedDuringAGame) {
    startGame();
    const std::pair<const char*, int> presses[] = {{"5", 5}, {"7", 7}, {"5", 5}};
    for (const auto& [label, balloons] : presses) {
        Press(IDC_BALLOON_MODE);
        EXPECT_EQ(heard(), kClick);
        EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), label);
        EXPECT_EQ(BalloonsShown(), balloons);
    }
    ClickLetter('O');  // a right guess keeps the mode open
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(BalloonsShown(), 7);
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(BalloonsShown(), 5);
    ClickLetter('X');
    EXPECT_EQ(BalloonsShown(), 4);
    heard();
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(heard(), kNothing) << "Balloon # after a wrong guess";
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "5");
    EXPECT_EQ(BalloonsShown(), 4);

    click("BIGTP");
    // 7 characters, the head start of 2 and one wrong guess lost: 40 points.
    EXPECT_EQ(ScoreTexts(), Scores({"40", "1", "0", "Circus-Worker"}, kFresh));
}

TEST_F(GameTest, SevenBalloonGameKeepsItsModeAfterAWrongGuess) {
    startGame();
    ClickLetter('X');
    heard();
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(heard(), kNothing);
    EXPECT_EQ(TextOf(IDC_BALLOON_COUNT), "7");
    EXPECT_EQ(BalloonsShown(), 6);
}

TEST_F(GameTest, NewPuzzleAbandonsARunningGame) {
    startGame();
    click("OXY");
    TypeSolution("big");
    heard();
    const std::vector<std::string> before = ScoreTexts();
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(heard(), std::vector<int>{IDW_NEW_PUZZLE});
    EXPECT_EQ(ScoreTexts(), before) << "the abandoned game was booked";
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), kEmptyBin);
    EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), "");
    EXPECT_EQ(BalloonsShown(), 7);
    EXPECT_EQ(LettersShown(), AllLettersBut(""));
    expectFlagsFollowPictures();

    ClickLetter('O');
    EXPECT_EQ(heard(), kHit) << "letters of the abandoned game are playable again";

    TypeSolution("b");  // a single leftover character stays
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), "b");
}

TEST_F(GameTest, EachGameIsBookedToThePlayerCurrentAtItsEnd) {
    startGame();
    solve("big top");  // player one: 70 points
    const std::vector<std::string> one{"70", "1", "0", "Circus-Worker"};
    EXPECT_EQ(ScoreTexts(), Scores(one, kFresh));

    Press(IDC_PLAYER_TWO);
    newPuzzle();
    loseByLetters();
    EXPECT_EQ(ScoreTexts(), Scores(one, {"0", "0", "1", "Circus-Worker"}));

    newPuzzle();
    ClickLetter('X');
    heard();
    Press(IDC_PLAYER_ONE);
    EXPECT_EQ(heard(), kNothing) << "player switch after a wrong guess";
    solve("big top");  // still player two's: 60 points
    EXPECT_EQ(ScoreTexts(), Scores(one, {"60", "1", "1", "Circus-Worker"}));

    heard();
    Press(IDC_PLAYER_ONE);
    EXPECT_EQ(heard(), kClick);
    newPuzzle();
    loseByLetters();
    EXPECT_EQ(ScoreTexts(), Scores({"70", "1", "1", "Circus-Worker"}, {"60", "1", "1", "Circus-Worker"}));
}

TEST_F(GameTest, SoundSwitchSilencesOnlyTheGameCues) {
    start(kBigTop);
    Press(IDC_SOUND);
    EXPECT_EQ(heard(), kClick);

    Press(IDC_NEW_PUZZLE);
    click("OX");
    EXPECT_EQ(heard(), kNothing) << "new puzzle, hit and miss";
    solve("bigtop");
    EXPECT_EQ(heard(), kClick) << "wrong solution";
    solve("big top");
    EXPECT_EQ(heard(), kClick) << "right solution";
    Press(IDC_BALLOON_MODE);
    EXPECT_EQ(heard(), kClick);

    Press(IDC_NEW_PUZZLE);
    click(kMisses);  // lost at the fifth in this five-balloon game
    EXPECT_EQ(heard(), kNothing) << "new puzzle, misses and loss";
    EXPECT_EQ(TextOf(IDC_P1_LOSSES), "1");
    Press(IDC_SOLUTION);
    EXPECT_EQ(heard(), kClick);

    Press(IDC_SOUND);
    EXPECT_EQ(heard(), kClick);
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(heard(), std::vector<int>{IDW_NEW_PUZZLE});
}

TEST_F(GameTest, NoGameWhenNothingCanBeDrawn) {
    const std::pair<const char*, const char*> files[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"purged", "Data purged..."},
        {"no complete record", "big top;a place for clowns"},
    };
    for (const auto& [label, content] : files) {
        SCOPED_TRACE(label);
        start("");
        if (content)
            folder.write("MVData.dat", content);
        else
            std::remove(folder.file("MVData.dat").c_str());
        const std::vector<std::string> before = ScoreTexts();
        Press(IDC_NEW_PUZZLE);
        EXPECT_EQ(heard(), (std::vector<int>{IDW_NEW_PUZZLE, -1}));
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kMissing);
        EXPECT_EQ(TextOf(IDC_HINT_LINE), "No data");
        EXPECT_EQ(gameRunning, 0);

        click("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        solve("anything");
        Press(IDC_SOLUTION);
        EXPECT_EQ(heard(), kNothing);
        EXPECT_EQ(ScoreTexts(), before) << "a game without a puzzle was booked";
        EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kMissing);
    }
}

TEST_F(GameTest, PuzzleFileEmptiedDuringTheRun) {
    startGame();
    solve("big top");
    folder.write("MVData.dat", "Data purged...");
    const std::vector<std::string> before = ScoreTexts();
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kMissing);
    EXPECT_EQ(gameRunning, 0);
    click(kMisses);
    EXPECT_EQ(ScoreTexts(), before);

    folder.write("MVData.dat", kBigTop);  // back again: the next game counts it anew
    Press(IDC_NEW_PUZZLE);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), kHidden);
    EXPECT_EQ(gameRunning, 1);
}

TEST_F(GameTest, SmallPuzzleFilesPlay) {
    const char* phrases[] = {"ab", "cd", "ef", "gh"};
    for (int records = 1; records <= 4; ++records) {
        std::string file;
        for (int i = 0; i < records; ++i) file += std::string(phrases[i]) + ";hint:";
        startGame(file);
        const std::string line = TextOf(IDC_PUZZLE_LINE);
        EXPECT_EQ(line, " _ _") << records << " records";
        EXPECT_EQ(gameRunning, 1) << records << " records";
    }
}

TEST_F(GameTest, PhraseWithoutLettersIsWonAtTheFirstClickEvenOnTheConsole) {
    startGame("2024;a year:");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " 2 0 2 4");
    ClickAt(hWnd, 10, 10);
    EXPECT_EQ(heard(), std::vector<int>{IDW_WIN});
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(ScoreTexts(), Scores({"40", "1", "0", "Circus-Worker"}, kFresh)) << "the main window's score box";
}

TEST_F(GameTest, ClicksBesideTheLettersChangeNothing) {
    startGame();
    click("OX");
    heard();
    const std::string before = Snapshot();
    HWND a = hLetters[0];
    const int middleX = a->x + a->width / 2, middleY = a->y + a->height / 2;
    struct Place {
        const char* what;
        HWND window;
        int x, y;
    } places[] = {
        {"played hit O", MainWindow(), hLetters['O' - 'A']->x + 2, hLetters['O' - 'A']->y + 2},
        {"played miss X", MainWindow(), hLetters['X' - 'A']->x + 2, hLetters['X' - 'A']->y + 2},
        {"right edge of A", MainWindow(), a->x + a->width, middleY},
        {"bottom edge of A", MainWindow(), middleX, a->y + a->height},
        {"left of A", MainWindow(), a->x - 1, middleY},
        {"above A", MainWindow(), middleX, a->y - 1},
        {"window corner", MainWindow(), 0, 0},
        {"console background", hWnd, 10, 10},
    };
    for (const Place& place : places) {
        ClickAt(place.window, place.x, place.y);
        EXPECT_EQ(Snapshot(), before) << place.what;
        EXPECT_EQ(heard(), kNothing) << place.what;
    }

    ClickAt(MainWindow(), a->x, a->y);  // the top left corner is inside
    EXPECT_EQ(heard(), kMiss);
    EXPECT_FALSE(Shown(a));
    HWND b = hLetters[1];
    ClickAt(MainWindow(), b->x + b->width - 1, b->y + b->height - 1);  // the last pixel inside
    EXPECT_EQ(heard(), kHit);
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " B _ _   _ O _");
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), "X A ");
}

}  // namespace
