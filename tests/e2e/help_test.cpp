// The help button under Wine: the compiled help opens in the system's viewer under the title the game looks
// for, and a second press while it is open is refused with the "in use" box.
#include "e2e_fixture.h"

#include <fstream>
#include <sstream>

namespace e2e {
namespace {

constexpr Rect kHelpButton{844, 3, 24, 19};

std::string ReadHelpFile() {
    std::ifstream in(MARIVANE_HELP_FILE, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Waits, within the run limit, for a visible window whose title is exactly `title`.
bool WindowAppears(const std::string& title) {
    return Session().xdotool({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"}).has_value();
}

using HelpTest = GameTest;

TEST_F(HelpTest, OpensTheViewerAndRefusesASecondCopy) {
    const std::string help = ReadHelpFile();
    ASSERT_FALSE(help.empty()) << "no help file at " << MARIVANE_HELP_FILE;
    game.writeFile("Quorrel-help.chm", help);
    ASSERT_TRUE(game.launch());

    ASSERT_TRUE(game.clickCentreOf(kHelpButton));
    EXPECT_TRUE(WindowAppears("Quorrel-help")) << "the help viewer did not open";

    ASSERT_TRUE(game.clickCentreOf(kHelpButton));
    EXPECT_TRUE(WindowAppears("System - Permission Denied")) << "no refusal while the viewer is open";
    // The viewer now covers Quit; the session's end stops the game and the viewer.
}

}  // namespace
}  // namespace e2e
