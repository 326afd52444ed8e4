// The real program under Wine: it opens its window where it computes it and
// leaves through Quit and the close button with exit code 0, writing the
// exit files beside itself.
#include "e2e_fixture.h"

namespace e2e {
namespace {

const char kOnePuzzle[] = "big top;a place for clowns:";

using QuitTest = GameTest;

TEST_F(QuitTest, WindowIsCentredAndQuitEndsWithExitCodeZeroAfterWritingTheExitFiles) {
    game().writeFile("MVData.dat", kOnePuzzle);
    ASSERT_NO_FATAL_FAILURE(Launch());

    // Horizontally centred, its top 378 pixels above the screen's centre.
    const Rect& window = game().window();
    EXPECT_EQ(window.width, 900);
    EXPECT_EQ(window.height, 620);
    EXPECT_EQ(window.x, WineSession::kScreenWidth / 2 - 450);
    EXPECT_EQ(window.y, WineSession::kScreenHeight / 2 - 378);

    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());
    EXPECT_TRUE(game().readFile("MVStats.dat").has_value());
    EXPECT_EQ(game().readFile("MVData.dat"), "Data purged...");
    EXPECT_TRUE(game().readFile("OnLoad.dat").has_value()) << "the puzzles were not stored for the next run";
}

TEST_F(QuitTest, CloseButtonEndsLikeQuitAndLeavesAMissingPuzzleFileMissing) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(Click(kCloseButton));
    std::optional<int> exitCode = game().waitForExit(Seconds(30));
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end after the close button";
    EXPECT_EQ(*exitCode, 0);
    EXPECT_EQ(game().readFile("MVStats.dat"), "0 0 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_FALSE(game().readFile("MVData.dat").has_value());
    EXPECT_FALSE(game().readFile("OnLoad.dat").has_value());
    EXPECT_TRUE(game().readFile("MVC_CONFIG.INI").has_value()) << "no default configuration file was written";
}

using WindowTest = GameTest;

TEST_F(WindowTest, ArrowKeysMoveTheWindowByTwoPixelsAPress) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Rect start = game().window();
    // A click on the stage gives the main window the keyboard focus.
    ASSERT_TRUE(game().click(450, 300));
    for (const char* key : {"Right", "Right", "Right", "Down", "Down", "Left", "Up", "Up", "Up"})
        ASSERT_TRUE(game().pressKey(key)) << key;

    auto movedBy = [&](const Rect& now) { return now.x == start.x + 4 && now.y == start.y - 2; };
    EXPECT_TRUE(game().waitForWindow(Seconds(10), movedBy))
        << "window at " << game().window().x << "," << game().window().y;
    EXPECT_EQ(game().window().width, 900);
    ASSERT_NO_FATAL_FAILURE(QuitWithExitCodeZero());
}

}  // namespace
}  // namespace e2e
