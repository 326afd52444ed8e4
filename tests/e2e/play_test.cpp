// Whole games of the real program under Wine: the cues it asks Wine's sound player for, in order, and the
// statistics its exit writes and its next start reads back.
#include "e2e_fixture.h"

#include <vector>

namespace e2e {
namespace {

enum Sound { kClickSound = 4450, kHitSound = 4600, kMissSound = 4650, kNewPuzzleSound = 4700, kWinSound = 5650 };

using PlayTest = GameTest;

TEST_F(PlayTest, ClickedLettersWinAndTheNextStartKeepsCounting) {
    // The draw takes every record, so with one record the phrase is known.
    game.writeFile("MVData.dat", "big top;a place for clowns:");
    ASSERT_TRUE(game.launch("+winmm"));
    ASSERT_TRUE(game.clickCentreOf(kNewPuzzleButton));
    ASSERT_TRUE(game.clickLetters("BIGTOP"));
    ASSERT_EQ(game.quit(), 0);

    const int hit = kHitSound;
    EXPECT_EQ(game.soundsPlayed(), (std::vector<int>{kNewPuzzleSound, hit, hit, hit, hit, hit, hit, kWinSound}));
    // 'big top' has 7 characters, so a win without a lost balloon is worth 70.
    EXPECT_EQ(game.readFile("MVStats.dat"), "70 1 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game.readFile("MVData.dat"), "Data purged...");

    // The next start unscrambles the stored puzzle and loads the statistics; this time a wrong letter, then
    // the solution typed into its edit.
    ASSERT_TRUE(game.launch("+winmm"));
    ASSERT_TRUE(game.clickCentreOf(kNewPuzzleButton));
    ASSERT_TRUE(game.clickLetters("X"));
    ASSERT_TRUE(game.clickCentreOf(kSolutionEdit));
    ASSERT_TRUE(Session().xdotool({"type", "--delay", "50", "big top"}));
    ASSERT_TRUE(game.clickCentreOf(kSolvePuzzleButton));
    ASSERT_EQ(game.quit(), 0);

    EXPECT_EQ(game.soundsPlayed(), (std::vector<int>{kNewPuzzleSound, kMissSound, kClickSound, kWinSound}));
    // One balloon lost: (7 - 1) * 10 = 60 more points.
    EXPECT_EQ(game.readFile("MVStats.dat"), "130 2 0 Circus-Worker 0 0 0 Circus-Worker");
}

}  // namespace
}  // namespace e2e
