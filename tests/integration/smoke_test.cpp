#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(Smoke, StartsAndQuitsWithExitCodeZero) {
    TempFolder folder;
    StartFreshProcess(folder);
    folder.write("MVData.dat", PuzzleFile({{"big top", "a place for clowns"}}));
    int exitCode = RunProgram({[] { Press(IDC_NEW_PUZZLE); },
                               [] { EXPECT_EQ(TextOf(IDC_PUZZLE_LINE), " _ _ _   _ _ _"); }});
    EXPECT_EQ(exitCode, 0);
}
