#include "wine_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Centres of the letter pictures: A to M in the row at y 493, N to Z in the row at y 528, both rows sharing
// these columns.
const int kLetterColumns[13] = {91, 128, 165, 203, 240, 276, 314, 354, 388, 417, 452, 487, 524};

// Calls `done` until it answers true or `limit` has passed.
template <typename Condition>
bool WaitUntil(Condition done, Seconds limit, Seconds interval = Seconds(0.2)) {
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
    while (!done()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The display number Xvfb prints (-displayfd) once it accepts clients, as ":N"; empty until then.
std::string DisplayIn(const std::string& xvfbOutput) {
    std::istringstream lines(xvfbOutput);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) return ":" + line;
    return "";
}

}  // namespace

ChildProcess::~ChildProcess() { stop(SIGKILL); }

bool ChildProcess::start(std::vector<std::string> argv, const std::string& outputFile, const std::string& workingDir) {
    stop(SIGKILL);
    exitCode_.reset();
    std::vector<char*> pointers;
    for (auto& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_ = output >= 0 && input >= 0 ? fork() : -1;
    if (pid_ == 0) {
        // In the child: only async-signal-safe calls until exec.
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        if (chdir(workingDir.c_str()) == 0) execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(output);
    close(input);
    return pid_ > 0;
}

bool ChildProcess::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
}

std::optional<int> ChildProcess::waitForExit(Seconds limit) {
    WaitUntil([this] { return !running(); }, limit, Seconds(0.01));
    return exitCode_;
}

void ChildProcess::stop(int signal) {
    if (!running()) return;
    kill(pid_, signal);
    if (!waitForExit(Seconds(5))) {
        kill(pid_, SIGKILL);
        waitForExit(Seconds(5));
    }
}

WineSession::WineSession(const std::string& name) : folder_(std::string(E2E_WORK_DIR) + "/" + name) {}

bool WineSession::start(std::string& error) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    fs::create_directories(folder_);
    if (!startDisplay())
        error = "Xvfb did not start: " + ReadWholeFile(folder_ + "/xvfb.log");
    else if (!makePrefix())
        error = "the Wine prefix could not be made, see wine64.log and wineserver64.log in " + folder_;
    else if (!startKeeper())
        error = "the keeper did not come up: " + ReadWholeFile(folder_ + "/keeper.log");
    else
        return true;
    stop();
    return false;
}

bool WineSession::startDisplay() {
    // Xvfb picks a free display number itself, so two sessions never race for one.
    const std::string log = folder_ + "/xvfb.log";
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    if (!xvfb_.start({E2E_XVFB, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen}, log)) return false;
    std::string display;
    auto ready = [&] {
        display = DisplayIn(ReadWholeFile(log));
        return !display.empty() || !xvfb_.running();
    };
    WaitUntil(ready, Seconds(15));
    if (display.empty() || !xvfb_.running()) return false;
    setenv("DISPLAY", display.c_str(), 1);
    return true;
}

bool WineSession::makePrefix() {
    prefixMade_ = true;
    setenv("WINEPREFIX", (folder_ + "/wineprefix").c_str(), 1);
    setenv("WINEARCH", "win64", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offers to install Mono or Gecko
    return run({E2E_WINE, "wineboot", "-i"}, Seconds(240)) && run({E2E_WINESERVER, "-w"}, Seconds(120));
}

bool WineSession::startKeeper() {
    // The keeper's window is never shown, but Wine's desktop process is up once its X window exists.
    auto up = [this] { return !keeper_.running() || xdotool({"search", "--name", "^Marivane e2e keeper$"}); };
    return keeper_.start({E2E_WINE, E2E_KEEPER_EXE}, folder_ + "/keeper.log") && WaitUntil(up, Seconds(60)) &&
           keeper_.running();
}

void WineSession::stop() {
    keeper_.stop(SIGKILL);
    if (prefixMade_) {
        run({E2E_WINESERVER, "-k"}, Seconds(30));  // ends every Wine process of this prefix and nothing else
        std::error_code ignored;
        fs::remove_all(folder_ + "/wineprefix", ignored);  // some 700 MB, made anew by every session
        prefixMade_ = false;
    }
    xvfb_.stop(SIGTERM);  // not SIGKILL: Xvfb removes its socket
}

std::optional<std::string> WineSession::run(const std::vector<std::string>& argv, Seconds limit) const {
    const std::string log = folder_ + "/" + fs::path(argv[0]).filename().string() + ".log";
    ChildProcess tool;
    if (!tool.start(argv, log) || tool.waitForExit(limit) != 0) return std::nullopt;
    return ReadWholeFile(log);
}

std::optional<std::string> WineSession::xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), E2E_XDOTOOL);
    return run(arguments);
}

bool WineSession::screenshot(const std::string& path, const std::optional<Rect>& area) const {
    std::vector<std::string> argv{E2E_IMPORT, "-window", "root"};
    char crop[64];
    if (area) {
        std::snprintf(crop, std::size(crop), "%dx%d+%d+%d", area->width, area->height, area->x, area->y);
        argv.insert(argv.end(), {"-crop", crop, "+repage"});
    }
    argv.push_back(path);
    return run(argv, Seconds(30)).has_value();
}

GameRun::GameRun(const WineSession& session, const std::string& name)
    : session_(session),
      programFolder_(session.folder() + "/" + name + "/program"),
      outputFile_(session.folder() + "/" + name + "/wine-output.log") {
    std::error_code ignored;
    fs::remove_all(session.folder() + "/" + name, ignored);
    fs::create_directories(programFolder_);
    fs::copy_file(MARIVANE_EXE, programFolder_ / fs::path(MARIVANE_EXE).filename());
}

void GameRun::writeFile(const std::string& fileName, const std::string& content) const {
    std::ofstream(programFolder_ + "/" + fileName, std::ios::binary | std::ios::trunc) << content;
}

std::optional<std::string> GameRun::readFile(const std::string& fileName) const {
    const std::string path = programFolder_ + "/" + fileName;
    if (!fs::exists(path)) return std::nullopt;
    return ReadWholeFile(path);
}

bool GameRun::launch(const std::string& wineDebug) {
    const std::string program = programFolder_ + "/" + fs::path(MARIVANE_EXE).filename().string();
    // env executes Wine in its own place, so the pid stays the game's.
    return process_.start({"/usr/bin/env", "WINEDEBUG=" + wineDebug, E2E_WINE, program}, outputFile_,
                          programFolder_) &&
           waitForWindow();
}

std::optional<Rect> GameRun::locateWindow() {
    if (!process_.running()) return std::nullopt;
    auto geometry = session_.xdotool({"search", "--all", "--onlyvisible", "--pid", std::to_string(process_.pid()),
                                      "--name", "^Marivane$", "getwindowgeometry", "--shell"});
    Rect place;
    if (!geometry || std::sscanf(geometry->c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &place.x, &place.y,
                                 &place.width, &place.height) != 4)
        return std::nullopt;
    return place;
}

bool GameRun::waitForWindow(const std::function<bool(const Rect&)>& accepted) {
    std::optional<Rect> found;
    auto wanted = [&] { return found && (!accepted || accepted(*found)); };
    auto done = [&] {
        found = locateWindow();
        return wanted() || !process_.running();
    };
    WaitUntil(done, Seconds(60));
    if (found) window_ = *found;
    return wanted();
}

bool GameRun::click(int x, int y) const {
    return session_.xdotool({"mousemove", std::to_string(window_.x + x), std::to_string(window_.y + y), "click", "1"})
        .has_value();
}

bool GameRun::clickCentreOf(const Rect& control) const {
    return click(control.x + control.width / 2, control.y + control.height / 2);
}

bool GameRun::clickLetters(const std::string& letters) const {
    for (char letter : letters) {
        const int index = letter - 'A';
        if (index < 0 || index >= 26 || !click(kLetterColumns[index % 13], index < 13 ? 493 : 528)) return false;
    }
    return true;
}

std::optional<int> GameRun::quit() {
    // Wine ends a process some 2 s after its last window is gone.
    if (!clickCentreOf(kQuitButton)) return std::nullopt;
    return process_.waitForExit(Seconds(30));
}

std::string GameRun::wineOutput() const { return ReadWholeFile(outputFile_); }

std::vector<int> GameRun::soundsPlayed() const {
    // One line per call: "...PlaySound pszSound='00000000000011F8' hmod=..."; a resource id is the pointer value.
    const std::string trace = wineOutput();
    const std::string marker = "PlaySound pszSound='";
    std::vector<int> sounds;
    for (auto at = trace.find(marker); at != std::string::npos; at = trace.find(marker, at + 1))
        sounds.push_back(static_cast<int>(std::strtol(trace.c_str() + at + marker.size(), nullptr, 16)));
    return sounds;
}

}  // namespace e2e
