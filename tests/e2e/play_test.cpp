// Whole games of the real program under Wine, played with the mouse and the
// keyboard: the cues it asks the sound player for, and the statistics its
// exit writes.
#include "e2e_fixture.h"

#include <vector>

namespace e2e {
namespace {

// The draw takes every record, so with one record the phrase is known.
const char kOnePuzzle[] = "big top;a place for clowns:";
const int kClickSound = 4450;

// 'big top' has 7 characters, so a win without a lost balloon is worth 70.
const char kOneCleanWin[] = "70 1 0 Circus-Worker 0 0 0 Circus-Worker";

using PlayTest = GameTest;

std::vector<int> Repeated(int sound, int times) { return std::vector<int>(static_cast<std::size_t>(times), sound); }

std::vector<int> Joined(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(PlayTest, ClickedLettersWinAndTheWinIsStillThereAtTheNextStart) {
    game().writeFile("MVData.dat", kOnePuzzle);
    ASSERT_NO_FATAL_FAILURE(Launch("+winmm"));
    ASSERT_NO_FATAL_FAILURE(Click(kNewPuzzleButton));
    ASSERT_NO_FATAL_FAILURE(ClickLetters("BIGTOP"));
    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());

    EXPECT_EQ(game().soundsPlayed(), Joined({{kNewPuzzleSound}, Repeated(kHitSound, 6), {kWinSound}}));
    EXPECT_EQ(game().readFile("MVStats.dat"), kOneCleanWin);
    EXPECT_EQ(game().readFile("MVData.dat"), "Data purged...");

    // The next start unscrambles the puzzle and loads the statistics again.
    ASSERT_NO_FATAL_FAILURE(Launch("+winmm"));
    ASSERT_NO_FATAL_FAILURE(Click(kNewPuzzleButton));
    ASSERT_NO_FATAL_FAILURE(ClickLetters("XBIGTOP"));
    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());

    EXPECT_EQ(game().soundsPlayed(),
              Joined({{kNewPuzzleSound, kMissSound}, Repeated(kHitSound, 6), {kWinSound}}));
    // One balloon lost: (7 - 1) * 10 = 60 more points.
    EXPECT_EQ(game().readFile("MVStats.dat"), "130 2 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game().readFile("MVData.dat"), "Data purged...");
}

TEST_F(PlayTest, TypedSolutionWins) {
    game().writeFile("MVData.dat", kOnePuzzle);
    ASSERT_NO_FATAL_FAILURE(Launch("+winmm"));
    ASSERT_NO_FATAL_FAILURE(Click(kNewPuzzleButton));
    ASSERT_NO_FATAL_FAILURE(Click(kSolutionEdit));
    ASSERT_TRUE(game().typeText("big top"));
    ASSERT_NO_FATAL_FAILURE(Click(kSolvePuzzleButton));
    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());

    EXPECT_EQ(game().soundsPlayed(), (std::vector<int>{kNewPuzzleSound, kClickSound, kWinSound}));
    EXPECT_EQ(game().readFile("MVStats.dat"), kOneCleanWin);
}

TEST_F(PlayTest, SevenWrongLettersLoseTheGame) {
    game().writeFile("MVData.dat", kOnePuzzle);
    ASSERT_NO_FATAL_FAILURE(Launch("+winmm"));
    ASSERT_NO_FATAL_FAILURE(Click(kNewPuzzleButton));
    ASSERT_NO_FATAL_FAILURE(ClickLetters("OACDEFHJ"));
    // The game is over: further letters are ignored.
    ASSERT_NO_FATAL_FAILURE(ClickLetters("BIG"));
    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());

    EXPECT_EQ(game().soundsPlayed(),
              Joined({{kNewPuzzleSound, kHitSound}, Repeated(kMissSound, 7), {kLossSound}}));
    EXPECT_EQ(game().readFile("MVStats.dat"), "0 0 1 Circus-Worker 0 0 0 Circus-Worker");
}

}  // namespace
}  // namespace e2e
