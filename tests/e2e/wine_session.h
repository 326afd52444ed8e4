// End-to-end harness: the real Marivane.exe under Wine in a private Xvfb
// display, driven with real mouse and keyboard input through xdotool.
//
// One WineSession per test program: its own display, its own fresh Wine
// prefix and a keeper program that holds Wine's desktop open between the
// game's runs. Every wait is bounded; whatever the session started is ended
// by pid (and the prefix's own wineserver) when it stops.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using Seconds = std::chrono::duration<double>;

// A variable to set in a child's environment, on top of the inherited ones.
using EnvironmentOverrides = std::vector<std::pair<std::string, std::string>>;

// What a short helper program (xdotool, import, wineboot) did.
struct ToolResult {
    bool finished = false;  // false: it overran its time limit and was killed
    int exitCode = -1;
    std::string output;  // standard output and error together
    bool succeeded() const { return finished && exitCode == 0; }
};

// Runs a program to its end, killing it when it overruns `limit`.
ToolResult RunTool(const std::vector<std::string>& argv, const EnvironmentOverrides& environment, Seconds limit);

// A child process that runs on its own; killed and reaped when dropped.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv in `workingDir` with its output going to `outputFile`.
    bool start(const std::vector<std::string>& argv, const EnvironmentOverrides& environment,
               const std::string& workingDir, const std::string& outputFile);
    bool running();
    // The exit status once it has ended within `limit` (a signal counts as 128 + its number).
    std::optional<int> waitForExit(Seconds limit);
    void terminate(int signal);  // signals and reaps it, by pid
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// One private display and Wine prefix, alive from start() to stop().
class WineSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;

    // `name` picks the session's folder under the e2e work folder.
    explicit WineSession(std::string name);
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Starts Xvfb, makes a fresh prefix and starts the keeper; on failure
    // `error` says why and whatever was started is stopped again.
    bool start(std::string& error);
    void stop();

    const std::string& folder() const { return folder_; }
    // The environment a Wine program of this session runs with.
    EnvironmentOverrides wineEnvironment(const std::string& wineDebug) const;
    EnvironmentOverrides displayEnvironment() const;

    // Runs xdotool with these arguments on the session's display.
    ToolResult xdotool(const std::vector<std::string>& arguments) const;
    // A PNG of the whole screen, or of `area` of it.
    bool screenshot(const std::string& path, const std::optional<Rect>& area = std::nullopt) const;

private:
    bool startDisplay(std::string& error);
    bool makePrefix(std::string& error);
    bool startKeeper(std::string& error);

    std::string folder_;
    std::string prefix_;
    std::string display_;
    ChildProcess xvfb_;
    ChildProcess keeper_;
    bool prefixMade_ = false;
};

// One run of Marivane.exe from its own copy of the program folder.
class GameRun {
public:
    // Copies the program (and its help file) into <session>/<name>/program.
    GameRun(const WineSession& session, const std::string& name);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    const std::string& programFolder() const { return programFolder_; }
    void writeFile(const std::string& fileName, const std::string& content) const;
    std::optional<std::string> readFile(const std::string& fileName) const;  // nullopt when missing

    // Starts the program; `wineDebug` is Wine's trace selection (WINEDEBUG).
    bool start(const std::string& wineDebug = "-all");
    // Waits for the program's visible window titled "Marivane" (placed as
    // `accepted` wants, when given) and reads its place on the screen.
    bool waitForWindow(Seconds limit = Seconds(60), const std::function<bool(const Rect&)>& accepted = nullptr);
    const Rect& window() const { return window_; }

    // Real input at client coordinates of the main window (which has no
    // frame: client and window coincide). The console lies below it, so
    // its controls are reached with y from 620 on.
    bool click(int x, int y) const;
    bool clickCentreOf(const Rect& control) const;
    bool clickLetter(char letter) const;  // the letter picture of the alphabet
    bool clickLetters(const std::string& letters) const;
    bool pressKey(const std::string& keyName) const;  // an X key name, e.g. "Return"
    bool typeText(const std::string& text) const;
    // A PNG of the main window, with the console's place below it or without.
    bool screenshot(const std::string& path, bool withConsole) const;

    std::optional<int> waitForExit(Seconds limit = Seconds(30));
    std::string wineOutput() const;  // everything Wine wrote during the run
    // Sound resources asked for with PlaySoundA, in call order (needs the
    // "+winmm" trace).
    std::vector<int> soundsPlayed() const;

private:
    std::optional<Rect> locateWindow();

    const WineSession& session_;
    std::string programFolder_;
    std::string outputFile_;
    ChildProcess process_;
    Rect window_;
};

// Reads the sound ids from a Wine "+winmm" trace, in call order.
std::vector<int> SoundsInWineTrace(const std::string& trace);

// Where each letter picture of the alphabet lies on the main window.
Rect LetterPicture(char letter);

// Places of the game's buttons and edits: client x, y, width, height of the
// main window.
constexpr Rect kNewPuzzleButton{647, 432, 93, 23};
constexpr Rect kQuitButton{560, 575, 49, 23};
constexpr Rect kCloseButton{870, 3, 24, 19};
constexpr Rect kSolvePuzzleButton{27, 575, 116, 23};
constexpr Rect kSolutionEdit{150, 577, 338, 20};
constexpr Rect kConsoleButton{493, 575, 65, 23};
// On the console, whose top edge is the main window's bottom edge (y 620).
constexpr Rect kReviewButton{757, 620 + 20, 72, 23};

}  // namespace e2e
