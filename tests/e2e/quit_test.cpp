// The real program under Wine: its window where it computes it for the screen, the keyboard reaching it, and
// Quit ending it with exit code 0 after writing the exit files beside it.
#include "e2e_fixture.h"

namespace e2e {
namespace {

using QuitTest = GameTest;

TEST_F(QuitTest, WindowIsCentredMovesWithTheArrowKeysAndQuitWritesTheExitFiles) {
    game.writeFile("MVData.dat", "big top;a place for clowns:");
    ASSERT_TRUE(game.launch()) << "no visible window titled \"Marivane\" appeared";

    // Horizontally centred, its top 378 pixels above the screen's centre.
    const Rect start = game.window();
    EXPECT_EQ(start.width, 900);
    EXPECT_EQ(start.height, 620);
    EXPECT_EQ(start.x, WineSession::kScreenWidth / 2 - 450);
    EXPECT_EQ(start.y, WineSession::kScreenHeight / 2 - 378);

    // A click on the stage gives the main window the keyboard focus; each press moves it by 2 pixels.
    ASSERT_TRUE(game.click(450, 300));
    ASSERT_TRUE(Session().xdotool({"key", "Right", "Right", "Right", "Down", "Down", "Left", "Up", "Up", "Up"}));
    EXPECT_TRUE(game.waitForWindow([&](const Rect& now) { return now.x == start.x + 4 && now.y == start.y - 2; }))
        << "window at " << game.window().x << "," << game.window().y;

    ASSERT_EQ(game.quit(), 0);
    EXPECT_TRUE(game.readFile("MVStats.dat").has_value());
    EXPECT_EQ(game.readFile("MVData.dat"), "Data purged...");
    EXPECT_TRUE(game.readFile("OnLoad.dat").has_value()) << "the puzzles were not stored for the next run";
}

}  // namespace
}  // namespace e2e
