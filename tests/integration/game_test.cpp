// Whole games played through the window procedure: letter clicks, typed
// solutions, the balloon mode, winning and losing, and what the players see
// and hear on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "game_session.h"
#include "resource.h"

namespace {

const std::map<std::string, int> kButtons{
    {"New", IDC_NEW_PUZZLE},        {"Solve", IDC_SOLVE_PUZZLE},  {"Solution", IDC_SOLUTION},  {"Sound", IDC_SOUND},
    {"Balloons", IDC_BALLOON_MODE}, {"Player 1", IDC_PLAYER_ONE}, {"Player 2", IDC_PLAYER_TWO}};

// The cues heard since the last look (c click, h hit, m miss, n new puzzle, w win, l loss, b beep), the puzzle
// line, the letter bin without its trailing blanks, the balloons of the clown pictures shown and the mode's label.
std::string State() {
    const std::map<int, char> cues{{IDW_CLICK, 'c'}, {IDW_HIT, 'h'},  {IDW_MISS, 'm'}, {IDW_NEW_PUZZLE, 'n'},
                                   {IDW_WIN, 'w'},   {IDW_LOSS, 'l'}, {-1, 'b'}};
    std::string state;
    for (int cue : CuesHeard()) state += cues.count(cue) ? cues.at(cue) : '?';
    headless_clear_logs();
    std::string bin = TextOf(IDC_LETTER_BIN);
    bin.erase(bin.find_last_not_of(' ') + 1);
    state += "|" + TextOf(IDC_PUZZLE_LINE) + "|" + bin + "|";
    const HWND clowns[] = {PopZero, PopOne, PopTwo, PopTre, PopFor, PopFiv, PopSix, PopSev};
    for (int balloons = 0; balloons < 8; ++balloons)
        if (Shown(clowns[balloons])) state += std::to_string(balloons);
    return state + "|" + TextOf(IDC_BALLOON_COUNT);
}

// The letters taken off the board; '?' where that disagrees with the played flag.
std::string LettersPlayed() {
    std::string played;
    for (int i = 0; i < kLetterCount; ++i)
        if (KillLet[i] || !Shown(hLetters[i])) played += KillLet[i] == 1 && !Shown(hLetters[i]) ? char('A' + i) : '?';
    return played;
}

// Points, wins, losses and skill of player one, then of player two.
std::string Scores() {
    std::string texts;
    for (int id : {IDC_P1_POINTS, IDC_P1_WINS, IDC_P1_LOSSES, IDC_P1_SKILL, IDC_P2_POINTS, IDC_P2_WINS, IDC_P2_LOSSES,
                   IDC_P2_SKILL})
        texts += TextOf(id) + " ";
    return texts;
}

class GameTest : public ::testing::Test {
protected:
    void start(const std::string& puzzles = "big top;a place for clowns:") {
        StartFreshProcess(folder);
        folder.write("MVData.dat", puzzles);
        ASSERT_NE(StartUpWithoutLoop(), nullptr);
        headless_clear_logs();
    }
    // Each move is a button's name, "=text" typed as the solution before Solve is pressed, or letters clicked;
    // the State() after it is expected. With the sound off the game's own cues fall silent.
    void play(const std::vector<std::pair<std::string, std::string>>& moves, bool soundOff = false) {
        for (auto [move, expected] : moves) {
            SCOPED_TRACE(move + " -> " + expected);
            if (move[0] == '=') {
                SetWindowTextA(hSolveMe, "");
                TypeSolution(move.substr(1));
                Press(IDC_SOLVE_PUZZLE);
            } else if (kButtons.count(move)) {
                Press(kButtons.at(move));
            } else {
                for (char letter : move) ClickLetter(letter);
            }
            const auto cuesEnd = expected.begin() + expected.find('|');
            const auto isGameCue = [](char cue) { return std::strchr("hmnwl", cue) != nullptr; };
            if (soundOff) expected.erase(std::remove_if(expected.begin(), cuesEnd, isGameCue), cuesEnd);
            EXPECT_EQ(State(), expected);
        }
    }

    TempFolder folder;
};

TEST_F(GameTest, NewPuzzleAbandonsAGameThenWinsByLettersAndByTypedSolutions) {
    start();
    play({{"New", "n| _ _ _   _ _ _||7|7"}});
    HWND a = hLetters[0];
    ClickAt(MainWindow(), a->x + a->width, a->y + a->height / 2);  // the right and bottom edges are outside
    ClickAt(MainWindow(), a->x + a->width / 2, a->y + a->height);
    ClickAt(MainWindow(), a->x + a->width - 1, a->y + a->height - 1);
    play({{"OX", "mhm| _ _ _   _ O _|A X|5|7"}});
    TypeSolution("big");
    play({{"New", "n| _ _ _   _ _ _||7|7"}});
    EXPECT_EQ(
        TextOf(IDC_START_LINE) + "|" + TextOf(IDC_HINT_LINE) + "|" + TextOf(IDC_SOLUTION_EDIT) + "|" + LettersPlayed(),
        " _ _ _   _ _ _|a place for clowns||");
    play({
        {"O", "h| _ _ _   _ O _||7|7"},  // played in the abandoned game, open again
        {"XBQIGT", "mhmhhh| B I G   T O _|X Q|5|7"},
        {"P", "hw| B I G   T O P|X Q|5|7"},
        {"AZ", "| B I G   T O P|X Q|5|7"},
        {"Solution", "| B I G   T O P|X Q|5|7"},
    });
    EXPECT_EQ(TextOf(IDC_START_LINE) + "|" + std::to_string(gameRunning) + "|" + LettersPlayed(),
              " _ _ _   _ _ _|0|BGIOPQTX");
    play({
        {"New", "n| _ _ _   _ _ _||7|7"},
        {"=bigtop", "cm| _ _ _   _ _ _|#|6|7"},
        {"=big tap", "cm| _ _ _   _ _ _|# #|5|7"},
        {"=big top ", "cm| _ _ _   _ _ _|# # #|4|7"},
        {"=", "c| _ _ _   _ _ _|# # #|4|7"},
        {"=Big tOP", "cw| B I G   T O P|# # #|4|7"},
        {"New", "n| _ _ _   _ _ _||7|7"},
        {"ACDEFH", "mmmmmm| _ _ _   _ _ _|A C D E F H|1|7"},
        {"=clowns", "cml| _ _ _   _ _ _|A C D E F H #|0|7"},  // with six lost a wrong solution loses
    });
    // 7 characters less 2 and 3 balloons lost; the abandoned game is not booked.
    EXPECT_EQ(Scores(), "90 2 1 Circus-Worker 0 0 0 Circus-Worker ");
}

TEST_F(GameTest, FiveBalloonsLossesAndBothPlayersWithTheSoundOnAndOff) {
    for (bool soundOff : {false, true}) {
        SCOPED_TRACE(soundOff ? "sound off" : "sound on");
        start();
        if (soundOff) play({{"Sound", "c|||7|7"}});
        // Five balloons: refused before the first game, switched during one until the first wrong guess.
        play(
            {
                {"Balloons", "|||7|7"},
                {"New", "n| _ _ _   _ _ _||7|7"},
                {"Balloons", "c| _ _ _   _ _ _||5|5"},
                {"O", "h| _ _ _   _ O _||5|5"},
                {"Balloons", "c| _ _ _   _ O _||7|7"},
                {"Balloons", "c| _ _ _   _ O _||5|5"},
                {"=bigtop", "cm| _ _ _   _ O _|#|4|5"},
                {"Balloons", "| _ _ _   _ O _|#|4|5"},
                {"Player 2", "| _ _ _   _ O _|#|4|5"},
                {"ACD", "mmm| _ _ _   _ O _|# A C D|1|5"},
                {"Solution", "| _ _ _   _ O _|# A C D|1|5"},
                {"E", "ml| _ _ _   _ O _|# A C D E|0|5"},
                {"BIGTP", "| _ _ _   _ O _|# A C D E|0|5"},
                {"=big top", "| _ _ _   _ O _|# A C D E|0|5"},
                {"Solution", "c| B I G   T O P|# A C D E|0|5"},
                {"Player 2", "c| B I G   T O P|# A C D E|0|5"},
                {"New", "n| _ _ _   _ _ _||5|5"},
                {"=big top", "cw| B I G   T O P||5|5"},
                {"Balloons", "c| B I G   T O P||5|7"},
                {"New", "n| _ _ _   _ _ _||7|7"},
            },
            soundOff);
        EXPECT_EQ(Scores(), "0 0 1 Circus-Worker 50 1 0 Circus-Worker ");
    }
}

TEST_F(GameTest, NoGameWhenNothingCanBeDrawn) {
    // The file's content (nullptr: missing) and whether a game was won before.
    const std::pair<const char*, bool> files[] = {
        {nullptr, false}, {"big top;a place", false}, {"Data purged...", true}};
    const std::string noGame = "|ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING||7|7";
    for (const auto& [content, afterAWonGame] : files) {
        SCOPED_TRACE(content ? content : "missing");
        start();
        if (afterAWonGame) play({{"New", "n| _ _ _   _ _ _||7|7"}, {"=big top", "cw| B I G   T O P||7|7"}});
        std::remove(folder.file("MVData.dat").c_str());
        if (content) folder.write("MVData.dat", content);
        const std::string before = Scores();
        play({{"New", "nb" + noGame},
              {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", noGame},
              {"=anything", noGame},
              {"Solution", noGame}});
        EXPECT_EQ(TextOf(IDC_HINT_LINE) + "|" + std::to_string(gameRunning) + "|" + Scores(), "No data|0|" + before);
    }
}

}  // namespace
