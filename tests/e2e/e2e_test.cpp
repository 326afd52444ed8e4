// The real Marivane.exe under Wine in a private Xvfb display, driven by xdotool, read back through our probe.exe. It
// checks what the native suite's headless double cannot: real files, windows, paths, sounds, help viewer, screen and
// user. Every wait polls with a time limit; screenshots go to <work>/shots. MARIVANE_EXE and E2E_WORK_DIR in the
// environment name another exe and work folder.
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
enum Window { MAIN = -1, CONSOLE = -2 };  // the game's two windows as the probe numbers them
Rect MainAt(int x, int y) { return {x, y, 900, 620}; }
Rect ConsoleBelow(const Rect& main) { return {main[0], main[1] + main[3], 900, 106}; }  // docked to the main window
const Rect kMain = MainAt(1280 / 2 - 450, 1024 / 2 - 378);  // on a 1280 x 1024 screen: centred, top 378 above centre
const std::pair<std::string, std::string> kUnlocked{"MVC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0"};
const char kPassEnded[] = "Resetting Puzzle Viewer...", kOneLoss[] = "0 0 1 Circus-Worker 0 0 0 Circus-Worker";
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
void Stop(Child& child, int signal) {
    for (int sent : {signal, SIGKILL})
        if (WaitForExit(child, Seconds(0)) == -1) kill(child.pid, sent), WaitForExit(child, Seconds(5));
}
// Runs a short program to its end; its output, or nullopt when it failed or overran `limit`.
std::optional<std::string> RunTool(const Strings& argv, Seconds limit = Seconds(15)) {
    const std::string log = kSession + "/" + fs::path(argv[0]).filename().string() + ".log";
    Child tool = Spawn(argv, log);
    const int exitCode = WaitForExit(tool, limit);
    Stop(tool, SIGKILL);  // when it overran
    return exitCode == 0 ? std::optional(ReadFile(log)) : std::nullopt;
}
Strings gSession;  // how the current Wine session runs a program: as whom, on which display, with which prefix
Strings As(Strings argv) { return argv.insert(argv.begin(), gSession.begin(), gSession.end()), argv; }
bool Xdotool(Strings arguments) {
    return arguments.insert(arguments.begin(), E2E_XDOTOOL), RunTool(As(arguments)).has_value();
}
bool Showing(const std::string& title) { return Xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}); }
std::optional<std::string> RunProbe(Strings arguments = {}) {
    return arguments.insert(arguments.begin(), {E2E_WINE, E2E_PROBE_EXE}), RunTool(As(arguments));
}
// One line of the probe: a window of the game (MAIN, CONSOLE) or a control of the window above it.
struct Seen { int id = 0; bool shown = false; Rect at{}; std::string text, line; };  // at: on the screen
std::vector<Seen> Probe() {
    std::vector<Seen> seen;
    std::istringstream lines(RunProbe().value_or(""));
    for (std::string line; std::getline(lines, line);) {
        Seen s;
        std::istringstream in(s.line = line.substr(0, line.find_last_not_of('\r') + 1));
        in >> s.id >> s.shown >> s.at[0] >> s.at[1] >> s.at[2] >> s.at[3];
        std::getline(in.ignore(1), s.text);  // after one blank: the text may itself begin with blanks
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
// After the input was `given`, polls the probe until all wants hold; a failure names the step and the lines seen of
// the windows and controls that differ.
bool Step(const std::string& step, bool given, const std::vector<Want>& wants) {
    std::vector<Seen> seen;
    auto met = [&](const Want& w) { return w.MetBy(Find(w.id, seen)); };
    if (given && WaitUntil([&] { return seen = Probe(), std::all_of(wants.begin(), wants.end(), met); })) return true;
    std::string report = "step '" + step + (given ? "', not as wanted:" : "': the input could not be given");
    for (const Want& w : wants)
        if (given && !met(w)) report += "\n  #" + std::to_string(w.id) + " " + Find(w.id, seen).value_or(Seen()).line;
    return ADD_FAILURE() << report, false;
}
bool Click(int id) {
    std::optional<Seen> s;  // now and then a probe on a busy machine comes back empty: try again a while
    return WaitUntil([&] { return (s = Find(id)).has_value(); }, Seconds(5)) &&
           Xdotool({"mousemove", std::to_string(s->at[0] + s->at[2] / 2), std::to_string(s->at[1] + s->at[3] / 2),
                    "click", "1"});
}
int Letter(char letter) { return IDC_LETTER_A + IDC_LETTER_STEP * (letter - 'A'); }
bool Clicks(const std::string& letters) {
    return std::all_of(letters.begin(), letters.end(), [](char letter) { return Click(Letter(letter)); });
}
bool Type(int id, const std::string& text) { return Click(id) && Xdotool({"type", text}); }
bool ShowConsole() { return Step("show the console", Click(IDC_CONSOLE), {Shown(CONSOLE)}); }
// The store read back later shows what was typed: input events reach the console in the order given.
bool AddPuzzle(const std::string& phrase, const std::string& hint) {
    return Step("add " + phrase, Type(IDC_PHRASE_EDIT, phrase) && Type(IDC_HINT_EDIT, hint) && Click(IDC_ADD_PUZZLE),
                {Text(IDC_PHRASE_EDIT, ""), Text(IDC_HINT_EDIT, "")});
}
void Shoot(const std::string& name, bool withConsole = false) {
    std::this_thread::sleep_for(Seconds(0.5));  // the state is read back already; give the painting a moment
    const Rect at = Find(MAIN).value_or(Seen()).at;
    const int height = at[3] + (withConsole ? ConsoleBelow(at)[3] : 0);
    const std::string crop = std::to_string(at[2]) + "x" + std::to_string(height) + "+" + std::to_string(at[0]) + "+" +
                             std::to_string(at[1]);
    fs::create_directories(kWork + "/shots");
    std::ofstream(kWork + "/shots/" + name + ".png")
        << RunTool(As({E2E_IMPORT, "-window", "root", "-crop", crop, "+repage", "png:-"})).value_or("");
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
        if (!from.empty()) fs::copy(from, folder, fs::copy_options::skip_existing | fs::copy_options::recursive);
        for (const auto& [file, content] : files) std::ofstream(folder + "/" + file, std::ios::binary) << content;
    }
    ~Game() { Stop(process, SIGKILL); }
    std::string File(const std::string& name) const { return ReadFile(folder + "/" + name); }
    std::string Store() const { return UnscrambleStore(File("OnLoad.dat")); }
    std::vector<int> Sounds() const {  // the resource ids of the sounds played, in order, as traced in hexadecimal
        std::vector<int> found;
        const std::string trace = ReadFile(log);
        const std::regex sound("PlaySound pszSound='([0-9A-F]+)'");
        for (std::sregex_iterator at(trace.begin(), trace.end(), sound), end; at != end; ++at)
            found.push_back(int(std::stol((*at)[1], nullptr, 16)));
        return found;
    }
    // Whether the run has loaded this system DLL ("winmm.dll") so far, named in any case.
    bool Loaded(const std::string& dll) const {
        return std::regex_search(ReadFile(log), std::regex(R"(\\\\)" + dll + '"', std::regex::icase));
    }
    // Starts one more copy and waits until `copies` main windows are on screen; its sounds go to the log.
    bool Launch(int copies = 1) {
        static int launches = 0;
        log = folder + "-" + std::to_string(++launches) + ".log";
        process = Spawn(As({"/usr/bin/env", "WINEDEBUG=+winmm,+loaddll", E2E_WINE, folder + "/Marivane.exe"}), log);
        auto up = [&, s = std::vector<Seen>()]() mutable {
            s = Probe();
            return WaitForExit(process, Seconds(0)) != -1 ||
                   std::count_if(s.begin(), s.end(), [](const Seen& w) { return w.id == MAIN && w.shown; }) == copies;
        };
        return WaitUntil(up, Seconds(60)) && WaitForExit(process, Seconds(0)) == -1;
    }
    int Quit() { return Click(IDC_QUIT) ? WaitForExit(process) : -1; }  // Wine takes some 2 s to end a process
};

// A Wine session of a test's own: an Xvfb screen, a prefix and a hidden keeper window, with Wine run by root or,
// given a `user`, as that user in a home folder of his. While it lasts, every Wine program, xdotool and screenshot of
// the test runs in it.
struct WineSession {
    std::string home, prefix;
    Child xvfb, keeper;
    bool started;
    WineSession(const std::string& name, const std::string& screen, const char* user = nullptr)
        : home(kSession + "/" + name), prefix(home + "/wineprefix"), started(Start(screen, user)) {}
    ~WineSession() {
        Stop(keeper, SIGKILL);
        RunTool(As({E2E_WINESERVER, "-k"}), Seconds(30));  // ends every Wine process of this prefix and no other
        std::error_code ignored;
        fs::remove_all(prefix, ignored);  // some 700 MB, made anew by every session
        Stop(xvfb, SIGTERM);              // not SIGKILL: Xvfb removes its socket
    }
    bool Start(const std::string& screen, const char* user) {
        const passwd* account = user ? getpwnam(user) : nullptr;
        fs::create_directories(home);
        if (account && chown(home.c_str(), account->pw_uid, account->pw_gid) != 0) return false;
        // Xvfb picks a free display itself and prints its number alone on a line, so two sessions never race for one.
        xvfb = Spawn({E2E_XVFB, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", screen}, home + "/X");
        std::string log;
        std::smatch number;
        const std::regex alone("(?:^|\\n)(\\d+)(?:\\n|$)");
        if (!WaitUntil([&] { return std::regex_search(log = ReadFile(home + "/X"), number, alone); })) return false;
        gSession = {"/usr/bin/env", "WINEPREFIX=" + prefix, "HOME=" + home, "DISPLAY=:" + number[1].str(),
                    "WINEARCH=win64", "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};  // no Mono, no Gecko
        if (account)
            gSession.insert(gSession.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(account->pw_uid),
                                               "--regid=" + std::to_string(account->pw_gid), "--clear-groups"});
        if (!RunTool(As({E2E_WINE, "wineboot", "-i"}), Seconds(240)) ||
            !RunTool(As({E2E_WINESERVER, "-w"}), Seconds(120)))
            return false;
        keeper = Spawn(As({E2E_WINE, E2E_PROBE_EXE, "keep"}), home + "/keeper.log");
        return WaitUntil([] { return Xdotool({"search", "--name", "^Marivane e2e keeper$"}); }, Seconds(60));
    }
};

std::string Starters() { return UnscrambleStore(ReadFile(kRelease + "/OnLoad.dat")); }
// Draws a starter puzzle, known by its hint, and loses it with seven letters its phrase lacks. Shots midgame and loss.
void LoseAStarterGame() {
    std::string hint, phrase, used, wrong;  // used: the letters of every starter phrase with this hint
    ASSERT_TRUE(Click(IDC_NEW_PUZZLE) && WaitUntil([&] { return !(hint = Text(IDC_HINT_LINE)).empty(); }));
    for (std::istringstream records(Starters()); std::getline(records, phrase, ':');)
        if (phrase.substr(phrase.find(';') + 1) == hint) used += phrase.erase(phrase.find(';'));
    for (char letter = 'a'; letter <= 'z' && wrong.size() < 7; ++letter)
        if (used.find(letter) == std::string::npos) wrong += char(std::toupper(letter));
    ASSERT_FALSE(used.empty()) << "the hint '" << hint << "' is no starter puzzle's";
    ASSERT_TRUE(Step("two wrong", Clicks(wrong.substr(0, 2)),
                     {Text(IDC_LETTER_BIN, std::string{wrong[0], ' ', wrong[1], ' '})}));
    Shoot("midgame");
    ASSERT_TRUE(Step("lost", Clicks(wrong.substr(2)), {Text(IDC_P1_LOSSES, "1")}));
    Shoot("loss");
}
// The viewer is titled by the help file; a second press while it is open brings a box. Both are closed again.
void OpenTheHelpAndAskAgain() {
    const std::string viewer = "Quorrel-help", refusal = "System - Permission Denied";
    ASSERT_TRUE(Click(IDC_HELP_ME) && WaitUntil([&] { return Showing(viewer); }, Seconds(60))) << "no help viewer";
    // Off the game's title bar, the viewer leaves its Help button to be pressed again.
    const Strings aside{"search", "--onlyvisible", "--name", "^" + viewer + "$", "windowmove", "--sync", "0", "300"};
    EXPECT_TRUE(Xdotool(aside) && Click(IDC_HELP_ME) && WaitUntil([&] { return Showing(refusal); }))
        << "no box refusing a second help viewer";
    for (const std::string& window : {refusal, viewer})
        EXPECT_TRUE(RunProbe({"close", window}) && WaitUntil([&] { return !Showing(window); })) << window << " stays";
}

// The program's folder, named outside the code page, is root's: the user may read it but not write, so his files go
// to a folder of his own, seeded from it. On a screen 720 pixels high the windows come up to its top.
TEST(Marivane, AnOrdinaryUserOnALowScreenPlaysFromALockedFolderNamedOutsideTheCodePageAndOpensTheHelpLoadingDllsLate) {
    WineSession user("user", "1280x720x24", "nobody");
    ASSERT_TRUE(user.started) << "see the logs in " << user.home;
    Game game("游戏", {}, kRelease);
    const Rect main = MainAt(kMain[0], 0);
    ASSERT_TRUE(Step("at the top, the console below", game.Launch(),
                     {Place(MAIN, main), Place(CONSOLE, ConsoleBelow(main))}));
    EXPECT_FALSE(game.Loaded("winmm.dll") || game.Loaded("shell32.dll")) << "sound or shell DLL loaded at start-up";
    ASSERT_NO_FATAL_FAILURE(LoseAStarterGame());
    ASSERT_NO_FATAL_FAILURE(OpenTheHelpAndAskAgain());
    EXPECT_TRUE(Click(IDC_CLOSE) && WaitForExit(game.process) == 0) << "X did not end the program";
    const std::string data = user.prefix + "/drive_c/users/nobody/AppData/Local/Marivane/";
    EXPECT_EQ(ReadFile(data + "MVStats.dat"), kOneLoss);
    EXPECT_EQ(UnscrambleStore(ReadFile(data + "OnLoad.dat")), Starters());
    std::vector<int> heard{IDW_NEW_PUZZLE};
    heard.insert(heard.end(), 7, IDW_MISS);
    heard.insert(heard.end(), {IDW_LOSS, IDW_CLICK, IDW_CLICK});  // then Help twice
    EXPECT_EQ(game.Sounds(), heard);
}

// Scrambled, the 0x14 becomes 0x1A, the byte at which a text-mode read stops, as at the 0x1A in "thr\x1Aee".
TEST(Marivane, TheConsoleIsRestoredWithTheGameAndPuzzlesWithControlCharactersOutliveAltF4AKilledRunAndASecondCopy) {
    WineSession root("root", "1280x1024x24");
    ASSERT_TRUE(root.started) << "see the logs in " << root.home;
    const std::string control = "\x14" "ab;x:", stop = "thr\x1A" "ee;h3:", kept = control + stop + "tent pole;tall:";
    Game game("console", {{"OnLoad.dat", ScrambleStore("big top;clowns:" + control + stop)}, kUnlocked});
    ASSERT_TRUE(game.Launch() && ShowConsole());
    ASSERT_TRUE(Step("minimise", Click(IDC_MINIMISE), {Shown(MAIN, false)}));
    ASSERT_TRUE(Step("restore", RunProbe({"restore", "Marivane"}).has_value(),
                     {Shown(MAIN), Place(MAIN, kMain), Shown(CONSOLE), Place(CONSOLE, ConsoleBelow(kMain))}));
    ASSERT_TRUE(Step("review", Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, "big top"), Text(IDC_HINT_EDIT, "clowns")}));
    Shoot("console", true);
    ASSERT_TRUE(Click(IDC_DELETE) && AddPuzzle("Tent Pole", "tall"));
    // The next press says the delete ended the pass; the presses after it show each puzzle, read whole.
    for (const char* phrase : {kPassEnded, "\x14" "ab", "thr\x1A" "ee", "tent pole", kPassEnded})
        ASSERT_TRUE(Step("review " + std::string(phrase), Click(IDC_REVIEW), {Text(IDC_PHRASE_EDIT, phrase)}));
    // Killed, it leaves the plain file, which the next start keeps.
    Stop(game.process, SIGKILL);
    ASSERT_TRUE(game.Launch());
    EXPECT_EQ(game.File("MVData.dat"), kept);
    // Two copies: the later one, on top of the other, ends first; the other's new puzzle joins the store at its exit.
    // The click on the puzzle line gives the later copy the focus.
    Game second("console", {});
    ASSERT_TRUE(second.Launch(2) && Click(IDC_PUZZLE_LINE) && Xdotool({"key", "alt+F4"}) &&
                WaitForExit(second.process) == 0)
        << "Alt+F4 did not end the later copy";
    EXPECT_EQ(game.File("MVData.dat"), "Data purged...");
    ASSERT_TRUE(ShowConsole() && AddPuzzle("ring toss", "prize"));
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(game.Store(), kept + "ring toss;prize:");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    fs::remove_all(kSession);
    return RUN_ALL_TESTS();
}
