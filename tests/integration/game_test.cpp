// Whole games played through the window procedure: letter clicks, typed
// solutions, the balloon mode, winning and losing, and what the players see
// and hear on the way.
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const char kBigTop[] = "big top;a place for clowns:";
const char kHidden[] = " _ _ _   _ _ _";
const std::string kNoGame = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING||7|7";

const std::vector<int> kNothing;
const std::vector<int> kClick{IDW_CLICK};
const std::vector<int> kHit{IDW_HIT};
const std::vector<int> kMiss{IDW_MISS};
const std::vector<int> kNew{IDW_NEW_PUZZLE};
const std::vector<int> kWrongSolution{IDW_CLICK, IDW_MISS};
const std::vector<int> kLostByLetters{IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_MISS, IDW_LOSS};

const std::map<std::string, int> kButtons{
    {"New", IDC_NEW_PUZZLE},       {"Solve", IDC_SOLVE_PUZZLE},   {"Solution", IDC_SOLUTION}, {"Sound", IDC_SOUND},
    {"Balloons", IDC_BALLOON_MODE}, {"Player 1", IDC_PLAYER_ONE}, {"Player 2", IDC_PLAYER_TWO}};

// The balloons of the one clown picture shown; -1 when not exactly one is.
int BalloonsShown() {
    const HWND pictures[] = {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    std::vector<int> shown;
    for (int balloons = 0; balloons <= 7; ++balloons)
        if (Shown(pictures[balloons])) shown.push_back(balloons);
    return shown.size() == 1 ? shown[0] : -1;
}

// The puzzle line, the letter bin without its trailing blanks, the balloons
// of the clown shown and the balloon mode's label.
std::string View() {
    std::string bin = TextOf(IDC_LETTER_BIN);
    bin.erase(bin.find_last_not_of(' ') + 1);
    return TextOf(IDC_PUZZLE_LINE) + "|" + bin + "|" + std::to_string(BalloonsShown()) + "|" +
           TextOf(IDC_BALLOON_COUNT);
}

// The letters taken off the board, each checked against its played flag.
std::string LettersPlayed() {
    std::string played;
    for (int i = 0; i < kLetterCount; ++i) {
        EXPECT_EQ(KillLet[i] == 1, !Shown(hLetters[i])) << static_cast<char>('A' + i);
        if (!Shown(hLetters[i])) played += static_cast<char>('A' + i);
    }
    return played;
}

// Points, wins, losses and skill of player one, then of player two.
std::string Scores() {
    std::string texts;
    for (int id : {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL, IDC_P2_POINTS, IDC_P2_WINS, IDC_P2_LOSSES,
                   IDC_P2_SKILL})
        texts += (id == IDC_P2_POINTS ? " / " : texts.empty() ? "" : " ") + TextOf(id);
    return texts;
}

// The cues left when the sound is switched off: the game's own fall silent.
std::vector<int> Silenced(std::vector<int> cues) {
    const std::vector<int> gameCues{IDW_HIT, IDW_MISS, IDW_NEW_PUZZLE, IDW_WIN, IDW_LOSS};
    const auto isGameCue = [&](int cue) { return std::count(gameCues.begin(), gameCues.end(), cue) > 0; };
    cues.erase(std::remove_if(cues.begin(), cues.end(), isGameCue), cues.end());
    return cues;
}

// One move and what follows: the cues heard and, unless empty, the View().
// A move is a button's name, "=text" typed as the solution before Solve is
// pressed, or capital letters clicked one after the other.
struct Step {
    std::string move;
    std::vector<int> cues;
    std::string view;
};

class GameTest : public ::testing::Test {
protected:
    void start(const std::string& puzzles) {
        StartFreshProcess(folder);
        folder.write("MVData.dat", puzzles);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
        headless_clear_logs();
        soundOff = false;
    }
    void startGame(const std::string& puzzles = kBigTop) {
        start(puzzles);
        play({{"New", kNew, ""}});
    }
    // Cues heard since the last call.
    std::vector<int> heard() {
        std::vector<int> cues = CuesHeard();
        headless_clear_logs();
        return cues;
    }
    void play(const std::vector<Step>& steps) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string& move = steps[i].move;
            SCOPED_TRACE("move " + std::to_string(i) + ": " + move);
            if (move[0] == '=') {
                SetWindowTextA(hSolveMe, "");
                TypeSolution(move.substr(1));
                Press(IDC_SOLVE_PUZZLE);
            } else if (kButtons.count(move)) {
                Press(kButtons.at(move));
            } else {
                for (char letter : move) ClickLetter(letter);
            }
            EXPECT_EQ(heard(), soundOff ? Silenced(steps[i].cues) : steps[i].cues);
            if (!steps[i].view.empty()) {
                EXPECT_EQ(View(), steps[i].view);
            }
        }
    }

    TempFolder folder;
    bool soundOff = false;  // the sound switched off: play() expects the game's cues silenced
};

TEST_F(GameTest, NewPuzzleAbandonsAGameThenWinByLettersAfterWhichNothingIsTaken) {
    startGame();
    play({{"OXY", {IDW_HIT, IDW_MISS, IDW_MISS}, ""}});
    TypeSolution("big");
    play({{"New", kNew, " _ _ _   _ _ _||7|7"}});
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(TextOf(IDC_LETTER_BIN), std::string(28, ' '));
    EXPECT_EQ(TextOf(IDC_START_LINE), kHidden);
    EXPECT_EQ(TextOf(IDC_HINT_LINE), "a place for clowns");
    EXPECT_EQ(TextOf(IDC_SOLUTION_EDIT), "");
    EXPECT_EQ(LettersPlayed(), "");
    play({
        {"O", kHit, " _ _ _   _ O _||7|7"},  // played in the abandoned game, open again
        {"X", kMiss, " _ _ _   _ O _|X|6|7"},
        {"B", kHit, " B _ _   _ O _|X|6|7"},
        {"Q", kMiss, " B _ _   _ O _|X Q|5|7"},
        {"IGT", {IDW_HIT, IDW_HIT, IDW_HIT}, " B I G   T O _|X Q|5|7"},
        {"P", {IDW_HIT, IDW_WIN}, " B I G   T O P|X Q|5|7"},
        {"AZ", kNothing, " B I G   T O P|X Q|5|7"},
        {"Solve", kNothing, ""},
        {"Solution", kNothing, " B I G   T O P|X Q|5|7"},
    });
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(TextOf(IDC_START_LINE), kHidden);
    EXPECT_EQ(LettersPlayed(), "BGIOPQTX");
    // 7 characters, 2 balloons lost; the abandoned game is not booked.
    EXPECT_EQ(Scores(), "50 1 0 Circus-Worker / 0 0 0 Circus-Worker");
}

TEST_F(GameTest, TypedSolutionsMustMatchExceptForCase) {
    startGame();
    play({
        {"=bigtop", kWrongSolution, " _ _ _   _ _ _|#|6|7"},
        {"=big  top", kWrongSolution, " _ _ _   _ _ _|# #|5|7"},
        {"=big top ", kWrongSolution, " _ _ _   _ _ _|# # #|4|7"},
        {"=big tap", kWrongSolution, " _ _ _   _ _ _|# # # #|3|7"},
        {"=", kClick, " _ _ _   _ _ _|# # # #|3|7"},
        {"=Big tOP", {IDW_CLICK, IDW_WIN}, " B I G   T O P|# # # #|3|7"},
    });
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(Scores(), "30 1 0 Circus-Worker / 0 0 0 Circus-Worker");

    // With six balloons lost a wrong solution loses the game.
    play({{"New", kNew, ""},
          {"ACDEFH", std::vector<int>(6, IDW_MISS), ""},
          {"=clowns", {IDW_CLICK, IDW_MISS, IDW_LOSS}, " _ _ _   _ _ _|A C D E F H #|0|7"}});
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(Scores(), "30 1 1 Circus-Worker / 0 0 0 Circus-Worker");
}

TEST_F(GameTest, LossByLettersAndTheSolutionAfterIt) {
    startGame();
    const std::string lost = " _ _ _   _ O _|A C D E F H J|0|7";
    play({
        {"O", kHit, ""},
        {"Solution", kNothing, " _ _ _   _ O _||7|7"},
        {"ACDEFH", std::vector<int>(6, IDW_MISS), " _ _ _   _ O _|A C D E F H|1|7"},
        {"Solution", kNothing, " _ _ _   _ O _|A C D E F H|1|7"},
        {"J", {IDW_MISS, IDW_LOSS}, lost},
        {"BIGTP", kNothing, lost},
        {"=big top", kNothing, lost},
        {"Solution", kClick, " B I G   T O P|A C D E F H J|0|7"},
        {"New", kNew, " _ _ _   _ _ _||7|7"},
        {"Solution", kNothing, " _ _ _   _ _ _||7|7"},
    });
    EXPECT_EQ(Scores(), "0 0 1 Circus-Worker / 0 0 0 Circus-Worker");
}

TEST_F(GameTest, FiveBalloonsChosenBetweenGamesWithTheSoundOnAndOff) {
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "sound on" : "sound off");
        start(kBigTop);
        if (!on) play({{"Sound", kClick, ""}});
        soundOff = !on;
        play({
            {"Balloons", kNothing, ""},  // before the first game
            {"New", kNew, " _ _ _   _ _ _||7|7"},
            {"O", kHit, ""},
            {"=big top", {IDW_CLICK, IDW_WIN}, " B I G   T O P||7|7"},
            {"Balloons", kClick, " B I G   T O P||7|5"},
            {"New", kNew, " _ _ _   _ _ _||5|5"},
            {"=bigtop", kWrongSolution, " _ _ _   _ _ _|#|4|5"},
            {"ACD", std::vector<int>(3, IDW_MISS), " _ _ _   _ _ _|# A C D|1|5"},
            {"E", {IDW_MISS, IDW_LOSS}, " _ _ _   _ _ _|# A C D E|0|5"},
            {"Solution", kClick, " B I G   T O P|# A C D E|0|5"},
            {"Balloons", kClick, ""},
            {"New", kNew, " _ _ _   _ _ _||7|7"},
        });
        EXPECT_EQ(Scores(), "70 1 1 Circus-Worker / 0 0 0 Circus-Worker");
    }
}

TEST_F(GameTest, FiveBalloonsSwitchedDuringAGameUntilTheFirstWrongGuess) {
    startGame();
    play({
        {"Balloons", kClick, " _ _ _   _ _ _||5|5"},
        {"Balloons", kClick, " _ _ _   _ _ _||7|7"},
        {"Balloons", kClick, " _ _ _   _ _ _||5|5"},
        {"O", kHit, ""},
        {"Balloons", kClick, " _ _ _   _ O _||7|7"},
        {"Balloons", kClick, " _ _ _   _ O _||5|5"},
        {"X", kMiss, " _ _ _   _ O _|X|4|5"},
        {"Balloons", kNothing, " _ _ _   _ O _|X|4|5"},
        {"BIGTP", {IDW_HIT, IDW_HIT, IDW_HIT, IDW_HIT, IDW_HIT, IDW_WIN}, " B I G   T O P|X|4|5"},
    });
    // The head start of 2 and one wrong guess lost.
    EXPECT_EQ(Scores(), "40 1 0 Circus-Worker / 0 0 0 Circus-Worker");
}

TEST_F(GameTest, EachGameIsBookedToThePlayerCurrentAtItsEnd) {
    startGame();
    play({{"=big top", {IDW_CLICK, IDW_WIN}, ""}, {"Player 2", kClick, ""}, {"New", kNew, ""},
          {"ACDEFHJ", kLostByLetters, ""}});
    EXPECT_EQ(Scores(), "70 1 0 Circus-Worker / 0 0 1 Circus-Worker");

    // The switch after a wrong guess is refused: the game stays player two's.
    play({{"New", kNew, ""}, {"X", kMiss, ""}, {"Player 1", kNothing, ""}, {"=big top", {IDW_CLICK, IDW_WIN}, ""}});
    EXPECT_EQ(Scores(), "70 1 0 Circus-Worker / 60 1 1 Circus-Worker");

    play({{"Player 1", kClick, ""}, {"New", kNew, ""}, {"ACDEFHJ", kLostByLetters, ""}});
    EXPECT_EQ(Scores(), "70 1 1 Circus-Worker / 60 1 1 Circus-Worker");
}

TEST_F(GameTest, NoGameWhenNothingCanBeDrawn) {
    // The file's content (nullptr: no file), and whether it was emptied after a won game.
    const std::pair<const char*, bool> files[] = {
        {nullptr, false}, {"", false}, {"Data purged...", false}, {"big top;a place", false}, {"Data purged...", true}};
    for (const auto& [content, afterAWonGame] : files) {
        SCOPED_TRACE(content ? "'" + std::string(content) + "'" : "missing");
        SCOPED_TRACE(afterAWonGame ? "after a won game" : "at the first game");
        start(kBigTop);
        if (afterAWonGame) play({{"New", kNew, ""}, {"=big top", {IDW_CLICK, IDW_WIN}, ""}});
        if (content)
            folder.write("MVData.dat", content);
        else
            std::remove(folder.file("MVData.dat").c_str());
        const std::string before = Scores();
        play({
            {"New", {IDW_NEW_PUZZLE, -1}, kNoGame},
            {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", kNothing, kNoGame},
            {"=anything", kNothing, kNoGame},
            {"Solution", kNothing, kNoGame},
        });
        EXPECT_EQ(TextOf(IDC_HINT_LINE), "No data");
        EXPECT_EQ(gameRunning, 0);
        EXPECT_EQ(Scores(), before) << "a game without a puzzle was booked";
    }
}

TEST_F(GameTest, SmallPuzzleFilesPlay) {
    std::string file;
    for (const char* phrase : {"ab", "cd", "ef", "gh"}) {
        file += std::string(phrase) + ";hint:";
        SCOPED_TRACE(file);
        start(file);
        play({{"New", kNew, " _ _||7|7"}});
        EXPECT_EQ(gameRunning, 1);
    }
}

TEST_F(GameTest, RepeatedLettersAndPhrasesWithoutLetters) {
    startGame("banana;fruit:");
    play({{"A", kHit, " _ A _ A _ A||7|7"}, {"NB", {IDW_HIT, IDW_HIT, IDW_WIN}, " B A N A N A||7|7"}});
    EXPECT_EQ(TextOf(IDC_P1_POINTS), "60");

    // Nothing to guess: the first click anywhere wins, even one on the console,
    // and is booked in the main window's score boxes.
    startGame("2024;a year:");
    EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " 2 0 2 4");
    ClickAt(hWnd, 10, 10);
    EXPECT_EQ(heard(), std::vector<int>{IDW_WIN});
    EXPECT_EQ(Scores(), "40 1 0 Circus-Worker / 0 0 0 Circus-Worker");
}

TEST_F(GameTest, ClicksBesideTheLettersChangeNothing) {
    startGame();
    play({{"OX", {IDW_HIT, IDW_MISS}, ""}});
    const std::string before = View() + LettersPlayed();
    HWND a = hLetters[0], o = hLetters['O' - 'A'], x = hLetters['X' - 'A'];
    const struct {
        const char* what;
        HWND window;
        int x, y;
    } places[] = {
        {"played hit O", MainWindow(), o->x + 2, o->y + 2},
        {"played miss X", MainWindow(), x->x + 2, x->y + 2},
        {"right edge of A", MainWindow(), a->x + a->width, a->y + a->height / 2},
        {"bottom edge of A", MainWindow(), a->x + a->width / 2, a->y + a->height},
        {"console background", hWnd, 10, 10},
    };
    for (const auto& place : places) {
        ClickAt(place.window, place.x, place.y);
        EXPECT_EQ(View() + LettersPlayed(), before) << place.what;
        EXPECT_EQ(heard(), kNothing) << place.what;
    }

    ClickAt(MainWindow(), a->x, a->y);  // the top left corner is inside
    EXPECT_EQ(heard(), kMiss);
    HWND b = hLetters[1];
    ClickAt(MainWindow(), b->x + b->width - 1, b->y + b->height - 1);  // the last pixel inside
    EXPECT_EQ(heard(), kHit);
    EXPECT_EQ(View(), " B _ _   _ O _|X A|5|7");
}

}  // namespace
