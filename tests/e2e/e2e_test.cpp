// The real Marivane.exe under Wine in a private Xvfb display, driven with real input through xdotool. One session,
// one fresh Wine prefix; every wait is bounded, children are ended by pid and Wine's by the prefix's wineserver.
// `e2e_test --screenshots <folder>` takes the game's screenshots instead of running the tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Seconds = std::chrono::duration<double>;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

const int kScreenWidth = 1280, kScreenHeight = 1024;
// Client rectangles of the game's controls; the main window has no frame and the console below it starts at y 620.
constexpr Rect kNewPuzzleButton{647, 432, 93, 23};
constexpr Rect kQuitButton{560, 575, 49, 23};
constexpr Rect kConsoleButton{493, 575, 65, 23};
constexpr Rect kReviewButton{757, 620 + 20, 72, 23};
constexpr Rect kHelpButton{844, 3, 24, 19};
// Centres of the letter pictures: A to M in the row at y 493, N to Z at y 528, both rows sharing these columns.
const int kLetterColumns[13] = {91, 128, 165, 203, 240, 276, 314, 354, 388, 417, 452, 487, 524};
const char kOnePuzzle[] = "big top;a place for clowns:";

template <typename Condition>
bool WaitUntil(Condition done, Seconds limit, Seconds interval = Seconds(0.2)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Child {
    pid_t pid = -1;
    int exitCode = -1;  // once reaped; a signal counts as 128 + its number
};

Child Spawn(std::vector<std::string> argv, const std::string& outputFile, const std::string& workingDir = ".") {
    std::vector<char*> pointers;
    for (auto& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    Child child;
    child.pid = output >= 0 && input >= 0 ? fork() : -1;
    if (child.pid == 0) {
        // In the child: only async-signal-safe calls until exec.
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        if (chdir(workingDir.c_str()) == 0) execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(output);
    close(input);
    return child;
}

bool Running(Child& child) {
    int status = 0;
    if (child.pid <= 0) return false;
    if (waitpid(child.pid, &status, WNOHANG) != child.pid) return true;
    child.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    child.pid = -1;
    return false;
}

// The exit code, or -1 while it still runs after `limit`.
int WaitForExit(Child& child, Seconds limit) {
    WaitUntil([&] { return !Running(child); }, limit, Seconds(0.01));
    return child.pid > 0 ? -1 : child.exitCode;
}

void Stop(Child& child, int signal) {
    for (int sent : {signal, SIGKILL}) {
        if (!Running(child)) return;
        kill(child.pid, sent);
        WaitForExit(child, Seconds(5));
    }
}

std::string sessionFolder;
Child xvfb, keeper;

// Runs a short program to its end; its output, or nullopt when it failed or overran `limit`.
std::optional<std::string> Run(const std::vector<std::string>& argv, Seconds limit = Seconds(15)) {
    const std::string log = sessionFolder + "/" + fs::path(argv[0]).filename().string() + ".log";
    Child tool = Spawn(argv, log);
    const int exitCode = WaitForExit(tool, limit);
    Stop(tool, SIGKILL);  // when it overran
    return exitCode == 0 ? std::optional(ReadFile(log)) : std::nullopt;
}

std::optional<std::string> Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), E2E_XDOTOOL);
    return Run(arguments);
}

bool StartDisplay() {
    // Xvfb picks a free display number itself and prints it alone on a line, so two sessions never race for one.
    const std::string log = sessionFolder + "/xvfb.log";
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    xvfb = Spawn({E2E_XVFB, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen}, log);
    std::string display;
    auto ready = [&] {
        std::istringstream lines(ReadFile(log));
        for (std::string line; display.empty() && std::getline(lines, line);)
            if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) display = ":" + line;
        return !display.empty() || !Running(xvfb);
    };
    if (!WaitUntil(ready, Seconds(15)) || !Running(xvfb)) return false;
    setenv("DISPLAY", display.c_str(), 1);
    return true;
}

bool StartSession() {
    fs::remove_all(sessionFolder);
    fs::create_directories(sessionFolder);
    setenv("WINEPREFIX", (sessionFolder + "/wineprefix").c_str(), 1);
    setenv("WINEARCH", "win64", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offers to install Mono or Gecko
    if (!StartDisplay() || !Run({E2E_WINE, "wineboot", "-i"}, Seconds(240)) ||
        !Run({E2E_WINESERVER, "-w"}, Seconds(120)))
        return false;
    // The keeper's window is never shown, but Wine's desktop process is up once its X window exists.
    keeper = Spawn({E2E_WINE, E2E_KEEPER_EXE}, sessionFolder + "/keeper.log");
    auto up = [] { return !Running(keeper) || Xdotool({"search", "--name", "^Marivane e2e keeper$"}); };
    return WaitUntil(up, Seconds(60)) && Running(keeper);
}

void StopSession() {
    Stop(keeper, SIGKILL);
    Run({E2E_WINESERVER, "-k"}, Seconds(30));  // ends every Wine process of this prefix and nothing else
    std::error_code ignored;
    fs::remove_all(sessionFolder + "/wineprefix", ignored);  // some 700 MB, made anew by every session
    Stop(xvfb, SIGTERM);                                     // not SIGKILL: Xvfb removes its socket
}

// A copy of the program in its own folder with the given data files, and its runs.
struct Game {
    std::string folder;
    Child process;
    Rect window;
};

Game NewGame(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files) {
    Game game;
    game.folder = sessionFolder + "/" + name;
    fs::create_directories(game.folder);
    fs::copy_file(MARIVANE_EXE, game.folder + "/Marivane.exe");
    for (const auto& [file, content] : files) std::ofstream(game.folder + "/" + file, std::ios::binary) << content;
    return game;
}

// Starts the program with Wine's trace selection `wineDebug` and waits for its visible window titled "Marivane".
bool Launch(Game& game, const std::string& wineDebug = "-all") {
    // env executes Wine in its own place, so the pid stays the game's.
    game.process = Spawn({"/usr/bin/env", "WINEDEBUG=" + wineDebug, E2E_WINE, game.folder + "/Marivane.exe"},
                         game.folder + ".log", game.folder);
    auto found = [&] {
        const auto geometry = Xdotool({"search", "--all", "--onlyvisible", "--pid", std::to_string(game.process.pid),
                                       "--name", "^Marivane$", "getwindowgeometry", "--shell"});
        Rect& at = game.window;
        return geometry && std::sscanf(geometry->c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &at.x, &at.y,
                                       &at.width, &at.height) == 4;
    };
    return WaitUntil([&] { return !Running(game.process) || found(); }, Seconds(60)) && Running(game.process);
}

bool ClickCentre(const Game& game, const Rect& control) {
    const int x = game.window.x + control.x + control.width / 2, y = game.window.y + control.y + control.height / 2;
    return Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "1"}).has_value();
}

bool ClickLetters(const Game& game, const std::string& letters) {
    for (const char letter : letters)
        if (!ClickCentre(game, {kLetterColumns[(letter - 'A') % 13], letter - 'A' < 13 ? 493 : 528, 0, 0}))
            return false;
    return true;
}

// Presses Quit and waits for the exit code; Wine ends a process some 2 s after its last window is gone.
int Quit(Game& game) { return ClickCentre(game, kQuitButton) ? WaitForExit(game.process, Seconds(30)) : -1; }

// Sound resources asked for with PlaySoundA, in call order, from the "+winmm" trace, one line per call:
// "...PlaySound pszSound='00000000000011F8' hmod=..."; a resource id is the pointer value.
std::vector<int> SoundsPlayed(const Game& game) {
    const std::string trace = ReadFile(game.folder + ".log");
    const std::string marker = "PlaySound pszSound='";
    std::vector<int> sounds;
    for (auto at = trace.find(marker); at != std::string::npos; at = trace.find(marker, at + 1))
        sounds.push_back(static_cast<int>(std::strtol(trace.c_str() + at + marker.size(), nullptr, 16)));
    return sounds;
}

enum Sound { kHit = 4600, kNewPuzzle = 4700, kWin = 5650 };

TEST(Marivane, OpensCentredWinsByLetterClicksAndQuitWritesTheExitFiles) {
    // The draw takes every record, so with one record the phrase is known.
    Game game = NewGame("play", {{"MVData.dat", kOnePuzzle}});
    ASSERT_TRUE(Launch(game, "+winmm")) << "no visible window titled \"Marivane\" appeared";
    // Horizontally centred, its top 378 pixels above the screen's centre.
    const Rect& at = game.window;
    EXPECT_EQ(std::tie(at.x, at.y, at.width, at.height),
              std::make_tuple(kScreenWidth / 2 - 450, kScreenHeight / 2 - 378, 900, 620));
    ASSERT_TRUE(ClickCentre(game, kNewPuzzleButton) && ClickLetters(game, "BIGTOP"));
    ASSERT_EQ(Quit(game), 0) << ReadFile(game.folder + ".log");
    EXPECT_EQ(SoundsPlayed(game), (std::vector<int>{kNewPuzzle, kHit, kHit, kHit, kHit, kHit, kHit, kWin}));
    // 'big top' has 7 characters, so a win without a lost balloon is worth 70.
    EXPECT_EQ(ReadFile(game.folder + "/MVStats.dat"), "70 1 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(ReadFile(game.folder + "/MVData.dat"), "Data purged...");
    EXPECT_TRUE(fs::exists(game.folder + "/OnLoad.dat")) << "the puzzles were not stored for the next run";
}

TEST(Marivane, HelpOpensTheViewerAndASecondPressWhileItIsOpenIsRefused) {
    ASSERT_TRUE(fs::exists(MARIVANE_HELP_FILE)) << "no help file at " << MARIVANE_HELP_FILE;
    Game game = NewGame("help", {{"Quorrel-help.chm", ReadFile(MARIVANE_HELP_FILE)}});
    ASSERT_TRUE(Launch(game));
    // xdotool's --sync waits, within Run's limit, for the window to appear.
    ASSERT_TRUE(ClickCentre(game, kHelpButton));
    EXPECT_TRUE(Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Quorrel-help$"})) << "no viewer";
    ASSERT_TRUE(ClickCentre(game, kHelpButton));
    EXPECT_TRUE(Xdotool({"search", "--sync", "--onlyvisible", "--name", "^System - Permission Denied$"}));
    // The viewer now covers Quit; the session's end stops the game and the viewer.
}

// Waits for the game to handle the input and repaint, then shoots its window, with the console below when asked.
bool Shoot(const Game& game, const std::string& path, bool withConsole = false) {
    std::this_thread::sleep_for(Seconds(1.5));
    const Rect& at = game.window;
    char crop[64];
    std::snprintf(crop, std::size(crop), "%dx%d+%d+%d", at.width, at.height + (withConsole ? 106 : 0), at.x, at.y);
    const bool taken = Run({E2E_IMPORT, "-window", "root", "-crop", crop, "+repage", path}, Seconds(30)).has_value();
    std::cout << (taken ? "wrote " : "FAILED to write ") << path << "\n";
    return taken;
}

// start.png, mid-game.png (B and O found, X wrong) and loss.png show the 900 x 620 main window, console.png the
// unlocked console below it too, its viewer on the first puzzle.
bool TakeScreenshots(const std::string& to) {
    fs::create_directories(to);
    Game game = NewGame("game", {{"MVData.dat", kOnePuzzle}});
    Game console = NewGame("console", {{"MVData.dat", std::string(kOnePuzzle) + "juggling act;balls in the air:"},
                                       {"MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0"}});
    return Launch(game) && Shoot(game, to + "/start.png") && ClickCentre(game, kNewPuzzleButton) &&
           ClickLetters(game, "BOX") && Shoot(game, to + "/mid-game.png") && ClickLetters(game, "ACDEFH") &&
           Shoot(game, to + "/loss.png") && Quit(game) == 0 && Launch(console) &&
           ClickCentre(console, kConsoleButton) && ClickCentre(console, kReviewButton) &&
           Shoot(console, to + "/console.png", true) && Quit(console) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const bool screenshots = argc == 3 && std::string(argv[1]) == "--screenshots";
    sessionFolder = std::string(E2E_WORK_DIR) + (screenshots ? "/screenshots" : "/tests");
    const bool started = StartSession();
    if (!started) std::cerr << "the Wine session did not start, see the logs in " << sessionFolder << "\n";
    const int result = !started ? 1 : screenshots ? !TakeScreenshots(fs::absolute(argv[2]).string()) : RUN_ALL_TESTS();
    StopSession();
    return result;
}
