// End-to-end harness: the real Marivane.exe under Wine in a private Xvfb display, driven with real mouse and
// keyboard input through xdotool. One WineSession per test program: its own display, a fresh Wine prefix and
// a keeper program that holds Wine's desktop open between the game's runs. Every wait is bounded; children are
// ended by pid, and the prefix's Wine processes by the prefix's own wineserver.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Seconds = std::chrono::duration<double>;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A child process writing its output to a file; killed and reaped when dropped.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool start(std::vector<std::string> argv, const std::string& outputFile, const std::string& workingDir = ".");
    bool running();
    // The exit code once it has ended within `limit` (a signal counts as 128 + its number).
    std::optional<int> waitForExit(Seconds limit);
    void stop(int signal);  // then SIGKILL if it outlives the signal by 5 s
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

class WineSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;

    // The session works in <e2e work folder>/<name>.
    explicit WineSession(const std::string& name);
    ~WineSession() { stop(); }

    // Starts Xvfb, a fresh prefix and the keeper, and sets DISPLAY, WINEPREFIX... in this process's environment
    // for every child to inherit. On failure `error` says why and whatever was started is stopped again.
    bool start(std::string& error);
    void stop();
    const std::string& folder() const { return folder_; }

    // Runs a short program to its end; its output, or nullopt when it failed or overran `limit`.
    std::optional<std::string> run(const std::vector<std::string>& argv, Seconds limit = Seconds(15)) const;
    std::optional<std::string> xdotool(std::vector<std::string> arguments) const;
    // A PNG of the whole screen, or of `area` of it.
    bool screenshot(const std::string& path, const std::optional<Rect>& area = std::nullopt) const;

private:
    bool startDisplay();
    bool makePrefix();
    bool startKeeper();

    std::string folder_;
    ChildProcess xvfb_;
    ChildProcess keeper_;
    bool prefixMade_ = false;
};

// Runs of Marivane.exe from its own copy of the program folder, <session folder>/<name>/program.
class GameRun {
public:
    GameRun(const WineSession& session, const std::string& name);

    const std::string& programFolder() const { return programFolder_; }
    void writeFile(const std::string& fileName, const std::string& content) const;
    std::optional<std::string> readFile(const std::string& fileName) const;  // nullopt when missing

    // Starts the program with Wine's trace selection `wineDebug` and waits for its window.
    bool launch(const std::string& wineDebug = "-all");
    // Waits for the program's visible window titled "Marivane", placed as `accepted` wants when given.
    bool waitForWindow(const std::function<bool(const Rect&)>& accepted = nullptr);
    const Rect& window() const { return window_; }

    // Real clicks at client coordinates of the main window, which has no frame; the console below it starts
    // at y 620.
    bool click(int x, int y) const;
    bool clickCentreOf(const Rect& control) const;
    bool clickLetters(const std::string& letters) const;  // the letter pictures of the alphabet
    std::optional<int> quit();  // presses Quit and waits for the exit code

    std::string wineOutput() const;
    // Sound resources asked for with PlaySoundA, in call order (needs the "+winmm" trace).
    std::vector<int> soundsPlayed() const;

private:
    std::optional<Rect> locateWindow();

    const WineSession& session_;
    std::string programFolder_;
    std::string outputFile_;
    ChildProcess process_;
    Rect window_;
};

// Client x, y, width and height of the game's controls.
constexpr Rect kNewPuzzleButton{647, 432, 93, 23};
constexpr Rect kQuitButton{560, 575, 49, 23};
constexpr Rect kSolvePuzzleButton{27, 575, 116, 23};
constexpr Rect kSolutionEdit{150, 577, 338, 20};
constexpr Rect kConsoleButton{493, 575, 65, 23};
constexpr Rect kReviewButton{757, 620 + 20, 72, 23};

}  // namespace e2e
