// Takes the game's screenshots with the end-to-end harness: the real
// Marivane.exe under Wine in a private Xvfb display, driven with real mouse
// input.
//
//   marivane_screenshots <output folder>
//
// writes start.png, mid-game.png and loss.png (the 900 x 620 main window) and
// console.png (the main window with the console below it, 900 x 726) there.
#include "wine_session.h"

#include <filesystem>
#include <iostream>
#include <thread>

namespace {

using e2e::kConsoleButton;
using e2e::kNewPuzzleButton;
using e2e::kQuitButton;
using e2e::kReviewButton;
using e2e::GameRun;
using e2e::Seconds;
using e2e::WineSession;

const char kOnePuzzle[] = "big top;a place for clowns:";
const char kPuzzles[] = "big top;a place for clowns:juggling act;balls in the air:";
// Console and its review and delete commands unlocked.
const char kUnlockedConfiguration[] = "Disable_Console= 0\nDisable_VCCntls= 0";

// Lets the game handle the input and repaint before the picture is taken.
bool Shoot(const GameRun& game, const std::string& folder, const std::string& name, bool withConsole = false) {
    std::this_thread::sleep_for(Seconds(1.5));
    std::string path = folder + "/" + name;
    bool taken = game.screenshot(path, withConsole);
    std::cout << (taken ? "wrote " : "FAILED to write ") << path << "\n";
    return taken;
}

bool Quit(GameRun& game) { return game.clickCentreOf(kQuitButton) && game.waitForExit(Seconds(30)) == 0; }

// Start, a game in progress (B and O found, X wrong) and the same game lost.
bool ShootGame(const WineSession& session, const std::string& folder) {
    GameRun game(session, "game");
    game.writeFile("MVData.dat", kOnePuzzle);
    return game.start() && game.waitForWindow() && Shoot(game, folder, "start.png") &&
           game.clickCentreOf(kNewPuzzleButton) && game.clickLetters("BOX") && Shoot(game, folder, "mid-game.png") &&
           game.clickLetters("ACDEFH") && Shoot(game, folder, "loss.png") && Quit(game);
}

// The console shown, its viewer on the first puzzle.
bool ShootConsole(const WineSession& session, const std::string& folder) {
    GameRun game(session, "console");
    game.writeFile("MVData.dat", kPuzzles);
    game.writeFile("MVC_CONFIG.INI", kUnlockedConfiguration);
    return game.start() && game.waitForWindow() && game.clickCentreOf(kConsoleButton) &&
           game.clickCentreOf(kReviewButton) && Shoot(game, folder, "console.png", true) && Quit(game);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    std::string folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder);
    WineSession session("screenshots");
    std::string error;
    if (!session.start(error)) {
        std::cerr << "the Wine session did not start: " << error << "\n";
        return 1;
    }
    bool shot = ShootGame(session, folder) && ShootConsole(session, folder);
    session.stop();
    if (!shot) std::cerr << "not every screenshot could be taken (the game's folders are in "
                         << session.folder() << ")\n";
    return shot ? 0 : 1;
}
