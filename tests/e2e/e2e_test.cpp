// The real Marivane.exe under Wine in a private Xvfb display, driven by xdotool, read back through our probe.exe. One
// Wine session for all but the cases that need another screen or user; every wait polls with a time limit; each
// scenario leaves a screenshot in <work>/shots. MARIVANE_EXE and E2E_WORK_DIR in the environment name another exe
// and work folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <thread>

#include "data/startup_file.h"
#include "resource.h"

namespace {
namespace fs = std::filesystem;
using Seconds = std::chrono::duration<double>;
using Strings = std::vector<std::string>;
using Rect = std::array<int, 4>;  // x, y, width, height
enum Window { MAIN = -1, CONSOLE = -2 };  // the game's two windows, addressed like its controls
const Rect kMain{1280 / 2 - 450, 1024 / 2 - 378, 900, 620};  // on a 1280 x 1024 screen: centred, top 378 above centre
const std::pair<std::string, std::string> kUnlocked{"MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0"};
const char kPassEnded[] = "Resetting Puzzle Viewer...";
std::string Env(const char* name, const char* otherwise) { return getenv(name) ? getenv(name) : otherwise; }
const std::string kExe = Env("MARIVANE_EXE", MARIVANE_EXE), kWork = Env("E2E_WORK_DIR", E2E_WORK_DIR);
const std::string kSession = kWork + "/session", kRelease = E2E_RELEASE_DIR;
template <typename Condition>
bool WaitUntil(Condition done, Seconds limit = Seconds(10), Seconds interval = Seconds(0.1)) {
    for (auto deadline = std::chrono::steady_clock::now() + limit; !done(); std::this_thread::sleep_for(interval))
        if (std::chrono::steady_clock::now() >= deadline) return false;
    return true;
}
std::string ReadFile(const std::string& path) { return (std::ostringstream() << std::ifstream(path).rdbuf()).str(); }
struct Child { pid_t pid = -1; int exitCode = -1; };  // the exit code once reaped, a signal counting as 128 + it
Child Spawn(Strings argv, const std::string& outputFile) {
    std::vector<char*> pointers(argv.size() + 1);  // the last one null
    std::transform(argv.begin(), argv.end(), pointers.begin(), [](std::string& argument) { return argument.data(); });
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    Child child{output >= 0 && input >= 0 ? fork() : -1};
    if (child.pid == 0) {  // in the child: only async-signal-safe calls until exec
        dup2(input, STDIN_FILENO), dup2(output, STDOUT_FILENO), dup2(output, STDERR_FILENO);
        execv(pointers[0], pointers.data()), _exit(127);
    }
    close(output), close(input);
    return child;
}
int WaitForExit(Child& child, Seconds limit = Seconds(30)) {  // -1 while it still runs after `limit`
    int status = 0;
    auto ended = [&] { return child.pid <= 0 || waitpid(child.pid, &status, WNOHANG) == child.pid; };
    if (child.pid > 0 && WaitUntil(ended, limit, Seconds(0.01)))
        child = {-1, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
    return child.pid > 0 ? -1 : child.exitCode;
}
bool Running(Child& child) { return WaitForExit(child, Seconds(0)) == -1 && child.pid > 0; }
void Stop(Child& child, int signal) {
    for (int sent : {signal, SIGKILL})
        if (Running(child)) kill(child.pid, sent), WaitForExit(child, Seconds(5));
}
// Runs a short program to its end; its output, or nullopt when it failed or overran `limit`.
std::optional<std::string> RunTool(Strings argv, const Strings& more = {}, Seconds limit = Seconds(15)) {
    argv.insert(argv.end(), more.begin(), more.end());
    const std::string log = kSession + "/" + fs::path(argv[0]).filename().string() + ".log";
    Child tool = Spawn(argv, log);
    const int exitCode = WaitForExit(tool, limit);
    Stop(tool, SIGKILL);  // when it overran
    return exitCode == 0 ? std::optional(ReadFile(log)) : std::nullopt;
}
bool Xdotool(const Strings& arguments) { return RunTool(Strings{E2E_XDOTOOL}, arguments).has_value(); }
Strings gWineUser;  // how the current Wine session's user runs a command: empty for root
Strings As(Strings argv) { return argv.insert(argv.begin(), gWineUser.begin(), gWineUser.end()), argv; }
// One line of the probe: a window (MAIN, CONSOLE, or 0 for another program's) or a control of the window above it.
struct Seen { int id = 0; bool shown = false; Rect at{}; std::string text, line; };  // at: on the screen
std::vector<Seen> Probe() {
    std::vector<Seen> seen;
    std::istringstream lines(RunTool(As({E2E_WINE, E2E_PROBE_EXE})).value_or(""));
    for (std::string line, kind, className; std::getline(lines, line);) {
        Seen s;
        std::istringstream in(s.line = line.substr(0, line.find_last_not_of('\r') + 1));
        if (in >> kind && kind == "W") in >> className >> s.shown;
        else in >> s.id >> s.shown;
        in >> s.at[0] >> s.at[1] >> s.at[2] >> s.at[3];
        std::getline(in.ignore(1), s.text);  // after one blank: the text may itself begin with blanks
        if (kind == "W") s.id = className == "Marivane" ? MAIN : className == "Add_Puzzles" ? CONSOLE : 0;
        seen.push_back(s);
    }
    return seen;
}
std::optional<Seen> Find(int id, const std::vector<Seen>& seen = Probe()) {
    auto found = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) { return s.id == id; });
    return found == seen.end() ? std::nullopt : std::optional(*found);
}
std::string Text(int id) { return Find(id).value_or(Seen()).text; }
// What a step waits for on one window or control; unset fields do not matter.
struct Want {
    int id; std::optional<std::string> text; std::optional<bool> shown; std::optional<Rect> at;
    bool MetBy(const std::optional<Seen>& s) const {
        return s && (!text || *text == s->text) && (!shown || *shown == s->shown) && (!at || *at == s->at);
    }
};
Want Text(int id, const std::string& text) { return {id, text, {}, {}}; }
Want Shown(int id, bool shown = true) { return {id, {}, shown, {}}; }
Want Place(int id, Rect at) { return {id, {}, {}, at}; }
// After the input was `given`, polls the probe until all wants hold; a failure names the step, wants and lines seen.
bool Step(const std::string& step, bool given, const std::vector<Want>& wants) {
    std::vector<Seen> seen;
    auto met = [&](const Want& w) { return w.MetBy(Find(w.id, seen)); };
    if (given && WaitUntil([&] { return seen = Probe(), std::all_of(wants.begin(), wants.end(), met); })) return true;
    std::ostringstream report;
    for (const Want& w : wants)
        if (!met(w))
            report << "\n  #" << w.id << " wanted" << (w.text ? " text '" + *w.text + "'" : "")
                   << (w.shown ? *w.shown ? " shown" : " hidden" : "") << (w.at ? " moved" : "")
                   << ", saw: " << Find(w.id, seen).value_or(Seen{0, 0, {}, "", "nothing"}).line;
    ADD_FAILURE() << "step '" << step << (given ? "':" : "', the input could not be given:") << report.str();
    return false;
}
bool Click(int id) {
    std::optional<Seen> s;  // now and then a probe on a busy machine comes back empty: try again a while
    return WaitUntil([&] { return (s = Find(id)).has_value(); }, Seconds(5)) &&
           Xdotool({"mousemove", std::to_string(s->at[0] + s->at[2] / 2), std::to_string(s->at[1] + s->at[3] / 2),
                    "click", "1"});
}
int Letter(char letter) { return IDC_LETTER_A + IDC_LETTER_STEP * (letter - 'A'); }
bool Type(int id, const std::string& text) { return Click(id) && Xdotool({"type", text}); }
int Balloons(int left) { return left == 0 ? IDC_SAD_CLOWN : IDC_BALLOONS_1 + IDC_BALLOONS_STEP * (left - 1); }
// The puzzle line for a phrase: upper case, a blank before every character, letters hidden when asked.
std::string Spaced(const std::string& phrase, bool hidden) {
    std::string line;
    for (unsigned char c : phrase) line += std::string(" ") + (hidden && std::isalpha(c) ? '_' : char(std::toupper(c)));
    return line;
}
// Wrong letters one by one, the balloon picture checked after each; the last one loses the game.
bool LoseBy(const std::string& letters) {
    return std::all_of(letters.begin(), letters.end(), [left = int(letters.size())](char letter) mutable {
        return --left, Step(std::string("wrong ") + letter, Click(Letter(letter)),
                            {Shown(Balloons(left)), Shown(Balloons(left + 1), false)});
    });
}
bool ShowConsole() { return Step("show the console", Click(IDC_CONSOLE), {Shown(CONSOLE)}); }
bool AddPuzzle(const std::string& phrase, const std::string& hint) {
    return Step("type " + phrase, Type(IDC_PHRASE_EDIT, phrase) && Type(IDC_HINT_EDIT, hint),
                {Text(IDC_PHRASE_EDIT, phrase), Text(IDC_HINT_EDIT, hint)}) &&
           Step("add " + phrase, Click(IDC_ADD_PUZZLE), {Text(IDC_PHRASE_EDIT, ""), Text(IDC_HINT_EDIT, "")});
}
// Presses Review until the pass ends; what the phrase field shows after each press.
Strings ReviewAll() {
    Strings shown{Text(IDC_PHRASE_EDIT)};
    for (std::string now; shown.size() == 1 || (shown.back() != kPassEnded && shown.size() < 10); shown.push_back(now))
        if (!Click(IDC_REVIEW) || !WaitUntil([&] { return (now = Text(IDC_PHRASE_EDIT)) != shown.back(); })) break;
    return Strings(shown.begin() + 1, shown.end());
}
// The main window, with the console below it when asked.
void Shoot(const std::string& name, bool withConsole = false) {
    std::this_thread::sleep_for(Seconds(0.5));  // the state is read back already; give the painting a moment
    const Rect at = Find(MAIN).value_or(Seen()).at;
    const std::string size = "900x" + std::to_string(withConsole ? 726 : 620);
    fs::create_directories(kWork + "/shots");
    RunTool({E2E_IMPORT, "-window", "root", "-crop", size + "+" + std::to_string(at[0]) + "+" + std::to_string(at[1]),
             "+repage", kWork + "/shots/" + name + ".png"});
}
using Files = std::map<std::string, std::string>;
// A copy of the program in a folder of its own (or shared, for two copies), with the files of folder `from` beside it
// when given, and its runs.
struct Game {
    std::string folder, log;
    Child process;
    Game(const std::string& name, const Files& files, const std::string& from = "") : folder(kSession + "/" + name) {
        fs::create_directories(folder);
        fs::copy_file(kExe, folder + "/Marivane.exe", fs::copy_options::skip_existing);
        for (const auto& file : from.empty() ? fs::directory_iterator() : fs::directory_iterator(from))
            fs::copy_file(file, folder + "/" + file.path().filename().string(), fs::copy_options::skip_existing);
        Write(files);
    }
    ~Game() { Stop(process, SIGKILL); }
    void Write(const Files& files) const {
        for (const auto& [file, content] : files) std::ofstream(folder + "/" + file, std::ios::binary) << content;
    }
    std::string File(const std::string& name) const { return ReadFile(folder + "/" + name); }
    std::string Store() const { return UnscrambleStore(File("OnLoad.dat")); }
    // The hexadecimal numbers after `pattern` in the trace: beeps ("MessageBeep(0)"), sounds ("pszSound='11F8'").
    std::vector<int> Traced(const char* pattern) const {
        std::vector<int> found;
        const std::string trace = ReadFile(log);
        const std::regex wanted(pattern);
        for (std::sregex_iterator at(trace.begin(), trace.end(), wanted), end; at != end; ++at)
            found.push_back(int(std::stol((*at)[1], nullptr, 16)));
        return found;
    }
    size_t Beeps() const { return Traced("Call user32\\.MessageBeep\\(([0-9a-fA-F]+)\\)").size(); }
    // Whether the run has loaded this system DLL ("winmm.dll") so far, named in any case.
    bool Loaded(const std::string& dll) const {
        std::string trace = ReadFile(log);
        std::transform(trace.begin(), trace.end(), trace.begin(), [](unsigned char c) { return std::tolower(c); });
        return trace.find("\\\\" + dll + '"') != std::string::npos;
    }
    // Starts one more copy and waits until `copies` main windows are on screen; sounds and beeps go to the log.
    bool Launch(int copies = 1) {
        static int launches = 0;
        log = folder + "-" + std::to_string(++launches) + ".log";
        process = Spawn(As({"/usr/bin/env", "WINEDEBUG=+winmm,+relay,+loaddll", E2E_WINE, folder + "/Marivane.exe"}),
                        log);
        auto main = [](const Seen& s) { return s.id == MAIN && s.shown; };
        auto up = [&, s = std::vector<Seen>()]() mutable {
            return s = Probe(), !Running(process) || std::count_if(s.begin(), s.end(), main) == copies;
        };
        return WaitUntil(up, Seconds(60)) && Running(process);
    }
    int Quit() { return Click(IDC_QUIT) ? WaitForExit(process) : -1; }  // Wine takes some 2 s to end a process
};

// A Wine session of the suite's own: an Xvfb screen, a prefix and a hidden keeper window, with Wine run by root or,
// given a `user`, as that user in a home folder of his. While it lasts, every Wine program, xdotool and screenshot of
// the suite runs in it; at its end the session before it, if any, is the current one again.
struct WineSession {
    std::string home, prefix, display;
    Strings as;
    Child xvfb, keeper;
    WineSession* previous = current;
    bool started;
    static inline WineSession* current = nullptr;
    WineSession(const std::string& name, const std::string& screen, const char* user = nullptr)
        : home(kSession + "/" + name), prefix(home + "/wineprefix") {
        current = this;
        started = Start(screen, user ? getpwnam(user) : nullptr);
    }
    ~WineSession() {
        Stop(keeper, SIGKILL);
        RunTool(As({E2E_WINESERVER, "-k"}), {}, Seconds(30));  // ends every Wine process of this prefix and no other
        std::error_code ignored;
        fs::remove_all(prefix, ignored);  // some 700 MB, made anew by every session
        Stop(xvfb, SIGTERM);              // not SIGKILL: Xvfb removes its socket
        if ((current = previous)) previous->Use();
    }
    void Use() const {
        for (auto [name, value] : {std::pair{"WINEPREFIX", prefix.c_str()}, {"HOME", home.c_str()},
                                   {"DISPLAY", display.c_str()}, {"WINEARCH", "win64"}, {"WINEDEBUG", "-all"},
                                   {"WINEDLLOVERRIDES", "mscoree,mshtml="}})
            setenv(name, value, 1);  // quiet, with no offers to install Mono or Gecko
        gWineUser = as;
    }
    bool Start(const std::string& screen, const passwd* user) {
        fs::create_directories(home);
        if (user && chown(home.c_str(), user->pw_uid, user->pw_gid) != 0) return false;
        if (user) as = {"/usr/bin/setpriv", "--reuid=" + std::to_string(user->pw_uid),
                        "--regid=" + std::to_string(user->pw_gid), "--clear-groups"};
        // Xvfb picks a free display itself and prints its number alone on a line, so two sessions never race for one.
        xvfb = Spawn({E2E_XVFB, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen}, home + "/X");
        std::string log;
        std::smatch number;
        const std::regex alone("(?:^|\\n)(\\d+)(?:\\n|$)");
        if (!WaitUntil([&] { return std::regex_search(log = ReadFile(home + "/X"), number, alone); })) return false;
        display = ":" + number[1].str();
        Use();
        // With RelayInclude, the games' +relay trace shows their beeps, beside their window procedures.
        const Strings relay = {E2E_WINE, "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude", "/d",
                               "user32.MessageBeep", "/f"};
        if (!RunTool(As({E2E_WINE, "wineboot", "-i"}), {}, Seconds(240)) || !RunTool(As(relay), {}, Seconds(60)) ||
            !RunTool(As({E2E_WINESERVER, "-w"}), {}, Seconds(120)))
            return false;
        keeper = Spawn(As({E2E_WINE, E2E_PROBE_EXE, "keep"}), home + "/keeper.log");
        return WaitUntil([] { return Xdotool({"search", "--name", "^Marivane e2e keeper$"}); }, Seconds(60));
    }
};

std::string Starters() { return UnscrambleStore(ReadFile(kRelease + "/OnLoad.dat")); }
// Draws a starter puzzle and loses it with letters that none of the starter puzzles it may be holds.
void LoseAStarterGame() {
    std::string mask, phrase, wrong;
    ASSERT_TRUE(Click(IDC_NEW_PUZZLE) && WaitUntil([&] { return !(mask = Text(IDC_PUZZLE_LINE)).empty(); }));
    const std::string hint = Text(IDC_HINT_LINE);
    Strings fits;  // the starter puzzles with this puzzle line and hint, and letters none of them holds
    for (std::istringstream records(Starters()); std::getline(records, phrase, ':');)
        if (phrase.substr(phrase.find(';') + 1) == hint && Spaced(phrase.erase(phrase.find(';')), true) == mask)
            fits.push_back(Spaced(phrase, false));
    for (char letter = 'A'; letter <= 'Z' && wrong.size() < 7; ++letter)
        if (std::none_of(fits.begin(), fits.end(), [&](auto& fit) { return fit.find(letter) != std::string::npos; }))
            wrong += letter;
    ASSERT_FALSE(fits.empty()) << "the puzzle line '" << mask << "' fits no starter puzzle";
    ASSERT_TRUE(LoseBy(wrong) && Step("loss booked", true, {Text(IDC_P1_LOSSES, "1")}));
    ASSERT_TRUE(Click(IDC_SOLUTION) && WaitUntil([&] { return (phrase = Text(IDC_PUZZLE_LINE)) != mask; }));
    EXPECT_NE(std::find(fits.begin(), fits.end(), phrase), fits.end()) << "Solution shows '" << phrase << "'";
}

Strings Titled(const std::string& title) { return {"search", "--onlyvisible", "--name", "^" + title + "$"}; }
bool CloseWindow(const Strings& window) {
    Strings close = window;
    close.insert(close.end(), {"windowfocus", "--sync", "key", "--clearmodifiers", "alt+F4"});
    return Xdotool(close) && WaitUntil([&] { return !Xdotool(window); });
}
// Help opens the help file in its viewer, titled by the file; pressed again while the viewer is open, it says so
// in a message box. Both are closed again.
void OpenTheHelpAndAskAgain() {
    const Strings viewer = Titled("Quorrel-help"), refusal = Titled("System - Permission Denied");
    ASSERT_TRUE(Click(IDC_HELP_ME) && WaitUntil([&] { return Xdotool(viewer); }, Seconds(60))) << "no help viewer";
    Strings moveAside = viewer;  // off the game's title bar
    moveAside.insert(moveAside.end(), {"windowmove", "--sync", "0", "760"});
    EXPECT_TRUE(Xdotool(moveAside) && Click(IDC_HELP_ME) && WaitUntil([&] { return Xdotool(refusal); }))
        << "no box refusing a second help viewer";
    EXPECT_TRUE(CloseWindow(refusal)) << "the box did not close";
    // Alt+F4 no longer reaches the viewer once the box has come and gone: it is ended as the system would end it.
    EXPECT_TRUE(RunTool(As({E2E_WINE, "taskkill", "/IM", "hh.exe"})) && WaitUntil([&] { return !Xdotool(viewer); }))
        << "the help viewer did not close";
}

TEST(Marivane, FirstStartFromTheReleaseFolderLoadsNoSoundOrShellDllLosesAGameOpensTheHelpAndKeepsTheStarterStore) {
    Game game("release", {}, kRelease);
    ASSERT_TRUE(game.Launch());
    EXPECT_TRUE(Step("first start", true, {Place(MAIN, kMain), Shown(MAIN), Shown(CONSOLE, false),
                                      Place(CONSOLE, {kMain[0], kMain[1] + 620, 900, 106})}));
    EXPECT_FALSE(game.Loaded("winmm.dll") || game.Loaded("shell32.dll")) << "sound or shell DLL loaded at start-up";
    EXPECT_NE(game.File("MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos) << "no locking configuration";
    EXPECT_TRUE(Click(IDC_CONSOLE) && WaitUntil([&] { return game.Beeps() == 1; }) && !Find(CONSOLE).value().shown)
        << "S/H Con not refused with a beep";
    ASSERT_NO_FATAL_FAILURE(LoseAStarterGame());
    Shoot("loss");
    EXPECT_TRUE(game.Loaded("winmm.dll")) << "sounds played, yet winmm not loaded";
    EXPECT_FALSE(game.Loaded("shell32.dll")) << "shell32 loaded before the help was asked for";
    ASSERT_NO_FATAL_FAILURE(OpenTheHelpAndAskAgain());
    EXPECT_TRUE(Click(IDC_CLOSE) && WaitForExit(game.process) == 0) << "X did not end the program";
    EXPECT_EQ(game.File("MVStats.dat"), "0 0 1 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game.Store(), Starters());
}

TEST(Marivane, BooksBothPlayersWithRanksMovesBothWindowsAndSilencesOnlyTheSwitchableSounds) {
    // Player One has 24 games behind him and Player Two 24 wins: the next game gives each a rank.
    Game game("players", {{"OnLoad.dat", ScrambleStore("lollipop;a sweet on a stick:")},
                          {"MVStats.dat", "1000 21 3 Circus-Worker 500 24 0 Circus-Worker"}, kUnlocked});
    ASSERT_TRUE(Step("new puzzle", game.Launch() && Click(IDC_NEW_PUZZLE),
                     {Text(IDC_PUZZLE_LINE, Spaced("lollipop", true))}));
    ASSERT_TRUE(Step("L, three times in the phrase", Click(Letter('L')),
                     {Text(IDC_PUZZLE_LINE, " L _ L L _ _ _ _"), Shown(Letter('L'), false)}));
    ASSERT_TRUE(Step("X, wrong", Click(Letter('X')), {Text(IDC_LETTER_BIN, "X "), Shown(Balloons(6))}));
    Shoot("midgame");
    ASSERT_TRUE(Step("O, I and P win", Click(Letter('O')) && Click(Letter('I')) && Click(Letter('P')),
                     {Text(IDC_PUZZLE_LINE, Spaced("lollipop", false)), Text(IDC_P1_POINTS, "1070"),
                      Text(IDC_P1_WINS, "22"), Text(IDC_P1_SKILL, "Lion-Tamer")}));
    ASSERT_TRUE(Step("sound off, five balloons", Click(IDC_SOUND) && Click(IDC_BALLOON_MODE),
                     {Text(IDC_BALLOON_COUNT, "5")}));
    ASSERT_TRUE(Step("new five-balloon game", Click(IDC_NEW_PUZZLE), {Shown(Balloons(5)), Shown(Balloons(7), false)}));
    ASSERT_TRUE(LoseBy("ABCDE") &&
                Step("loss booked", true, {Text(IDC_P1_LOSSES, "4"), Text(IDC_P1_SKILL, "Lion-Tamer")}));
    // Each arrow key moves both windows by 2 pixels; minimised and restored, they stay together.
    const Rect main{kMain[0] + 4, kMain[1] + 2, 900, 620}, below{main[0], main[1] + 620, 900, 106};
    ASSERT_TRUE(ShowConsole());
    ASSERT_TRUE(Step("arrows", Xdotool({"key", "Right", "Right", "Down"}), {Place(MAIN, main), Place(CONSOLE, below)}));
    ASSERT_TRUE(Step("minimise", Click(IDC_MINIMISE), {Shown(MAIN, false)}));
    ASSERT_TRUE(Step("restore", RunTool(As({E2E_WINE, E2E_PROBE_EXE, "restore"})).has_value(),
                     {Shown(MAIN), Place(MAIN, main), Shown(CONSOLE), Place(CONSOLE, below)}));
    ASSERT_TRUE(Step("console hidden, sound on, seven balloons, Player Two",
                     Click(IDC_CONSOLE) && Click(IDC_SOUND) && Click(IDC_BALLOON_MODE) && Click(IDC_PLAYER_TWO),
                     {Shown(CONSOLE, false), Text(IDC_BALLOON_COUNT, "7")}));
    ASSERT_TRUE(Step("new puzzle", Click(IDC_NEW_PUZZLE), {Shown(Balloons(7))}));
    ASSERT_TRUE(Step("solution typed in mixed case", Type(IDC_SOLUTION_EDIT, "LolLiPop") && Click(IDC_SOLVE_PUZZLE),
                     {Text(IDC_PUZZLE_LINE, Spaced("lollipop", false)), Text(IDC_P1_POINTS, "1070"),
                      Text(IDC_P2_POINTS, "580"), Text(IDC_P2_WINS, "25"), Text(IDC_P2_SKILL, "Ring-Master")}));
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.File("MVStats.dat"), "1070 22 4 Lion-Tamer 580 25 0 Ring-Master");
    EXPECT_EQ(game.Traced("PlaySound pszSound='([0-9A-F]+)'"),
              (std::vector<int>{IDW_NEW_PUZZLE, IDW_HIT, IDW_MISS, IDW_HIT, IDW_HIT, IDW_HIT, IDW_WIN, IDW_CLICK,
                                IDW_CLICK, IDW_CONSOLE, IDW_MINIMISE, IDW_CONSOLE, IDW_CLICK, IDW_CLICK, IDW_CLICK,
                                IDW_NEW_PUZZLE, IDW_CLICK, IDW_WIN}));
}

TEST(Marivane, ConsoleAddsReviewsAndDeletesAcrossRunsWithControlCharactersInThePuzzles) {
    // Scrambled, the 0x14 becomes 0x1A, the byte at which a text-mode read stops, as at the 0x1A in "thr\x1Aee".
    const std::string control = "\x14" "ab;x:", stop = "thr\x1A" "ee;h3:", kept = control + stop + "tent pole;tall:";
    Game game("console", {{"OnLoad.dat", ScrambleStore("big top;clowns:" + control + stop)}, kUnlocked});
    const Strings phrases = {"\x14" "ab", "thr\x1A" "ee", "tent pole", kPassEnded};
    ASSERT_TRUE(game.Launch() && ShowConsole());
    ASSERT_TRUE(Step("review", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, "big top"), Text(IDC_HINT_EDIT, "clowns")}));
    Shoot("console", true);
    ASSERT_TRUE(Step("delete", Click(IDC_DELETE), {Text(IDC_PHRASE_EDIT, ""), Text(IDC_HINT_EDIT, "")}));
    ASSERT_TRUE(AddPuzzle("Tent Pole", "tall"));
    EXPECT_EQ(ReviewAll(), Strings{kPassEnded}) << "review after the delete";
    EXPECT_EQ(ReviewAll(), phrases) << "review pass";
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), kept);
    ASSERT_TRUE(game.Launch() && ShowConsole());
    EXPECT_EQ(ReviewAll(), phrases) << "review pass after a restart";
    EXPECT_EQ(game.Quit(), 0);
}

TEST(Marivane, AltF4AKilledRunAndASecondCopyLoseNoStatisticsAndNoPuzzles) {
    const std::string lollipop = "lollipop;a sweet on a stick:", ring = "ring toss;prize:", tent = "tent pole;tall:";
    Game game("kept", {{"OnLoad.dat", ScrambleStore(lollipop)}, kUnlocked});
    ASSERT_TRUE(Step("a typed solution wins, a new game runs",
                     game.Launch() && Click(IDC_NEW_PUZZLE) && Type(IDC_SOLUTION_EDIT, "lollipop") &&
                         Click(IDC_SOLVE_PUZZLE) && Click(IDC_NEW_PUZZLE),
                     {Text(IDC_P1_POINTS, "80"), Text(IDC_PUZZLE_LINE, Spaced("lollipop", true))}));
    ASSERT_TRUE(ShowConsole() && AddPuzzle("ring toss", "prize"));
    Shoot("alt-f4", true);
    ASSERT_TRUE(Click(IDC_PUZZLE_LINE) && Xdotool({"key", "alt+F4"}));  // the click gives the main window the focus
    ASSERT_EQ(WaitForExit(game.process), 0) << "Alt+F4 did not end the program";
    EXPECT_EQ(game.File("MVStats.dat"), "80 1 0 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_EQ(game.Store(), lollipop + ring);
    // A run killed after adding a puzzle: the next start keeps the plain file, the next exit stores it.
    ASSERT_TRUE(game.Launch() && ShowConsole() && AddPuzzle("tent pole", "tall"));
    Stop(game.process, SIGKILL);
    ASSERT_TRUE(game.Launch());
    EXPECT_EQ(game.File("MVData.dat"), lollipop + ring + tent);
    // Two copies: the later one, on top of the other, quits first; the other's new puzzle joins the store at exit.
    Game second("kept", {});
    ASSERT_TRUE(second.Launch(2) && Click(IDC_QUIT));
    ASSERT_EQ(WaitForExit(second.process), 0) << "the later copy did not quit";
    EXPECT_EQ(game.File("MVData.dat"), "Data purged...");
    ASSERT_TRUE(ShowConsole() && AddPuzzle("juggler", "balls"));
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), lollipop + ring + tent + "juggler;balls:");
}

TEST(Marivane, PhrasesWithoutALetterAreNeverDrawnAndAddPuzzleRefusesThem) {
    const std::string puzzles = "2024;a year:?!;shouts:  ;two blanks:;nothing:big top;a place for clowns:";
    Game game("letterless", {{"OnLoad.dat", ScrambleStore(puzzles)}, kUnlocked});
    ASSERT_TRUE(game.Launch());
    for (int round = 1; round <= 4; ++round) {  // drawn among five, one of them playable
        ASSERT_TRUE(Step("new puzzle " + std::to_string(round), Click(IDC_NEW_PUZZLE),
                         {Text(IDC_PUZZLE_LINE, Spaced("big top", true)), Text(IDC_HINT_LINE, "a place for clowns")}));
        ASSERT_TRUE(Step("B", Click(Letter('B')), {Text(IDC_PUZZLE_LINE, " B _ _   _ _ _")}));
    }
    ASSERT_TRUE(Step("type 2024", ShowConsole() && Type(IDC_PHRASE_EDIT, "2024") && Type(IDC_HINT_EDIT, "a year"),
                     {Text(IDC_PHRASE_EDIT, "2024"), Text(IDC_HINT_EDIT, "a year")}));
    EXPECT_TRUE(Click(IDC_ADD_PUZZLE) && WaitUntil([&] { return game.Beeps() == 1; })) << "Add Puzzle: no beep";
    EXPECT_TRUE(Step("2024 refused", true, {Text(IDC_PHRASE_EDIT, "2024"), Text(IDC_HINT_EDIT, "a year")}));
    Shoot("letterless", true);
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), puzzles);
}
// From the release files: the starter puzzles play and a loss is booked, with the game's files in `data`; then, the
// console unlocked by a configuration file beside the program, a puzzle added is there after a restart. The game runs
// on for the caller.
void PlayBookAndKeep(Game& game, const std::string& data) {
    ASSERT_TRUE(game.Launch());
    ASSERT_NO_FATAL_FAILURE(LoseAStarterGame());
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(ReadFile(data + "/MVStats.dat"), "0 0 1 Circus-Worker 0 0 0 Circus-Worker");
    EXPECT_NE(ReadFile(data + "/MVC_CONFIG.INI").find("Disable_Console= 1"), std::string::npos) << "no configuration";
    game.Write({kUnlocked});
    ASSERT_TRUE(game.Launch() && ShowConsole() && AddPuzzle("juggler", "balls"));
    ASSERT_EQ(game.Quit(), 0);
    ASSERT_TRUE(game.Launch());
    const std::string plain = ReadFile(data + "/MVData.dat");  // the running game's puzzles
    EXPECT_EQ(plain.substr(plain.rfind(':', plain.size() - 2) + 1), "juggler;balls:") << "the last puzzle in " << data;
}

TEST(Marivane, AnOrdinaryUserPlaysFromAProgramFolderHeMayNotWriteWithHisFilesInHisOwnFolder) {
    WineSession user("user", "1280x1024x24", "nobody");
    ASSERT_TRUE(user.started);
    Game game("locked", {}, kRelease);  // root's folder, which the user may read but not write
    ASSERT_NO_FATAL_FAILURE(PlayBookAndKeep(game, user.prefix + "/drive_c/users/nobody/AppData/Local/Marivane"));
    Shoot("locked-folder");
    EXPECT_EQ(game.Quit(), 0);
}

TEST(Marivane, PlaysSavesAndOpensTheHelpBesideItselfInAFolderNamedOutsideTheCodePage) {
    Game game("游戏", {}, kRelease);
    ASSERT_NO_FATAL_FAILURE(PlayBookAndKeep(game, game.folder));
    ASSERT_NO_FATAL_FAILURE(OpenTheHelpAndAskAgain());
    Shoot("unicode-folder");
    EXPECT_EQ(game.Quit(), 0);
}

TEST(Marivane, OnAScreen720PixelsHighTheWindowsComeDownToItsTopWithTheCaptionButtonsOnIt) {
    WineSession small("small", "1280x720x24");
    ASSERT_TRUE(small.started);
    Game game("small-screen", {}, kRelease);
    ASSERT_NO_FATAL_FAILURE(PlayBookAndKeep(game, game.folder));
    const Rect main{kMain[0], 0, 900, 620};
    EXPECT_TRUE(Step("at the top, the console below", ShowConsole(),
                     {Place(MAIN, main), Place(CONSOLE, {main[0], 620, 900, 106})}));
    for (int button : {IDC_MINIMISE, IDC_HELP_ME, IDC_CLOSE}) {
        const Rect at = Find(button).value_or(Seen()).at;
        const bool onScreen = at[0] >= 0 && at[1] >= 0 && at[0] + at[2] <= 1280 && at[1] + at[3] <= 720;
        EXPECT_TRUE(onScreen && at[2] > 0) << "#" << button << " at " << at[0] << "," << at[1];
    }
    Shoot("small-screen", true);
    EXPECT_EQ(game.Quit(), 0);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    fs::remove_all(kSession);
    WineSession session("session", "1280x1024x24");
    if (!session.started) std::cerr << "the Wine session did not start, see the logs in " << kSession << "\n";
    return session.started ? RUN_ALL_TESTS() : 1;
}
