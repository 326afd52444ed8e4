#include "wine_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

extern char** environ;

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const Seconds kToolLimit(15);
const Seconds kPollInterval(0.2);
const Seconds kToolPollInterval(0.01);
// Xvfb displays this harness may take; a taken one has its lock file.
const int kFirstDisplay = 90;
const int kLastDisplay = 99;
// The console lies right below the main window, as wide as it.
const int kConsoleHeight = 106;
// The letter pictures of the alphabet on the main window, A to Z: A to M in
// the row at y 483, N to Z in the row at y 518.
const Rect kLetterPictures[26] = {
    {82, 483, 18, 20},  {120, 483, 16, 20}, {156, 483, 18, 20}, {195, 483, 17, 20}, {232, 483, 16, 20},
    {269, 483, 15, 20}, {305, 483, 19, 20}, {346, 483, 16, 20}, {384, 483, 9, 20},  {411, 483, 12, 20},
    {444, 483, 17, 20}, {481, 483, 13, 20}, {515, 483, 18, 20}, {83, 518, 16, 20},  {118, 518, 20, 20},
    {158, 518, 16, 20}, {193, 518, 20, 21}, {233, 518, 17, 20}, {267, 518, 17, 20}, {306, 518, 17, 20},
    {346, 518, 16, 20}, {375, 518, 18, 20}, {404, 518, 26, 20}, {444, 518, 18, 20}, {480, 518, 19, 20},
    {517, 518, 17, 20}};

// The inherited environment with `overrides` put over it, as "NAME=value".
std::vector<std::string> ChildEnvironment(const EnvironmentOverrides& overrides) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        std::string text(*entry);
        auto equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : overrides) variables[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : variables) result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Forks and runs argv with its standard output and error on `outputFd`
// (standard input from /dev/null). Returns the child's pid, -1 on failure.
pid_t Spawn(const std::vector<std::string>& argv, const EnvironmentOverrides& overrides,
            const std::string& workingDir, int outputFd) {
    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment = ChildEnvironment(overrides);
    std::vector<char*> argumentPointers = PointersTo(arguments);
    std::vector<char*> environmentPointers = PointersTo(environment);
    pid_t pid = fork();
    if (pid != 0) return pid;
    // In the child: only async-signal-safe calls until exec.
    int input = open("/dev/null", O_RDONLY);
    if (input >= 0) dup2(input, STDIN_FILENO);
    dup2(outputFd, STDOUT_FILENO);
    dup2(outputFd, STDERR_FILENO);
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(127);
    execve(argumentPointers[0], argumentPointers.data(), environmentPointers.data());
    _exit(127);
}

int StatusToExitCode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Calls `done` until it answers true or `limit` has passed.
template <typename Condition>
bool WaitUntil(Condition done, Seconds limit, Seconds interval = kPollInterval) {
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
    while (true) {
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Describe(const ToolResult& result) {
    if (!result.finished) return "it did not finish in time";
    return "exit code " + std::to_string(result.exitCode) + ": " + result.output;
}

// The geometry xdotool prints with --shell: X=.. Y=.. WIDTH=.. HEIGHT=..
std::optional<Rect> ParseShellGeometry(const std::string& text) {
    std::map<std::string, int> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        auto equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
    for (const char* key : {"X", "Y", "WIDTH", "HEIGHT"})
        if (!values.count(key)) return std::nullopt;
    return Rect{values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

std::string CropGeometry(const Rect& area) {
    return std::to_string(area.width) + "x" + std::to_string(area.height) + "+" + std::to_string(area.x) + "+" +
           std::to_string(area.y);
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& argv, const EnvironmentOverrides& environment, Seconds limit) {
    ToolResult result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    // Only the reading end is polled; the tool writes as usual.
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    pid_t pid = Spawn(argv, environment, "", pipeFds[1]);
    close(pipeFds[1]);
    auto readAvailable = [&] {
        char buffer[4096];
        ssize_t count;
        while ((count = read(pipeFds[0], buffer, std::size(buffer))) > 0)
            result.output.append(buffer, static_cast<std::size_t>(count));
    };
    int status = 0;
    // Ends with the tool itself: a daemon it started (wineserver) may keep
    // the output open much longer.
    bool ended = pid > 0 && WaitUntil(
                                [&] {
                                    readAvailable();
                                    return waitpid(pid, &status, WNOHANG) == pid;
                                },
                                limit, kToolPollInterval);
    readAvailable();
    close(pipeFds[0]);
    if (pid > 0 && !ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    result.finished = ended;
    if (ended) result.exitCode = StatusToExitCode(status);
    return result;
}

// ---- ChildProcess ----

ChildProcess::~ChildProcess() { terminate(SIGKILL); }

bool ChildProcess::start(const std::vector<std::string>& argv, const EnvironmentOverrides& environment,
                         const std::string& workingDir, const std::string& outputFile) {
    terminate(SIGKILL);
    exitStatus_.reset();
    int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) return false;
    pid_ = Spawn(argv, environment, workingDir, output);
    close(output);
    return pid_ > 0;
}

bool ChildProcess::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    exitStatus_ = StatusToExitCode(status);
    pid_ = -1;
    return false;
}

std::optional<int> ChildProcess::waitForExit(Seconds limit) {
    WaitUntil([this] { return !running(); }, limit);
    return exitStatus_;
}

void ChildProcess::terminate(int signal) {
    if (!running()) return;
    kill(pid_, signal);
    if (!waitForExit(Seconds(5)) && signal != SIGKILL) {
        kill(pid_, SIGKILL);
        waitForExit(Seconds(5));
    }
}

// ---- WineSession ----

WineSession::WineSession(std::string name)
    : folder_(std::string(E2E_WORK_DIR) + "/" + name), prefix_(folder_ + "/wineprefix") {}

WineSession::~WineSession() { stop(); }

bool WineSession::start(std::string& error) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    fs::create_directories(folder_);
    if (startDisplay(error) && makePrefix(error) && startKeeper(error)) return true;
    stop();
    return false;
}

bool WineSession::startDisplay(std::string& error) {
    for (int number = kFirstDisplay; number <= kLastDisplay; ++number) {
        std::string lockFile = "/tmp/.X" + std::to_string(number) + "-lock";
        if (fs::exists(lockFile)) continue;
        display_ = ":" + std::to_string(number);
        std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
        if (!xvfb_.start({E2E_XVFB, display_, "-nolisten", "tcp", "-screen", "0", screen}, {}, "",
                         folder_ + "/xvfb.log"))
            continue;
        // Another server may have taken the number in the meantime: then this
        // Xvfb ends at once and the next number is tried. The lock file names
        // the server that owns the display.
        auto ours = [&] { return std::atoi(ReadWholeFile(lockFile).c_str()) == xvfb_.pid(); };
        bool ready = WaitUntil(
            [&] { return !xvfb_.running() || (ours() && xdotool({"getdisplaygeometry"}).succeeded()); },
            Seconds(15));
        if (ready && xvfb_.running()) return true;
        xvfb_.terminate(SIGTERM);
    }
    display_.clear();
    error = "no Xvfb display could be started on :" + std::to_string(kFirstDisplay) + " to :" +
            std::to_string(kLastDisplay);
    return false;
}

bool WineSession::makePrefix(std::string& error) {
    prefixMade_ = true;
    ToolResult boot = RunTool({E2E_WINE, "wineboot", "-i"}, wineEnvironment("-all"), Seconds(240));
    if (!boot.succeeded()) {
        error = "wineboot -i failed, " + Describe(boot);
        return false;
    }
    ToolResult settled = RunTool({E2E_WINESERVER, "-w"}, wineEnvironment("-all"), Seconds(120));
    if (!settled.succeeded()) {
        error = "the prefix did not settle (wineserver -w), " + Describe(settled);
        return false;
    }
    return true;
}

bool WineSession::startKeeper(std::string& error) {
    if (!keeper_.start({E2E_WINE, E2E_KEEPER_EXE}, wineEnvironment("-all"), folder_, folder_ + "/keeper.log")) {
        error = "the keeper could not be started";
        return false;
    }
    // The keeper's window is never shown, but Wine's desktop process is up
    // once the keeper's X window exists.
    bool up = WaitUntil(
        [this] {
            return !keeper_.running() || xdotool({"search", "--name", "^Marivane e2e keeper$"}).succeeded();
        },
        Seconds(60));
    if (!up || !keeper_.running()) {
        error = "the keeper did not come up: " + ReadWholeFile(folder_ + "/keeper.log");
        return false;
    }
    return true;
}

void WineSession::stop() {
    keeper_.terminate(SIGKILL);
    if (prefixMade_) {
        // Ends every Wine process of this prefix and nothing else.
        RunTool({E2E_WINESERVER, "-k"}, wineEnvironment("-all"), Seconds(30));
        std::error_code ignored;
        fs::remove_all(prefix_, ignored);  // some 700 MB, made anew by every session
        prefixMade_ = false;
    }
    xvfb_.terminate(SIGTERM);
}

EnvironmentOverrides WineSession::wineEnvironment(const std::string& wineDebug) const {
    return {{"DISPLAY", display_},
            {"WINEPREFIX", prefix_},
            {"WINEDEBUG", wineDebug},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"WINEARCH", "win64"}};
}

EnvironmentOverrides WineSession::displayEnvironment() const { return {{"DISPLAY", display_}}; }

ToolResult WineSession::xdotool(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv{E2E_XDOTOOL};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunTool(argv, displayEnvironment(), kToolLimit);
}

bool WineSession::screenshot(const std::string& path, const std::optional<Rect>& area) const {
    std::vector<std::string> argv{E2E_IMPORT, "-window", "root"};
    if (area) argv.insert(argv.end(), {"-crop", CropGeometry(*area), "+repage"});
    argv.push_back(path);
    return RunTool(argv, displayEnvironment(), Seconds(30)).succeeded();
}

// ---- GameRun ----

GameRun::GameRun(const WineSession& session, const std::string& name)
    : session_(session),
      programFolder_(session.folder() + "/" + name + "/program"),
      outputFile_(session.folder() + "/" + name + "/wine-output.log") {
    std::error_code ignored;
    fs::remove_all(session.folder() + "/" + name, ignored);
    fs::create_directories(programFolder_);
    fs::path program(MARIVANE_EXE);
    fs::copy_file(program, programFolder_ + "/" + program.filename().string());
    fs::path help = program.parent_path() / "Quorrel-help.chm";
    if (fs::exists(help)) fs::copy_file(help, programFolder_ + "/" + help.filename().string());
}

GameRun::~GameRun() { process_.terminate(SIGKILL); }

void GameRun::writeFile(const std::string& fileName, const std::string& content) const {
    std::ofstream out(programFolder_ + "/" + fileName, std::ios::binary | std::ios::trunc);
    out << content;
}

std::optional<std::string> GameRun::readFile(const std::string& fileName) const {
    std::string path = programFolder_ + "/" + fileName;
    if (!fs::exists(path)) return std::nullopt;
    return ReadWholeFile(path);
}

bool GameRun::start(const std::string& wineDebug) {
    std::string program = programFolder_ + "/" + fs::path(MARIVANE_EXE).filename().string();
    return process_.start({E2E_WINE, program}, session_.wineEnvironment(wineDebug), programFolder_, outputFile_);
}

std::optional<Rect> GameRun::locateWindow() {
    if (!process_.running()) return std::nullopt;
    ToolResult search = session_.xdotool(
        {"search", "--all", "--onlyvisible", "--pid", std::to_string(process_.pid()), "--name", "^Marivane$"});
    std::istringstream ids(search.output);
    std::string id;
    if (!search.succeeded() || !(ids >> id)) return std::nullopt;
    return ParseShellGeometry(session_.xdotool({"getwindowgeometry", "--shell", id}).output);
}

bool GameRun::waitForWindow(Seconds limit, const std::function<bool(const Rect&)>& accepted) {
    std::optional<Rect> found;
    auto wanted = [&] { return found && (!accepted || accepted(*found)); };
    WaitUntil(
        [&] {
            found = locateWindow();
            return !process_.running() || wanted();
        },
        limit);
    if (!wanted()) return false;
    window_ = *found;
    return true;
}

bool GameRun::click(int x, int y) const {
    return session_
        .xdotool({"mousemove", std::to_string(window_.x + x), std::to_string(window_.y + y), "click", "1"})
        .succeeded();
}

bool GameRun::clickCentreOf(const Rect& control) const {
    return click(control.x + control.width / 2, control.y + control.height / 2);
}

bool GameRun::clickLetter(char letter) const {
    return letter >= 'A' && letter <= 'Z' && clickCentreOf(LetterPicture(letter));
}

bool GameRun::clickLetters(const std::string& letters) const {
    for (char letter : letters)
        if (!clickLetter(letter)) return false;
    return true;
}

bool GameRun::pressKey(const std::string& keyName) const { return session_.xdotool({"key", keyName}).succeeded(); }

bool GameRun::typeText(const std::string& text) const {
    return session_.xdotool({"type", "--delay", "50", text}).succeeded();
}

bool GameRun::screenshot(const std::string& path, bool withConsole) const {
    int height = window_.height + (withConsole ? kConsoleHeight : 0);
    return session_.screenshot(path, Rect{window_.x, window_.y, window_.width, height});
}

std::optional<int> GameRun::waitForExit(Seconds limit) { return process_.waitForExit(limit); }

std::string GameRun::wineOutput() const { return ReadWholeFile(outputFile_); }

std::vector<int> GameRun::soundsPlayed() const { return SoundsInWineTrace(wineOutput()); }

// ---- Helpers of the tests ----

std::vector<int> SoundsInWineTrace(const std::string& trace) {
    // One line per PlaySoundA call: "...PlaySound pszSound='00000000000011F8' hmod=...";
    // a resource id is the pointer value itself.
    const std::string marker = "PlaySound pszSound='";
    std::vector<int> sounds;
    for (auto at = trace.find(marker); at != std::string::npos; at = trace.find(marker, at + 1))
        sounds.push_back(static_cast<int>(std::strtol(trace.c_str() + at + marker.size(), nullptr, 16)));
    return sounds;
}

Rect LetterPicture(char letter) { return kLetterPictures[letter - 'A']; }

}  // namespace e2e
