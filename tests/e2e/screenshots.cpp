// marivane_screenshots <output folder>: the game's screenshots, taken with the end-to-end harness. start.png,
// mid-game.png and loss.png show the 900 x 620 main window, console.png the console below it too (900 x 726).
#include "wine_session.h"

#include <filesystem>
#include <iostream>
#include <thread>

namespace {

using namespace e2e;

const int kConsoleHeight = 106;

bool Shoot(const WineSession& session, const GameRun& game, const std::string& path, bool withConsole = false) {
    // Lets the game handle the input and repaint first.
    std::this_thread::sleep_for(Seconds(1.5));
    const Rect& window = game.window();
    const int height = window.height + (withConsole ? kConsoleHeight : 0);
    const bool taken = session.screenshot(path, Rect{window.x, window.y, window.width, height});
    std::cout << (taken ? "wrote " : "FAILED to write ") << path << "\n";
    return taken;
}

// Start, a game in progress (B and O found, X wrong) and the same game lost.
bool ShootGame(const WineSession& session, const std::string& folder) {
    GameRun game(session, "game");
    game.writeFile("MVData.dat", "big top;a place for clowns:");
    return game.launch() && Shoot(session, game, folder + "/start.png") &&
           game.clickCentreOf(kNewPuzzleButton) && game.clickLetters("BOX") &&
           Shoot(session, game, folder + "/mid-game.png") && game.clickLetters("ACDEFH") &&
           Shoot(session, game, folder + "/loss.png") && game.quit() == 0;
}

// The console unlocked and shown, its viewer on the first puzzle.
bool ShootConsole(const WineSession& session, const std::string& folder) {
    GameRun game(session, "console");
    game.writeFile("MVData.dat", "big top;a place for clowns:juggling act;balls in the air:");
    game.writeFile("MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0");
    return game.launch() && game.clickCentreOf(kConsoleButton) && game.clickCentreOf(kReviewButton) &&
           Shoot(session, game, folder + "/console.png", true) && game.quit() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder);
    WineSession session("screenshots");
    std::string error;
    if (!session.start(error)) {
        std::cerr << "the Wine session did not start: " << error << "\n";
        return 1;
    }
    const bool shot = ShootGame(session, folder) && ShootConsole(session, folder);
    session.stop();
    if (!shot) std::cerr << "not every screenshot could be taken (see " << session.folder() << ")\n";
    return shot ? 0 : 1;
}
